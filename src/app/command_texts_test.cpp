// The texts made from the core commands' results: Load Dictionary's report
// with its counts, wrapping variant count, refusals and stop, and the
// accuracy report, whose decimal point no locale may change.
#include "app/command_texts.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <string>

namespace quirlex::texts {
namespace {

TEST(DictionaryReportText, CountsEntriesAffixesAndVariants) {
  using enum DeepSearchOutcome;
  const std::string head = "Creating the hashtables!\r\nREADY!\r\n\r\n";
  const std::string three = "3 Words are read into the lexicon\r\n";
  const std::string affixes = three + "Read 2 Prefixes\r\nRead 4 Suffixes\r\n";
  const struct {
    std::int32_t entries, words, prefixes, suffixes;
    DeepSearchOutcome deep;
    std::string lines;
  } cases[] = {
      {0, 0, 0, 0, kNotAsked, ""},
      {3, 3, 0, 0, kNotAsked, three},
      {2, 3, 0, 0, kNotAsked, "2 Words are read into the lexicon\r\n"},
      {3, 3, 2, 4, kBuilt, affixes + "\r\nCreated 24 words including all variants"},
      {3, 3, 0, 4, kBuilt, three + "Read 4 Suffixes\r\n\r\nCreated 12 words including all variants"},
      // 1 entry x 1 x 2 variants is not more than the 2 words: no count.
      {1, 2, 1, 2, kBuilt,
       "1 Words are read into the lexicon\r\nRead 1 Prefixes\r\nRead 2 Suffixes\r\n"},
      {1, 2, 1, 3, kBuilt,
       "1 Words are read into the lexicon\r\nRead 1 Prefixes\r\nRead 3 Suffixes\r\n"
       "\r\nCreated 3 words including all variants"},
      // The variant count is a wrapping 32-bit product: 3 x 65536 x 65536 is 0.
      {3, 3, 65536, 65536, kBuilt, three + "Read 65536 Prefixes\r\nRead 65536 Suffixes\r\n"},
      {3, 3, 65536, 65537, kBuilt,
       three + "Read 65536 Prefixes\r\nRead 65537 Suffixes\r\n"
               "\r\nCreated 196608 words including all variants"},
      // 0xC0000000 is above the word count as an unsigned number and is shown
      // as the signed number it is.
      {3, 3, 65536, 16384, kBuilt,
       three + "Read 65536 Prefixes\r\nRead 16384 Suffixes\r\n"
               "\r\nCreated -1073741824 words including all variants"},
      {3, 3, 2, 4, kStopped,
       affixes + "\r\nDeep Search stopped: only the lexicon itself is searched.\r\n"},
      {3, 3, 2, 4, kTooManyMembers,
       affixes + "\r\nDeep Search refused: 3 words with 2 prefixes and 4 suffixes make 45 "
                 "variants, more than the 2147483647 that can be indexed. Shorter prefix or "
                 "suffix lists make it possible.\r\n"},
      // A product past 64 bits is named by its factors.
      {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, kTooManyMembers, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    DictionaryReport report;
    report.entries = c.entries;
    report.words = c.words;
    report.prefixes = c.prefixes;
    report.suffixes = c.suffixes;
    report.deep_search = c.deep;
    const std::string text = dictionary_report(report);
    if (c.entries == INT32_MAX) {
      EXPECT_NE(text.find(" make 2147483648 x 2147483648 x 2147483647 variants"), std::string::npos)
          << text;
    } else {
      EXPECT_EQ(text, head + c.lines);
    }
  }
  DictionaryReport narrow;
  narrow.words = 1 << 30;
  narrow.word_bits = 29;
  narrow.prefixes = 3;
  narrow.deep_search = kWordsDoNotFit;
  EXPECT_TRUE(dictionary_report(narrow).ends_with(
      "\r\nDeep Search refused: 1073741824 words do not fit the 29 bits a variant code keeps for "
      "the word beside 3 prefixes and 0 suffixes. Shorter prefix or suffix lists make it "
      "possible.\r\n"));
}

TEST(AccuracyReportText, WholePercentWithADecimalPointUnderAnyLocale) {
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  const bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
  const std::string text = accuracy_report({.correct = 7, .total = 12, .percentage = 58});
  std::setlocale(LC_NUMERIC, previous.c_str());
  EXPECT_EQ(text,
            "7 of 12 Characters recognized correctly\r\nTranslated 58.0 percent of the text\r\n"
            "\r\n");
  if (!german) GTEST_SKIP() << "the locale de_DE.UTF-8 is not installed";
}

}  // namespace
}  // namespace quirlex::texts
