// The lexicon words arranged for Compound Search: as possible first parts,
// bucketed by first byte and by which of a few telling letters they contain,
// so that a look-up only scans the buckets whose letters the scrambled word
// has, each from the highest word index down, with a letter mask to skip the
// words that still do not fit; and as possible second parts, found by their
// exact multiset of letters, length and last byte. Bytes are compared
// upper-cased, as the signature sees them. The index refers to words by their
// position in the word list it was built from; a caller must use it with that
// same list.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/hash_mix.h"
#include "base/open_table.h"
#include "text/case_map.h"
#include "text/token_list.h"

namespace quirlex {
namespace compound_keys {

// One random-looking number per byte value, the same for a byte and its
// capital.
constexpr std::array<std::uint64_t, 256> make_byte_keys() {
  std::array<std::uint64_t, 256> keys{};
  for (int b = 0; b < 256; ++b) {
    keys[b] = mix_bits(0x9E3779B97F4A7C15ULL * (upper_byte(static_cast<std::uint8_t>(b)) + 1));
  }
  return keys;
}

inline constexpr std::array<std::uint64_t, 256> kByteKeys = make_byte_keys();

}  // namespace compound_keys

class CompoundIndex {
 public:
  // Words outside these lengths are never parts of a compound.
  static constexpr std::size_t kMinPartLength = 4;
  static constexpr std::size_t kMaxPartLength = 63;

  // A word's letters as a sum of one random number per upper-cased byte, so
  // that the key of what is left of a word once some letters are taken away
  // is a subtraction.
  static std::uint64_t letter_key(char byte) {
    return compound_keys::kByteKeys[static_cast<std::uint8_t>(byte)];
  }
  static std::uint64_t letters_key(std::string_view text);

  explicit CompoundIndex(const TokenList& words);

  // Calls `visit(index, letters)` for every word of at most `max_length`
  // bytes whose first byte, upper-cased, is `first` and whose letter mask
  // lies within `mask`; `letters` are its bytes, upper-cased. Words come in
  // runs, each from the highest word index down; `visit` returning false
  // ends the present run.
  template <typename Visit>
  void for_each_first_part(std::uint8_t first, std::size_t max_length, std::uint32_t mask,
                           const Visit& visit) const {
    const std::uint32_t telling = telling_of(mask);
    // Every subset of the word's telling letters, the empty one last.
    for (std::uint32_t subset = telling;; subset = (subset - 1) & telling) {
      const std::size_t bucket = (std::size_t{first} << kTellingLetters) | subset;
      for (std::uint32_t at = bucket_starts_[bucket]; at < bucket_starts_[bucket + 1]; ++at) {
        if ((masks_[at] & ~mask) != 0 || lengths_[at] > max_length) continue;
        if (!visit(indices_[at], std::string_view(bytes_.data() + offsets_[at], lengths_[at]))) {
          break;
        }
      }
      if (subset == 0) break;
    }
  }

  // The highest index of a word with exactly these letters (`key` as from
  // letters_key), this length and this last byte (upper-cased), or -1. Words
  // whose letters merely share the key are possible: the caller checks.
  std::int64_t find_second_part(std::uint64_t key, std::size_t length, std::uint8_t last) const;

  // The bytes the index occupies.
  std::size_t memory_bytes() const;

 private:
  // How many letters (letter mask bits) tell the buckets of a first byte
  // apart: those that neither nearly every word has nor nearly none.
  static constexpr int kTellingLetters = 8;

  static std::uint64_t second_key(std::uint64_t key, std::size_t length, std::uint8_t last);

  // The telling letters of a letter mask, as kTellingLetters bits.
  std::uint32_t telling_of(std::uint32_t mask) const {
    std::uint32_t telling = 0;
    for (int k = 0; k < kTellingLetters; ++k) telling |= ((mask >> telling_bits_[k]) & 1u) << k;
    return telling;
  }

  std::array<int, kTellingLetters> telling_bits_{};
  // First parts, bucket by bucket: where each bucket begins, and the letter
  // mask, word index, length and upper-cased bytes (in bytes_) of each word.
  std::vector<std::uint32_t> bucket_starts_;
  std::vector<std::uint32_t> masks_;
  std::vector<std::uint32_t> indices_;
  std::vector<std::uint8_t> lengths_;
  std::vector<std::uint32_t> offsets_;
  std::vector<char> bytes_;

  // Second parts: each key with the index of its word, one more than it so
  // that a free slot is all zeros.
  struct SecondPart {
    std::uint32_t key_low;
    std::uint32_t key_high;
    std::uint32_t index_after;
    bool used() const { return index_after != 0; }
    std::uint64_t key() const { return (std::uint64_t{key_high} << 32) | key_low; }
  };
  OpenTable<SecondPart> second_parts_;
  // A bit per slot-sized share of keys in front of the slots, set for the
  // keys stored: small enough to stay in the cache, it answers most look-ups
  // of keys that are not there without touching the slots.
  std::vector<std::uint64_t> filter_;
};

}  // namespace quirlex
