// A variant code names one member of the deep word list (optional prefix,
// lexicon word, optional suffix) in 32 bits: from the top, the prefix index,
// the suffix index and the word index. An all-ones prefix or suffix field
// means the member has no prefix or no suffix.
#pragma once

#include <cstdint>
#include <optional>

namespace quirlex {

using VariantCode = std::uint32_t;

// The number of binary digits of `count`, but 1 for 0.
int bit_width_of_count(std::int64_t count);

struct VariantLayout {
  int prefix_bits = 0;
  int suffix_bits = 0;
  int word_bits = 32;

  // The widths for `prefixes` prefixes and `suffixes` suffixes.
  static VariantLayout for_counts(std::int64_t prefixes, std::int64_t suffixes);

  // Whether every word index below `words` has a code of its own that is not
  // all ones.
  bool fits_words(std::int64_t words) const;

  // Packs the three indices; -1 stands for no prefix or no suffix.
  VariantCode pack(std::int64_t prefix, std::int64_t suffix, std::int64_t word) const;

  struct Parts {
    std::optional<std::uint32_t> prefix;
    std::optional<std::uint32_t> suffix;
    std::uint32_t word = 0;
  };
  Parts unpack(VariantCode code) const;

  friend bool operator==(const VariantLayout&, const VariantLayout&) = default;
};

}  // namespace quirlex
