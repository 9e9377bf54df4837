// The bigram file: a model reads back as written, and every unusable file,
// bytes or file on disk, is refused with its own message naming the file.
#include "lexicon/bigram_file.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/temp_dir.h"

namespace quirlex {
namespace {

// Two short words (indices 5 and 6 after the five lexicon words) and pairs
// naming both kinds.
BigramModel example_model() {
  return BigramModel(0x0123456789ABCDEFULL, 5, ShortWords::kCounted,
                     {{5, 1, 7}, {0, 1, 3}, {1, 6, 2}, {4, 4, 9}}, {"AND", "SA"}, 3);
}

TEST(BigramFile, UnusableFilesAreRefusedWithTheirOwnMessage) {
  const BigramModel model = example_model();
  const std::string good = bigram_file_bytes(model);
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
      {"header cut", good.substr(0, kBigramHeaderSize - 1), hash, words, "truncated"},
      {"last record cut", good.substr(0, good.size() - 1), hash, words, "truncated"},
      {"a byte too many", good + '\0', hash, words, "damaged"},
      {"a text file", "APFEL\nBIRNE\n", hash, words, "not a bigram file"},
      {"another version", flipped(kBigramMagic.size() - 2), hash, words, "not a bigram file"},
      {"another lexicon", good, hash + 1, words, "another lexicon"},
      {"a lexicon of another size", good, hash, words + 1, "another lexicon"},
      {"a count changed", flipped(good.size() - 4), hash, words, "damaged"},
      {"a short word changed", flipped(kBigramHeaderSize), hash, words, "damaged"},
      {"unknown flags", flipped(kBigramMagic.size() + 12 + 1), hash, words, "damaged"},
      // Sound checksums over short words no writer of ours makes.
      {"a short word in small letters",
       bigram_file_bytes(BigramModel(hash, words, ShortWords::kCounted, {}, {"ab"})), hash, words,
       "damaged"},
      {"a short word with a byte after its end",
       bigram_file_bytes(BigramModel(hash, words, ShortWords::kCounted, {}, {std::string("A\0B", 3)})),
       hash, words, "damaged"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (*c.problem == '\0') {
      const BigramModel read = parse_bigram_file(c.bytes, c.hash, c.words, "m.bigrams");
      EXPECT_EQ(bigram_file_bytes(read), good);
      EXPECT_EQ(read.min_count(), 3u);
      EXPECT_EQ(read.count(5, 1), 7u);
      EXPECT_EQ(read.short_word_index("SA"), 6);
      continue;
    }
    try {
      parse_bigram_file(c.bytes, c.hash, c.words, "m.bigrams");
      ADD_FAILURE() << "accepted";
    } catch (const BigramFileError& error) {
      EXPECT_EQ(error.message().rfind("m.bigrams: ", 0), 0u) << error.message();
      EXPECT_NE(error.message().find(c.problem), std::string::npos) << error.message();
    }
  }
}

// Written and read through the files of a folder: what was written comes
// back; a missing file, a folder and a damaged file each say what they are.
TEST(BigramFile, FilesReadBackAsWrittenAndUnreadableOnesSayWhy) {
  const testing::TempDir dir;
  const BigramModel model = example_model();
  const std::string path = bigram_path(dir.file("lexicon.dic"));
  EXPECT_EQ(path, dir.file("lexicon.dic.bigrams"));
  testing::put_file(path, "an earlier, longer file that the model replaces whole");
  write_bigram_file(path, model);
  EXPECT_EQ(testing::get_file(path), bigram_file_bytes(model));
  const BigramModel read = read_bigram_file(path, model.lexicon_hash_value(), model.word_count());
  EXPECT_EQ(bigram_file_bytes(read), bigram_file_bytes(model));

  testing::put_file(dir.file("cut.bigrams"), bigram_file_bytes(model).substr(0, 40));
  const struct {
    std::string path;
    std::string message;
  } cases[] = {
      {dir.file("missing.bigrams"),
       dir.file("missing.bigrams") + ": cannot open the bigram file (No such file or directory)"},
      {dir.path(), dir.path() + ": cannot read the bigram file (Is a directory)"},
      {dir.file("cut.bigrams"), dir.file("cut.bigrams") + ": the bigram file is truncated"},
  };
  for (const auto& c : cases) {
    try {
      read_bigram_file(c.path, model.lexicon_hash_value(), model.word_count());
      ADD_FAILURE() << c.path << " accepted";
    } catch (const BigramFileError& error) {
      EXPECT_EQ(error.message(), c.message);
    }
  }
}

}  // namespace
}  // namespace quirlex
