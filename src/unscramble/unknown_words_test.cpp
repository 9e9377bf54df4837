// The letter model's step: unknown words put in a plausible order, one
// order per word of a text, compounds weighed against it; and every step
// together gives nothing but rearrangements of the scrambled words.
#include "unscramble/unknown_words.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "index/deep_word_list.h"
#include "text/letters.h"
#include "testing/corpus_dictionary.h"
#include "testing/token_lists.h"
#include "unscramble/translate.h"

namespace quirlex {
namespace {

constexpr const char* kCorpus =
    "Musgrave Hargrove Cosgrove Hosgrove Lovegrove Musgraves Mustang music musical mugs rove "
    "Haus Boot Hausbau Bootshaus Schlange Schlangen Schlangenbiss";

struct Restored {
  std::string text;
  TranslateResult result;
};

// With a margin, compounds are weighed by it.
Restored translated(const testing::CorpusDictionary& corpus, const std::string& scrambled,
                    std::optional<double> margin) {
  TokenList list = testing::tokens_of(scrambled + "\n");
  TranslateOptions options;
  options.compounds = true;
  options.reader_words = true;
  options.letters = &corpus.letters;
  options.unknown = true;
  options.weigh_compounds = margin.has_value();
  options.weighing.margin = margin.value_or(0.0);
  const TranslateResult result = translate(list, {}, corpus.dictionary, options);
  std::string text(list.join());
  return {text.substr(0, text.size() - 1), result};
}

TEST(UnknownWords, OneOrderPerWordWrittenEverywhereWithItsOwnCapitals) {
  const testing::CorpusDictionary corpus(kCorpus);
  // Musgrove is no word of the corpus; the model knows -grove and Mus-.
  const std::string text = "Mgsorvue, MSUGORVE und msgruove; \x84mgOsruve\x93";
  const Restored model = translated(corpus, text, -1e9);
  EXPECT_EQ(model.text, "Musgrove, MUSGROVE und musgrove; \x84Musgrove\x93");
  EXPECT_EQ(model.result.unknown, 4);
  EXPECT_EQ(model.result.declined, 3);
  // Compound Search finds MUGS + ROVE, unweighed or weighed in its favour;
  // the word whose first letter moved beside a quote mark is no compound.
  for (const std::optional<double> margin : {std::optional<double>(), std::optional<double>(1e9)}) {
    const Restored compounds = translated(corpus, text, margin);
    EXPECT_EQ(compounds.text, "Mugsrove, MUGSROVE und mugsrove; \x84Musgrove\x93");
    EXPECT_EQ(compounds.result.compounds, 3);
    EXPECT_EQ(compounds.result.unknown, 1);
  }
}

TEST(UnknownWords, WordsOfFourAndOfThirtyLettersKeepTheirEnds) {
  const testing::CorpusDictionary corpus(kCorpus);
  for (const std::string word : {"Mxzq", "Qzxwvbnmlkjhgfdspoiuytrewqazxc"}) {
    SCOPED_TRACE(word);
    std::string scrambled = word;
    std::shuffle(scrambled.begin() + 1, scrambled.end() - 1, std::mt19937(7));
    const Restored r = translated(corpus, scrambled, 8.0);
    EXPECT_EQ(r.result.unknown, 1);
    EXPECT_TRUE(same_letters(r.text, word)) << r.text;
    EXPECT_EQ(r.text.front(), word.front());
    EXPECT_EQ(r.text.back(), word.back());
  }
}

// Random lexicons full of words of few letters (many of one signature or
// of one letter multiset), variants and texts with marks and capitals: every
// word any mode restores is a rearrangement of its scrambled word, and the
// marks and the ends that stay are where they were.
TEST(UnknownWords, EveryModeRestoresOnlyRearrangements) {
  std::mt19937 random(20240611);
  const auto pick = [&](std::string_view from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
  };
  const auto word = [&](std::size_t length) {
    std::string w;
    for (std::size_t k = 0; k < length; ++k) w += pick("aeinrstNOPRSU");
    return w;
  };
  for (int round = 0; round < 20; ++round) {
    std::string corpus;
    for (int k = 0; k < 300; ++k) corpus += word(4 + random() % 8) + " ";
    testing::CorpusDictionary source(corpus, 3);
    Dictionary& dictionary = source.dictionary;
    read_affix_list("EN ER UNG", dictionary.suffixes);
    read_affix_list("UN VER", dictionary.prefixes);
    dictionary.layout =
        VariantLayout::for_counts(dictionary.prefixes.size(), dictionary.suffixes.size());
    build_deep_word_list(dictionary, [](int) {});
    std::string text;
    for (int k = 0; k < 200; ++k) {
      std::string w = word(2 + random() % 14);
      if (random() % 5 == 0) w = pick("\x84\xAB|_") + w;
      if (random() % 5 == 0) w += pick("\x93\xBB|_");
      std::shuffle(w.begin() + 1, w.end() - 1, random);
      text += w + pick(" .,\n");
    }
    const TokenList scrambled = testing::tokens_of(text);
    for (int mode = 0; mode < 4; ++mode) {
      TranslateOptions options;
      options.deep_search = mode >= 1;
      options.compounds = mode >= 2;
      options.reader_words = mode >= 2;
      options.letters = &source.letters;
      options.unknown = mode >= 3;
      options.weigh_compounds = mode >= 3;
      TokenList restored = scrambled;
      translate(restored, {}, dictionary, options);
      ASSERT_EQ(restored.size(), scrambled.size());
      for (std::int32_t i = 0; i < scrambled.size(); ++i) {
        const std::string_view before = scrambled.text(i);
        const std::string_view after = restored.text(i);
        SCOPED_TRACE(std::string(before) + " -> " + std::string(after) + " in mode " + std::to_string(mode));
        ASSERT_TRUE(same_letters(before, after));
        const LetterCore core = letter_core(before);
        ASSERT_EQ(before.substr(0, core.begin), after.substr(0, core.begin));
        ASSERT_EQ(before.substr(core.end), after.substr(core.end));
        if (!before.empty()) {
          ASSERT_EQ(upper_char(before.front()), upper_char(after.front()));
          ASSERT_EQ(upper_char(before.back()), upper_char(after.back()));
        }
      }
    }
  }
}

}  // namespace
}  // namespace quirlex
