// The scrambler: the generator's fixed sequence, the shuffle of one word
// (its draws, what it keeps), the shuffle of whole token lists, and a
// scrambled text that goes through a file and comes back token for token.
#include "scramble/scramble.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "scramble/random_generator.h"
#include "testing/temp_dir.h"
#include "text/signature.h"
#include "text/text_file.h"
#include "text/token_list.h"
#include "text/token_writer.h"
#include "text/tokenizer.h"

namespace quirlex {
namespace {

TokenList tokens_of(const std::string& text) {
  TokenList list;
  tokenize(text, list, {});
  return list;
}

// Advances a copy of `generator` by `draws` numbers and gives its state.
std::uint32_t state_after(RandomGenerator generator, int draws) {
  for (int i = 0; i < draws; ++i)
    generator.draw();
  return generator.state();
}

TEST(RandomGenerator, DrawsTheFixedSequenceFromStateOne) {
  RandomGenerator generator;
  EXPECT_EQ(generator.state(), 1u);
  const std::vector<int> expected = {41, 18467, 6334, 26500, 19169, 15724};
  for (const int value : expected)
    EXPECT_EQ(generator.draw(), value);
}

TEST(RandomGenerator, DrawsStayBetweenZeroAnd32767) {
  RandomGenerator generator(0x89ABCDEFu);
  for (int i = 0; i < 100000; ++i) {
    const int value = generator.draw();
    ASSERT_GE(value, 0);
    ASSERT_LE(value, 32767);
  }
}

TEST(Scramble, WordsOfThreeBytesOrLessStayAndDrawNothing) {
  RandomGenerator generator;
  for (std::string word : {"", "a", "ab", "abc"}) {
    const std::string before = word;
    scramble(word, generator);
    EXPECT_EQ(word, before);
  }
  EXPECT_EQ(generator.state(), 1u);
}

TEST(Scramble, FourLetterWordSwapsOnlyWhenTheDrawGivesTwo) {
  // The first draws are 41, 18467 and 6334: j = r % 2 + 1 is 2, 2 and 1.
  RandomGenerator generator;
  std::string first = "abcd";
  std::string second = "abcd";
  std::string third = "abcd";
  scramble(first, generator);
  scramble(second, generator);
  scramble(third, generator);
  EXPECT_EQ(first, "acbd");
  EXPECT_EQ(second, "acbd");
  EXPECT_EQ(third, "abcd");
}

TEST(Scramble, WordOfLengthNDrawsNMinusThreeNumbers) {
  for (std::size_t length = 0; length <= 40; ++length) {
    RandomGenerator generator(12345u + static_cast<std::uint32_t>(length));
    const RandomGenerator before = generator;
    std::string word(length, 'x');
    scramble(word, generator);
    const int draws = length <= 3 ? 0 : static_cast<int>(length) - 3;
    EXPECT_EQ(generator.state(), state_after(before, draws)) << "length " << length;
  }
}

TEST(Scramble, KeepsLengthEndsLettersAndSignatureOfAnyWord) {
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<int> byte(0x40, 0xFF);
  std::uniform_int_distribution<std::size_t> length(2, 40);
  RandomGenerator generator;
  int changed = 0;
  for (int round = 0; round < 5000; ++round) {
    std::string word(length(rng), '\0');
    for (char& c : word)
      c = static_cast<char>(byte(rng));
    std::string scrambled = word;
    scramble(scrambled, generator);
    ASSERT_EQ(scrambled.size(), word.size());
    EXPECT_EQ(scrambled.front(), word.front());
    EXPECT_EQ(scrambled.back(), word.back());
    std::string sorted_word = word;
    std::string sorted_scrambled = scrambled;
    std::sort(sorted_word.begin(), sorted_word.end());
    std::sort(sorted_scrambled.begin(), sorted_scrambled.end());
    EXPECT_EQ(sorted_scrambled, sorted_word);
    EXPECT_EQ(signature_of(scrambled), signature_of(word)) << word;
    if (scrambled != word)
      ++changed;
  }
  // The shuffle does shuffle: most random words come out changed.
  EXPECT_GT(changed, 4000);
}

TEST(ShuffleTokens, HelloWorldRightAfterStart) {
  // "world" is the text's last word, so the tokenizer made it WORLD.
  const TokenList source = tokens_of("Hello world");
  TokenList scrambled;
  RandomGenerator generator;
  shuffle_tokens(source, scrambled, generator);
  EXPECT_EQ(scrambled.join(), "Hlelo WROLD");
  EXPECT_EQ(generator.state(), state_after(RandomGenerator(), 4));
}

TEST(ShuffleTokens, QuickBrownFoxRightAfterStart) {
  const TokenList source = tokens_of("The quick brown fox jumps over the lazy dog\n");
  TokenList scrambled;
  RandomGenerator generator;
  shuffle_tokens(source, scrambled, generator);
  EXPECT_EQ(scrambled.join(), "The qcuik borwn fox jpmus over the lazy dog\n");
}

TEST(ShuffleTokens, CopiesSeparatorsAndKeepsEveryWordsSignatureAndFlags) {
  TokenList source = tokens_of("Zwei Woerter, drei: Eins-zwei.\r\nUnd ein Schluss!");
  source.element(1).keep = 0;
  TokenList scrambled;
  RandomGenerator generator;
  shuffle_tokens(source, scrambled, generator);
  ASSERT_EQ(scrambled.size(), source.size());
  for (std::int32_t k = 0; k < source.size(); ++k) {
    const WordToken& from = source.element(k);
    const WordToken& to = scrambled.element(k);
    if (from.separator != 0) {
      EXPECT_EQ(to, from) << "token " << k;
      continue;
    }
    EXPECT_EQ(to.separator, 0);
    EXPECT_EQ(to.keep, from.keep);
    EXPECT_EQ(to.letter_mask, from.letter_mask);
    EXPECT_EQ(to.signature, from.signature) << from.text << " became " << to.text;
    EXPECT_EQ(to.text.size(), from.text.size());
  }
  EXPECT_EQ(scrambled.element(1).keep, 0);
}

TEST(ShuffleTokens, WordsDrawInTokenOrderOnlyForFourBytesOrMore) {
  const TokenList source = tokens_of("ab abcd, x abcdefg; abc\n");
  TokenList scrambled;
  RandomGenerator generator;
  shuffle_tokens(source, scrambled, generator);
  EXPECT_EQ(generator.state(), state_after(RandomGenerator(), 1 + 4));
}

TEST(ShuffleTokens, EmptySourceGivesEmptyList) {
  TokenList scrambled = tokens_of("left over from before");
  RandomGenerator generator;
  shuffle_tokens(TokenList(), scrambled, generator);
  EXPECT_TRUE(scrambled.is_empty());
  EXPECT_EQ(scrambled.join(), "");
  EXPECT_EQ(generator.state(), 1u);
}

TEST(ShuffleTokens, ReplacesAnEarlierScrambledList) {
  const TokenList source = tokens_of("Hello world");
  TokenList scrambled = tokens_of("a much longer earlier text with many more tokens in it\n");
  RandomGenerator generator;
  shuffle_tokens(source, scrambled, generator);
  EXPECT_EQ(scrambled.size(), source.size());
  EXPECT_EQ(scrambled.join(), "Hlelo WROLD");
}

TEST(ShuffleTokens, SecondShuffleOfTheSameTextDiffers) {
  const TokenList source = tokens_of("Scrambling interior letters keeps a sentence readable\n");
  TokenList first;
  TokenList second;
  RandomGenerator generator;
  shuffle_tokens(source, first, generator);
  shuffle_tokens(source, second, generator);
  EXPECT_NE(first.join(), second.join());
  for (std::int32_t k = 0; k < source.size(); ++k) {
    EXPECT_EQ(first.element(k).signature, second.element(k).signature);
  }
}

TEST(ShuffleTokens, SavedAndReloadedScrambledTextIsTheSameList) {
  testing::TempDir dir;
  // A source text with umlauts, loaded the way Load reads it.
  const std::string source_path = dir.file("source.txt");
  testing::put_file(source_path,
                    "Gr\xF6\xDF"
                    "e und \xC4rger, \"heute\" und/oder morgen.\r\n"
                    "Eine Zeile mit 123 Ziffern\r\nzuletzt ohne Zeilenende");
  TextFile source_file;
  ASSERT_TRUE(source_file.read(source_path, true, false));
  const TokenList source = tokens_of(source_file.content());
  TokenList scrambled;
  RandomGenerator generator;
  shuffle_tokens(source, scrambled, generator);

  const std::string saved_path = dir.file("savedtext.txt");
  write_tokens(scrambled, saved_path, "");
  EXPECT_EQ(testing::get_file(saved_path), scrambled.join());

  TextFile saved_file;
  ASSERT_TRUE(saved_file.read(saved_path, true, false));
  const TokenList reloaded = tokens_of(saved_file.content());
  EXPECT_EQ(reloaded, scrambled);
}

}  // namespace
}  // namespace quirlex
