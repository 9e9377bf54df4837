// The tokenizer: separator and word tokens, the upper-cased last token, the
// slash and quote replacement, dropped separators, signatures; and replace_all.
#include "text/tokenizer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "testing/exact_double.h"
#include "testing/single_byte.h"
#include "text/signature.h"
#include "text/token_list.h"

namespace quirlex {
namespace {

using testing::SameDouble;
using testing::single_byte;

constexpr TokenizeOptions kKeepSeparators{};
constexpr TokenizeOptions kDropSeparators{.drop_separators = true};
constexpr TokenizeOptions kReplaceSlashAndQuote{.replace_slash_and_quote = true};

// A token as (separator flag, text), to compare whole lists at a glance.
using Shape = std::vector<std::pair<int, std::string>>;

Shape shape_of(const TokenList& list) {
  Shape shape;
  for (const WordToken& token : list) shape.emplace_back(token.separator, token.text);
  return shape;
}

Shape tokenize_to_shape(std::string text, TokenizeOptions options) {
  TokenList list;
  tokenize(std::move(text), list, options);
  return shape_of(list);
}

TEST(Tokenizer, SplitsWordsAndSeparatorRuns) {
  TokenList list;
  tokenize("Hello, world!\r\n", list, kKeepSeparators);
  EXPECT_EQ(shape_of(list), (Shape{{1, ""}, {0, "Hello"}, {1, ", "}, {0, "world"}, {1, "!\r\n"}}));
  EXPECT_EQ(list.join(), "Hello, world!\r\n");
}

TEST(Tokenizer, LastWordIsUpperCased) {
  TokenList list;
  tokenize("Hello world", list, kKeepSeparators);
  EXPECT_EQ(shape_of(list), (Shape{{1, ""}, {0, "Hello"}, {1, " "}, {0, "WORLD"}}));
  EXPECT_EQ(list.join(), "Hello WORLD");
}

TEST(Tokenizer, TextStartingWithSeparatorsHasNoEmptyToken) {
  EXPECT_EQ(tokenize_to_shape("  Hi there.", kKeepSeparators),
            (Shape{{1, "  "}, {0, "Hi"}, {1, " "}, {0, "there"}, {1, "."}}));
}

TEST(Tokenizer, ApostropheSeparates) {
  EXPECT_EQ(tokenize_to_shape("don't", kKeepSeparators),
            (Shape{{1, ""}, {0, "don"}, {1, "'"}, {0, "T"}}));
}

TEST(Tokenizer, DigitsSeparate) {
  EXPECT_EQ(tokenize_to_shape("abc123def", kKeepSeparators),
            (Shape{{1, ""}, {0, "abc"}, {1, "123"}, {0, "DEF"}}));
}

TEST(Tokenizer, UmlautsBelongToWords) {
  EXPECT_EQ(tokenize_to_shape(single_byte("Größe und Ärger."), kKeepSeparators),
            (Shape{{1, ""},
                   {0, single_byte("Größe")},
                   {1, " "},
                   {0, "und"},
                   {1, " "},
                   {0, single_byte("Ärger")},
                   {1, "."}}));
}

TEST(Tokenizer, BytesBelow0x40SeparateAndAllOthersBelongToWords) {
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    const std::string text{'x', static_cast<char>(b), 'y', ' '};
    const Shape shape = tokenize_to_shape(text, kDropSeparators);
    if (b < 0x40) {
      EXPECT_EQ(shape, (Shape{{0, "x"}, {0, "y"}}));
    } else {
      EXPECT_EQ(shape, (Shape{{0, text.substr(0, 3)}}));
    }
  }
}

TEST(Tokenizer, ReplacesSlashAndQuoteWhenAsked) {
  EXPECT_EQ(tokenize_to_shape("and/or", kReplaceSlashAndQuote), (Shape{{1, ""}, {0, "AND@OR"}}));
  EXPECT_EQ(tokenize_to_shape("say \"hi\" and/or no.", kReplaceSlashAndQuote), (Shape{{1, ""},
                                                                                      {0, "say"},
                                                                                      {1, " "},
                                                                                      {0, "^hi^"},
                                                                                      {1, " "},
                                                                                      {0, "and@or"},
                                                                                      {1, " "},
                                                                                      {0, "no"},
                                                                                      {1, "."}}));
  EXPECT_EQ(tokenize_to_shape("and/or \"hi\".", kKeepSeparators),
            (Shape{{1, ""}, {0, "and"}, {1, "/"}, {0, "or"}, {1, " \""}, {0, "hi"}, {1, "\"."}}));
}

TEST(Tokenizer, ReplacedWordsAreSignedWithTheirNewText) {
  TokenList list;
  tokenize("and/or ", list, kReplaceSlashAndQuote);
  ASSERT_EQ(list.size(), 3);
  EXPECT_PRED_FORMAT2(SameDouble, list.element(1).signature, -23011522074.74727);
  EXPECT_EQ(list.element(1).letter_mask, 2147639305u);
}

TEST(Tokenizer, DroppedSeparatorsLeaveOnlyWords) {
  EXPECT_EQ(tokenize_to_shape("Hello, world!\r\n", kDropSeparators),
            (Shape{{0, "Hello"}, {0, "world"}}));
  EXPECT_EQ(tokenize_to_shape("Hello world", kDropSeparators), (Shape{{0, "Hello"}, {0, "WORLD"}}));
}

TEST(Tokenizer, TextOfSeparatorsOnly) {
  TokenList list;
  list.append(WordToken::from_text("earlier"));
  tokenize(" \r\n  \r\n", list, kDropSeparators);
  EXPECT_TRUE(list.is_empty()) << "a non-empty text always empties the list first";
  EXPECT_EQ(tokenize_to_shape(" \r\n  \r\n", kKeepSeparators), (Shape{{1, " \r\n  \r\n"}}));
}

TEST(Tokenizer, EmptyTextLeavesTheListUntouched) {
  TokenList list;
  list.set_size(0, 7);
  list.append(WordToken::from_text("earlier"));
  list.append(WordToken::from_text(" "));
  tokenize("", list, kKeepSeparators);
  tokenize("", list, kDropSeparators);
  EXPECT_EQ(list.join(), "earlier ");
  EXPECT_EQ(list.grow_step(), 7);
}

TEST(Tokenizer, ReplacesTheEarlierTokensAndSetsGrowStep1000) {
  TokenList list;
  list.append(WordToken::from_text("earlier"));
  tokenize("one two", list, kKeepSeparators);
  EXPECT_EQ(list.join(), "one TWO");
  EXPECT_EQ(list.grow_step(), 1000);
  EXPECT_EQ(list.capacity(), 1000);
}

TEST(Tokenizer, TokensCarryMaskAndSignature) {
  TokenList list;
  tokenize("Hello, world\r\n", list, kKeepSeparators);
  ASSERT_EQ(list.size(), 5);
  EXPECT_EQ(list.element(0).letter_mask, 0u);
  EXPECT_PRED_FORMAT2(SameDouble, list.element(0).signature, 0.0);
  EXPECT_EQ(list.element(1).letter_mask, 18576u);
  EXPECT_PRED_FORMAT2(SameDouble, list.element(1).signature, 175930.05710437705);
  EXPECT_PRED_FORMAT2(SameDouble, list.element(3).signature, 38784915.72756856);
  // Separator tokens are signed too; only their flag tells them apart.
  EXPECT_EQ(list.element(4).letter_mask, 4608u);
  EXPECT_PRED_FORMAT2(SameDouble, list.element(4).signature, 30218.123352157734);
  for (const WordToken& token : list) EXPECT_EQ(token.keep, 1);
}

TEST(Tokenizer, LastWordIsSignedFromItsCapitals) {
  TokenList list;
  tokenize("WORLD world", list, kKeepSeparators);
  ASSERT_EQ(list.size(), 4);
  EXPECT_EQ(list.element(3).text, "WORLD");
  EXPECT_PRED_FORMAT2(SameDouble, list.element(3).signature, list.element(1).signature);
}

TEST(Tokenizer, SuppressedSignaturesStayZero) {
  TokenList list;
  {
    SignatureSuppression suppression;
    tokenize("Hello, world\r\n", list, kKeepSeparators);
  }
  ASSERT_EQ(list.size(), 5);
  for (const WordToken& token : list) {
    EXPECT_EQ(token.letter_mask, 0u);
    EXPECT_PRED_FORMAT2(SameDouble, token.signature, 0.0);
  }
  tokenize("Hello, world\r\n", list, kKeepSeparators);
  EXPECT_PRED_FORMAT2(SameDouble, list.element(1).signature, 175930.05710437705);
}

// For any text that ends in a separator, the tokens alternate between
// separator runs and words, only the first may be empty, and joining gives
// the text back byte for byte.
TEST(TokenizerProperty, JoinGivesBackTextsEndingInASeparator) {
  std::mt19937 random(1234);
  std::uniform_int_distribution<int> length(1, 200);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 2000; ++round) {
    std::string text(static_cast<std::size_t>(length(random)), '\0');
    for (char& c : text) c = static_cast<char>(byte(random));
    text += '\n';
    TokenList list;
    tokenize(text, list, kKeepSeparators);
    ASSERT_EQ(list.join(), text);
    for (std::int32_t i = 0; i < list.size(); ++i) {
      const WordToken& token = list.element(i);
      ASSERT_EQ(token.separator, i % 2 == 0 ? 1 : 0) << "token " << i;
      if (i > 0) {
        ASSERT_FALSE(token.text.empty()) << "token " << i;
      }
      for (const char c : token.text) ASSERT_EQ(is_separator_byte(c), token.separator == 1);
    }
  }
}

TEST(ReplaceAll, ReplacesLeftToRightWithoutOverlapOrRescanning) {
  const struct {
    std::string text, old_text, new_text, expected;
  } cases[] = {
      {"aaaa", "aa", "a", "aa"}, {"aaa", "aa", "a", "aa"},        {"aaa", "a", "aa", "aaaaaa"},
      {"abab", "ab", "b", "bb"}, {"a/b/c", "/", "@", "a@b@c"},    {"\"q\"", "\"", "^", "^q^"},
      {"xyz", "ab", "c", "xyz"}, {"abcabc", "abc", "", ""},       {"", "a", "b", ""},
      {"abc", "", "x", "abc"},   {"aXbXc", "X", "--", "a--b--c"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text + " / " + c.old_text + " / " + c.new_text);
    std::string text = c.text;
    replace_all(text, c.old_text, c.new_text);
    EXPECT_EQ(text, c.expected);
  }
}

}  // namespace
}  // namespace quirlex
