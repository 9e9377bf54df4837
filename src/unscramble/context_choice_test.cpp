// The context choice after the tables: a tie restored by the lexicon table
// becomes the candidate the model sees beside its neighbours, with the
// scrambled word's capitals; without a pair, or without a tie, the table's
// word stays.
#include "unscramble/context_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexicon/lexicon_codec.h"
#include "testing/token_lists.h"
#include "unscramble/translate.h"

namespace quirlex {
namespace {

struct Pair {
  std::string first, second;
  std::uint32_t count;
};

// Translate with the context choice over `scrambled`: the lexicon is one word
// a line in rank order (the last is the most frequent and the table's
// choice), the model's pairs name words of the lexicon or the short word THE.
std::string restore(const std::string& lexicon, const std::vector<Pair>& pairs,
                    const std::string& scrambled) {
  Dictionary dictionary;
  read_lexicon_words(lexicon, dictionary.words);
  fill_lexicon_table(dictionary.words, dictionary.lexicon_table);
  const auto words = static_cast<std::uint32_t>(dictionary.words.size());
  const auto index = [&](const std::string& word) {
    for (std::uint32_t i = 0; i < words; ++i) {
      if (dictionary.words.text(i) == word) return i;
    }
    EXPECT_EQ(word, "THE");
    return words;
  };
  std::vector<BigramPair> records;
  for (const Pair& p : pairs) records.push_back({index(p.first), index(p.second), p.count});
  const BigramModel model(lexicon_hash(dictionary.words), words, ShortWords::kCounted,
                          std::move(records), {"THE"});
  TokenList list = testing::tokens_of(scrambled);
  translate(list, {}, dictionary, {.context = &model});
  return std::string(list.join());
}

TEST(ContextChoice, ChoosesTheTieItsNeighboursGoWithAndNothingElse) {
  const std::string lexicon = "CATS\nTHREE\nTHERE\n";  // THERE is the table's choice
  const struct {
    std::vector<Pair> pairs;
    std::string scrambled, restored;
  } cases[] = {
      // By the word after it, by the word before it, by a short word.
      {{{"THREE", "CATS", 3}}, "Trhee cats", "Three cats"},
      {{{"CATS", "THREE", 3}}, "cats, trhee", "cats, three"},
      {{{"THE", "THREE", 3}}, "the trhee", "the three"},
      // Capitals where the scrambled word has them.
      {{{"THREE", "CATS", 3}}, "TRHEE cats trHee cats", "THREE cats thRee cats"},
      // The neighbours' pairs summed: THERE has more.
      {{{"THREE", "CATS", 2}, {"CATS", "THERE", 1}, {"THERE", "CATS", 2}},
       "cats trhee cats",
       "cats there cats"},
      // Equal scores, or no pair with these neighbours: the table's word.
      {{{"THREE", "CATS", 2}, {"THERE", "CATS", 2}}, "trhee cats", "there cats"},
      {{{"THREE", "CATS", 3}}, "cats trhee", "cats there"},
      {{{"THREE", "CATS", 3}}, "trhee ctsa", "there ctsa"},  // ctsa stays scrambled
      // A word without a tie stays, whatever its pairs.
      {{{"THREE", "CATS", 3}}, "ctas ctas", "cats cats"},
      // The word chosen is the next one's neighbour, from left to right.
      {{{"THREE", "THREE", 5}, {"CATS", "THREE", 1}}, "cats trhee trhee", "cats three three"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scrambled);
    // A line end after the last word, which a text's end would capitalise.
    EXPECT_EQ(restore(lexicon, c.pairs, c.scrambled + "\n"), c.restored + "\n");
  }
}

}  // namespace
}  // namespace quirlex
