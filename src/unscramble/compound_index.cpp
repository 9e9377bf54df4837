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

std::size_t group_of(std::string_view word) {
  return upper_byte(static_cast<std::uint8_t>(word.front())) * (CompoundIndex::kMaxPartLength + 1) +
         word.size();
}

}  // namespace

std::uint64_t CompoundIndex::letters_key(std::string_view text) {
  std::uint64_t key = 0;
  for (const char c : text) key += letter_key(c);
  return key;
}

std::uint64_t CompoundIndex::second_key(std::uint64_t key, std::size_t length, std::uint8_t last) {
  return compound_keys::mix(key + 0xD6E8FEB86659FD93ULL * length) ^
         compound_keys::kByteKeys[upper_byte(last)];
}

CompoundIndex::CompoundIndex(const TokenList& words) {
  const std::span<const WordToken> tokens = words.tokens();
  // Counting sort by group, from the highest word index down within a group.
  group_starts_.assign(kGroups + 1, 0);
  std::size_t parts = 0;
  for (const WordToken& token : tokens) {
    const std::size_t length = token.text.size();
    if (length < kMinPartLength || length > kMaxPartLength) continue;
    ++group_starts_[group_of(token.text) + 1];
    ++parts;
  }
  group_bytes_.assign(kGroups, 0);
  std::size_t byte_total = 0;
  for (std::size_t g = 0; g < kGroups; ++g) {
    group_bytes_[g] = static_cast<std::uint32_t>(byte_total);
    byte_total += std::size_t{group_starts_[g + 1]} * (g % (kMaxPartLength + 1));
    group_starts_[g + 1] += group_starts_[g];
  }
  masks_.resize(parts);
  indices_.resize(parts);
  bytes_.resize(byte_total);
  std::vector<std::uint32_t> next(group_starts_.begin(), group_starts_.end() - 1);
  for (std::size_t i = tokens.size(); i-- > 0;) {
    const std::string& text = tokens[i].text;
    if (text.size() < kMinPartLength || text.size() > kMaxPartLength) continue;
    const std::size_t group = group_of(text);
    const std::uint32_t at = next[group]++;
    masks_[at] = mask_of(text);
    indices_[at] = static_cast<std::uint32_t>(i);
    char* out = bytes_.data() + group_bytes_[group] + std::size_t{at - group_starts_[group]} * text.size();
    for (const char c : text) *out++ = upper_char(c);
  }

  // At most three quarters of the slots in use.
  const std::size_t slots = std::bit_ceil(std::max<std::size_t>(parts + parts / 3 + 1, 16));
  keys_.assign(slots, 0);
  slot_indices_.assign(slots, kEmpty);
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const std::string& text = tokens[i].text;
    if (text.size() < kMinPartLength || text.size() > kMaxPartLength) continue;
    const std::uint64_t key =
        second_key(letters_key(text), text.size(), static_cast<std::uint8_t>(text.back()));
    // A later word with the same key replaces the earlier one.
    for (std::size_t slot = key & (slots - 1);; slot = (slot + 1) & (slots - 1)) {
      if (slot_indices_[slot] == kEmpty || keys_[slot] == key) {
        keys_[slot] = key;
        slot_indices_[slot] = static_cast<std::uint32_t>(i);
        break;
      }
    }
  }
}

std::int64_t CompoundIndex::find_second_part(std::uint64_t key, std::size_t length,
                                             std::uint8_t last) const {
  if (length < kMinPartLength || length > kMaxPartLength) return -1;
  const std::uint64_t full = second_key(key, length, last);
  const std::size_t mask = keys_.size() - 1;
  for (std::size_t slot = full & mask; slot_indices_[slot] != kEmpty; slot = (slot + 1) & mask) {
    if (keys_[slot] == full) return slot_indices_[slot];
  }
  return -1;
}

std::size_t CompoundIndex::memory_bytes() const {
  return (group_starts_.capacity() + group_bytes_.capacity() + masks_.capacity() +
          indices_.capacity() + slot_indices_.capacity()) *
             sizeof(std::uint32_t) +
         bytes_.capacity() + keys_.capacity() * sizeof(std::uint64_t);
}

}  // namespace quirlex
