// Letter mask and signature of word tokens: the published figures bit for
// bit, independence from interior order and letter case, recomputing, tokens
// made without them, and long texts whose letter sum no longer adds exactly.
#include "text/signature.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>

#include "testing/exact_double.h"
#include "testing/token_lists.h"
#include "text/case_map.h"
#include "text/word_token.h"

namespace quirlex {
namespace {

using testing::SameDouble;

constexpr double kHello = 175930.05710437705;
constexpr double kWorld = 38784915.72756856;

TEST(Signature, PublishedFiguresComeOutBitForBit) {
  const struct {
    std::string text;
    std::uint32_t mask;
    double signature;
  } cases[] = {
      {"Hello", 18576u, kHello},
      {"HELLO", 18576u, kHello},
      {"Hlelo", 18576u, kHello},
      {"ab", 3u, -423.5425601061132},
      {"AB", 3u, -423.5425601061132},
      {"BA", 3u, -333.46457508316365},
      {"WORLD", 4343816u, kWorld},
      {"WLROD", 4343816u, kWorld},
      {"world", 4343816u, kWorld},
      {"A@", 2147483649u, -7671060233.476226},
      {"\r\n", 4608u, 30218.123352157734},
      // Under two bytes a token keeps mask 0 and signature 0.0.
      {"", 0u, 0.0},
      {"A", 0u, 0.0},
      {"@", 0u, 0.0},
      {"\xE4", 0u, 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const TokenList list = testing::list_of({c.text});
    const WordToken token = list.element(0);
    EXPECT_EQ(token.letter_mask, c.mask);
    EXPECT_PRED_FORMAT2(SameDouble, token.signature, c.signature);
    EXPECT_PRED_FORMAT2(SameDouble, signature_of(c.text), c.signature);
    EXPECT_EQ(list.text(0), c.text) << "only the signature's copy is upper-cased";
  }
  EXPECT_NE(signature_of("OLLEH"), kHello) << "first and last letter count";
  // The sum after the letters; the at sign and the grave accent have bit 31.
  EXPECT_PRED_FORMAT2(SameDouble, letter_stats("Hello").letter_sum, 41248.0);
  // With length 1 the last step multiplies x by 1.0, which shows x itself.
  EXPECT_PRED_FORMAT2(SameDouble, signature_from_letter_sum(41248.0, 'H', 'o', 1),
                      39400.75174175201 * kLengthScale);
  EXPECT_PRED_FORMAT2(SameDouble, letter_stats("@`").letter_sum, -2 * 4294967296.0);
}

// A token's mask and signature are those of its text as it is now, changed
// in place or appended, and nothing in a list made without signatures.
TEST(Signature, FollowsTheTextInTheListUnlessTheListHasNone) {
  TokenList list = testing::list_of({"Hello", "x"});
  EXPECT_PRED_FORMAT2(SameDouble, list.signature(0), kHello);
  list.overwrite(0, "WORLD");
  EXPECT_EQ(list.element(0).letter_mask, 4343816u);
  EXPECT_PRED_FORMAT2(SameDouble, list.signature(0), kWorld);
  list.append("Hello");
  EXPECT_EQ(list.element(2).letter_mask, 18576u);
  EXPECT_EQ(list.element(1).letter_mask, 0u);
  EXPECT_PRED_FORMAT2(SameDouble, list.element(1).signature, 0.0);

  list.set_signatures(false);
  EXPECT_EQ(list.element(2).letter_mask, 0u);
  EXPECT_PRED_FORMAT2(SameDouble, list.signature(2), 0.0);
}

TEST(Signature, InteriorOrderAndLetterCaseDoNotMatter) {
  std::mt19937 random(20240607);
  std::uniform_int_distribution<int> length(2, 40);
  std::uniform_int_distribution<int> byte(0, 255);
  std::bernoulli_distribution flip(0.5);
  for (int round = 0; round < 5000; ++round) {
    std::string word(static_cast<std::size_t>(length(random)), '\0');
    for (char& c : word) c = static_cast<char>(byte(random));
    std::string variant = word;
    std::shuffle(variant.begin() + 1, variant.end() - 1, random);
    for (char& c : variant) c = flip(random) ? upper_char(c) : lower_char(c);
    SCOPED_TRACE(::testing::PrintToString(word) + " vs " + ::testing::PrintToString(variant));
    ASSERT_EQ(letter_stats(variant).letter_mask, letter_stats(word).letter_mask);
    ASSERT_PRED_FORMAT2(SameDouble, signature_of(variant), signature_of(word));
  }
}

// Past 2^53 the letter sum of a long text no longer adds exactly in doubles:
// each addition rounds, and only adding first to last gives the defined sum.
TEST(Signature, LongTextRoundsLikeTheSequentialDoubleSum) {
  std::string text = "A";
  text.append((std::size_t{1} << 22) + 4096, '@');  // the sum passes -2^54
  text.append(3000, 'a');                           // +2 each: below the spacing of 4
  text.append(1000, '@');
  text.append(1000, 'b');  // +4 each: exactly the spacing
  text.append("Z");
  double sum = 0.0;
  std::int64_t exact_sum = 0;
  for (const char c : text) {
    const std::int64_t term = c == '@'   ? -(std::int64_t{1} << 32)
                              : c == 'b' ? 4
                              : c == 'Z' ? std::int64_t{1} << 26
                                         : 2;
    sum = static_cast<double>(term) + sum;
    exact_sum += term;
  }
  ASSERT_NE(static_cast<double>(exact_sum), sum) << "the text must make rounding matter";

  const LetterStats stats = letter_stats(text);
  EXPECT_PRED_FORMAT2(SameDouble, stats.letter_sum, sum);
  EXPECT_EQ(stats.letter_mask, (1u << 31) | 1u | 2u | (1u << 25));
  EXPECT_PRED_FORMAT2(SameDouble, testing::list_of({text}).element(0).signature,
                      signature_from_letter_sum(sum, 'A', 'Z', text.size()));
}

}  // namespace
}  // namespace quirlex
