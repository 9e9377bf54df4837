// Compound Search after the tables: which unsettled words become two lexicon
// words joined, with or without a linking S, how they take the scrambled
// word's capitals, which pair wins by rank, and what is left alone.
#include "unscramble/compound_search.h"

#include <gtest/gtest.h>

#include <string>

#include "index/dictionary.h"
#include "lexicon/lexicon_codec.h"
#include "testing/token_lists.h"
#include "unscramble/compound_index.h"
#include "unscramble/unscrambler.h"

namespace quirlex {
namespace {

struct Outcome {
  std::string text;
  std::int64_t compounds = 0;
};

// Translate's two steps over `scrambled` with the lexicon `lexicon` (one
// word a line, in rank order: the last is the most frequent).
Outcome restore(const std::string& lexicon, const std::string& scrambled) {
  Dictionary dictionary;
  read_lexicon_words(lexicon, dictionary.words);
  fill_lexicon_table(dictionary.words, dictionary.lexicon_table);
  const CompoundIndex index(dictionary.words);
  TokenList list = testing::tokens_of(scrambled);
  restore_words(list, dictionary, false);
  Outcome outcome;
  outcome.compounds = restore_compounds(list, dictionary, index);
  outcome.text = list.join();

  return outcome;
}

TEST(RestoreCompounds, JoinsTwoLexiconWordsOnlyWhereTheLettersAndEndsFit) {
  const struct {
    std::string lexicon, scrambled, restored;
    std::int64_t compounds;
  } cases[] = {
      {"HAUS\nTUER\n", "Die Htuesaur klemmt.\n", "Die Haustuer klemmt.\n", 1},
      // The linking S between the parts.
      {"ARBEIT\nZIMMER\n", "ein Aetbmsiirzmer\n", "ein Arbeitszimmer\n", 1},
      // Capitals stay at their positions.
      {"HAUS\nTUER\n", "HTUESAUR htuesaur hTuesauR\n", "HAUSTUER haustuer hAustueR\n", 3},
      // A word the lexicon table restores is settled before: its anagram
      // HAUS + TUER is never tried.
      {"HAUS\nTUER\nHUTAUSER\n", "Htuesaur\n", "Hutauser\n", 0},
      // The first part must begin with the first letter, the second end with
      // the last: TUER + HAUS ends in S, not R; no part begins with S.
      {"HAUS\nTUER\n", "Tahuseur Suahteur\n", "Tahuseur Suahteur\n", 0},
      // The letters must be exactly the word's: one too many, one other, or
      // a part that needs a letter twice.
      {"HAUS\nTUER\n", "Htuesauer Htuesaxr\n", "Htuesauer Htuesaxr\n", 0},
      {"HAAS\nTUER\n", "Htuesaur\n", "Htuesaur\n", 0},
      // Only an S links the parts.
      {"ARBEIT\nZIMMER\n", "Aetbmxiirzmer\n", "Aetbmxiirzmer\n", 0},
      // Parts have four bytes or more, so compounds have eight or more.
      {"TOR\nHAUS\nBOGEN\n", "Troahus Tgoobren\n", "Troahus Tgoobren\n", 0},
      // Two other words side by side, and no lexicon at all.
      {"HAUS\nTUER\n", "Haus Tuer\n", "Haus Tuer\n", 0},
      {"", "Htuesaur\n", "Htuesaur\n", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lexicon + " | " + c.scrambled);
    const Outcome outcome = restore(c.lexicon, c.scrambled);
    EXPECT_EQ(outcome.text, c.restored);
    EXPECT_EQ(outcome.compounds, c.compounds);
  }
}

// B,A,U,M,H,A,U,S split two ways: BAUM + HAUS and BAHU + MAUS. The pair
// whose rarer part stands later in the lexicon wins.
TEST(RestoreCompounds, ChoosesThePairWhoseRarerPartRanksHighest) {
  const struct {
    std::string lexicon, restored;
  } cases[] = {
      {"BAHU\nMAUS\nBAUM\nHAUS\n", "Baumhaus\n"},
      {"BAUM\nHAUS\nBAHU\nMAUS\n", "Bahumaus\n"},
      // The most frequent part alone does not decide: HAUS is, but BAUM is
      // rarer than both parts of the other pair.
      {"BAUM\nMAUS\nBAHU\nHAUS\n", "Bahumaus\n"},
      {"MAUS\nBAUM\nHAUS\nBAHU\n", "Baumhaus\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lexicon);
    EXPECT_EQ(restore(c.lexicon, "Bmhuaaus\n").text, c.restored);
  }
}

}  // namespace
}  // namespace quirlex
