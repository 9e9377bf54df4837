// Letter mask and signature of word tokens: the published figures, bit for
// bit, the independence from interior order and letter case, the long-text
// path and the suppression switch.
#include "text/signature.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "testing/exact_double.h"
#include "text/case_map.h"
#include "text/word_token.h"

namespace quirlex {
namespace {

using testing::SameDouble;

struct Figures {
  std::string_view text;
  std::uint32_t mask;
  double signature;
};

// Letter sum added up the plain way: first to last, in doubles, each byte's
// term being 2 to the power of its bit number as a signed 32-bit int, times 2.
double sequential_letter_sum(std::string_view text) {
  double sum = 0.0;
  for (const char c : text) {
    const int value = static_cast<std::int8_t>(upper_char(c));
    const unsigned bit = static_cast<unsigned>(value - 65) & 31u;
    const double term = 2.0 * static_cast<double>(static_cast<std::int32_t>(1u << bit));
    sum = term + sum;
  }
  return sum;
}

TEST(SignatureConstants, HaveTheirExactBitPatterns) {
  EXPECT_EQ(std::bit_cast<std::uint64_t>(kLastLetterWeight), 0x405876DF7FB6E77CULL);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(kFirstLetterWeight), 0x4047B632BEB61D9CULL);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(kLengthScale), 0x3FEC93B16B858ECCULL);
}

TEST(Signature, HelloStepByStep) {
  const LetterStats stats = letter_stats("Hello");
  EXPECT_EQ(stats.letter_mask, 18576u);  // bits 4, 7, 11 and 14
  EXPECT_PRED_FORMAT2(SameDouble, stats.letter_sum, 41248.0);
  // With length 1 the last step multiplies x by 1.0, so this checks x itself.
  EXPECT_PRED_FORMAT2(SameDouble, signature_from_letter_sum(41248.0, 'H', 'o', 1),
                      39400.75174175201 * kLengthScale);
  EXPECT_PRED_FORMAT2(SameDouble, signature_from_letter_sum(41248.0, 'H', 'o', 5),
                      175930.05710437705);
}

TEST(Signature, PublishedFiguresComeOutBitForBit) {
  const Figures cases[] = {
      {"Hello", 18576u, 175930.05710437705},  {"HELLO", 18576u, 175930.05710437705},
      {"Hlelo", 18576u, 175930.05710437705},  {"ab", 3u, -423.5425601061132},
      {"AB", 3u, -423.5425601061132},         {"BA", 3u, -333.46457508316365},
      {"WORLD", 4343816u, 38784915.72756856}, {"WLROD", 4343816u, 38784915.72756856},
      {"world", 4343816u, 38784915.72756856}, {"A@", 2147483649u, -7671060233.476226},
      {"\r\n", 4608u, 30218.123352157734},
  };
  for (const Figures& expected : cases) {
    SCOPED_TRACE(std::string(expected.text));
    const WordToken token = WordToken::from_text(std::string(expected.text));
    EXPECT_EQ(token.letter_mask, expected.mask);
    EXPECT_PRED_FORMAT2(SameDouble, token.signature, expected.signature);
    EXPECT_PRED_FORMAT2(SameDouble, signature_of(expected.text), expected.signature);
    EXPECT_EQ(token.text, expected.text) << "the token's own text is not upper-cased";
  }
}

TEST(Signature, FirstAndLastLetterCount) {
  const WordToken hello = WordToken::from_text("HELLO");
  const WordToken reversed = WordToken::from_text("OLLEH");
  EXPECT_EQ(reversed.letter_mask, hello.letter_mask);
  EXPECT_NE(reversed.signature, hello.signature);
}

TEST(Signature, AtSignTermIsMinusTwoToThe32) {
  EXPECT_PRED_FORMAT2(SameDouble, letter_stats("@").letter_sum, -4294967296.0);
  EXPECT_PRED_FORMAT2(SameDouble, letter_stats("`").letter_sum, -4294967296.0);
  EXPECT_PRED_FORMAT2(SameDouble, letter_stats("A@").letter_sum, 2.0 - 4294967296.0);
}

TEST(Signature, ShortTextsGetNoMaskAndNoSignature) {
  for (const std::string text : {"", "A", "@", "\xE4"}) {
    const WordToken token = WordToken::from_text(text);
    EXPECT_EQ(token.letter_mask, 0u);
    EXPECT_PRED_FORMAT2(SameDouble, token.signature, 0.0);
  }
}

TEST(Signature, RecomputingShortTextLeavesTheOldValues) {
  WordToken token = WordToken::from_text("Hello");
  token.text = "H";
  token.compute_signature();
  EXPECT_EQ(token.letter_mask, 18576u);
  EXPECT_PRED_FORMAT2(SameDouble, token.signature, 175930.05710437705);
}

TEST(Signature, RecomputingAfterATextChangeFollowsTheText) {
  WordToken token = WordToken::from_text("Hello");
  token.text = "WORLD";
  token.compute_signature();
  EXPECT_EQ(token.letter_mask, 4343816u);
  EXPECT_PRED_FORMAT2(SameDouble, token.signature, 38784915.72756856);
}

