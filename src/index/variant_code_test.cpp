// Variant codes: the field widths for given affix counts, packing and
// unpacking, and which word counts a layout can index.
#include "index/variant_code.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace quirlex {
namespace {

TEST(VariantCode, BitWidthOfACount) {
  EXPECT_EQ(bit_width_of_count(0), 1);
  EXPECT_EQ(bit_width_of_count(1), 1);
  EXPECT_EQ(bit_width_of_count(2), 2);
  EXPECT_EQ(bit_width_of_count(3), 2);
  EXPECT_EQ(bit_width_of_count(4), 3);
  EXPECT_EQ(bit_width_of_count(7), 3);
  EXPECT_EQ(bit_width_of_count(8), 4);
  EXPECT_EQ(bit_width_of_count(20), 5);
  EXPECT_EQ(bit_width_of_count(65535), 16);
  EXPECT_EQ(bit_width_of_count(65536), 17);
}

TEST(VariantCode, DefaultLayoutIsZeroZeroThirtyTwo) {
  const VariantLayout layout;
  EXPECT_EQ(layout.prefix_bits, 0);
  EXPECT_EQ(layout.suffix_bits, 0);
  EXPECT_EQ(layout.word_bits, 32);
}

TEST(VariantCode, ThreePrefixesAndTwentySuffixes) {
  const VariantLayout layout = VariantLayout::for_counts(3, 20);
  EXPECT_EQ(layout.prefix_bits, 2);
  EXPECT_EQ(layout.suffix_bits, 5);
  EXPECT_EQ(layout.word_bits, 25);
  EXPECT_EQ(layout.pack(1, -1, 7), 0x7E000007u);
  EXPECT_EQ(layout.pack(2, 19, 7), 0xA6000007u);
}

TEST(VariantCode, WithoutAffixesTheCodeIsC0000000PlusTheWord) {
  const VariantLayout layout = VariantLayout::for_counts(0, 0);
  EXPECT_EQ(layout.prefix_bits, 1);
  EXPECT_EQ(layout.suffix_bits, 1);
  EXPECT_EQ(layout.word_bits, 30);
  for (const std::int64_t word : {0, 1, 7, 123456, (1 << 30) - 2}) {
    EXPECT_EQ(layout.pack(-1, -1, word), 0xC0000000u + static_cast<std::uint32_t>(word));
  }
}

TEST(VariantCode, NoPrefixIsAllOnesOfTheField) {
  const VariantLayout four = VariantLayout::for_counts(4, 0);
  EXPECT_EQ(four.prefix_bits, 3);
  EXPECT_EQ(four.pack(-1, 0, 0) >> 29, 7u);
  const VariantLayout three = VariantLayout::for_counts(3, 0);
  EXPECT_EQ(three.prefix_bits, 2);
  EXPECT_EQ(three.pack(-1, 0, 0) >> 30, 3u);
  // The highest index of a list is never the all-ones value.
  EXPECT_EQ(three.pack(2, 0, 0) >> 30, 2u);
  EXPECT_EQ(four.pack(3, 0, 0) >> 29, 3u);
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
          EXPECT_EQ(parts.prefix.has_value(), p >= 0);
          if (p >= 0) {
            EXPECT_EQ(*parts.prefix, static_cast<std::uint32_t>(p));
          }
          EXPECT_EQ(parts.suffix.has_value(), s >= 0);
          if (s >= 0) {
            EXPECT_EQ(*parts.suffix, static_cast<std::uint32_t>(s));
          }
          EXPECT_EQ(parts.word, w);
        }
      }
    }
  }
}

TEST(VariantCode, UnpackReadsTheFieldsFromTheTop) {
  const VariantLayout layout = VariantLayout::for_counts(3, 20);
  const VariantLayout::Parts parts = layout.unpack(0xA6000007u);
  ASSERT_TRUE(parts.prefix.has_value());
  ASSERT_TRUE(parts.suffix.has_value());
  EXPECT_EQ(*parts.prefix, 2u);
  EXPECT_EQ(*parts.suffix, 19u);
  EXPECT_EQ(parts.word, 7u);
  const VariantLayout::Parts none = layout.unpack(0xFFFFFFFFu);
  EXPECT_FALSE(none.prefix.has_value());
  EXPECT_FALSE(none.suffix.has_value());
  EXPECT_EQ(none.word, (1u << 25) - 1);
}

TEST(VariantCode, FitsWordsUpToAllOnesMinusOne) {
  const VariantLayout plain = VariantLayout::for_counts(0, 0);
  EXPECT_TRUE(plain.fits_words(0));
  EXPECT_TRUE(plain.fits_words((std::int64_t{1} << 30) - 1));
  EXPECT_FALSE(plain.fits_words(std::int64_t{1} << 30));

  const VariantLayout wide = VariantLayout::for_counts(16384, 16384);
  EXPECT_EQ(wide.word_bits, 2);
  EXPECT_TRUE(wide.fits_words(3));
  EXPECT_FALSE(wide.fits_words(4));

  const VariantLayout full = VariantLayout::for_counts(65535, 65535);
  EXPECT_EQ(full.word_bits, 0);
  EXPECT_TRUE(full.fits_words(0));
  EXPECT_FALSE(full.fits_words(1));

  const VariantLayout over = VariantLayout::for_counts(1 << 20, 1 << 20);
  EXPECT_LT(over.word_bits, 0);
  EXPECT_TRUE(over.fits_words(0));
  EXPECT_FALSE(over.fits_words(1));
}

}  // namespace
}  // namespace quirlex
