// Create Dictionary as a core command: the lexicon entries of each order,
// the same for every piece size the corpus is streamed in, several corpora,
// the stages it reports and the share of the corpus read, an unreadable
// corpus, and a stop at every stage.
#include "lexicon/create_dictionary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/failure.h"
#include "lexicon/bigram_file.h"
#include "lexicon/letter_model_file.h"
#include "testing/temp_dir.h"
#include "testing/token_lists.h"

namespace quirlex {
namespace {

using testing::texts_of;
using Words = std::vector<std::string>;

// Windows-1252. Words of four bytes or more, upper-cased, once: HAUSTUER,
// HAUS, TIER, HAUSBOOT, HALM, BAEUME, ^ZITAT^ (quotes), UND@ODER (slash),
// ABCD, WO|RT. Dropped: HOF, AB, ABC (too short) and {KLAMMER}, whose first
// byte would read back as a front-coding marker. In frequency order a word's
// bytes that are no letters at its ends are no part of it: ZITAT and
// KLAMMER.
constexpr const char* kCorpus =
    "Haust\xFCr Haus-Tier haus HAUS Hausboot; Halm Hof. B\xE4ume \"Zitat\" und/oder Ab ABC "
    "abcd {Klammer} Wo|rt\r\n";

const Progress<LexiconStage> kQuiet = [](LexiconStage, int) {};

TEST(BuildLexicon, EntriesOfEachOrderAndTheStagesOnTheWay) {
  const testing::TempDir dir;
  const std::string corpus = dir.file("corpus.txt");
  testing::put_file(corpus, kCorpus);
  const struct {
    LexiconOrder order;
    Words entries;
  } cases[] = {
      // Sorted by bytes, front-coded: HAUS shares HA with HALM (b), HAUSBOOT
      // and HAUSTUER share HAUS with the word before them (d).
      {LexiconOrder::kSorted,
       {"ABCD", "BAEUME", "HALM", "bUS", "dBOOT", "dTUER", "TIER", "UND@ODER", "WO|RT", "^ZITAT^"}},
      // HAUS is the beginning of HAUSTUER (a marker alone), HALM shares HA
      // with HAUSBOOT.
      {LexiconOrder::kText,
       {"HAUSTUER", "d", "TIER", "HAUSBOOT", "bLM", "BAEUME", "^ZITAT^", "UND@ODER", "ABCD",
        "WO|RT"}},
      // HAUS comes three times, every other word once: it is stored last,
      // the others in byte order before it.
      {LexiconOrder::kFrequency,
       {"ABCD", "BAEUME", "HALM", "bUSBOOT", "dTUER", "KLAMMER", "TIER", "UND@ODER", "WO|RT",
        "ZITAT", "HAUS"}},
  };
  for (const auto& c : cases) {
    std::vector<LexiconStage> stages;
    const LexiconBuild build =
        build_lexicon({{.path = corpus}}, {.order = c.order}, [&](LexiconStage stage, int percentage) {
          if (percentage == -1) stages.push_back(stage);
        });
    ASSERT_FALSE(build.unreadable);
    EXPECT_EQ(texts_of(build.entries), c.entries);
    EXPECT_FALSE(build.bigrams.has_value());
    EXPECT_EQ(stages, (std::vector<LexiconStage>{
                          LexiconStage::kReadingCorpus, LexiconStage::kFiltering,
                          LexiconStage::kSorting, LexiconStage::kRemovingRepeats,
                          LexiconStage::kCompressing}));
  }
}

// The stages that read the corpus tell the share of its bytes read as it
// grows, up to 99; the others only begin.
TEST(BuildLexicon, ReadingStagesTellTheShareOfTheCorpusRead) {
  const testing::TempDir dir;
  const std::string corpus = dir.file("corpus.txt");
  std::string text;
  while (text.size() < 2000) text += kCorpus;
  testing::put_file(corpus, text);
  std::vector<std::pair<LexiconStage, std::vector<int>>> told;
  const LexiconBuild build = build_lexicon(
      {{.path = corpus}}, {.order = LexiconOrder::kFrequency, .bigrams = true, .piece_size = 100},
      [&](LexiconStage stage, int percentage) {
        if (percentage == -1) told.push_back({stage, {}});
        ASSERT_FALSE(told.empty());
        ASSERT_EQ(told.back().first, stage);
        if (percentage != -1) told.back().second.push_back(percentage);
      });
  ASSERT_TRUE(build.bigrams.has_value());
  ASSERT_EQ(told.size(), 6u);
  EXPECT_EQ(told[5].first, LexiconStage::kCountingBigrams);
  for (const auto& [stage, shares] : told) {
    SCOPED_TRACE(static_cast<int>(stage));
    if (stage != LexiconStage::kReadingCorpus && stage != LexiconStage::kCountingBigrams) {
      EXPECT_TRUE(shares.empty());
      continue;
    }
    // Twenty-odd pieces of a hundred bytes, each a few percent more.
    ASSERT_GE(shares.size(), 15u);
    EXPECT_LE(shares.front(), 6);
    EXPECT_EQ(shares.back(), 99);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end(), std::less_equal<int>()));
  }
}