TEST(SignatureSuppression, TokensAreMadeWithoutMaskAndSignature) {
  ASSERT_FALSE(signature_suppressed());
  {
    SignatureSuppression suppression;
    EXPECT_TRUE(signature_suppressed());
    const WordToken token = WordToken::from_text("Hello");
    EXPECT_EQ(token.letter_mask, 0u);
    EXPECT_PRED_FORMAT2(SameDouble, token.signature, 0.0);
    EXPECT_EQ(token.text, "Hello");
  }
  EXPECT_FALSE(signature_suppressed());
  EXPECT_PRED_FORMAT2(SameDouble, WordToken::from_text("Hello").signature, 175930.05710437705);
}

TEST(SignatureSuppression, RecomputingWhileSuppressedChangesNothing) {
  WordToken token = WordToken::from_text("Hello");
  token.text = "WORLD";
  {
    SignatureSuppression suppression;
    token.compute_signature();
  }
  EXPECT_EQ(token.letter_mask, 18576u);
  EXPECT_PRED_FORMAT2(SameDouble, token.signature, 175930.05710437705);
}

TEST(WordToken, DefaultAndFromTextStartAlike) {
  const WordToken token;
  EXPECT_EQ(token.separator, 0);
  EXPECT_EQ(token.keep, 1);
  EXPECT_EQ(token.letter_mask, 0u);
  EXPECT_PRED_FORMAT2(SameDouble, token.signature, 0.0);
  EXPECT_TRUE(token.text.empty());
  const WordToken made = WordToken::from_text("Hello");
  EXPECT_EQ(made.separator, 0);
  EXPECT_EQ(made.keep, 1);
}

// Any byte may stand in a word, so the words draw from all 256 values.
std::string random_word(std::mt19937& random) {
  std::uniform_int_distribution<int> length(2, 40);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string word(static_cast<std::size_t>(length(random)), '\0');
  for (char& c : word) c = static_cast<char>(byte(random));
  return word;
}

TEST(SignatureProperty, InteriorOrderAndLetterCaseDoNotMatter) {
  std::mt19937 random(20240607);
  std::bernoulli_distribution flip(0.5);
  for (int round = 0; round < 5000; ++round) {
    const std::string word = random_word(random);
    std::string variant = word;
    std::shuffle(variant.begin() + 1, variant.end() - 1, random);
    for (char& c : variant) c = flip(random) ? upper_char(c) : lower_char(c);
    SCOPED_TRACE(::testing::PrintToString(word) + " vs " + ::testing::PrintToString(variant));
    const WordToken original = WordToken::from_text(word);
    const WordToken scrambled = WordToken::from_text(variant);
    ASSERT_EQ(scrambled.letter_mask, original.letter_mask);
    ASSERT_PRED_FORMAT2(SameDouble, scrambled.signature, original.signature);
  }
}

TEST(SignatureProperty, AgreesWithThePlainDoubleSum) {
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    const std::string word = random_word(random);
    ASSERT_PRED_FORMAT2(SameDouble, letter_stats(word).letter_sum, sequential_letter_sum(word));
  }
}

// Past kExactLetterSumLength bytes the sum leaves the range where doubles
// hold every even integer; each addition then rounds, and only adding up in
// the defined order gives the defined result.
TEST(SignatureLongText, RoundsLikeTheSequentialDoubleSum) {
  std::string text = "A";
  text.append((std::size_t{1} << 22) + 4096, '@');  // the sum passes -2^54
  text.append(3000, 'a');                           // +2 each: below the spacing of 4
  text.append(1000, '@');
  text.append(1000, 'b');  // +4 each: exactly the spacing
  text.append("Z");
  ASSERT_GT(text.size(), kExactLetterSumLength);

  const double expected_sum = sequential_letter_sum(text);
  std::int64_t exact_sum = 0;
  for (const char c : text) {
    exact_sum += static_cast<std::int64_t>(sequential_letter_sum(std::string_view(&c, 1)));
  }
  ASSERT_NE(static_cast<double>(exact_sum), expected_sum) << "the text must make rounding matter";

  const LetterStats stats = letter_stats(text);
  EXPECT_PRED_FORMAT2(SameDouble, stats.letter_sum, expected_sum);
  EXPECT_EQ(stats.letter_mask, (1u << 31) | 1u | 2u | (1u << 25));

  const WordToken token = WordToken::from_text(text);
  EXPECT_PRED_FORMAT2(SameDouble, token.signature,
                      signature_from_letter_sum(expected_sum, 'A', 'Z', text.size()));
}

TEST(SignatureLongText, BoundaryLengthsAgreeWithTheSequentialSum) {
  for (const std::size_t length : {kExactLetterSumLength, kExactLetterSumLength + 1}) {
    std::string text(length, '@');
    text.front() = 'Q';
    text.back() = 'a';
    EXPECT_PRED_FORMAT2(SameDouble, letter_stats(text).letter_sum, sequential_letter_sum(text));
  }
}

}  // namespace
}  // namespace quirlex
