// The tokenizer: separator and word tokens, the upper-cased last token (or
// its own case), the slash and quote replacement, dropped separators,
// signatures; and replace_all.
#include "text/tokenizer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "testing/exact_double.h"
#include "testing/single_byte.h"
#include "testing/token_lists.h"
#include "text/case_map.h"
#include "text/signature.h"
#include "text/token_list.h"

namespace quirlex {
namespace {

using testing::SameDouble;
using testing::single_byte;

constexpr TokenizeOptions kKeepSeparators{};
constexpr TokenizeOptions kDropSeparators{.drop_separators = true};
constexpr TokenizeOptions kReplaceSlashAndQuote{.replace_slash_and_quote = true};
constexpr TokenizeOptions kKeepLastCase{.upper_case_last = false};

// The tokens of `text`, separator tokens in parentheses, joined by "|".
std::string shape_of(std::string text, TokenizeOptions options) {
  TokenList list;
  tokenize(std::move(text), list, options);
  std::string shape;
  for (std::int32_t i = 0; i < list.size(); ++i) {
    const std::string text_of_token(list.text(i));
    shape += (i > 0 ? "|" : "") + (list.separator(i) == 1 ? "(" + text_of_token + ")" : text_of_token);
  }
  return shape;
}

TEST(Tokenizer, SplitsTextsIntoSeparatorRunsAndWords) {
  const struct {
    std::string text;
    TokenizeOptions options;
    std::string shape;
  } cases[] = {
      {"Hello, world!\r\n", kKeepSeparators, "()|Hello|(, )|world|(!\r\n)"},
      // The last word of a text is upper-cased.
      {"Hello world", kKeepSeparators, "()|Hello|( )|WORLD"},
      {"don't", kKeepSeparators, "()|don|(')|T"},
      {"abc123def", kKeepSeparators, "()|abc|(123)|DEF"},
      {"  Hi there.", kKeepSeparators, "(  )|Hi|( )|there|(.)"},
      {single_byte("Größe und Ärger."), kKeepSeparators,
       single_byte("()|Größe|( )|und|( )|Ärger|(.)")},
      {" \r\n  \r\n", kKeepSeparators, "( \r\n  \r\n)"},
      {" \r\n  \r\n", kDropSeparators, ""},
      {"Hello, world!\r\n", kDropSeparators, "Hello|world"},
      {"Hello world", kDropSeparators, "Hello|WORLD"},
      {"and/or", kReplaceSlashAndQuote, "()|AND@OR"},
      {"say \"hi\" and/or no.", kReplaceSlashAndQuote, "()|say|( )|^hi^|( )|and@or|( )|no|(.)"},
      {"and/or \"hi\".", kKeepSeparators, "()|and|(/)|or|( \")|hi|(\".)"},
      // A text the user works on keeps its last word as written, whatever
      // it ends in.
      {"alten Hause", kKeepLastCase, "()|alten|( )|Hause"},
      {"don't", kKeepLastCase, "()|don|(')|t"},
      {"Hello world!\r\n", kKeepLastCase, "()|Hello|( )|world|(!\r\n)"},
      {single_byte("ein Bär ß"), kKeepLastCase, single_byte("()|ein|( )|Bär|( )|ß")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    EXPECT_EQ(shape_of(c.text, c.options), c.shape);
  }
}

TEST(Tokenizer, BytesBelow0x40SeparateAndAllOthersBelongToWords) {
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    const std::string text{'x', static_cast<char>(b), 'y', ' '};
    TokenList list;
    tokenize(text, list, kDropSeparators);
    using Words = std::vector<std::string>;
    EXPECT_EQ(testing::texts_of(list), (b < 0x40 ? Words{"x", "y"} : Words{text.substr(0, 3)}));
  }
}

TEST(Tokenizer, SignsEveryTokenUnlessSuppressed) {
  TokenList list;
  tokenize("Hello, world\r\n", list, kKeepSeparators);
  ASSERT_EQ(list.size(), 5);
  EXPECT_PRED_FORMAT2(SameDouble, list.element(0).signature, 0.0);
  EXPECT_PRED_FORMAT2(SameDouble, list.element(1).signature, 175930.05710437705);
  EXPECT_PRED_FORMAT2(SameDouble, list.element(3).signature, 38784915.72756856);
  // Separator tokens are signed too; only their flag tells them apart.
  EXPECT_EQ(list.element(4).letter_mask, 4608u);

  tokenize("Hello, world\r\n", list, {.signatures = false});
  for (std::int32_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list.element(i).letter_mask, 0u);
    EXPECT_PRED_FORMAT2(SameDouble, list.element(i).signature, 0.0);
  }
  // A replaced word is signed with its new text.
  tokenize("and/or ", list, kReplaceSlashAndQuote);
  EXPECT_PRED_FORMAT2(SameDouble, list.element(1).signature, signature_of("and@or"));
}

TEST(Tokenizer, EmptyTextLeavesTheListAndAnyOtherTextReplacesIt) {
  TokenList list;
  list.set_size(0, 7);
  list.append("earlier");
  tokenize("", list, kKeepSeparators);
  tokenize("", list, kDropSeparators);
  EXPECT_EQ(list.join(), "earlier");
  EXPECT_EQ(list.capacity(), 7);

  tokenize("one two", list, kKeepSeparators);
  EXPECT_EQ(list.join(), "one TWO");
  EXPECT_EQ(list.capacity(), 1000);
  tokenize(" \r\n", list, kDropSeparators);
  EXPECT_TRUE(list.is_empty());
}

// For any text that ends in a separator, the tokens alternate between
// separator runs and words, only the first may be empty, and joining gives
// the text back byte for byte. Without separators the words, moved together
// in the buffer, are the same words. The last round's text is large enough
// to be split in two halves at once.
TEST(Tokenizer, JoinGivesBackRandomTextsEndingInASeparator) {
  std::mt19937 random(1234);
  std::uniform_int_distribution<int> length(1, 200);
  std::uniform_int_distribution<int> byte(0, 255);
  constexpr int kRounds = 2000;
  for (int round = 0; round <= kRounds; ++round) {
    const auto size = round < kRounds ? static_cast<std::size_t>(length(random)) : std::size_t{5} << 20;
    std::string text(size, '\0');
    for (char& c : text) c = static_cast<char>(byte(random));
    text += '\n';
    TokenList list;
    tokenize(text, list, kKeepSeparators);
    ASSERT_EQ(list.join(), text);
    std::vector<std::string> words;
    for (std::int32_t i = 0; i < list.size(); ++i) {
      const std::string_view token_text = list.text(i);
      ASSERT_EQ(list.separator(i), i % 2 == 0 ? 1 : 0) << "token " << i;
      ASSERT_TRUE(i == 0 || !token_text.empty()) << "token " << i;
      for (const char c : token_text) ASSERT_EQ(is_separator_byte(c), list.separator(i) == 1);
      if (list.separator(i) == 0) words.emplace_back(token_text);
    }
    TokenList dropped;
    tokenize(text, dropped, kDropSeparators);
    ASSERT_EQ(testing::texts_of(dropped), words);
  }
}

// Texts of any length and any last byte, against a plain split into runs:
// the tokens are found 64 bytes at a time, so their ends must come out
// right wherever they stand relative to those blocks, at the text's end and
// where a large text is split in two halves.
TEST(Tokenizer, KeptSeparatorsMatchAPlainSplitIntoRuns) {
  std::mt19937 random(99);
  const std::string alphabet = "a Z,\n?@\xE4\x80\x3F";
  std::vector<std::size_t> sizes = {1, 63, 64, 65, 127, 128, 129, std::size_t{5} << 20};
  for (int round = 0; round < 1000; ++round) sizes.push_back(1 + random() % 300);
  for (const std::size_t size : sizes) {
    std::string text(size, ' ');
    // Runs of either kind, short and long, so that both cross blocks.
    for (std::size_t at = 0; at < size;) {
      const std::size_t run =
          std::min<std::size_t>(size - at, 1 + random() % (random() % 4 == 0 ? 90 : 6));
      const char kind = alphabet[random() % alphabet.size()];
      for (std::size_t k = 0; k < run; ++k) text[at++] = kind;
    }
    std::vector<std::pair<std::string, std::uint8_t>> expected;
    if (!is_separator_byte(text[0])) expected.emplace_back("", 1);
    for (std::size_t at = 0; at < size;) {
      std::size_t end = at + 1;
      while (end < size && is_separator_byte(text[end]) == is_separator_byte(text[at])) ++end;
      expected.emplace_back(text.substr(at, end - at), is_separator_byte(text[at]) ? 1 : 0);
      at = end;
    }
    upper_case(expected.back().first);
    TokenList list;
    tokenize(text, list, kKeepSeparators);
    ASSERT_EQ(list.size(), static_cast<std::int32_t>(expected.size())) << "size " << size;
    for (std::int32_t i = 0; i < list.size(); ++i) {
      ASSERT_EQ(list.text(i), expected[static_cast<std::size_t>(i)].first)
          << "size " << size << ", token " << i;
      ASSERT_EQ(list.separator(i), expected[static_cast<std::size_t>(i)].second)
          << "size " << size << ", token " << i;
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
