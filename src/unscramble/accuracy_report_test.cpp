// The accuracy report: which positions are compared, how characters are
// counted, the truncated percentage and the exact report text, also for
// texts too large for 32-bit products and under a locale with a decimal
// comma.
#include "unscramble/accuracy_report.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "text/token_list.h"
#include "text/tokenizer.h"

namespace quirlex {
namespace {

TokenList tokens_of(const std::string& text) {
  TokenList list;
  tokenize(text, list, {});
  return list;
}

TokenList list_of(const std::vector<std::string>& texts) {
  TokenList list;
  for (const std::string& text : texts)
    list.append(WordToken{.text = text});
  return list;
}

std::string report(std::int64_t correct, std::int64_t total, int percentage) {
  return std::to_string(correct) + " of " + std::to_string(total) +
         " Characters recognized correctly\r\nTranslated " + std::to_string(percentage) +
         ".0 percent of the text\r\n\r\n";
}

TEST(AccuracyReport, EmptySourceComparesNothing) {
  EXPECT_EQ(accuracy_report(TokenList(), tokens_of("Hello, world!\r\n")),
            "0 of 0 Characters recognized correctly\r\nTranslated 0.0 percent of the text\r\n\r\n");
}

TEST(AccuracyReport, RestoredListOfOneTokenOrNoneComparesNothing) {
  const TokenList source = tokens_of("Hello, world!\r\n");
  EXPECT_EQ(accuracy_report(source, TokenList()), report(0, 0, 0));
  EXPECT_EQ(accuracy_report(source, list_of({""})), report(0, 0, 0));
  EXPECT_EQ(accuracy_report(source, list_of({"Hello"})), report(0, 0, 0));
}

TEST(AccuracyReport, AllWordsRestoredLeavesOutTheLastToken) {
  const TokenList source = tokens_of("Hello, world!\r\n");
  ASSERT_EQ(source.size(), 5);
  EXPECT_EQ(accuracy_report(source, source),
            "12 of 12 Characters recognized correctly\r\nTranslated 100.0 percent of the text\r\n"
            "\r\n");
}

TEST(AccuracyReport, ScrambledWordCountsWrongWithItsLength) {
  const TokenList source = tokens_of("Hello, world!\r\n");
  const TokenList restored = tokens_of("Hello, wlord!\r\n");
  EXPECT_EQ(accuracy_report(source, restored),
            "7 of 12 Characters recognized correctly\r\nTranslated 58.0 percent of the text\r\n"
            "\r\n");
}

TEST(AccuracyReport, PercentageIsTruncatedToAWholeNumber) {
  EXPECT_EQ(accuracy_report(list_of({"ab", "c"}), list_of({"ab", "x", "end"})), report(2, 3, 66));
  EXPECT_EQ(accuracy_report(list_of({std::string(199, 'a'), "b"}),
                            list_of({std::string(199, 'a'), "x", "end"})),
            report(199, 200, 99));
  EXPECT_EQ(accuracy_report(list_of({"a", std::string(199, 'b')}), list_of({"a", "x", "end"})),
            report(1, 200, 0));
}

TEST(AccuracyReport, CaseMatters) {
  const TokenList source = tokens_of("Hello, world!\r\n");
  const TokenList restored = tokens_of("hello, World!\r\n");
  EXPECT_EQ(accuracy_report(source, restored), report(2, 12, 16));
}

TEST(AccuracyReport, SeparatorsAndShortWordsCountWhenNoWordIsRestored) {
  const TokenList source = tokens_of("The quick brown fox.\n");
  const TokenList restored = tokens_of("The qciuk bowrn fox.\n");
  // Compared: "", The, " ", quick, " ", brown, " ", fox; not ".\n".
  EXPECT_EQ(accuracy_report(source, restored), report(9, 19, 47));
}

TEST(AccuracyReport, ListsOfDifferentLengthsCompareTheCommonPositions) {
  const TokenList source = list_of({"aaaa", "bb", "cccccc", "dd", "e"});
  // min(5, 3 - 1) = 2 positions.
  EXPECT_EQ(accuracy_report(source, list_of({"aaaa", "xx", "cccccc"})), report(4, 6, 66));
  // min(2, 10 - 1) = 2 positions.
  EXPECT_EQ(accuracy_report(list_of({"aaaa", "bb"}),
                            list_of({"aaaa", "bb", "x", "x", "x", "x", "x", "x", "x", "x"})),
            report(6, 6, 100));
  // min(5, 1 - 1) = 0 positions.
  EXPECT_EQ(accuracy_report(source, list_of({"aaaa"})), report(0, 0, 0));
}

TEST(AccuracyReport, ChangesNeitherList) {
  const TokenList source = tokens_of("Hello, world!\r\n");
  TokenList restored = tokens_of("Hello, wlord!\r\n");
  const TokenList restored_before = restored;
  const TokenList source_copy = source;
  accuracy_report(source, restored);
  EXPECT_EQ(source, source_copy);
  EXPECT_EQ(restored, restored_before);
}

TEST(MeasureAccuracy, CountsBeyondThirtyTwoBitProducts) {
  // 25 million correct characters: correct x 100 is past 2^31.
  TokenList source;
  source.append(WordToken{.text = std::string(25'000'000, 'a')});
  source.append(WordToken{.text = std::string(5'000'000, 'b')});
  TokenList restored;
  restored.append(source.element(0));
  restored.append(WordToken{.text = "c"});
  restored.append(WordToken{.text = "end"});
  const Accuracy accuracy = measure_accuracy(source, restored);
  EXPECT_EQ(accuracy.correct, 25'000'000);
  EXPECT_EQ(accuracy.total, 30'000'000);
  EXPECT_EQ(accuracy.percentage, 83);
  EXPECT_EQ(accuracy_report(source, restored), report(25'000'000, 30'000'000, 83));
}

// Sets LC_NUMERIC for one scope and puts the earlier setting back.
class NumericLocale {
 public:
  explicit NumericLocale(const char* name) : previous_(std::setlocale(LC_NUMERIC, nullptr)) {
    active_ = std::setlocale(LC_NUMERIC, name) != nullptr;
  }
  ~NumericLocale() { std::setlocale(LC_NUMERIC, previous_.c_str()); }
  NumericLocale(const NumericLocale&) = delete;
  NumericLocale& operator=(const NumericLocale&) = delete;
  bool active() const { return active_; }

 private:
  std::string previous_;
  bool active_ = false;
};

TEST(AccuracyReport, DecimalPointDoesNotDependOnTheLocale) {
  const TokenList source = tokens_of("Hello, world!\r\n");
  const TokenList restored = tokens_of("Hello, wlord!\r\n");
  NumericLocale german("de_DE.UTF-8");
  if (!german.active())
    GTEST_SKIP() << "the locale de_DE.UTF-8 is not installed";
  ASSERT_EQ(std::localeconv()->decimal_point, std::string(","));
  EXPECT_EQ(accuracy_report(source, restored),
            "7 of 12 Characters recognized correctly\r\nTranslated 58.0 percent of the text\r\n"
            "\r\n");
}

}  // namespace
}  // namespace quirlex
