// Count files as a source of the lexicon: each form of line, blanks, CR LF,
// large counts, both encodings, malformed lines named by their number, and
// against a plain model: the count file of a corpus gives the corpus's own
// lexicon, alone and among other sources, in every order.
#include "lexicon/count_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "testing/expect_failure.h"
#include "testing/random_corpus.h"
#include "testing/temp_dir.h"

namespace quirlex {
namespace {

using Words = std::vector<std::string>;

struct Source {
  bool counts;  // a count file, else a corpus
  std::string path;
};

// The words of the lexicon of `sources`, read in turn, in `order`, each as
// "WORD=count".
Words lexicon_of(const std::vector<Source>& sources, LexiconOrder order,
                 ReadEncoding encoding = ReadEncoding::kAuto,
                 std::size_t piece_size = TextStream::kDefaultPieceSize, bool trim = false) {
  LexiconBuilder builder;
  if (trim) builder.trim_word_ends();
  for (const Source& source : sources) {
    if (source.counts) {
      EXPECT_TRUE(add_count_file(builder, source.path, encoding, {}, piece_size));
      continue;
    }
    TextStream stream;
    EXPECT_TRUE(stream.open(source.path, {.encoding = encoding, .piece_size = piece_size}));
    for (std::string piece; stream.next(piece);) builder.add_text(piece);
    builder.end_source();
  }
  builder.finish();
  builder.put_in_order(order);
  Words words;
  for (std::size_t i = 0; i < builder.word_count(); ++i) {
    words.push_back(std::string(builder.word(i)) + "=" + std::to_string(builder.count(i)));
  }
  return words;
}

// Words as a reader sees them (the frequency order's way): the marks at a
// word's ends go in a count file's words as in a corpus's.
TEST(CountFile, WordsWithoutTheirMarksAsInTheCorpus) {
  const testing::TempDir dir;
  testing::put_file(dir.file("corpus.txt"), "\x84Haus\x93 (Baum) Haus |grep|\n");
  testing::put_file(dir.file("counts.txt"), "\x84Haus\x93\t1\n(Baum)\t1\nHaus\t1\n|grep|\t1\n");
  const Words expected = {"BAUM=1", "GREP=1", "HAUS=2"};
  for (const bool counts : {false, true}) {
    EXPECT_EQ(lexicon_of({{counts, dir.file(counts ? "counts.txt" : "corpus.txt")}},
                         LexiconOrder::kSorted, ReadEncoding::kWindows1252,
                         TextStream::kDefaultPieceSize, true),
              expected);
  }
}

TEST(CountFile, EachFormAfterACorpus) {
  const testing::TempDir dir;
  const std::string corpus = dir.file("corpus.txt");
  testing::put_file(corpus, "Haus");
  const struct {
    std::string counts;
    Words lexicon;  // in text order, the corpus's HAUS first
  } cases[] = {
      {"Haus\t3\nBaum\t2\n", {"HAUS=4", "BAUM=2"}},
      // As `uniq -c` writes it; a word the tokenizer splits gives both parts.
      {"      3 haus\n     12 Garten-Zaun\n12345678 Apfel\n",
       {"HAUS=4", "GARTEN=12", "ZAUN=12", "APFEL=12345678"}},
      // Short words are left out; the last line needs no line feed.
      {"1\tBaum\t7\r\n2\tTor\t5\r\n\r\n3\tApfel\t1", {"HAUS=1", "BAUM=7", "APFEL=1"}},
      {"\n  \t \r\nBaum \t 5 \r\n\nApfel\t 1\r\n", {"HAUS=1", "BAUM=5", "APFEL=1"}},
      {"Baum\t5000000000\nBAUM\t5000000000\n", {"HAUS=1", "BAUM=10000000000"}},
      {"Baum\t18446744073709551615\n", {"HAUS=1", "BAUM=18446744073709551615"}},
      {"Baum\t0\nApfel\t1\n", {"HAUS=1", "APFEL=1"}},
      {"\"Zitat\"\t2\nund/oder\t1\n", {"HAUS=1", "^ZITAT^=2", "UND@ODER=1"}},
      // UTF-8 and Windows-1252, umlauts spelled out in both.
      {"B\xC3\xA4ume\t2\nStra\xC3\x9F" "e\t1\n", {"HAUS=1", "BAEUME=2", "STRASSE=1"}},
      {"B\xE4ume\t2\n", {"HAUS=1", "BAEUME=2"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.counts);
    const std::string counts = dir.file("counts.txt");
    testing::put_file(counts, c.counts);
    EXPECT_EQ(lexicon_of({{false, corpus}, {true, counts}}, LexiconOrder::kText), c.lexicon);
  }
}

TEST(CountFile, MalformedLinesAreNamedByNumber) {
  const testing::TempDir dir;
  const std::string path = dir.file("counts.txt");
  const struct {
    std::string counts;
    std::uint64_t line;
    std::string problem;
  } cases[] = {
      {"Haus\t3\nBaum 4\n", 2, "not of the form WORD<TAB>COUNT that the lines before have."},
      {"Haus\t3\r\nBaum\tviele\r\n", 2, "the count \"viele\" is not a number."},
      {"Haus\t3\nBaum\t-3\n", 2, "the count \"-3\" is not a number."},
      {"\n \nHaus\n", 3,
       "none of the forms WORD<TAB>COUNT, COUNT WORD and RANK<TAB>WORD<TAB>COUNT."},
      {"   3 Haus\n  x4 Baum\n", 2, "the count \"x4\" is not a number."},
      {"1\tHaus\t3\n2\tBaum\n", 2,
       "not of the form RANK<TAB>WORD<TAB>COUNT that the lines before have."},
      {"1\tHaus\t3\nzwei\tBaum\t4\n", 2, "the rank \"zwei\" is not a number."},
      {"Haus\t18446744073709551616\n", 1,
       "the count \"18446744073709551616\" is too large (at most 18446744073709551615)."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.counts);
    testing::put_file(path, c.counts);
    LexiconBuilder builder;
    EXPECT_TRUE(testing::FailsWith<CountFileError>(
        [&] { add_count_file(builder, path); },
        path + ", line " + std::to_string(c.line) + ": " + c.problem));
  }
  // A sum past what a count holds is refused, not wrapped around.
  testing::put_file(path, "Haus\t18446744073709551615\nHaus\t1\n");
  LexiconBuilder builder;
  EXPECT_THROW(add_count_file(builder, path), LimitExceeded);
  EXPECT_FALSE(add_count_file(builder, dir.file("missing.txt")));
}

// The count file of `corpus` as a plain model makes it: the words as the
// tokenizer splits them (every byte below 0x40 but slash and quote
// separates), each spelling once, in order of first appearance, with its
// count, in `form`; blank lines here and there.
std::string count_file_of(const std::string& corpus, CountForm form, const std::string& line_end) {
  Words spellings;
  std::map<std::string, std::uint64_t> counts;
  std::string word;
  for (const char c : corpus + " ") {
    if (static_cast<std::uint8_t>(c) >= 0x40 || c == '/' || c == '"') {
      word += c;
    } else if (!word.empty()) {
      if (counts[word]++ == 0) spellings.push_back(word);
      word.clear();
    }
  }
  std::string file;
  std::uint64_t rank = 0;
  for (const std::string& w : spellings) {
    ++rank;
    const std::string n = std::to_string(counts[w]);
    switch (form) {
      case CountForm::kWordCount:
        file += w + "\t" + n;
        break;
      case CountForm::kCountWord:
        file += std::string(n.size() < 7 ? 7 - n.size() : 0, ' ') + n + " " + w;
        break;
      case CountForm::kRankWordCount:
        file += std::to_string(rank) + "\t" + w + "\t" + n;
        break;
    }
    file += line_end;
    if (rank % 97 == 5) file += " \t" + line_end;
  }
  return file;
}

TEST(CountFile, CountsOfACorpusGiveItsLexiconAloneAndAmongOtherSources) {
  const testing::TempDir dir;
  std::mt19937 rng(20240611);
  const auto corpus_file = [&](const std::string& name, std::size_t words) {
    std::string corpus = testing::random_corpus(rng, words);
    // The text would end at a NUL byte.
    for (char& c : corpus) c = c == '\0' ? ' ' : c;
    testing::put_file(dir.file(name), corpus);
    return corpus;
  };
  const std::string a = corpus_file("a.txt", 20000);
  const std::string b = corpus_file("b.txt", 5000);
  const std::string c = corpus_file("c.txt", 300);
  const std::string all = dir.file("all.txt");
  testing::put_file(all, a + "\n" + b + "\n" + c + "\n" + a);
  const struct {
    CountForm form;
    std::string line_end;
    std::vector<std::size_t> piece_sizes;
  } forms[] = {
      {CountForm::kWordCount, "\n", {7, TextStream::kDefaultPieceSize}},
      {CountForm::kCountWord, "\r\n", {1, 4096}},
      {CountForm::kRankWordCount, "\n", {2, TextStream::kDefaultPieceSize}},
  };
  const ReadEncoding bytes = ReadEncoding::kWindows1252;
  for (const auto& f : forms) {
    for (const auto& [name, corpus] : {std::pair{"a", &a}, {"b", &b}, {"c", &c}}) {
      testing::put_file(dir.file(std::string(name) + ".counts"),
                        count_file_of(*corpus, f.form, f.line_end));
    }
    for (const std::size_t piece_size : f.piece_sizes) {
      // Tiny pieces on the small corpus only: every line is cut.
      const bool small = piece_size < 64;
      SCOPED_TRACE("form " + std::to_string(static_cast<int>(f.form)) + ", pieces of " +
                   std::to_string(piece_size));
      for (const LexiconOrder order :
           {LexiconOrder::kText, LexiconOrder::kSorted, LexiconOrder::kFrequency}) {
        const std::string one = small ? "c" : "a";
        EXPECT_EQ(lexicon_of({{true, dir.file(one + ".counts")}}, order, bytes, piece_size),
                  lexicon_of({{false, dir.file(one + ".txt")}}, order, bytes));
        if (small) continue;
        // Counts of equal words add up over corpora and count files; a
        // count file's words appear after those of the sources before it.
        EXPECT_EQ(lexicon_of({{false, dir.file("a.txt")},
                              {true, dir.file("b.counts")},
                              {false, dir.file("c.txt")},
                              {true, dir.file("a.counts")}},
                             order, bytes, piece_size),
                  lexicon_of({{false, all}}, order, bytes));
      }
    }
  }
}

}  // namespace
}  // namespace quirlex
