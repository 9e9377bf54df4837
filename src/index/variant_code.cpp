#include "index/variant_code.h"

#include <bit>

namespace quirlex {
namespace {

std::uint64_t field_mask(int bits) {
  return (std::uint64_t{1} << bits) - 1;
}

}  // namespace

int bit_width_of_count(std::int64_t count) {
  if (count <= 0) return 1;
  return static_cast<int>(std::bit_width(static_cast<std::uint64_t>(count)));
}

VariantLayout VariantLayout::for_counts(std::int64_t prefixes, std::int64_t suffixes) {
  VariantLayout layout;
  layout.prefix_bits = bit_width_of_count(prefixes);
  layout.suffix_bits = bit_width_of_count(suffixes);
  layout.word_bits = 32 - layout.prefix_bits - layout.suffix_bits;
  return layout;
}

bool VariantLayout::fits_words(std::int64_t words) const {
  if (word_bits <= 0) return words == 0;
  // The highest index must stay below all ones: a code of no prefix, no
  // suffix and an all-ones word index would read as "no entry".
  return words <= static_cast<std::int64_t>(field_mask(word_bits));
}

VariantCode VariantLayout::pack(std::int64_t prefix, std::int64_t suffix, std::int64_t word) const {
  const auto p = static_cast<std::uint64_t>(prefix) & field_mask(prefix_bits);
  const auto s = static_cast<std::uint64_t>(suffix) & field_mask(suffix_bits);
  const auto w = static_cast<std::uint64_t>(word) & field_mask(word_bits);
  return static_cast<VariantCode>((p << (32 - prefix_bits)) |
                                  (s << (32 - prefix_bits - suffix_bits)) | w);
}

VariantLayout::Parts VariantLayout::unpack(VariantCode code) const {
  const std::uint64_t all = code;
  const std::uint64_t prefix_all_ones = field_mask(prefix_bits);
  const std::uint64_t suffix_all_ones = field_mask(suffix_bits);
  const std::uint64_t p = (all >> (32 - prefix_bits)) & prefix_all_ones;
  const std::uint64_t s = (all >> (32 - prefix_bits - suffix_bits)) & suffix_all_ones;
  Parts parts;
  parts.word = static_cast<std::uint32_t>(all & field_mask(word_bits));
  if (p != prefix_all_ones) parts.prefix = static_cast<std::uint32_t>(p);
  if (s != suffix_all_ones) parts.suffix = static_cast<std::uint32_t>(s);
  return parts;
}

}  // namespace quirlex
