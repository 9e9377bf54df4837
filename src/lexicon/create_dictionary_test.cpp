// Create Dictionary as a core command: the lexicon entries of each order,
// the same for every piece size the corpus is streamed in, the stages it
// reports, an unreadable corpus, and a stop at every stage.
#include "lexicon/create_dictionary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/failure.h"
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
    std::vector<Stage> stages;
    const auto entries =
        build_lexicon(corpus, c.order, [&](Stage stage, int percentage) {
          EXPECT_EQ(percentage, -1);
          stages.push_back(stage);
        });
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(texts_of(*entries), c.entries);
    EXPECT_EQ(stages, (std::vector<Stage>{Stage::kReadingCorpus, Stage::kFiltering,
                                          Stage::kSorting, Stage::kRemovingRepeats,
                                          Stage::kCompressing}));
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
      const auto whole = build_lexicon(path, order, [](Stage, int) {});
      ASSERT_TRUE(whole.has_value());
      if (order == LexiconOrder::kSorted) {
        EXPECT_EQ(texts_of(*whole), corpus.sorted);
      }
      const bool models = order == LexiconOrder::kFrequency;
      BigramModel whole_bigrams;
      LetterModel whole_letters;
      if (models) {
        ASSERT_TRUE(build_lexicon(path, order, [](Stage, int) {}, {}, ReadEncoding::kAuto,
                                  &whole_bigrams, SIZE_MAX, &whole_letters));
        EXPECT_EQ(whole_letters.word_count(), static_cast<std::uint32_t>(whole->size()));
      }
      for (std::size_t piece_size = 1; piece_size <= 9; ++piece_size) {
        SCOPED_TRACE(corpus.bytes + ", pieces of " + std::to_string(piece_size));
        BigramModel bigrams;
        LetterModel letters;
        const auto streamed =
            build_lexicon(path, order, [](Stage, int) {}, {}, ReadEncoding::kAuto,
                          models ? &bigrams : nullptr, piece_size, models ? &letters : nullptr);
        ASSERT_TRUE(streamed.has_value());
        EXPECT_EQ(*streamed, *whole);
        if (!models) continue;
        EXPECT_TRUE(std::ranges::equal(bigrams.pairs(), whole_bigrams.pairs()));
        EXPECT_TRUE(std::ranges::equal(letters.grams(), whole_letters.grams()));
        EXPECT_TRUE(std::ranges::equal(letters.spellings(), whole_letters.spellings()));
      }
    }
  }
}

TEST(BuildLexicon, UnreadableCorpusGivesNothingAndOneWithoutWordsNoEntries) {
  const testing::TempDir dir;
  for (const char* words : {"", "a an the, 1234 {Klammer} ...\r\n"}) {
    testing::put_file(dir.file("corpus.txt"), words);
    const auto entries =
        build_lexicon(dir.file("corpus.txt"), LexiconOrder::kSorted, [](Stage, int) {});
    ASSERT_TRUE(entries.has_value()) << words;
    EXPECT_TRUE(entries->is_empty()) << words;
  }
  for (const std::string& name : {dir.file("missing.txt"), dir.path()}) {
    std::vector<Stage> stages;
    EXPECT_FALSE(build_lexicon(name, LexiconOrder::kSorted,
                               [&](Stage stage, int) { stages.push_back(stage); }));
    EXPECT_EQ(stages, std::vector<Stage>{Stage::kReadingCorpus}) << name;
  }
}

TEST(BuildLexicon, StopRequestEndsItBeforeTheNextStage) {
  const testing::TempDir dir;
  const std::string corpus = dir.file("corpus.txt");
  testing::put_file(corpus, kCorpus);
  for (const Stage last : {Stage::kReadingCorpus, Stage::kSorting, Stage::kCompressing}) {
    std::stop_source stop;
    std::vector<Stage> stages;
    const auto build = [&] {
      return build_lexicon(
          corpus, LexiconOrder::kSorted,
          [&](Stage stage, int) {
            stages.push_back(stage);
            if (stage == last) stop.request_stop();
          },
          stop.get_token());
    };
    if (last == Stage::kCompressing) {
      // Past the last stage nothing is left to stop.
      EXPECT_TRUE(build().has_value());
    } else {
      EXPECT_THROW(build(), Stopped);
    }
    EXPECT_EQ(stages.back(), last);
  }
}

}  // namespace
}  // namespace quirlex
