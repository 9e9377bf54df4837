// The bigram model: which pairs it counts under each rule for short words,
// that its file reads back as written and belongs to the lexicon as read
// back from the lexicon file, and that every unusable file is refused with
// its own message.
#include "lexicon/bigram_model.h"

#include <gtest/gtest.h>

#include <string>

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
      ShortWords::kSkipped, BigramModel::kHeaderSize + BigramModel::kRecordSize + 4);
  ASSERT_EQ(one.pairs().size(), 1u);
  EXPECT_EQ(one.pairs()[0].count, 4u);
  EXPECT_GT(one.min_count(), 2u);
  EXPECT_LE(one.file_size(), BigramModel::kHeaderSize + BigramModel::kRecordSize + 4);
}

TEST(BigramModel, FileOfBuildLexiconBelongsToTheLexiconFileReadBack) {
  const testing::TempDir dir;
  testing::put_file(dir.file("corpus.txt"), kCorpus);
  BigramModel model;
  const auto entries =
      build_lexicon(dir.file("corpus.txt"), LexiconOrder::kFrequency, [](Stage, int) {}, {},
                    ReadEncoding::kAuto, &model);
  ASSERT_TRUE(entries.has_value());
  std::string lexicon_file;
  put_tokens(*entries, "\n", [&](std::string_view bytes) { lexicon_file += bytes; });
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
  EXPECT_GE(std::string(lexicon_file).size() * kMaxBigramSizeRatio, model.file_size());
  // Both readings of the corpus in pieces that cut words: the same model.
  for (const std::size_t piece_size : {1, 2, 3, 7}) {
    SCOPED_TRACE("pieces of " + std::to_string(piece_size));
    BigramModel streamed;
    const auto streamed_entries =
        build_lexicon(dir.file("corpus.txt"), LexiconOrder::kFrequency, [](Stage, int) {}, {},
                      ReadEncoding::kAuto, &streamed, piece_size);
    ASSERT_TRUE(streamed_entries.has_value());
    EXPECT_EQ(*streamed_entries, *entries);
    EXPECT_EQ(streamed.serialize(), model.serialize());
  }
}

TEST(BigramModel, UnusableFilesAreRefusedWithTheirOwnMessage) {
  const BigramModel model = Collected().count(ShortWords::kCounted, 1 << 20);
  ASSERT_FALSE(model.short_words().empty());
  const std::string good = model.serialize();
  const std::uint64_t hash = model.lexicon_hash_value();
  const std::uint32_t words = model.word_count();
  const auto flipped = [&](std::size_t at) {
    std::string bytes = good;
    bytes[at] = static_cast<char>(bytes[at] ^ 0x01);
    return bytes;
  };
  const struct {
    const char* name;
    std::string bytes;
    std::uint64_t hash;
    std::uint32_t words;
    const char* problem;  // empty: read as written
  } cases[] = {
      {"good", good, hash, words, ""},
      {"empty", "", hash, words, "truncated"},
      {"part of the magic line", good.substr(0, 5), hash, words, "truncated"},
      {"header cut", good.substr(0, BigramModel::kHeaderSize - 1), hash, words, "truncated"},
      {"last record cut", good.substr(0, good.size() - 1), hash, words, "truncated"},
      {"a byte too many", good + '\0', hash, words, "damaged"},
      {"a text file", "APFEL\nBIRNE\n", hash, words, "not a bigram file"},
      {"another version", flipped(BigramModel::kMagic.size() - 2), hash, words,
       "not a bigram file"},
      {"another lexicon", good, hash + 1, words, "another lexicon"},
      {"a lexicon of another size", good, hash, words + 1, "another lexicon"},
      {"a count changed", flipped(good.size() - 4), hash, words, "damaged"},
      {"a short word changed", flipped(BigramModel::kHeaderSize), hash, words, "damaged"},
      {"unknown flags", flipped(BigramModel::kMagic.size() + 12 + 1), hash, words, "damaged"},
      // Sound checksums over short words no writer of ours makes.
      {"a short word in small letters",
       BigramModel(hash, words, ShortWords::kCounted, {}, {"ab"}).serialize(), hash, words,
       "damaged"},
      {"a short word with a byte after its end",
       BigramModel(hash, words, ShortWords::kCounted, {}, {std::string("A\0B", 3)}).serialize(),
       hash, words, "damaged"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (*c.problem == '\0') {
      const BigramModel read = BigramModel::parse(c.bytes, c.hash, c.words, "m.bigrams");
      EXPECT_EQ(read.serialize(), good);
      continue;
    }
    try {
      BigramModel::parse(c.bytes, c.hash, c.words, "m.bigrams");
      ADD_FAILURE() << "accepted";
    } catch (const BigramFileError& error) {
      EXPECT_EQ(error.message().rfind("m.bigrams: ", 0), 0u) << error.message();
      EXPECT_NE(error.message().find(c.problem), std::string::npos) << error.message();
    }
  }
  const testing::TempDir dir;
  try {
    read_bigram_file(dir.file("missing.bigrams"), hash, words);
    ADD_FAILURE() << "a missing file accepted";
  } catch (const BigramFileError& error) {
    EXPECT_NE(error.message().find(dir.file("missing.bigrams")), std::string::npos);
  }
}

}  // namespace
}  // namespace quirlex