// Pieces of a few bytes end inside words and inside umlauts (one byte in
// Windows-1252, two in UTF-8, spelled out as two letters); a NUL byte in a
// later piece ends the text. In frequency order the bigram and the letter
// model, spellings of words with capitals inside too, come out alike.
TEST(BuildLexicon, EveryPieceSizeGivesTheEntriesOfOnePiece) {
  using namespace std::string_literals;
  const testing::TempDir dir;
  const struct {
    std::string bytes;
    Words sorted;
  } corpora[] = {
      {kCorpus,
       {"ABCD", "BAEUME", "HALM", "bUS", "dBOOT", "dTUER", "TIER", "UND@ODER", "WO|RT", "^ZITAT^"}},
      {"Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln, sch\xC3\xB6ne Gr\xC3\xBC\xC3\x9F" "e\0Nachwort"s,
       {"GRUESSE", "KOELN", "SCHOENE"}},
      {"\x84TrueType\x93 trueType TrueType (GnuPG) _GnuPG_ \"Zitat\" there three"s,
       {"GNUPG", "THERE", "bREE", "TRUETYPE", "^ZITAT^", "_GNUPG_", "\x84TRUETYPE\x93"}},
  };
  for (const auto& corpus : corpora) {
    const std::string path = dir.file("corpus.txt");
    testing::put_file(path, corpus.bytes);
    for (const LexiconOrder order :
         {LexiconOrder::kSorted, LexiconOrder::kText, LexiconOrder::kFrequency}) {
      const LexiconBuild whole = build_lexicon({{.path = path}}, {.order = order}, kQuiet);
      ASSERT_FALSE(whole.unreadable);
      if (order == LexiconOrder::kSorted) {
        EXPECT_EQ(texts_of(whole.entries), corpus.sorted);
      }
      const bool models = order == LexiconOrder::kFrequency;
      const LexiconBuild whole_models =
          build_lexicon({{.path = path}},
                        {.order = order, .bigrams = models, .letters = models, .piece_size = SIZE_MAX},
                        kQuiet);
      if (models) {
        ASSERT_TRUE(whole_models.bigrams && whole_models.letters);
        EXPECT_EQ(whole_models.letters->word_count(),
                  static_cast<std::uint32_t>(whole.entries.size()));
      }
      for (std::size_t piece_size = 1; piece_size <= 9; ++piece_size) {
        SCOPED_TRACE(corpus.bytes + ", pieces of " + std::to_string(piece_size));
        const LexiconBuild streamed = build_lexicon(
            {{.path = path}},
            {.order = order, .bigrams = models, .letters = models, .piece_size = piece_size},
            kQuiet);
        ASSERT_FALSE(streamed.unreadable);
        EXPECT_EQ(streamed.entries, whole.entries);
        if (!models) continue;
        EXPECT_TRUE(std::ranges::equal(streamed.bigrams->pairs(), whole_models.bigrams->pairs()));
        EXPECT_TRUE(std::ranges::equal(streamed.letters->grams(), whole_models.letters->grams()));
        EXPECT_TRUE(
            std::ranges::equal(streamed.letters->spellings(), whole_models.letters->spellings()));
      }
    }
  }
}

