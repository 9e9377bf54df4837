#include "unscramble/compound_index.h"

#include <algorithm>
#include <bit>

#include "text/signature.h"

namespace quirlex {
namespace {

std::uint32_t mask_of(std::string_view text) {
  std::uint32_t mask = 0;
  for (const char c : text) mask |= signature_tables::kLetterBit[static_cast<std::uint8_t>(c)];
  return mask;
}

}  // namespace

std::uint64_t CompoundIndex::letters_key(std::string_view text) {
  std::uint64_t key = 0;
  for (const char c : text) key += letter_key(c);
  return key;
}

std::uint64_t CompoundIndex::second_key(std::uint64_t key, std::size_t length, std::uint8_t last) {
  return mix_bits(key + 0xD6E8FEB86659FD93ULL * length) ^
         compound_keys::kByteKeys[upper_byte(last)];
}

CompoundIndex::CompoundIndex(const TokenList& words) {
  const auto is_part = [](std::string_view text) {
    return text.size() >= kMinPartLength && text.size() <= kMaxPartLength;
  };
  const auto count = static_cast<std::size_t>(words.size());
  const auto text_of = [&words](std::size_t i) { return words.text(static_cast<std::int64_t>(i)); };
  std::vector<std::uint32_t> word_masks(count, 0);
  std::array<std::size_t, 32> having{};
  std::size_t parts = 0;
  std::size_t byte_total = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view text = text_of(i);
    if (!is_part(text)) continue;
    word_masks[i] = mask_of(text);
    for (int bit = 0; bit < 32; ++bit) having[bit] += (word_masks[i] >> bit) & 1u;
    ++parts;
    byte_total += text.size();
  }
  // The letters after the ten that most words have tell words apart best (a
  // long scrambled word has the most common ones anyway); measured on German
  // prose, six to twelve common letters and eight or ten telling ones differ
  // little.
  std::array<int, 32> by_share{};
  for (int bit = 0; bit < 32; ++bit) by_share[bit] = bit;
  std::stable_sort(by_share.begin(), by_share.end(),
                   [&having](int a, int b) { return having[a] > having[b]; });
  constexpr int kCommonLetters = 10;
  for (int k = 0; k < kTellingLetters; ++k) telling_bits_[k] = by_share[kCommonLetters + k];

  // Counting sort by bucket, from the highest word index down within one.
  const auto bucket_of = [this](std::string_view text, std::uint32_t mask) {
    return (std::size_t{upper_byte(static_cast<std::uint8_t>(text.front()))} << kTellingLetters) |
           telling_of(mask);
  };
  const std::size_t buckets = std::size_t{256} << kTellingLetters;
  bucket_starts_.assign(buckets + 1, 0);
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view text = text_of(i);
    if (is_part(text)) ++bucket_starts_[bucket_of(text, word_masks[i]) + 1];
  }
  for (std::size_t b = 0; b < buckets; ++b) bucket_starts_[b + 1] += bucket_starts_[b];
  masks_.resize(parts);
  indices_.resize(parts);
  lengths_.resize(parts);
  offsets_.resize(parts);
  bytes_.resize(byte_total);
  std::vector<std::uint32_t> next(bucket_starts_.begin(), bucket_starts_.end() - 1);
  std::size_t offset = 0;
  for (std::size_t i = count; i-- > 0;) {
    const std::string_view text = text_of(i);
    if (!is_part(text)) continue;
    const std::uint32_t at = next[bucket_of(text, word_masks[i])]++;
    masks_[at] = word_masks[i];
    indices_[at] = static_cast<std::uint32_t>(i);
    lengths_[at] = static_cast<std::uint8_t>(text.size());
    offsets_[at] = static_cast<std::uint32_t>(offset);
    for (const char c : text) bytes_[offset++] = upper_char(c);
  }

  // At most three quarters of the slots in use.
  const std::size_t slots = std::bit_ceil(std::max<std::size_t>(parts + parts / 3 + 1, 16));
  second_parts_.rebuild(slots);
  // Sixteen bits per slot, more than twenty per key: only about one look-up
  // in twenty of an absent key passes it.
  filter_.assign(slots / 4, 0);
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view text = text_of(i);
    if (!is_part(text)) continue;
    const std::uint64_t key =
        second_key(letters_key(text), text.size(), static_cast<std::uint8_t>(text.back()));
    // A later word with the same key replaces the earlier one.
    SecondPart& part = second_parts_.slot_of(key);
    if (!part.used()) {
      part.key_low = static_cast<std::uint32_t>(key);
      part.key_high = static_cast<std::uint32_t>(key >> 32);
      second_parts_.filled();
    }
    part.index_after = static_cast<std::uint32_t>(i) + 1;
    const std::size_t bit = (key >> 32) & (filter_.size() * 64 - 1);
    filter_[bit / 64] |= std::uint64_t{1} << (bit % 64);
  }
}

std::int64_t CompoundIndex::find_second_part(std::uint64_t key, std::size_t length,
                                             std::uint8_t last) const {
  if (length < kMinPartLength || length > kMaxPartLength) return -1;
  const std::uint64_t full = second_key(key, length, last);
  const std::size_t bit = (full >> 32) & (filter_.size() * 64 - 1);
  if ((filter_[bit / 64] >> (bit % 64) & 1u) == 0) return -1;
  const SecondPart* part = second_parts_.find(full);
  return part != nullptr ? std::int64_t{part->index_after} - 1 : -1;
}

std::size_t CompoundIndex::memory_bytes() const {
  return (bucket_starts_.capacity() + masks_.capacity() + indices_.capacity() +
          offsets_.capacity()) *
             sizeof(std::uint32_t) +
         lengths_.capacity() + bytes_.capacity() + filter_.capacity() * sizeof(std::uint64_t) +
         second_parts_.capacity() * sizeof(SecondPart);
}

}  // namespace quirlex
