// The lexicon builder: which corpus words enter the lexicon, in which order,
// each once; checked on small corpora and against a plain model over large
// random ones, and through the whole way from corpus file to lexicon file and
// back.
#include "lexicon/lexicon_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "lexicon/lexicon_codec.h"
#include "testing/temp_dir.h"
#include "text/case_map.h"
#include "text/signature.h"
#include "text/text_file.h"
#include "text/token_list.h"
#include "text/token_writer.h"
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
  return words;
}

Words texts_of(const TokenList& list) {
  Words texts;
  for (const WordToken& token : list) texts.push_back(token.text);
  return texts;
}

// The lexicon as a plain model makes it: the corpus split by the tokenizer
// with slash and quote replaced, words of four bytes or more, upper-cased,
// those the file cannot store left out, each word's first appearance only,
// optionally sorted by unsigned bytes with the shorter of two first.
Words model_lexicon(const std::string& corpus, bool sort) {
  TokenList tokens;
  {
    SignatureSuppression suppression;
    tokenize(corpus, tokens, {.drop_separators = true, .replace_slash_and_quote = true});
  }
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

TEST(LexiconBuilder, KeepsWordsOfFourBytesAndDropsShorterOnes) {
  EXPECT_EQ(lexicon_of("Hof Haus Tor Baum ab x Garten", false), (Words{"HAUS", "BAUM", "GARTEN"}));
}

TEST(LexiconBuilder, UpperCasesAndKeepsEachWordOnce) {
  EXPECT_EQ(lexicon_of("Haus HAUS haus hAuS", false), (Words{"HAUS"}));
  EXPECT_EQ(lexicon_of("Haus HAUS haus hAuS", true), (Words{"HAUS"}));
}

TEST(LexiconBuilder, SortsByBytesWithTheShorterWordFirst) {
  EXPECT_EQ(lexicon_of("haut Haustier HAUS Haut haus", true), (Words{"HAUS", "HAUSTIER", "HAUT"}));
}

TEST(LexiconBuilder, SortsHighBytesAfterLetters) {
  // Bytes compare as unsigned numbers: 0xC9 comes after Z, 0x40 before A.
  EXPECT_EQ(lexicon_of("\xC9tage Zebra Apfel @tom", true),
            (Words{"@TOM", "APFEL", "ZEBRA", "\xC9TAGE"}));
}

TEST(LexiconBuilder, WithoutSortingKeepsTheOrderOfFirstAppearance) {
  EXPECT_EQ(lexicon_of("Zebra Haus apfel zebra HAUS Baum Apfel", false),
            (Words{"ZEBRA", "HAUS", "APFEL", "BAUM"}));
}

TEST(LexiconBuilder, HyphensAndDigitsSplitWords) {
  EXPECT_EQ(lexicon_of("Haus-Tier Auto3Bahn", false), (Words{"HAUS", "TIER", "AUTO", "BAHN"}));
}

TEST(LexiconBuilder, QuotesAndSlashesStayInsideWords) {
  EXPECT_EQ(lexicon_of("Er sagte \"Haus\" und/oder nicht.", false),
            (Words{"SAGTE", "^HAUS^", "UND@ODER", "NICHT"}));
  EXPECT_EQ(lexicon_of("and/or", false), (Words{"AND@OR"}));
  EXPECT_EQ(lexicon_of("\"ab\"", false), (Words{"^AB^"}));
}

TEST(LexiconBuilder, DropsWordsTheFileCannotStore) {
  // Words beginning with { | } ~ or 0x7F would read back as front-coded.
  EXPECT_EQ(lexicon_of("{abcd |abcd }abcd ~abcd \x7F"
                       "abcd Haus",
                       false),
            (Words{"HAUS"}));
  // Inside a word those bytes are harmless.
  EXPECT_EQ(lexicon_of("ab{cd ab~\x7F"
                       "d",
                       false),
            (Words{"AB{CD",
                   "AB~\x7F"
                   "D"}));
}

TEST(LexiconBuilder, UpperCasesHighBytesByTheWindows1252Table) {
  EXPECT_EQ(lexicon_of("caf\xE9 \xE9t\xE9s \x9A"
                       "ach",
                       false),
            (Words{"CAF\xC9", "\xC9T\xC9S",
                   "\x8A"
                   "ACH"}));
  // The division sign and bytes without a capital stay as they are.
  EXPECT_EQ(lexicon_of("ab\xF7"
                       "c \xB5xyz",
                       false),
            (Words{"AB\xF7"
                   "C",
                   "\xB5XYZ"}));
}

TEST(LexiconBuilder, UmlautsAreSpelledOutByTheReader) {
  testing::TempDir dir;
  const std::string path = dir.file("pqlexikon.txt");
  testing::put_file(path,
                    "B\xE4ume und \xC4rger, Gr\xF6\xDF"
                    "e\r\n");
  TextFile corpus;
  ASSERT_TRUE(corpus.read(path, true, false));
  EXPECT_EQ(lexicon_of(corpus.content(), false), (Words{"BAEUME", "AERGER", "GROESSE"}));
}

TEST(LexiconBuilder, CorpusWithoutWordsGivesNoEntries) {
  for (const std::string corpus : {"", "   \r\n", "ab cd efg 12345 !?", "{abc ~xyzw"}) {
    LexiconBuilder builder(corpus);
    builder.collect_words();
    builder.sort_words();
    EXPECT_EQ(builder.word_count(), 0u) << corpus;
    EXPECT_TRUE(builder.encode().is_empty());
  }
}

TEST(LexiconBuilder, EncodesTheWordsInTheirOrder) {
  LexiconBuilder builder("Haustuer Hof Haus haustier");
  builder.collect_words();
  builder.sort_words();
  const TokenList entries = builder.encode();
  EXPECT_EQ(texts_of(entries), (Words{"HAUS", "dTIER", "eUER"}));
  for (const WordToken& entry : entries) {
    EXPECT_EQ(entry.separator, 0);
    EXPECT_EQ(entry.keep, 1);
  }
}

// A corpus of words from a small vocabulary in random capitalisation, so that
// words repeat, mixed with random bytes of every value.
std::string random_corpus(std::mt19937& rng, std::size_t words) {
  static const Words vocabulary = {"haus",
                                   "Haustier",
                                   "haut",
                                   "Baum",
                                   "b\xE9"
                                   "b\xE9",
                                   "und/oder",
                                   "\"zitat\"",
                                   "{klammer",
                                   "ab",
                                   "abc",
                                   "Tor",
                                   "zwei-teilig",
                                   "\xFF\xFE\xFD\xFC"};
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
    corpus += k % 2 == 0 ? " " : "\r\n";
  }
  return corpus;
}

