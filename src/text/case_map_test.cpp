// Upper- and lower-casing of Windows-1252 bytes, checked byte by byte against
// the code page's case pairs, and shown not to follow the C locale.
#include "text/case_map.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <map>
#include <string>

#include "testing/single_byte.h"

namespace quirlex {
namespace {

using testing::single_byte;

// Every small letter of Windows-1252 with its capital.
std::map<int, int> windows_1252_case_pairs() {
  std::map<int, int> pairs;
  for (int small = 'a'; small <= 'z'; ++small) pairs[small] = small - 0x20;
  for (int small = 0xE0; small <= 0xFE; ++small) {
    if (small != 0xF7) pairs[small] = small - 0x20;  // 0xF7 is the division sign
  }
  pairs[0x9A] = 0x8A;  // š Š
  pairs[0x9C] = 0x8C;  // œ Œ
  pairs[0x9E] = 0x8E;  // ž Ž
  pairs[0xFF] = 0x9F;  // ÿ Ÿ
  return pairs;
}

std::string all_bytes() {
  std::string bytes(256, '\0');
  for (int b = 0; b < 256; ++b) bytes[static_cast<std::size_t>(b)] = static_cast<char>(b);
  return bytes;
}

TEST(CaseMap, FollowsTheWindows1252CasePairsForEveryByte) {
  const std::map<int, int> pairs = windows_1252_case_pairs();
  std::map<int, int> capital_to_small;
  for (const auto& [small, capital] : pairs) capital_to_small[capital] = small;
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    const auto byte = static_cast<std::uint8_t>(b);
    const auto small = pairs.find(b);
    const auto capital = capital_to_small.find(b);
    EXPECT_EQ(upper_byte(byte), small != pairs.end() ? small->second : b);
    EXPECT_EQ(lower_byte(byte), capital != capital_to_small.end() ? capital->second : b);
  }
}

TEST(CaseMap, SpotChecks) {
  EXPECT_EQ(upper_byte(0xE4), 0xC4);  // ä Ä
  EXPECT_EQ(lower_byte(0xDC), 0xFC);  // Ü ü
  EXPECT_EQ(upper_byte(0xF7), 0xF7);  // division sign
  EXPECT_EQ(lower_byte(0xD7), 0xD7);  // multiplication sign
  EXPECT_EQ(lower_byte(0xF7), 0xF7);
  EXPECT_EQ(upper_byte(0xD7), 0xD7);
  EXPECT_EQ(upper_byte(0xFE), 0xDE);  // þ Þ
  EXPECT_EQ(upper_byte(0xE0), 0xC0);  // à À
  // Letters without a single-byte capital, and ordinal and other signs, stay.
  for (const int b : {0xDF, 0xB5, 0xAA, 0xBA, 0x83}) {
    const auto byte = static_cast<std::uint8_t>(b);
    EXPECT_EQ(upper_byte(byte), byte);
    EXPECT_EQ(lower_byte(byte), byte);
  }
  EXPECT_EQ(upper_char('@'), '@');
  EXPECT_EQ(upper_char('`'), '`');
  EXPECT_EQ(lower_char('['), '[');
}

TEST(CaseMap, LowerIsTheExactReverseOfUpper) {
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    const auto byte = static_cast<std::uint8_t>(b);
    const std::uint8_t upper = upper_byte(byte);
    const std::uint8_t lower = lower_byte(byte);
    EXPECT_EQ(upper_byte(upper), upper);
    EXPECT_EQ(lower_byte(lower), lower);
    if (upper != byte) {
      EXPECT_EQ(lower_byte(upper), byte);
      EXPECT_EQ(lower, byte) << "a byte with a capital is itself small";
    }
    if (lower != byte) {
      EXPECT_EQ(upper_byte(lower), byte);
      EXPECT_EQ(upper, byte) << "a byte with a small letter is itself capital";
    }
  }
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

  std::string empty;
  upper_case(empty);
  lower_case(empty);
  EXPECT_EQ(empty, "");
}

// The case tables must not depend on the C library's idea of the character
// set: a UTF-8 locale would treat bytes 0x80-0xFF as no letters at all.
TEST(CaseMap, DoesNotFollowTheCLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  std::string upper_in_c = all_bytes();
  std::string lower_in_c = all_bytes();
  upper_case(upper_in_c);
  lower_case(lower_in_c);

  int tried = 0;
  for (const char* name : {"de_DE.UTF-8", "de_DE.ISO-8859-1", "tr_TR.UTF-8", "C.UTF-8"}) {
    if (std::setlocale(LC_ALL, name) == nullptr) continue;
    ++tried;
    SCOPED_TRACE(name);
    std::string upper = all_bytes();
    std::string lower = all_bytes();
    upper_case(upper);
    lower_case(lower);
    EXPECT_EQ(upper, upper_in_c);
    EXPECT_EQ(lower, lower_in_c);
  }
  std::setlocale(LC_ALL, saved.c_str());
  if (tried == 0) GTEST_SKIP() << "no locale other than C is installed";
}

}  // namespace
}  // namespace quirlex
