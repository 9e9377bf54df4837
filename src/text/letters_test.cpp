// The letters of a word as a reader sees them, and rearrangements.
#include "text/letters.h"

#include <gtest/gtest.h>

#include <string>

#include "text/case_map.h"

namespace quirlex {
namespace {

// Exactly the bytes that have a capital or small partner in the case
// tables, ß, which has none, and ƒ ª µ º, which stand inside words.
TEST(Letters, AreTheBytesWithACasePartnerAndTheFewLettersWithout) {
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    const bool has_partner = upper_byte(byte) != byte || lower_byte(byte) != byte;
    const bool without = b == 0xDF || b == 0x83 || b == 0xAA || b == 0xB5 || b == 0xBA;
    EXPECT_EQ(is_letter(static_cast<char>(b)), has_partner || without) << "byte " << b;
  }
}

TEST(Letters, CoreLeavesOutWhatIsNoLetterAtEitherEnd) {
  const struct {
    std::string word;
    std::size_t begin, end;
  } cases[] = {
      {"\x84Pakete\x93", 1, 7},  // „Pakete“
      {"|grep", 1, 5},
      {"__init__", 2, 6},
      {"[1]", 3, 3},  // no letter: an empty core at the end
      {"d\xE9j\xE0", 0, 4},
      {"\xABUSR@BIN\xBB", 1, 8},  // a mark inside stays
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    const LetterCore core = letter_core(c.word);
    EXPECT_EQ(core.begin, c.begin);
    EXPECT_EQ(core.end, c.end);
  }
}

TEST(Letters, SameLettersCaseAsideAndNothingElse) {
  // UPPERCROSS and UNCOOPTENS share their signature, not their letters.
  EXPECT_FALSE(same_letters("UPPERCROSS", "UNCOOPTENS"));
  EXPECT_TRUE(same_letters("Urcpepross", "UPPERCROSS"));
  EXPECT_TRUE(same_letters("\xC4rger", "\xE4RGER"));
  EXPECT_FALSE(same_letters("abcd", "abcc"));
  EXPECT_FALSE(same_letters("abc", "abcd"));
  // More than 255 of one byte.
  EXPECT_TRUE(same_letters(std::string(300, 'a') + "b", "b" + std::string(300, 'A')));
  EXPECT_FALSE(same_letters(std::string(256, 'a'), std::string(255, 'a') + "b"));
}

}  // namespace
}  // namespace quirlex
