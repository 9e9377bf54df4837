// Words as a reader sees them: marks at a word's ends stay, the letters
// between them are found whichever moved, capitals go by the word's shape,
// and a word that only shares a signature never hides the right one.
#include "unscramble/reader_words.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/corpus_dictionary.h"
#include "testing/token_lists.h"
#include "unscramble/translate.h"

namespace quirlex {
namespace {

// UNCOOPTENS is the more frequent of the two words of one signature, so the
// lexicon table keeps it; TrueType and GnuPG are written with capitals inside.
constexpr const char* kCorpus =
    "Pakete Haus grep Uppercross Uncooptens Uncooptens TrueType TrueType Truetype GnuPG GnuPG "
    "Kindness Garten Mailing Lists Mailinglists";

std::string translated(const testing::CorpusDictionary& corpus, const std::string& scrambled,
                       bool reader_words) {
  TokenList list = testing::tokens_of(scrambled + "\n");
  TranslateOptions options;
  options.reader_words = reader_words;
  options.letters = &corpus.letters;
  translate(list, {}, corpus.dictionary, options);
  std::string text(list.join());
  return text.substr(0, text.size() - 1);
}

TEST(ReaderWords, MarksStayCapitalsGoByShapeOnlyRearrangementsCount) {
  const testing::CorpusDictionary corpus(kCorpus);
  const struct {
    std::string scrambled, reader, classic;
  } cases[] = {
      // A capital that moved with the letters beside a quote mark.
      {"\x84pAkete\x93", "\x84Pakete\x93", "\x84pAkete\x93"},
      {"\x84PKAETE\x93 \xABpkaete\xBB", "\x84PAKETE\x93 \xABpakete\xBB", "\x84PKAETE\x93 \xABpkaete\xBB"},
      // Brackets separate words anyway; a bar does not.
      {"(Huas) (HUAS)", "(Haus) (HAUS)", "(Haus) (HAUS)"},
      {"|rgep |grep", "|grep |grep", "|rgep |grep"},
      {"__Gtrean__", "__Garten__", "__Gtrean__"},
      // The corpus's spelling where the capitals fit it, the shape elsewhere.
      {"TyrTeupe TRUETPYE tuertype", "TrueType TRUETYPE truetype", "TruEtype TRUETYPE truetype"},
      {"GPunG Gnpug", "GnuPG Gnupg", "GNupG Gnupg"},
      // Two capitals of two lexicon words joined.
      {"MLaniigilsts", "MailingLists", "MAilinglists"},
      // The table keeps UNCOOPTENS; UPPERCROSS is found by its letters, and
      // neither is taken for the other.
      {"Urcpepross Unoopctens", "Uppercross Uncooptens", "Urcpepross Uncooptens"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scrambled);
    EXPECT_EQ(translated(corpus, c.scrambled, true), c.reader);
    EXPECT_EQ(translated(corpus, c.scrambled, false), c.classic);
  }
}

TEST(ReaderWords, CapitalsByShape) {
  const std::vector<Spelling> spellings = {{"LaTeX", 3}, {"LATeX", 1}};
  const struct {
    std::string candidate, scrambled;
    bool first_stays, last_stays;
    std::string expected;
  } cases[] = {
      {"LATEX", "LTaeX", true, true, "LaTeX"},
      {"LATEX", "LTAeX", true, true, "LATeX"},
      {"LATEX", "Ltaex", true, true, "Latex"},
      // One capital goes to the first letter where the first letter may move.
      {"PAKETE", "aPkete", false, true, "Pakete"},
      {"PAKETE", "pAkete", true, true, "pAkete"},  // the first stays small
      {"PAKETE", "pakeTe", false, false, "Pakete"},
      {"PAKETE", "pakteE", false, true, "paketE"},  // the last stays a capital
      {"HAUS", "HUAS", true, true, "HAUS"},
      // Other mixtures keep their capitals where they are.
      {"HAUSTIER", "HAsuiTer", true, true, "HAustIer"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scrambled);
    EXPECT_EQ(capitals_by_shape(c.candidate, c.scrambled, c.first_stays, c.last_stays,
                                c.candidate == "LATEX" ? std::span<const Spelling>(spellings)
                                                       : std::span<const Spelling>()),
              c.expected);
  }
}

}  // namespace
}  // namespace quirlex
