// Variant codes: the field widths for given affix counts, packing and
// unpacking, and which word counts a layout can index.
#include "index/variant_code.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace quirlex {
namespace {

TEST(VariantCode, FieldWidthsAreTheBitWidthsOfTheCounts) {
  const int widths[] = {1, 1, 2, 2, 3, 3, 3, 3, 4};  // for the counts 0 to 8
  for (int count = 0; count <= 8; ++count) EXPECT_EQ(bit_width_of_count(count), widths[count]);
  EXPECT_EQ(bit_width_of_count(20), 5);
  EXPECT_EQ(bit_width_of_count(65535), 16);
  EXPECT_EQ(bit_width_of_count(65536), 17);
  EXPECT_EQ(VariantLayout{}, (VariantLayout{0, 0, 32})) << "before any affix list is read";
  EXPECT_EQ(VariantLayout::for_counts(3, 20), (VariantLayout{2, 5, 25}));
  EXPECT_EQ(VariantLayout::for_counts(0, 0), (VariantLayout{1, 1, 30}));
}

TEST(VariantCode, PacksFromTheTopWithAllOnesForNoAffix) {
  const VariantLayout layout = VariantLayout::for_counts(3, 20);
  EXPECT_EQ(layout.pack(1, -1, 7), 0x7E000007u);
  EXPECT_EQ(layout.pack(2, 19, 7), 0xA6000007u);
  const VariantLayout plain = VariantLayout::for_counts(0, 0);
  for (const std::int64_t word : {0, 1, 7, 123456, (1 << 30) - 2}) {
    EXPECT_EQ(plain.pack(-1, -1, word), 0xC0000000u + static_cast<std::uint32_t>(word));
  }
  // With 4 prefixes no prefix is 7 in 3 bits, with 3 it is 3 in 2 bits; the
  // highest index of a list is never the all-ones value.
  const VariantLayout four = VariantLayout::for_counts(4, 0);
  const VariantLayout three = VariantLayout::for_counts(3, 0);
  EXPECT_EQ(four.pack(-1, 0, 0) >> 29, 7u);
  EXPECT_EQ(three.pack(-1, 0, 0) >> 30, 3u);
  EXPECT_EQ(four.pack(3, 0, 0) >> 29, 3u);
  EXPECT_EQ(three.pack(2, 0, 0) >> 30, 2u);
}

TEST(VariantCode, UnpackInvertsPack) {
  for (const auto& [prefixes, suffixes] :
       {std::pair{0, 0}, std::pair{1, 1}, std::pair{3, 20}, std::pair{4, 7}, std::pair{8, 2},
        std::pair{255, 0}, std::pair{1000, 1000}}) {
    const VariantLayout layout = VariantLayout::for_counts(prefixes, suffixes);
    const std::uint32_t highest_word = (std::uint32_t{1} << layout.word_bits) - 2;
    for (int p = -1; p<prefixes; p += prefixes> 20 ? 97 : 1) {
      for (int s = -1; s<suffixes; s += suffixes> 20 ? 89 : 1) {
        for (const std::uint32_t w : {0u, 1u, 5u, highest_word / 3, highest_word}) {
          const VariantLayout::Parts parts = layout.unpack(layout.pack(p, s, w));
          EXPECT_EQ(parts.prefix,
                    p >= 0 ? std::optional(static_cast<std::uint32_t>(p)) : std::nullopt);
          EXPECT_EQ(parts.suffix,
                    s >= 0 ? std::optional(static_cast<std::uint32_t>(s)) : std::nullopt);
          EXPECT_EQ(parts.word, w);
        }
      }
    }
  }
  const VariantLayout::Parts none = VariantLayout::for_counts(3, 20).unpack(0xFFFFFFFFu);
  EXPECT_FALSE(none.prefix.has_value());
  EXPECT_FALSE(none.suffix.has_value());
  EXPECT_EQ(none.word, (1u << 25) - 1);
}

TEST(VariantCode, FitsWordsUpToAllOnesMinusOne) {
  const struct {
    std::int64_t prefixes, suffixes, fitting;
  } cases[] = {
      {0, 0, (std::int64_t{1} << 30) - 1},  // 30 word bits
      {16384, 16384, 3},                    // 2 word bits
      {65535, 65535, 0},                    // 0 word bits
      {1 << 20, 1 << 20, 0},                // fewer than 0 word bits
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.prefixes);
    const VariantLayout layout = VariantLayout::for_counts(c.prefixes, c.suffixes);
    EXPECT_TRUE(layout.fits_words(c.fitting));
    EXPECT_FALSE(layout.fits_words(c.fitting + 1));
  }
}

}  // namespace
}  // namespace quirlex
