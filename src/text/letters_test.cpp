// The letters of a word as a reader sees them, and rearrangements.
#include "text/letters.h"

#include <gtest/gtest.h>

#include <string>

namespace quirlex {
namespace {

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
