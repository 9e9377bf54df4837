// The lexicon builder: which corpus words enter the lexicon, in which order,
// each once; checked on small corpora and against a plain model over large
// random ones.
#include "lexicon/lexicon_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "text/case_map.h"
#include "text/signature.h"
#include "text/token_list.h"
#include "text/tokenizer.h"

namespace quirlex {
namespace {

using Words = std::vector<std::string>;

Words lexicon_of(const std::string& corpus, bool sort) {
  LexiconBuilder builder(corpus);
  builder.collect_words();
  if (sort) builder.sort_words();
  Words words;
  for (std::size_t i = 0; i < builder.word_count(); ++i) words.emplace_back(builder.word(i));
  EXPECT_EQ(static_cast<std::size_t>(builder.encode().size()), words.size());
  return words;
}

TEST(LexiconBuilder, WordsOfSmallCorpora) {
  constexpr bool kSorted = true;
  constexpr bool kUnsorted = false;
  const struct {
    std::string corpus;
    bool sort;
    Words lexicon;
  } cases[] = {
      {"Hof Haus Tor Baum ab x Garten", kUnsorted, {"HAUS", "BAUM", "GARTEN"}},
      {"Haus HAUS haus hAuS", kUnsorted, {"HAUS"}},
      {"Haus HAUS haus hAuS", kSorted, {"HAUS"}},
      {"haut Haustier HAUS Haut haus", kSorted, {"HAUS", "HAUSTIER", "HAUT"}},
      // Bytes compare as unsigned numbers: 0xC9 comes after Z, 0x40 before A.
      {"\xC9tage Zebra Apfel @tom", kSorted, {"@TOM", "APFEL", "ZEBRA", "\xC9TAGE"}},
      {"Zebra Haus apfel zebra HAUS Baum Apfel", kUnsorted, {"ZEBRA", "HAUS", "APFEL", "BAUM"}},
      {"Haus-Tier Auto3Bahn", kUnsorted, {"HAUS", "TIER", "AUTO", "BAHN"}},
      {"Er sagte \"Haus\" und/oder nicht.", kUnsorted, {"SAGTE", "^HAUS^", "UND@ODER", "NICHT"}},
      {"\"ab\" a/b", kUnsorted, {"^AB^"}},
      // Words beginning with { | } ~ or 0x7F would read back as front-coded;
      // inside a word those bytes are harmless.
      {"{abcd |abcd }abcd ~abcd \x7F" + std::string("abcd Haus ab{cd ab~\x7F") + "d",
       kUnsorted,
       {"HAUS", "AB{CD", "AB~\x7F" + std::string("D")}},
      // Upper-casing follows Windows-1252; the division sign and the micro
      // sign have no capital.
      {"caf\xE9 \xE9t\xE9s \x9A" + std::string("ach ab\xF7") + "c \xB5xyz",
       kUnsorted,
       {"CAF\xC9", "\xC9T\xC9S", "\x8A" + std::string("ACH"), "AB\xF7" + std::string("C"),
        "\xB5XYZ"}},
      {"", kSorted, {}},
      {"ab cd efg 12345 !?\r\n", kSorted, {}},
      {"{abc ~xyzw", kSorted, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.corpus);
    EXPECT_EQ(lexicon_of(c.corpus, c.sort), c.lexicon);
  }
}

// The lexicon as a plain model makes it: the corpus split by the tokenizer
// with slash and quote replaced, words of four bytes or more, upper-cased,
// those the file cannot store left out, each word's first appearance only,
// optionally sorted by unsigned bytes with the shorter of two first.
Words model_lexicon(const std::string& corpus, bool sort) {
  TokenList tokens;
  tokenize(corpus, tokens,
           {.drop_separators = true, .replace_slash_and_quote = true, .signatures = false});
  Words words;
  std::set<std::string> seen;
  for (const WordToken& token : tokens) {
    if (token.text.size() < 4) continue;
    std::string word = token.text;
    upper_case(word);
    const auto first = static_cast<std::uint8_t>(word.front());
    if (first >= 0x7B && first <= 0x7F) continue;
    if (seen.insert(word).second) words.push_back(word);
  }
  // std::string orders by unsigned bytes, a beginning before the longer word.
  if (sort) std::sort(words.begin(), words.end());
  return words;
}

// A corpus of words from a small vocabulary in random capitalisation, so that
// words repeat, mixed with random bytes of every value.
std::string random_corpus(std::mt19937& rng, std::size_t words) {
  static const Words vocabulary = {
      "haus", "Haustier", "haut", "Baum",
      "b\xE9"
      "b\xE9",
      "und/oder", "\"zitat\"", "{klammer", "ab", "abc", "Tor", "zwei-teilig", "\xFF\xFE\xFD\xFC",
      // Long words that differ only after their first sixteen bytes, or in length.
      "Donaudampfschifffahrt", "Donaudampfschifffahrtskapitaen", "Donaudampfschifffahrtskapitaene",
      "Donaudampfschifffahrtsgesellschaft", "abcdefghijklmnop", "abcdefghijklmnopq",
      // One word of each length from 5 to 15, so that the bytes after a word
      // (which differ from one appearance to the next) never count as its own.
      "Apfel", "Garten", "Bahnhof", "Wasserei", "Hausboote", "Wasserfall", "Bahnhofsuhr",
      "Gartenzwerge", "Schmetterling", "Kirschbaumblue", "Blumenstraussen"};
  std::uniform_int_distribution<int> kind(0, 9);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<std::size_t> pick(0, vocabulary.size() - 1);
  std::uniform_int_distribution<std::size_t> length(1, 12);
  std::string corpus;
  for (std::size_t i = 0; i < words; ++i) {
    const int k = kind(rng);
    if (k < 4) {
      std::string word = vocabulary[pick(rng)];
      for (char& c : word) {
        if (byte(rng) < 100) c = upper_char(c);
      }
      corpus += word;
    } else {
      for (std::size_t n = length(rng); n > 0; --n) corpus += static_cast<char>(byte(rng));
    }
    // Separator runs of every length shift words across any block boundary.
    corpus += k % 2 == 0 ? " " : "\r\n";
    if (k == 9) corpus.append(length(rng), '.');
  }
  // Some corpora end inside a word.
  if (byte(rng) % 2 == 0) corpus += "Schlusswort";
  return corpus;
}

TEST(LexiconBuilder, MatchesThePlainModelOnRandomCorpora) {
  std::mt19937 rng(424242);
  for (int round = 0; round < 8; ++round) {
    const std::string corpus = random_corpus(rng, round < 3 ? 20000 : 37 + round * 11);
    SCOPED_TRACE("round " + std::to_string(round));
    const Words sorted = model_lexicon(corpus, true);
    if (round < 3) {
      ASSERT_GT(sorted.size(), 2000u);
    }
    EXPECT_EQ(lexicon_of(corpus, false), model_lexicon(corpus, false));
    EXPECT_EQ(lexicon_of(corpus, true), sorted);
  }
}

// A corpus large enough to be split between two threads: words met in both
// halves stay once, at their first appearance, words new in the second half
// follow those of the first.
TEST(LexiconBuilder, LargeCorporaCollectedInTwoHalvesMatchThePlainModel) {
  std::mt19937 rng(777);
  std::string corpus;
  while (corpus.size() <= LexiconBuilder::kTwoThreadsFrom) corpus += random_corpus(rng, 50000);
  // A word first seen only in the second half.
  corpus += " Nachzuegler ";
  EXPECT_EQ(lexicon_of(corpus, false), model_lexicon(corpus, false));
  EXPECT_EQ(lexicon_of(corpus, true), model_lexicon(corpus, true));
}

}  // namespace
}  // namespace quirlex
