// The lexicon builder: which corpus words enter the lexicon, in which order,
// each once; checked on small corpora and against a plain model over random
// ones streamed in pieces of every size, on one thread and on two.
#include "lexicon/lexicon_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lexicon/lexicon_codec.h"
#include "testing/random_corpus.h"
#include "text/case_map.h"
#include "text/signature.h"

namespace quirlex {
namespace {

using testing::random_corpus;
using Words = std::vector<std::string>;

// Every word of the corpus in order, as a plain model splits it: slash and
// quote replaced, runs of bytes from 0x40 up, upper-cased.
Words model_words(std::string corpus) {
  Words words;
  std::string word;
  corpus += ' ';
  for (char c : corpus) {
    c = c == '/' ? '@' : c == '"' ? '^' : upper_char(c);
    if (static_cast<std::uint8_t>(c) >= 0x40) {
      word += c;
    } else if (!word.empty()) {
      words.push_back(std::exchange(word, {}));
    }
  }
  return words;
}

// The lexicon as the plain model makes it: words of four bytes or more,
// those the file cannot store left out, each word's first appearance only,
// sorted by unsigned bytes with the shorter of two first, or by ascending
// count and then so; with `counts`, each word followed by its count.
Words model_lexicon(const std::string& corpus, LexiconOrder order, bool counts = false) {
  Words words;
  std::map<std::string, std::uint64_t> seen;
  for (const std::string& word : model_words(corpus)) {
    if (word.size() < 4) continue;
    const auto first = static_cast<std::uint8_t>(word.front());
    if (first >= 0x7B && first <= 0x7F) continue;
    if (seen[word]++ == 0) words.push_back(word);
  }
  // std::string orders by unsigned bytes, a beginning before the longer word.
  if (order == LexiconOrder::kSorted) std::sort(words.begin(), words.end());
  if (order == LexiconOrder::kFrequency) {
    std::sort(words.begin(), words.end(), [&seen](const std::string& a, const std::string& b) {
      return seen[a] != seen[b] ? seen[a] < seen[b] : a < b;
    });
  }
  if (counts) {
    for (std::string& word : words) word += "=" + std::to_string(seen[word]);
  }
  return words;
}

// The words in the builder's order, each followed by its count when `counts`
// is set (as "WORD=3"), the corpus given in pieces of `piece_size` bytes.
// The corpus read again word by word must give every word, each lexicon
// word with its index.
Words lexicon_of(const std::string& corpus, LexiconOrder order, bool counts = false,
                 std::size_t piece_size = SIZE_MAX, unsigned threads = 0) {
  LexiconBuilder builder(threads);
  const TextPieces pieces = pieces_of(corpus, piece_size);
  for (std::string piece; pieces(piece);) builder.add_text(piece);
  builder.finish();
  builder.put_in_order(order);
  Words words;
  for (std::size_t i = 0; i < builder.word_count(); ++i) {
    words.emplace_back(builder.word(i));
    if (counts) words.back() += "=" + std::to_string(builder.count(i));
  }
  EXPECT_EQ(static_cast<std::size_t>(builder.encode().size()), words.size());
  Words walked;
  std::size_t wrong = 0;
  builder.for_each_word_in_text(pieces_of(corpus, piece_size),
                                [&](std::int64_t index, std::string_view word) {
                                  walked.emplace_back(word);
                                  const bool right =
                                      index >= 0 ? builder.word(static_cast<std::size_t>(index)) == word
                                      : index == LexiconBuilder::kShortWord
                                          ? word.size() < 4
                                          : word.size() >= 4 && is_marker_byte(word.front());
                                  wrong += !right;
                                });
  EXPECT_EQ(walked, model_words(corpus));
  EXPECT_EQ(wrong, 0u);
  return words;
}

TEST(LexiconBuilder, WordsOfSmallCorpora) {
  constexpr LexiconOrder kSorted = LexiconOrder::kSorted;
  constexpr LexiconOrder kUnsorted = LexiconOrder::kText;
  constexpr LexiconOrder kFrequency = LexiconOrder::kFrequency;
  const struct {
    std::string corpus;
    LexiconOrder order;
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
      // Rarest first; a word's count covers all its spellings.
      {"Zebra haus HAUS Baum zebra Haus", kFrequency, {"BAUM", "ZEBRA", "HAUS"}},
      // Equal counts keep the byte order, whatever the order of appearance.
      {"Zebra Apfel Haus Apfel Zebra Haus", kFrequency, {"APFEL", "HAUS", "ZEBRA"}},
      {"Haustier Haus haus Haustier Tor", kFrequency, {"HAUS", "HAUSTIER"}},
      {"Étage Zebra @tom Apfel ÉTAGE @TOM", kFrequency,
       {"APFEL", "ZEBRA", "@TOM", "ÉTAGE"}},
      {"", kFrequency, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.corpus);
    EXPECT_EQ(lexicon_of(c.corpus, c.order), c.lexicon);
  }
}

// Pieces of one to a few bytes cut every word and every umlaut's spelling;
// corpora above kTwoThreadsFrom are split between the threads, so words
// first met in the second half, and words met in both, are checked too.
TEST(LexiconBuilder, MatchesThePlainModelForEveryPieceSizeAndThreadCount) {
  std::mt19937 rng(424242);
  for (int round = 0; round < 6; ++round) {
    const std::string corpus = random_corpus(rng, round < 2 ? 20000 : 37 + round * 11);
    SCOPED_TRACE("round " + std::to_string(round));
    const Words sorted = model_lexicon(corpus, LexiconOrder::kSorted);
    if (round < 2) {
      ASSERT_GT(corpus.size(), 2 * LexiconBuilder::kTwoThreadsFrom);
      ASSERT_GT(sorted.size(), 2000u);
    }
    const Words text = model_lexicon(corpus, LexiconOrder::kText, true);
    const Words frequency = model_lexicon(corpus, LexiconOrder::kFrequency, true);
    for (const std::size_t piece_size : {std::size_t{1}, std::size_t{2}, std::size_t{3},
                                         std::size_t{17}, std::size_t{4096}, SIZE_MAX}) {
      for (const unsigned threads : {1u, 2u}) {
        SCOPED_TRACE("pieces of " + std::to_string(piece_size) + ", threads " +
                     std::to_string(threads));
        EXPECT_EQ(lexicon_of(corpus, LexiconOrder::kText, true, piece_size, threads), text);
        EXPECT_EQ(lexicon_of(corpus, LexiconOrder::kSorted, false, piece_size, threads), sorted);
        EXPECT_EQ(lexicon_of(corpus, LexiconOrder::kFrequency, true, piece_size, threads),
                  frequency);
      }
    }
  }
}

}  // namespace
}  // namespace quirlex
