// The files of a lexicon as every front end reads and writes them: the
// model file beside a lexicon taken as each front end needs it, and the
// files of a Create Dictionary replaced all together or not at all.
#include "app/dictionary_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "lexicon/letter_model_file.h"
#include "lexicon/lexicon_codec.h"
#include "testing/file_size_limit.h"
#include "testing/temp_dir.h"
#include "testing/token_lists.h"

namespace quirlex {
namespace {

using testing::get_file;
using testing::put_file;

std::vector<std::string> files_in(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A lexicon of a few words and a model of `pairs` pairs, made for it.
LexiconBuild build_of(std::uint32_t pairs) {
  LexiconBuild build;
  build.entries = testing::list_of({"HAUS", "dTUER", "TIER"});
  TokenList words;
  read_lexicon_words("HAUS\ndTUER\nTIER\n", words);
  std::vector<BigramPair> records;
  for (std::uint32_t k = 0; k < pairs; ++k) records.push_back({k % 3, k / 3 % 3, k + 2});
  build.bigrams = BigramModel(lexicon_hash(words), 3, ShortWords::kSkipped, records);
  return build;
}

TEST(CreateDictionaryFiles, AllFilesReplaceTheirPredecessorsOrNoneDoes) {
  const testing::TempDir dir;
  const std::string lexicon = dir.file("lexicon.dic");
  const LexiconBuild build = build_of(9);
  const std::string model_bytes = bigram_file_bytes(*build.bigrams);
  const std::size_t lexicon_size = std::string("HAUS\ndTUER\nTIER\n").size();
  ASSERT_GT(model_bytes.size(), lexicon_size + 8);
  // A limit below the lexicon's size fails it; one between the two sizes
  // fails only the model, after the lexicon was written in full.
  for (const rlim_t limit : {rlim_t{4}, rlim_t{lexicon_size + 4}}) {
    SCOPED_TRACE(limit);
    put_file(lexicon, "EARLIER\n");
    put_file(bigram_path(lexicon), "earlier model");
    {
      const testing::FileSizeLimit small(limit);
      EXPECT_THROW(create_dictionary_files(build, lexicon), FileError);
    }
    EXPECT_EQ(get_file(lexicon), "EARLIER\n");
    EXPECT_EQ(get_file(bigram_path(lexicon)), "earlier model");
    EXPECT_EQ(files_in(dir.path()), (std::vector<std::string>{"lexicon.dic", "lexicon.dic.bigrams"}));
  }
  create_dictionary_files(build, lexicon);
  EXPECT_EQ(get_file(lexicon), "HAUS\ndTUER\nTIER\n");
  EXPECT_EQ(get_file(bigram_path(lexicon)), model_bytes);
}

// The window takes a model file when it is there and says why one cannot be
// used; the console needs one when asked for its step and ignores it
// otherwise. Each model file is taken on its own: the other stays good.
TEST(LoadDictionaryFiles, ModelFilesAreTakenAsEachFrontEndNeedsThem) {
  const testing::TempDir dir;
  put_file(dir.file("corpus.txt"), "Haus Garten Graten Haus Garten Hausboot Gartenhaus der Garten\n");
  const LexiconBuild build =
      build_lexicon({{.path = dir.file("corpus.txt")}},
                    {.order = LexiconOrder::kFrequency, .bigrams = true, .letters = true},
                    [](LexiconStage, int) {});
  const std::string lexicon = dir.file("lexicon.dic");
  create_dictionary_files(build, lexicon);
  const struct {
    const char* name;
    std::string path;
  } kinds[] = {{"bigrams", bigram_path(lexicon)}, {"letters", letter_model_path(lexicon)}};
  const struct {
    const char* model;  // nullptr: no model file
    ModelFiles use;
    bool taken;
    bool problem;
    bool throws;
  } cases[] = {
      {"good", ModelFiles::kIfPresent, true, false, false},
      {nullptr, ModelFiles::kIfPresent, false, false, false},
      {"cut", ModelFiles::kIfPresent, false, true, false},
      {"good", ModelFiles::kRequired, true, false, false},
      {nullptr, ModelFiles::kRequired, false, false, true},
      {"cut", ModelFiles::kRequired, false, false, true},
      {"cut", ModelFiles::kNone, false, false, false},
  };
  for (const auto& kind : kinds) {
    const std::string good = get_file(kind.path);
    const bool bigrams = std::string(kind.name) == "bigrams";
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(kind.name) + " " + (c.model ? c.model : "none") + " " +
                   std::to_string(static_cast<int>(c.use)));
      std::filesystem::remove(kind.path);
      if (c.model != nullptr) {
        put_file(kind.path, std::string(c.model) == "good" ? good : good.substr(0, 30));
      }
      DictionaryFiles files;
      ASSERT_TRUE(files.read_lexicon(lexicon));
      Dictionary dictionary;
      LoadDictionaryOptions options{.bigrams = ModelFiles::kRequired,
                                    .letters = ModelFiles::kRequired};
      (bigrams ? options.bigrams : options.letters) = c.use;
      const auto load = [&] {
        return load_dictionary_files(dictionary, std::move(files), options,
                                     [](LoadStage, int) {});
      };
      if (c.throws) {
        EXPECT_THROW(load(), Failure);
        continue;
      }
      const LoadedDictionary loaded = load();
      EXPECT_EQ(loaded.report.words, build.entries.size());
      EXPECT_EQ(bigrams ? loaded.bigrams.has_value() : loaded.letters.has_value(), c.taken);
      // The other file is good and required: always taken.
      EXPECT_TRUE(bigrams ? loaded.letters.has_value() : loaded.bigrams.has_value());
      const std::string& problem = bigrams ? loaded.bigram_problem : loaded.letter_problem;
      EXPECT_EQ(problem.empty(), !c.problem) << problem;
      if (c.problem) {
        EXPECT_NE(problem.find(kind.path), std::string::npos);
      }
    }
    put_file(kind.path, good);
  }
}

}  // namespace
}  // namespace quirlex