TEST(LexiconBuilder, MatchesThePlainModelOnRandomCorpora) {
  std::mt19937 rng(424242);
  for (int round = 0; round < 3; ++round) {
    const std::string corpus = random_corpus(rng, 20000);
    SCOPED_TRACE("round " + std::to_string(round));
    const Words sorted = model_lexicon(corpus, true);
    ASSERT_GT(sorted.size(), 2000u);
    EXPECT_EQ(lexicon_of(corpus, false), model_lexicon(corpus, false));
    EXPECT_EQ(lexicon_of(corpus, true), sorted);
  }
}

// The whole way: corpus file read as Create Dictionary reads it, lexicon
// file written, read back as Load Dictionary reads it.
Words through_lexicon_file(const std::string& corpus_bytes, bool sort) {
  testing::TempDir dir;
  testing::put_file(dir.file("pqlexikon.txt"), corpus_bytes);
  TextFile corpus;
  EXPECT_TRUE(corpus.read(dir.file("pqlexikon.txt"), true, false));
  LexiconBuilder builder(corpus.take_content());
  builder.collect_words();
  if (sort) builder.sort_words();
  write_tokens(builder.encode(), dir.file("Lexikon.dic"), "\n");
  TextFile lexicon;
  EXPECT_TRUE(lexicon.read(dir.file("Lexikon.dic"), true, false));
  TokenList words;
  read_lexicon_words(lexicon.take_content(), words);
  Words built;
  for (std::size_t i = 0; i < builder.word_count(); ++i) built.emplace_back(builder.word(i));
  EXPECT_EQ(texts_of(words), built);
  return built;
}

TEST(LexiconBuilder, LexiconFileReadsBackAsTheBuiltWords) {
  std::mt19937 rng(99);
  for (const bool sort : {false, true}) {
    std::string corpus = random_corpus(rng, 20000);
    std::replace(corpus.begin(), corpus.end(), '\0', ' ');  // the reader stops at a NUL
    const Words built = through_lexicon_file(corpus, sort);
    EXPECT_GT(built.size(), 1000u);
  }
  EXPECT_EQ(through_lexicon_file("B\xE4ume b\xE4ume", true), (Words{"BAEUME"}));
}

TEST(LexiconBuilder, EmptyLexiconIsAnEmptyFile) {
  testing::TempDir dir;
  LexiconBuilder builder("ab cd");
  builder.collect_words();
  write_tokens(builder.encode(), dir.file("Lexikon.dic"), "\n");
  EXPECT_EQ(testing::get_file(dir.file("Lexikon.dic")), "");
}

}  // namespace
}  // namespace quirlex