// Several corpora are one text to the lexicon, but a word never runs from
// the end of one into the next; the bigram model reads them all again.
TEST(BuildLexicon, CorporaAreReadInTurnWithoutJoiningWords) {
  const testing::TempDir dir;
  testing::put_file(dir.file("a.txt"), "Haus Bo");
  testing::put_file(dir.file("b.txt"), "ot Boot Haus Baum");
  const std::vector<LexiconSource> both = {{.path = dir.file("a.txt")}, {.path = dir.file("b.txt")}};
  const LexiconBuild text = build_lexicon(both, {.order = LexiconOrder::kText}, kQuiet);
  EXPECT_EQ(texts_of(text.entries), (Words{"HAUS", "BOOT", "BAUM"}));
  testing::put_file(dir.file("joined.txt"), "Haus Bo\not Boot Haus Baum");
  const LexiconBuild joined = build_lexicon({{.path = dir.file("joined.txt")}},
                                            {.order = LexiconOrder::kFrequency, .bigrams = true},
                                            kQuiet);
  const LexiconBuild ranked =
      build_lexicon(both, {.order = LexiconOrder::kFrequency, .bigrams = true}, kQuiet);
  EXPECT_EQ(ranked.entries, joined.entries);
  ASSERT_TRUE(ranked.bigrams && joined.bigrams);
  EXPECT_EQ(bigram_file_bytes(*ranked.bigrams), bigram_file_bytes(*joined.bigrams));
}

// A count file of a corpus gives the letter model of the corpus too, with
// the spellings of words with capitals inside.
TEST(BuildLexicon, CountFileGivesTheLettersOfItsCorpus) {
  const testing::TempDir dir;
  testing::put_file(dir.file("corpus.txt"), "GnuPG TrueType GnuPG (GnuPG) gnupg Haus\n");
  testing::put_file(dir.file("counts.txt"), "GnuPG\t2\nTrueType\t1\n(GnuPG)\t1\ngnupg\t1\nHaus\t1\n");
  const LexiconBuildOptions options{
      .order = LexiconOrder::kFrequency, .letters = true};
  const LexiconBuild corpus = build_lexicon({{.path = dir.file("corpus.txt")}}, options, kQuiet);
  const LexiconBuild counted = build_lexicon(
      {{.kind = LexiconSource::Kind::kCounts, .path = dir.file("counts.txt")}}, options, kQuiet);
  ASSERT_TRUE(corpus.letters && counted.letters);
  EXPECT_EQ(counted.entries, corpus.entries);
  EXPECT_FALSE(corpus.letters->spellings().empty());
  EXPECT_EQ(letter_model_file_bytes(*counted.letters), letter_model_file_bytes(*corpus.letters));
}

TEST(BuildLexicon, UnreadableCorpusGivesNothingAndOneWithoutWordsNoEntries) {
  const testing::TempDir dir;
  for (const char* words : {"", "a an the, 1234 {Klammer} ...\r\n"}) {
    testing::put_file(dir.file("corpus.txt"), words);
    const LexiconBuild build = build_lexicon({{.path = dir.file("corpus.txt")}}, {}, kQuiet);
    ASSERT_FALSE(build.unreadable) << words;
    EXPECT_TRUE(build.entries.is_empty()) << words;
  }
  // The first source that cannot be read is named, wherever it stands.
  for (const std::string& name : {dir.file("missing.txt"), dir.path()}) {
    std::vector<LexiconStage> stages;
    const LexiconBuild build =
        build_lexicon({{.path = dir.file("corpus.txt")}, {.path = name}}, {},
                      [&](LexiconStage stage, int) { stages.push_back(stage); });
    EXPECT_EQ(build.unreadable, name);
    EXPECT_TRUE(build.entries.is_empty());
    EXPECT_EQ(stages, std::vector<LexiconStage>{LexiconStage::kReadingCorpus}) << name;
  }
}

TEST(BuildLexicon, StopRequestEndsItBeforeTheNextStage) {
  const testing::TempDir dir;
  const std::string corpus = dir.file("corpus.txt");
  testing::put_file(corpus, kCorpus);
  for (const LexiconStage last :
       {LexiconStage::kReadingCorpus, LexiconStage::kSorting, LexiconStage::kCompressing}) {
    std::stop_source stop;
    std::vector<LexiconStage> stages;
    const auto build = [&] {
      return build_lexicon(
          {{.path = corpus}}, {},
          [&](LexiconStage stage, int) {
            stages.push_back(stage);
            if (stage == last) stop.request_stop();
          },
          stop.get_token());
    };
    if (last == LexiconStage::kCompressing) {
      // Past the last stage nothing is left to stop.
      EXPECT_FALSE(build().unreadable);
    } else {
      EXPECT_THROW(build(), Stopped);
    }
    EXPECT_EQ(stages.back(), last);
  }
}

}  // namespace
}  // namespace quirlex
