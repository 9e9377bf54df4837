// Restoring scrambled words: lexicon table first, variant table with Deep
// Search, the capitalisation a candidate takes, what is accepted and what is
// left alone, settled words, and broken variant codes.
#include "unscramble/unscrambler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/failure.h"
#include "index/deep_word_list.h"
#include "index/dictionary.h"
#include "lexicon/lexicon_codec.h"
#include "testing/token_lists.h"
#include "text/signature.h"
#include "text/token_list.h"

namespace quirlex {
namespace {

using testing::tokens_of;

// A dictionary loaded from a lexicon text and, when `deep` is set, affix
// texts, as Load Dictionary builds it.
Dictionary load(const std::string& lexicon, const std::string& prefixes = "",
                const std::string& suffixes = "", bool deep = false) {
  Dictionary dictionary;
  read_lexicon_words(lexicon, dictionary.words);
  fill_lexicon_table(dictionary.words, dictionary.lexicon_table);
  if (deep) {
    read_affix_list(suffixes, dictionary.suffixes);
    read_affix_list(prefixes, dictionary.prefixes);
    dictionary.layout =
        VariantLayout::for_counts(dictionary.prefixes.size(), dictionary.suffixes.size());
    build_deep_word_list(dictionary, [](int) {});
  }
  return dictionary;
}

std::string restored(const std::string& text, const Dictionary& dictionary, bool deep_search) {
  TokenList list = tokens_of(text);
  restore_words(list, dictionary, deep_search);
  return std::string(list.join());
}

// Files `text` in the lexicon table under `signature`, as a colliding
// signature could: the text becomes a word of the dictionary's own.
void file_collision(Dictionary& dictionary, double signature, const std::string& text) {
  dictionary.words.append(text);
  dictionary.lexicon_table.value_for(signature) = dictionary.words.element(dictionary.words.size() - 1);
}

TEST(RestoreWords, RestoresFromTheLexiconAndTheVariantTable) {
  constexpr bool kDeep = true;
  const struct {
    std::string lexicon, prefixes, suffixes;
    bool deep_search;
    std::string scrambled, restored;
  } cases[] = {
      {"HELLO\n", "", "", false, "hlelo Hlelo HLELO\n", "hello Hello HELLO\n"},
      // The candidate is lower-cased before the capitalisation is copied.
      {"Hello\n", "", "", false, "hlelo Hlelo HLELO\n", "hello Hello HELLO\n"},
      {"hElLo\n", "", "", false, "hlelo Hlelo HLELO\n", "hello Hello HELLO\n"},
      // Capitals stay at their positions, whichever letter is there.
      {"HELLO\nHAUSTIER\n", "", "", false, "hLelo hlElo hleLo HAsuiter HaSuiteR\n",
       "hEllo heLlo helLo HAustier HaUstieR\n"},
      // Words of up to three bytes stay; one of four is looked up.
      {"AB\nABC\nHAUS\n", "", "", false, "a ab Abc Huas\n", "a ab Abc Haus\n"},
      {"", "", "", kDeep, "Hlelo wlord, ab!\r\n", "Hlelo wlord, ab!\r\n"},
      {"HAUS\nKIND\n", "", "LICH\nNESS\n", kDeep, "Kdinenss kindness\n", "Kindness kindness\n"},
      {"HAUS\nKIND\n", "", "LICH\nNESS\n", false, "Kdinenss\n", "Kdinenss\n"},
      {"HAUS\nKIND\n", "UN\nVER\n", "EN\nER\nUNG\n", kDeep, "Vuansrehug vkrenid\n",
       "Verhausung verkind\n"},
      // A variant takes at most its first letter as a capital, so a word in
      // capitals is never taken from the variant table.
      {"KIND\n", "UN\n", "NESS\n", kDeep, "UKnindness uNkindness unkindnEss\n",
       "Unkindness unkindness unkindness\n"},
      {"KIND\n", "", "NESS\n", kDeep, "KDINENSS and KDINENSs\n", "KDINENSS and Kindness\n"},
      // Only a to z take a capital: the candidate's small e with acute no
      // longer matches the scrambled word's capital one.
      {"\xC9" + std::string("COLE\n"), "", "", false, "\xC9" + std::string("cloe \xE9") + "cloe\n",
       "\xC9" + std::string("cloe \xE9") + "cole\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scrambled);
    const Dictionary dictionary = load(c.lexicon, c.prefixes, c.suffixes, !c.suffixes.empty());
    EXPECT_EQ(restored(c.scrambled, dictionary, c.deep_search), c.restored);
  }
}

TEST(RestoreWords, SettlesShortAndRestoredWordsWithTheSignatureOfTheirText) {
  const Dictionary dictionary = load("HELLO\n");
  TokenList list = tokens_of("a Hlelo wlord\n");
  const WordToken unknown = list.element(5);
  restore_words(list, dictionary, false);
  EXPECT_EQ(list.element(1).separator, 1);
  const WordToken word = list.element(3);
  EXPECT_EQ(list.text(3), "Hello");
  EXPECT_EQ(word.separator, 1);
  EXPECT_EQ(word.signature, signature_of("Hello"));
  EXPECT_EQ(list.element(5), unknown) << "a word without an entry stays unsettled";

  // A second run retries the unsettled word only: HLELO has the signature of
  // Hello and would change a settled word.
  restore_words(list, load("HLELO\nWORLD\n"), false);
  EXPECT_EQ(list.join(), "a Hello world\n");
  TokenList empty;
  restore_words(empty, dictionary, true);
  EXPECT_TRUE(empty.is_empty());
}

// A text long enough to be restored in two halves at once comes out as the
// words one by one would, each written over its scrambled text in place,
// and both halves' words are counted by the table they came from.
TEST(RestoreWords, LongTextsComeOutAsWordByWord) {
  const Dictionary dictionary = load("HAUS\nKIND\n", "", "LICH\nNESS\n", true);
  std::string scrambled;
  std::string expected;
  std::int64_t pieces = 0;
  for (int k = 0; scrambled.size() < (std::size_t{1} << 20); ++k, ++pieces) {
    scrambled += k % 3 == 0 ? "Huas, Kdinenss, wlord " : "KNID Hnuasess ab\r\n";
    expected += k % 3 == 0 ? "Haus, Kindness, wlord " : "KIND Hausness ab\r\n";
  }
  TokenList list = tokens_of(scrambled);
  const RestoredWords counts = restore_words(list, dictionary, true);
  EXPECT_EQ(list.join(), expected);
  // One lexicon word and one variant in each piece.
  EXPECT_EQ(counts.lexicon, pieces);
  EXPECT_EQ(counts.variants, pieces);
}

TEST(RestoreWords, SeparatorTokensAreNeverLookedUp) {
  // A lexicon table entry under the signature of a separator token of four
  // bytes, as a signature collision could make it.
  Dictionary dictionary = load("HAUS\n");
  file_collision(dictionary, signature_of(" -- "), " ++ ");
  EXPECT_EQ(restored("Huas -- Huas\r\n", dictionary, true), "Haus -- Haus\r\n");
}

TEST(RestoreWords, RejectedLexiconCandidateStillTriesTheVariantTable) {
  // KINDNESS is in the variant table; a colliding lexicon table entry under
  // the same signature has other ends and is rejected.
  Dictionary dictionary = load("HAUS\nKIND\n", "", "NESS\n", true);
  file_collision(dictionary, signature_of("KINDNESS"), "SINDNESK");
  EXPECT_EQ(restored("Kdinenss\n", dictionary, true), "Kindness\n");

  // With first and last byte 0x40 the signature is length times letter sum
  // (times a constant): @__A@__@ (8 bytes, sum -2^32 + 2) and @AA@ (4 bytes,
  // sum -2^33 + 4) share it. @AA@ is also the member @A + A@.
  const Dictionary other_length = load("@__A@__@\n@A\n", "", "A@\n", true);
  ASSERT_EQ(signature_of("@__A@__@"), signature_of("@AA@"));
  EXPECT_EQ(restored("x @AA@ x\n", other_length, true), "x @aa@ x\n");
  EXPECT_EQ(restored("x @AA@ x\n", other_length, false), "x @AA@ x\n");
}

// UPPERCROSS and UNCOOPTENS share a signature (two equal letters add up to
// the next one: R + R = S, N + N = O, O + O = P), length and ends: neither
// is ever taken for the other, from either table, and a word left without a
// rearrangement stays as it was.
TEST(RestoreWords, OnlyRearrangementsAreAccepted) {
  ASSERT_EQ(signature_of("UPPERCROSS"), signature_of("UNCOOPTENS"));
  const struct {
    std::string lexicon, suffixes, scrambled, restored;
  } cases[] = {
      {"UNCOOPTENS\n", "", "Urcpepross UPCREPROSS\n", "Urcpepross UPCREPROSS\n"},
      {"UPPERCROSS\n", "", "Unoopctens\n", "Unoopctens\n"},
      // The variant table holds UNCOOPT + ENS; the lexicon's word is asked
      // first and is a rearrangement.
      {"UPPERCROSS\nUNCOOPT\n", "ENS\n", "Urcpepross Unoopctens\n",
       "Uppercross Uncooptens\n"},
      // The variant table's colliding word is refused too.
      {"UNCOOPT\n", "ENS\n", "Urcpepross\n", "Urcpepross\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lexicon + c.scrambled);
    const Dictionary dictionary = load(c.lexicon, "", c.suffixes, !c.suffixes.empty());
    EXPECT_EQ(restored(c.scrambled, dictionary, !c.suffixes.empty()), c.restored);
  }
}

TEST(RestoreWords, BrokenVariantCodes) {
  Dictionary dictionary = load("HAUS\n", "", "EN\n", true);
  dictionary.variant_table.value_for(signature_of("GARTEN")) = 0xFFFFFFFFu;
  EXPECT_EQ(restored("Gatren\n", dictionary, true), "Gatren\n") << "all ones is no code";
  // A code naming a word the list does not have (as a list rebuilt after
  // the variant table was filled would leave it).
  dictionary.variant_table.value_for(signature_of("GARTEN")) = dictionary.layout.pack(-1, -1, 5);
  TokenList list = tokens_of("Huas Gatren Huas\n");
  EXPECT_THROW(restore_words(list, dictionary, true), InvalidArgument);
  EXPECT_EQ(list.join(), "Haus Gatren Huas\n");
}

TEST(CapitaliseLike, CopiesWhatCountsAsACapitalOnlyOntoAToZ) {
  const struct {
    std::string candidate, scrambled, expected;
  } cases[] = {
      {"HELLO", "hLelO", "hEllO"},
      // From 'a' (0x61) up to 0x7F a scrambled byte counts as lower-case.
      {"aaaaaa", "a{|}~\x7F", "aaaaaa"},
      // Capitals, the bytes 0x40 to 0x60 and every byte from 0x80 up do not.
      {"aaaaaaaaa", "@[\\]^_`AZ", "AAAAAAAAA"},
      {"aaaa", "\x80\xE4\xC4\xFF", "AAAA"},
      // The candidate is lower-cased by the code page, and then only a to z
      // become capitals.
      {"\xC4RGER", "ARGER", "\xE4RGER"},
      {"a@b[", "XXXX", "A@B["},
  };
  for (const auto& c : cases) EXPECT_EQ(capitalise_like(c.candidate, c.scrambled), c.expected);
}

}  // namespace
}  // namespace quirlex
