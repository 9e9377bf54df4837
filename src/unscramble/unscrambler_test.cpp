// Restoring scrambled words: lexicon table first, variant table with Deep
// Search, the capitalisation a candidate takes, what is accepted and what is
// left alone, settled words, and broken variant codes.
#include "unscramble/unscrambler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "index/deep_word_list.h"
#include "index/dictionary.h"
#include "lexicon/lexicon_codec.h"
#include "text/failure.h"
#include "text/signature.h"
#include "text/token_list.h"
#include "text/tokenizer.h"

namespace quirlex {
namespace {

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

// A scrambled text as Load shuffled text splits it.
TokenList scrambled_text(const std::string& text) {
  TokenList list;
  tokenize(text, list, {});
  return list;
}

std::string restored(const std::string& text, const Dictionary& dictionary, bool deep_search) {
  TokenList list = scrambled_text(text);
  restore_words(list, dictionary, deep_search);
  return list.join();
}

TEST(RestoreWords, LexiconWordTakesTheScrambledCapitalisation) {
  const Dictionary dictionary = load("HELLO\n");
  EXPECT_EQ(restored("hlelo Hlelo HLELO\n", dictionary, false), "hello Hello HELLO\n");
}

TEST(RestoreWords, LexiconWordsCaseDoesNotMatter) {
  for (const std::string lexicon : {"Hello\n", "hello\n", "hElLo\n"}) {
    const Dictionary dictionary = load(lexicon);
    EXPECT_EQ(restored("hlelo Hlelo HLELO\n", dictionary, false), "hello Hello HELLO\n") << lexicon;
  }
}

TEST(RestoreWords, CapitalsStayAtTheirPositions) {
  const Dictionary dictionary = load("HELLO\nHAUSTIER\n");
  EXPECT_EQ(restored("hLelo hlElo hleLo HAsuiter HaSuiteR\n", dictionary, false),
            "hEllo heLlo helLo HAustier HaUstieR\n");
}

TEST(RestoreWords, RestoredTokenIsSettledWithTheSignatureOfItsText) {
  const Dictionary dictionary = load("HELLO\n");
  TokenList list = scrambled_text("Hlelo world\n");
  restore_words(list, dictionary, false);
  const WordToken& word = list.element(1);
  EXPECT_EQ(word.text, "Hello");
  EXPECT_EQ(word.separator, 1);
  EXPECT_EQ(word.keep, 1);
  EXPECT_EQ(word.signature, signature_of("Hello"));
}

TEST(RestoreWords, ShortWordsAreSettledUnchanged) {
  const Dictionary dictionary = load("AB\nABC\nHAUS\n");
  TokenList list = scrambled_text("a ab Abc Huas\n");
  restore_words(list, dictionary, false);
  ASSERT_EQ(list.size(), 9);
  EXPECT_EQ(list.join(), "a ab Abc Haus\n");
  for (const std::int32_t k : {1, 3, 5, 7})
    EXPECT_EQ(list.element(k).separator, 1) << k;
  EXPECT_EQ(list.element(1).text, "a");
  EXPECT_EQ(list.element(5).text, "Abc");
}

TEST(RestoreWords, WordWithoutEntryStaysScrambledAndUnsettled) {
  const Dictionary dictionary = load("HELLO\n");
  TokenList list = scrambled_text("Hlelo wlord\n");
  const WordToken before = list.element(3);
  restore_words(list, dictionary, false);
  EXPECT_EQ(list.element(3), before);
  EXPECT_EQ(list.element(3).separator, 0);
}

TEST(RestoreWords, EmptyDictionaryRestoresNothing) {
  const Dictionary dictionary = load("");
  EXPECT_EQ(restored("Hlelo wlord, ab!\r\n", dictionary, true), "Hlelo wlord, ab!\r\n");
  TokenList empty;
  restore_words(empty, dictionary, true);
  EXPECT_TRUE(empty.is_empty());
}

TEST(RestoreWords, SecondRunKeepsRestoredWordsAndRetriesTheOthers) {
  TokenList list = scrambled_text("Hlelo wlord\n");
  restore_words(list, load("HELLO\n"), false);
  EXPECT_EQ(list.join(), "Hello wlord\n");
  // HLELO has the signature of Hello: a settled word would be changed by it.
  restore_words(list, load("HLELO\nWORLD\n"), false);
  EXPECT_EQ(list.join(), "Hello world\n");
}

TEST(RestoreWords, SeparatorTokensAreNeverLookedUp) {
  // A lexicon table entry under the signature of a separator token of four
  // bytes, as a signature collision could make it.
  Dictionary dictionary = load("HAUS\n");
  dictionary.lexicon_table.value_for(signature_of(" -- ")) = WordToken::from_text(" ++ ");
  EXPECT_EQ(restored("Huas -- Huas\r\n", dictionary, true), "Haus -- Haus\r\n");
}

TEST(RestoreWords, DeepSearchRestoresAffixedWords) {
  const Dictionary dictionary = load("HAUS\nKIND\n", "", "LICH\nNESS\n", true);
  EXPECT_EQ(restored("Kdinenss kindness\n", dictionary, true), "Kindness kindness\n");
}

TEST(RestoreWords, WithoutDeepSearchTheVariantTableIsNotConsulted) {
  const Dictionary dictionary = load("HAUS\nKIND\n", "", "LICH\nNESS\n", true);
  TokenList list = scrambled_text("Kdinenss\n");
  restore_words(list, dictionary, false);
  EXPECT_EQ(list.join(), "Kdinenss\n");
  EXPECT_EQ(list.element(1).separator, 0);
}

TEST(RestoreWords, VariantGivesAtMostTheFirstLetterAsCapital) {
  const Dictionary dictionary = load("KIND\n", "UN\n", "NESS\n", true);
  EXPECT_EQ(restored("UKnindness uNkindness unkindnEss\n", dictionary, true),
            "Unkindness unkindness unkindness\n");
}

TEST(RestoreWords, AllCapitalScrambledWordIsNeverTakenFromTheVariantTable) {
  const Dictionary dictionary = load("KIND\n", "", "NESS\n", true);
  EXPECT_EQ(restored("KDINENSS and KDINENSs\n", dictionary, true), "KDINENSS and Kindness\n");
}

TEST(RestoreWords, VariantWithPrefixAndSuffix) {
  const Dictionary dictionary = load("HAUS\nKIND\n", "UN\nVER\n", "EN\nER\nUNG\n", true);
  EXPECT_EQ(restored("Vuansrehug vkrenid\n", dictionary, true), "Verhausung verkind\n");
}

TEST(RestoreWords, RejectedLexiconCandidateStillTriesTheVariantTable) {
  // KINDNESS is in the variant table; a colliding lexicon table entry under
  // the same signature has other ends and is rejected.
  Dictionary dictionary = load("HAUS\nKIND\n", "", "NESS\n", true);
  dictionary.lexicon_table.value_for(signature_of("KINDNESS")) = WordToken::from_text("SINDNESK");
  EXPECT_EQ(restored("Kdinenss\n", dictionary, true), "Kindness\n");
}

TEST(RestoreWords, LexiconCandidateOfAnotherLengthStillTriesTheVariantTable) {
  // With first and last byte 0x40 the signature is length times letter sum
  // (times a constant): @__A@__@ (8 bytes, sum -2^32 + 2) and @AA@ (4 bytes,
  // sum -2^33 + 4) share it. @AA@ is also the member @A + A@.
  const Dictionary dictionary = load("@__A@__@\n@A\n", "", "A@\n", true);
  ASSERT_EQ(signature_of("@__A@__@"), signature_of("@AA@"));
  WordToken lexicon_entry;
  ASSERT_TRUE(dictionary.lexicon_table.look_up(signature_of("@AA@"), lexicon_entry));
  EXPECT_EQ(lexicon_entry.text, "@__A@__@");
  EXPECT_EQ(restored("x @AA@ x\n", dictionary, true), "x @aa@ x\n");
  EXPECT_EQ(restored("x @AA@ x\n", dictionary, false), "x @AA@ x\n");
}

TEST(RestoreWords, AllOnesVariantCodeIsIgnored) {
  Dictionary dictionary = load("HAUS\n");
  dictionary.layout = VariantLayout::for_counts(0, 0);
  dictionary.variant_table.value_for(signature_of("GARTEN")) = 0xFFFFFFFFu;
  TokenList list = scrambled_text("Gatren\n");
  EXPECT_NO_THROW(restore_words(list, dictionary, true));
  EXPECT_EQ(list.join(), "Gatren\n");
}

TEST(RestoreWords, VariantCodeOutsideTheListsStopsWithInvalidArgument) {
  Dictionary dictionary = load("HAUS\n", "", "EN\n", true);
  // The lexicon word list was rebuilt after the variant table was filled.
  read_lexicon_words("GARTEN\n", dictionary.words);
  dictionary.variant_table.value_for(signature_of("GARTEN")) = dictionary.layout.pack(-1, -1, 5);
  TokenList list = scrambled_text("Huas Gatren Huas\n");
  EXPECT_THROW(restore_words(list, dictionary, true), InvalidArgument);
  EXPECT_EQ(list.join(), "Haus Gatren Huas\n");
}

TEST(RestoreWords, AccentedCapitalIsNotMadeUpperCaseAgain) {
  // Only a to z take a capital from the scrambled word: the candidate's é
  // stays small and no longer matches the scrambled word's É.
  const Dictionary dictionary = load(
      "\xC9"
      "COLE\n");
  EXPECT_EQ(restored("\xC9"
                     "cloe \xE9"
                     "cloe\n",
                     dictionary, false),
            "\xC9"
            "cloe \xE9"
            "cole\n");
}

TEST(CapitaliseLike, CopiesCapitalsPositionByPosition) {
  EXPECT_EQ(capitalise_like("HELLO", "hlelo"), "hello");
  EXPECT_EQ(capitalise_like("hello", "HLELO"), "HELLO");
  EXPECT_EQ(capitalise_like("HELLO", "hLelO"), "hEllO");
}

TEST(CapitaliseLike, WhatCountsAsLowerCase) {
  // From 'a' (0x61) up to 0x7F a scrambled byte counts as lower-case.
  EXPECT_EQ(capitalise_like("aaaaaa", "a{|}~\x7F"), "aaaaaa");
  // Capitals, the bytes 0x40 to 0x60 and every byte from 0x80 up do not.
  EXPECT_EQ(capitalise_like("aaaaaaaaa", "@[\\]^_`AZ"), "AAAAAAAAA");
  EXPECT_EQ(capitalise_like("aaaa", "\x80\xE4\xC4\xFF"), "AAAA");
}

TEST(CapitaliseLike, OnlyLettersAToZBecomeCapitals) {
  // The candidate is lower-cased by the code page, then single bytes are made
  // upper-case only from a to z.
  EXPECT_EQ(capitalise_like("\xC4RGER", "ARGER"), "\xE4RGER");
  EXPECT_EQ(capitalise_like("a@b[", "XXXX"), "A@B[");
}

}  // namespace
}  // namespace quirlex
