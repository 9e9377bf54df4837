// The accuracy measure: which positions are compared, how characters are
// counted and the truncated percentage, also for texts too large for 32-bit
// products.
#include "unscramble/accuracy_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/token_lists.h"
#include "text/token_list.h"

namespace quirlex {
namespace {

using testing::list_of;
using testing::tokens_of;

TEST(MeasureAccuracy, ComparesTokensAtEqualPositionsBeforeTheRestoredListsLast) {
  const TokenList hello = tokens_of("Hello, world!\r\n");
  const struct {
    TokenList source, restored;
    std::int64_t correct, total;
    int percentage;
  } cases[] = {
      {TokenList(), hello, 0, 0, 0},
      {hello, TokenList(), 0, 0, 0},
      {hello, list_of({"Hello"}), 0, 0, 0},
      // "", Hello, ", " and world are compared; "!\r\n" is not.
      {hello, hello, 12, 12, 100},
      {hello, tokens_of("Hello, wlord!\r\n"), 7, 12, 58},
      {hello, tokens_of("hello, World!\r\n"), 2, 12, 16},  // case matters
      // Unrestored words: separators and short words still count as correct.
      {tokens_of("The quick brown fox.\n"), tokens_of("The qciuk bowrn fox.\n"), 9, 19, 47},
      // The percentage is truncated to a whole number.
      {list_of({"ab", "c"}), list_of({"ab", "x", "end"}), 2, 3, 66},
      {list_of({std::string(199, 'a'), "b"}), list_of({std::string(199, 'a'), "x", "end"}), 199,
       200, 99},
      {list_of({"a", std::string(199, 'b')}), list_of({"a", "x", "end"}), 1, 200, 0},
      // Lists of different lengths: min(n_src, n_scr - 1) positions.
      {list_of({"aaaa", "bb", "cccccc", "dd", "e"}), list_of({"aaaa", "xx", "cccccc"}), 4, 6, 66},
      {list_of({"aaaa", "bb"}), list_of({"aaaa", "bb", "x", "x", "x", "x", "x", "x", "x", "x"}), 6,
       6, 100},
      {list_of({"aaaa", "bb", "cccccc"}), list_of({"aaaa"}), 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.restored.join());
    const TokenList source_before = c.source;
    const TokenList restored_before = c.restored;
    const Accuracy accuracy = measure_accuracy(c.source, c.restored);
    EXPECT_EQ(accuracy.correct, c.correct);
    EXPECT_EQ(accuracy.total, c.total);
    EXPECT_EQ(accuracy.percentage, c.percentage);
    EXPECT_TRUE(c.source == source_before && c.restored == restored_before) << "a list changed";
  }
}

TEST(MeasureAccuracy, CountsBeyondThirtyTwoBitProducts) {
  // 25 million correct characters: correct x 100 is past 2^31.
  TokenList source = list_of({std::string(25'000'000, 'a'), std::string(5'000'000, 'b')});
  TokenList restored = list_of({std::string(25'000'000, 'a'), "c", "end"});
  const Accuracy accuracy = measure_accuracy(source, restored);
  EXPECT_EQ(accuracy.correct, 25'000'000);
  EXPECT_EQ(accuracy.total, 30'000'000);
  EXPECT_EQ(accuracy.percentage, 83);
}

}  // namespace
}  // namespace quirlex
