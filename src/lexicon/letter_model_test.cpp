// The letter model: its probabilities are probabilities, it prefers the
// orders its corpus has, its file reads back as written and every file that
// cannot be used is refused with its own message; the spellings counted.
#include "lexicon/letter_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "base/failure.h"
#include "base/hash_mix.h"
#include "lexicon/bigram_model.h"
#include "lexicon/letter_model_file.h"
#include "lexicon/model_file.h"
#include "lexicon/spelling_counter.h"

namespace quirlex {
namespace {

constexpr const char* kCorpus =
    "Musgrave Hargrove Cosgrove groves grove music musing mustard Mustang TrueType TrueType "
    "truetype GnuPG";

struct Collected {
  Collected() {
    std::string text = kCorpus;
    SpellingCounter spellings;
    spellings.add(text);
    builder.trim_word_ends();
    builder.add_text(text);
    builder.finish();
    builder.put_in_order(LexiconOrder::kFrequency);
    model = LetterModel::count(builder, spellings.finish(), 4);
  }
  LexiconBuilder builder;
  LetterModel model;
};

double score(const LetterModel& model, const std::string& word) {
  std::vector<std::uint8_t> history{0};
  std::array<float, kLetterSymbols> row{};
  double total = 0.0;
  for (const char c : word + '\0') {
    model.log_probabilities(history, row);
    const std::uint8_t symbol = c == '\0' ? 0 : letter_symbol(c);
    total += row[symbol];
    history.push_back(symbol);
  }
  return total;
}

TEST(LetterModel, GivesProbabilitiesThatPreferTheCorpusOrders) {
  const Collected collected;
  const LetterModel& model = collected.model;
  EXPECT_EQ(model.order(), 4);
  EXPECT_EQ(model.word_count(), collected.builder.word_count());
  // After every history, seen or not, the probabilities add up to one.
  for (const std::string history : {"", "MUS", "GRO", "QQQ", "TRUETYP", "@_^"}) {
    std::vector<std::uint8_t> symbols{0};
    for (const char c : history) symbols.push_back(letter_symbol(c));
    std::array<float, kLetterSymbols> row{};
    model.log_probabilities(symbols, row);
    double sum = 0.0;
    for (const float p : row) sum += std::exp(static_cast<double>(p));
    EXPECT_NEAR(sum, 1.0, 1e-4) << history;
  }
  EXPECT_GT(score(model, "MUSGROVE"), score(model, "MGSUROVE"));
  EXPECT_GT(score(model, "MUSGROVE"), score(model, "MUGSROVE"));
  // Accented letters go with their base letters.
  EXPECT_EQ(letter_symbol('\xE9'), letter_symbol('E'));
  EXPECT_EQ(letter_symbol('\xDF'), letter_symbol('S'));
}

TEST(LetterModel, KeepsTheSpellingsWithCapitalsInside) {
  const Collected collected;
  const auto truetype = collected.model.spellings_of("TRUETYPE");
  ASSERT_EQ(truetype.size(), 1u);
  EXPECT_EQ(truetype[0], (Spelling{"TrueType", 2}));
  ASSERT_EQ(collected.model.spellings_of("GNUPG").size(), 1u);
  EXPECT_TRUE(collected.model.spellings_of("MUSTANG").empty());
  const struct {
    const char* letters;
    bool inner;
  } shapes[] = {{"TrueType", true}, {"GnuPG", true}, {"iPhone", true}, {"IPsec", true},
                {"Haus", false},    {"HAUS", false}, {"haus", false},  {"\xC4rger", false}};
  for (const auto& s : shapes) EXPECT_EQ(has_inner_capitals(s.letters), s.inner) << s.letters;
}

TEST(LetterModelFile, ReadsBackAsWrittenAndRefusesWhatCannotBeUsed) {
  const Collected collected;
  const LetterModel& model = collected.model;
  const std::string bytes = letter_model_file_bytes(model);
  const std::uint64_t hash = lexicon_hash(collected.builder);
  const auto words = static_cast<std::uint32_t>(collected.builder.word_count());
  const LetterModel read = parse_letter_model_file(bytes, hash, words, "Lexikon.dic.letters");
  EXPECT_TRUE(std::ranges::equal(read.grams(), model.grams()));
  EXPECT_TRUE(std::ranges::equal(read.spellings(), model.spellings()));
  EXPECT_EQ(score(read, "MUSGROVE"), score(model, "MUSGROVE"));

  std::string damaged = bytes;
  damaged[damaged.size() / 2] ^= 0x20;
  std::string other_magic = bytes;
  other_magic[kLetterModelMagic.size() - 2] = '2';
  const struct {
    std::string bytes;
    std::uint64_t hash;
    std::uint32_t words;
    std::string problem;
  } cases[] = {
      {"", hash, words, "truncated"},
      {bytes.substr(0, 30), hash, words, "truncated"},
      {bytes.substr(0, bytes.size() - 1), hash, words, "truncated"},
      {bytes + "x", hash, words, "damaged"},
      {damaged, hash, words, "damaged"},
      {other_magic, hash, words, "not a letter model file"},
      {"QUIRLEX BIGRAMS 1\n", hash, words, "not a letter model file"},
      {bytes, hash + 1, words, "another lexicon"},
      {bytes, hash, words + 1, "another lexicon"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.problem + " " + std::to_string(c.bytes.size()));
    try {
      parse_letter_model_file(c.bytes, c.hash, c.words, "Lexikon.dic.letters");
      ADD_FAILURE() << "accepted";
    } catch (const LetterModelFileError& error) {
      EXPECT_EQ(error.message().rfind("Lexikon.dic.letters: ", 0), 0u) << error.message();
      EXPECT_NE(error.message().find(c.problem), std::string::npos) << error.message();
    }
  }
  EXPECT_EQ(letter_model_path("a/Lexikon.dic"), "a/Lexikon.dic.letters");

  // Spellings in another order than the model keeps them, or a text twice,
  // come from another writer, however sound their checksum.
  const auto with_spellings = [&](std::initializer_list<Spelling> spellings) {
    std::string body;
    for (const Spelling& s : spellings) {
      body += static_cast<char>(s.text.size()) + s.text;
      put_number(body, s.count, 4);
    }
    std::string file(kLetterModelMagic);
    for (const auto& [value, size] : {std::pair<std::uint64_t, int>{hash, 8}, {words, 4}, {4, 4},
                                      {0, 4}, {spellings.size(), 4}, {fnv1a(kFnv1aStart, body), 8}}) {
      put_number(file, value, size);
    }
    return file + body;
  };
  EXPECT_EQ(parse_letter_model_file(with_spellings({{"GnuPG", 1}, {"LaTeX", 1}}), hash, words, "x")
                .spellings()
                .size(),
            2u);
  for (const std::string& file :
       {with_spellings({{"LaTeX", 1}, {"GnuPG", 1}}), with_spellings({{"LaTeX", 1}, {"LaTeX", 1}}),
        with_spellings({{"LaTeX", 2}, {"LATEX", 1}, {"LaTeX", 1}})}) {
    EXPECT_THROW(parse_letter_model_file(file, hash, words, "x"), LetterModelFileError);
  }

  // A spelling too long for its length byte is not kept.
  std::string long_spelling = "aB" + std::string(300, 'c');
  const LetterModel with_long(hash, words, 4, {}, {{long_spelling, 2}, {"LaTeX", 1}});
  const LetterModel long_read =
      parse_letter_model_file(letter_model_file_bytes(with_long), hash, words, "x");
  EXPECT_TRUE(std::ranges::equal(long_read.spellings(), std::vector<Spelling>{{"LaTeX", 1}}));
}

}  // namespace
}  // namespace quirlex
