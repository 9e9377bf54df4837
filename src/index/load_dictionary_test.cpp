// Load Dictionary as a core command: what it fills for each outcome of Deep
// Search (not asked, built, refused, stopped, out of memory), with the
// lexicon table always usable afterwards.
#include "index/load_dictionary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/failure.h"
#include "testing/token_lists.h"

namespace quirlex {
namespace {

using testing::texts_of;

std::string repeated(std::string_view line, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += line;
  return text;
}

// Refused combinations: 1024 x 1024 x 2048 = 2^31 members, one more than a
// signed 32-bit count; and 32768 prefixes (16 bits) with 16384 suffixes (15
// bits), which leave one bit for the word: two words do not fit, though the
// 1,073,840,130 members would.
TEST(LoadDictionary, FillsTheTablesForEachOutcomeOfDeepSearch) {
  using enum DeepSearchOutcome;
  const struct {
    bool deep;
    std::string lexicon, suffixes, prefixes;
    DeepSearchOutcome outcome;
    std::int32_t entries, variants;
    std::vector<std::string> suffix_list;
  } cases[] = {
      // Without Deep Search the affix texts are not even split.
      {false, "KIND\n", "EN", "UN", kNotAsked, 1, 0, {}},
      // The word alone, with each prefix, each suffix and each pair: 3 x 4.
      {true, "KIND\n", "EN ER\r\nUNG", "UN\nVER\n", kBuilt, 1, 12, {"EN", "ER", "UNG"}},
      // Without affixes the deep word list is the lexicon itself; HAUS, dER
      // and cT decode to HAUS, HAUSER, HAUT; WEIN and WIEN share an entry.
      {true, "HAUS\ndER\ncT\nWEIN\nWIEN\n", "", "", kBuilt, 4, 4, {}},
      {true, repeated("HAUS\n", 2048), repeated("A\n", 1023), repeated("A\n", 1023),
       kTooManyMembers, 1, 0, std::vector<std::string>(1023, "A")},
      {true, "HAUS\nKIND\n", repeated("A\n", 16384), repeated("A\n", 32768), kWordsDoNotFit, 2, 0,
       std::vector<std::string>(16384, "A")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lexicon.substr(0, 20));
    Dictionary d;
    d.variant_table.value_for(1.0) = 7;  // from an earlier load: must go
    std::vector<LoadStage> stages;
    const DictionaryReport report =
        load_dictionary(d, {c.lexicon, c.deep, c.suffixes, c.prefixes},
                        [&](LoadStage stage, int) { stages.push_back(stage); });
    EXPECT_EQ(report.deep_search, c.outcome);
    EXPECT_EQ(report.entries, c.entries);
    EXPECT_EQ(report.entries, d.lexicon_table.entry_count());
    EXPECT_EQ(report.words, d.words.size());
    EXPECT_EQ(report.suffixes, d.suffixes.size());
    EXPECT_EQ(report.prefixes, d.prefixes.size());
    EXPECT_EQ(report.word_bits, d.layout.word_bits);
    EXPECT_EQ(texts_of(d.suffixes), c.suffix_list);
    EXPECT_EQ(d.variant_table.entry_count(), c.variants);
    ASSERT_FALSE(stages.empty());
    EXPECT_EQ(stages.front(), LoadStage::kCreatingTables);
    EXPECT_EQ(stages.size() > 1, c.outcome == kBuilt);
    // The lexicon table works whatever became of Deep Search.
    const WordToken& first = d.words.element(0);
    ASSERT_NE(d.lexicon_table.find(first.signature), nullptr);
  }
}

// 32767 prefixes and suffixes (15 bits each) with one word: 2^30 members
// are allowed, but their 1.2 x 2^30 buckets are more than a table may have.
TEST(LoadDictionary, TooLargeAVariantTableIsOutOfMemoryAndKeepsTheLexiconTable) {
  const std::string affixes = repeated("A\n", 32767);
  Dictionary d;
  EXPECT_THROW(load_dictionary(d, {"HELLO\n", true, affixes, affixes}, [](LoadStage, int) {}),
               OutOfMemory);
  EXPECT_EQ(d.lexicon_table.entry_count(), 1);
  EXPECT_EQ(d.prefixes.size(), 32767);
  EXPECT_EQ(d.suffixes.size(), 32767);
  EXPECT_EQ(d.variant_table.entry_count(), 0);
}

}  // namespace
}  // namespace quirlex
