// The bigram model: which pairs it counts under each rule for short words,
// and that its file reads back as written and belongs to the lexicon as read
// back from the lexicon file.
#include "lexicon/bigram_model.h"

#include <gtest/gtest.h>

#include <string>

#include "lexicon/bigram_file.h"
#include "lexicon/create_dictionary.h"
#include "lexicon/lexicon_builder.h"
#include "lexicon/lexicon_codec.h"
#include "testing/temp_dir.h"
#include "text/token_writer.h"

namespace quirlex {
namespace {

// THREE and THERE are a tie; CATS, WERE and DOGS are not. Twice, so that
// every pair of one copy is kept (a pair seen once is dropped).
constexpr const char* kCorpus =
    "Three cats sat. There were three dogs and three cats. Dogs were there.\n"
    "Three cats sat. There were three dogs and three cats. Dogs were there.\n";

// The builder of kCorpus, in frequency order.
struct Collected {
  Collected() {
    std::string text = kCorpus;
    builder.add_text(text);
    builder.finish();
    builder.put_in_order(LexiconOrder::kFrequency);
  }
  BigramModel count(ShortWords rule, std::uint64_t max_file_bytes) const {
    return BigramModel::count(builder, pieces_of(kCorpus, SIZE_MAX), rule, max_file_bytes);
  }
  LexiconBuilder builder;
};

// The model's index of `word`: a lexicon word's, or a counted short word's.
std::int64_t index_of(const LexiconBuilder& builder, const BigramModel& model,
                      const std::string& word) {
  for (std::size_t i = 0; i < builder.word_count(); ++i) {
    if (builder.word(i) == word) return static_cast<std::int64_t>(i);
  }
  return model.short_word_index(word);
}

TEST(BigramModel, CountsThePairsOfTiesByTheRuleForShortWords) {
  const Collected collected;
  const LexiconBuilder& builder = collected.builder;
  const struct {
    ShortWords rule;
    std::string first, second;
    std::uint32_t count;
  } cases[] = {
      {ShortWords::kSkipped, "THREE", "CATS", 4},
      {ShortWords::kSkipped, "CATS", "THERE", 2},  // across "sat"
      {ShortWords::kSkipped, "DOGS", "THREE", 2},  // across "and"
      {ShortWords::kSkipped, "CATS", "DOGS", 0},   // neither is a tie
      {ShortWords::kSkipped, "THERE", "THREE", 0},  // between the copies: once
      {ShortWords::kBreakPairs, "THREE", "CATS", 4},
      {ShortWords::kBreakPairs, "CATS", "THERE", 0},
      {ShortWords::kBreakPairs, "DOGS", "THREE", 0},
      {ShortWords::kCounted, "AND", "THREE", 2},
      {ShortWords::kCounted, "SAT", "THERE", 2},
      {ShortWords::kCounted, "DOGS", "AND", 0},  // neither is a tie
      {ShortWords::kCounted, "DOGS", "THREE", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first + " " + c.second + " rule " + std::to_string(static_cast<int>(c.rule)));
    const BigramModel model = collected.count(c.rule, 1 << 20);
    const std::int64_t first = index_of(builder, model, c.first);
    const std::int64_t second = index_of(builder, model, c.second);
    if (c.count == 0 && (first < 0 || second < 0)) continue;  // a short word not kept
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    EXPECT_EQ(model.count(static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(second)),
              c.count);
    EXPECT_EQ(model.rule(), c.rule);
  }
}

TEST(BigramModel, KeepsTheMostFrequentPairsThatFitItsBudget) {
  const Collected collected;
  const BigramModel all = collected.count(ShortWords::kSkipped, 1 << 20);
  ASSERT_GT(all.pairs().size(), 1u);
  // Room for one record: only the pair of count 4 is kept.
  const BigramModel one = collected.count(
      ShortWords::kSkipped, kBigramHeaderSize + kBigramRecordSize + 4);
  ASSERT_EQ(one.pairs().size(), 1u);
  EXPECT_EQ(one.pairs()[0].count, 4u);
  EXPECT_GT(one.min_count(), 2u);
  EXPECT_LE(bigram_file_size(one), kBigramHeaderSize + kBigramRecordSize + 4);
}

TEST(BigramModel, FileOfBuildLexiconBelongsToTheLexiconFileReadBack) {
  const testing::TempDir dir;
  testing::put_file(dir.file("corpus.txt"), kCorpus);
  const LexiconBuild build =
      build_lexicon({{.path = dir.file("corpus.txt")}},
                    {.order = LexiconOrder::kFrequency, .bigrams = true}, [](LexiconStage, int) {});
  ASSERT_FALSE(build.unreadable);
  ASSERT_TRUE(build.bigrams.has_value());
  const BigramModel& model = *build.bigrams;
  std::string lexicon_file;
  put_tokens(build.entries, "\n", [&](std::string_view bytes) { lexicon_file += bytes; });
  TokenList words;
  read_lexicon_words(lexicon_file, words);
  write_bigram_file(dir.file("lexicon.bigrams"), model);
  const BigramModel read = read_bigram_file(dir.file("lexicon.bigrams"), lexicon_hash(words),
                                            static_cast<std::uint32_t>(words.size()));
  EXPECT_FALSE(read.pairs().empty());
  EXPECT_TRUE(std::equal(read.pairs().begin(), read.pairs().end(), model.pairs().begin(),
                         model.pairs().end()));
  EXPECT_TRUE(std::equal(read.short_words().begin(), read.short_words().end(),
                         model.short_words().begin(), model.short_words().end()));
  EXPECT_EQ(read.rule(), kBigramShortWords);
  EXPECT_GE(std::string(lexicon_file).size() * kMaxBigramSizeRatio, bigram_file_size(model));
  // Both readings of the corpus in pieces that cut words: the same model.
  for (const std::size_t piece_size : {1, 2, 3, 7}) {
    SCOPED_TRACE("pieces of " + std::to_string(piece_size));
    const LexiconBuild streamed = build_lexicon(
        {{.path = dir.file("corpus.txt")}},
        {.order = LexiconOrder::kFrequency, .bigrams = true, .piece_size = piece_size},
        [](LexiconStage, int) {});
    ASSERT_TRUE(streamed.bigrams.has_value());
    EXPECT_EQ(streamed.entries, build.entries);
    EXPECT_EQ(bigram_file_bytes(*streamed.bigrams), bigram_file_bytes(model));
  }
}

}  // namespace
}  // namespace quirlex
