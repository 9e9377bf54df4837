// The scrambler: the generator's fixed sequence, the shuffle of one word (its
// draws, what it keeps), and the shuffle of whole token lists.
#include "scramble/scramble.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "scramble/random_generator.h"
#include "testing/single_byte.h"
#include "testing/token_lists.h"
#include "text/signature.h"
#include "text/token_list.h"

namespace quirlex {
namespace {

using testing::single_byte;
using testing::tokens_of;

// Advances a copy of `generator` by `draws` numbers and gives its state.
std::uint32_t state_after(RandomGenerator generator, int draws) {
  for (int i = 0; i < draws; ++i) generator.draw();
  return generator.state();
}

TEST(RandomGenerator, DrawsTheFixedSequenceFromStateOneInFifteenBits) {
  RandomGenerator generator;
  EXPECT_EQ(generator.state(), 1u);
  for (const int value : {41, 18467, 6334, 26500, 19169, 15724}) EXPECT_EQ(generator.draw(), value);
  generator.set_state(0x89ABCDEFu);
  for (int i = 0; i < 100000; ++i) {
    const int value = generator.draw();
    ASSERT_GE(value, 0);
    ASSERT_LE(value, 32767);
  }
  // Jumping ahead lands where drawing one by one does.
  for (const int draws : {0, 1, 2, 3, 64, 1000, 123457}) {
    RandomGenerator jumped(0x89ABCDEFu);
    jumped.discard(static_cast<std::uint64_t>(draws));
    EXPECT_EQ(jumped.state(), state_after(RandomGenerator(0x89ABCDEFu), draws)) << draws;
  }
}

TEST(Scramble, WordOfLengthNDrawsNMinusThreeNumbersAndShortWordsStay) {
  for (std::size_t length = 0; length <= 40; ++length) {
    RandomGenerator generator(12345u + static_cast<std::uint32_t>(length));
    const RandomGenerator before = generator;
    std::string word = std::string("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOP").substr(0, length);
    const std::string unchanged = word;
    scramble(word, generator);
    const int draws = length <= 3 ? 0 : static_cast<int>(length) - 3;
    EXPECT_EQ(generator.state(), state_after(before, draws)) << "length " << length;
    if (length <= 3) {
      EXPECT_EQ(word, unchanged);
    }
  }
}

// The exchanges of a word of any length are those of the plain rule: the
// i-th draw's remainder by the interior's length picks the byte that byte i
// changes place with.
TEST(Scramble, ExchangesAsTheRemainderOfEachDrawPicks) {
  std::mt19937 rng(5);
  for (std::size_t length = 4; length <= 200; ++length) {
    for (int round = 0; round < 20; ++round) {
      std::string word(length, '\0');
      for (std::size_t k = 0; k < length; ++k) word[k] = static_cast<char>('A' + k % 50);
      const auto state = static_cast<std::uint32_t>(rng());
      std::string expected = word;
      RandomGenerator plain(state);
      for (std::size_t i = 1; i < length - 2; ++i) {
        std::swap(expected[i], expected[static_cast<std::size_t>(plain.draw()) % (length - 2) + 1]);
      }
      RandomGenerator generator(state);
      scramble(word, generator);
      ASSERT_EQ(word, expected) << "length " << length;
    }
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
    for (char& c : word) c = static_cast<char>(byte(rng));
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
    if (scrambled != word) ++changed;
  }
  // The shuffle does shuffle: most random words come out changed.
  EXPECT_GT(changed, 4000);
}

TEST(ShuffleTokens, TextsRightAfterStartDrawInTokenOrderForWordsOfFourBytesOrMore) {
  const struct {
    std::string source, scrambled;
    int draws;
  } cases[] = {
      // "world" is the text's last word, so the tokenizer made it WORLD.
      {"Hello world", "Hlelo WROLD", 4},
      {"The quick brown fox jumps over the lazy dog\n",
       "The qcuik borwn fox jpmus over the lazy dog\n", 2 + 2 + 2 + 1 + 1},
      // A four-byte word keeps its order when it draws a j of 1 (over and lazy
      // above) and swaps when it draws 2 (abcd draws 41). abcdefg draws 18467,
      // 6334, 26500 and 19169, exchanging positions 1 and 3, 2 and 5, 3 and 1,
      // 4 and 5.
      {"ab abcd, x abcdefg; abc\n", "ab acbd, x abfdceg; abc\n", 1 + 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    TokenList scrambled = tokens_of("a much longer earlier text with many more tokens in it\n");
    RandomGenerator generator;
    shuffle_tokens(tokens_of(c.source), scrambled, generator);
    EXPECT_EQ(scrambled.join(), c.scrambled);
    EXPECT_EQ(generator.state(), state_after(RandomGenerator(), c.draws));
  }
}

TEST(ShuffleTokens, CopiesSeparatorsAndKeepsEveryWordsSignatureAndFlags) {
  TokenList source = tokens_of("Zwei Woerter, drei: Eins-zwei.\r\nUnd ein Schluss!");
  TokenList scrambled;
  RandomGenerator generator;
  shuffle_tokens(source, scrambled, generator);
  ASSERT_EQ(scrambled.size(), source.size());
  for (std::int32_t k = 0; k < source.size(); ++k) {
    const WordToken from = source.element(k);
    const WordToken to = scrambled.element(k);
    if (from.separator != 0) {
      EXPECT_EQ(to, from) << "token " << k;
      EXPECT_EQ(scrambled.text(k), source.text(k));
      continue;
    }
    EXPECT_EQ(to.separator, 0);
    EXPECT_EQ(to.letter_mask, from.letter_mask);
    EXPECT_EQ(to.signature, from.signature) << source.text(k) << " became " << scrambled.text(k);
    EXPECT_EQ(to.length, from.length);
  }
}

// With punctuation kept, only the letters from a word's first to its last
// are scrambled; marks around them and words without letters stay, and
// take no draws. Without it the same texts scramble as they always have.
TEST(ShuffleTokens, KeepingPunctuationScramblesFromTheFirstToTheLastLetterOnly) {
  const struct {
    std::string source;
    bool keep_punctuation;
    std::string scrambled;
    int draws;
  } cases[] = {
      // grep draws 41: positions 1 and 2 exchanged. |grep draws 41 and 18467:
      // 1 and 3, then 2 and 3.
      {"|grep\n", true, "|gerp\n", 1},
      {"|grep\n", false, "|egrp\n", 2},
      // One letter between marks stays, however many marks there are.
      {"[[a]]\n", true, "[[a]]\n", 0},
      {"[[a]]\n", false, "[][a]\n", 2},
      {"(a)\n", true, "(a)\n", 0},
      // Windows-1252 quotation marks („ and “) around a spelled-out ü.
      {"\x84ue\x93\n", true, "\x84ue\x93\n", 0},
      {"\x84ue\x93\n", false, "\x84" "eu\x93\n", 1},
      // Wohnung draws 41, 18467, 6334 and 26500 over its five interior letters.
      {single_byte("«Wohnung»\n"), true, single_byte("«Wunnhog»\n"), 4},
      // No letter at all: nothing to scramble.
      {"@_|~^\n", true, "@_|~^\n", 0},
      {"@_|~^\n", false, "@~_|^\n", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source + (c.keep_punctuation ? " keeping punctuation" : ""));
    TokenList scrambled;
    RandomGenerator generator;
    shuffle_tokens(tokens_of(c.source), scrambled, generator,
                   {.keep_punctuation = c.keep_punctuation});
    EXPECT_EQ(scrambled.join(), c.scrambled);
    EXPECT_EQ(generator.state(), state_after(RandomGenerator(), c.draws));
  }
}

// A text long enough to be scrambled in two halves at once comes out as one
// word after the other would scramble it, and leaves the generator where
// one by one would; with punctuation kept, one word after the other means
// the letters between a word's marks.
TEST(ShuffleTokens, TwoHalvesDrawAsOneWordAfterTheOther) {
  std::string text;
  std::mt19937 random(77);
  std::uniform_int_distribution<int> length(1, 12);
  std::uniform_int_distribution<int> letter('a', 'z');
  while (text.size() < (std::size_t{3} << 20)) {
    const bool marked = text.size() % 3 == 0;
    if (marked) text += "[|";
    for (int k = length(random); k > 0; --k) text += static_cast<char>(letter(random));
    if (marked) text += ']';
    text += text.size() % 5 == 0 ? ", " : " ";
  }
  const TokenList source = tokens_of(text);
  for (const bool keep_punctuation : {false, true}) {
    SCOPED_TRACE(keep_punctuation);
    TokenList scrambled;
    RandomGenerator generator(99);
    shuffle_tokens(source, scrambled, generator, {.keep_punctuation = keep_punctuation});

    RandomGenerator one_by_one(99);
    std::string expected;
    for (std::int32_t k = 0; k < source.size(); ++k) {
      std::string word(source.text(k));
      if (source.separator(k) == 0) {
        const std::size_t first = keep_punctuation ? word.find_first_not_of("[|") : 0;
        const std::size_t last = keep_punctuation ? word.find_last_not_of(']') : word.size() - 1;
        scramble(std::span<char>(word).subspan(first, last + 1 - first), one_by_one);
      }
      expected += word;
    }
    EXPECT_EQ(scrambled.join(), expected);
    EXPECT_EQ(generator.state(), one_by_one.state());
  }
}

}  // namespace
}  // namespace quirlex
