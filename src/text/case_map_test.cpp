// Upper- and lower-casing of Windows-1252 bytes: the code page's case pairs,
// the bytes that have no case, and strings changed in place.
#include "text/case_map.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "testing/single_byte.h"

namespace quirlex {
namespace {

using testing::single_byte;

TEST(CaseMap, MapsTheCasePairsOfTheCodePageBothWays) {
  const std::pair<int, int> pairs[] = {
      {'a', 'A'},   {'z', 'Z'},   {0xE0, 0xC0}, {0xE4, 0xC4}, {0xF6, 0xD6}, {0xFC, 0xDC},
      {0xFE, 0xDE}, {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9E, 0x8E}, {0xFF, 0x9F},
  };
  for (const auto& [small, capital] : pairs) {
    SCOPED_TRACE(small);
    const auto s = static_cast<std::uint8_t>(small);
    const auto c = static_cast<std::uint8_t>(capital);
    EXPECT_EQ(upper_byte(s), c);
    EXPECT_EQ(lower_byte(c), s);
    EXPECT_EQ(upper_byte(c), c);
    EXPECT_EQ(lower_byte(s), s);
  }
  // Bytes without a case: NUL, digits, signs and letters without a single-byte
  // capital (sharp s, micro sign, ordinals) stay as they are.
  for (const int b :
       {0x00, 0x30, 0x40, 0x5B, 0x60, 0x7B, 0x7F, 0x83, 0xAA, 0xB5, 0xBA, 0xD7, 0xDF, 0xF7}) {
    SCOPED_TRACE(b);
    EXPECT_EQ(upper_byte(static_cast<std::uint8_t>(b)), b);
    EXPECT_EQ(lower_byte(static_cast<std::uint8_t>(b)), b);
  }
}

TEST(CaseMap, SixtyBytesHaveACapitalAndLowerCasingIsTheExactReverse) {
  int with_capital = 0;
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    const auto byte = static_cast<std::uint8_t>(b);
    const std::uint8_t upper = upper_byte(byte);
    const std::uint8_t lower = lower_byte(byte);
    if (upper != byte) {
      ++with_capital;
      EXPECT_EQ(lower_byte(upper), byte);
      EXPECT_EQ(lower, byte) << "a byte with a capital is itself small";
    }
    if (lower != byte) {
      EXPECT_EQ(upper_byte(lower), byte);
      EXPECT_EQ(upper, byte) << "a byte with a small letter is itself capital";
    }
  }
  // a to z, 0xE0 to 0xFE without the division sign, and s, oe, z and y
  // with their marks.
  EXPECT_EQ(with_capital, 26 + 30 + 4);
}

TEST(CaseMap, StringsChangeInPlaceByteForByte) {
  std::string text = single_byte("Größe ärger ÿ 123 @");
  upper_case(text);
  EXPECT_EQ(text, single_byte("GRÖßE ÄRGER ") + "\x9F" + " 123 @");  // 0x9F: capital Y diaeresis
  lower_case(text);
  EXPECT_EQ(text, single_byte("größe ärger ÿ 123 @"));
  std::string with_nul("a\0b", 3);
  upper_case(with_nul);
  EXPECT_EQ(with_nul, std::string("A\0B", 3));
}

}  // namespace
}  // namespace quirlex
