// Failures that end a command: files that cannot be written, a file too
// large to read. Each is shown with its own text in the right box, nothing
// already on disk is lost, and the window goes on.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>

#include "app/main_dialog_fixture.h"

namespace quirlex::testing {
namespace {

using Failures = MainDialogTest;

const std::string kFiveLines =
    std::string(kReadLine) + kFilterLine + kSortLine + kRepeatsLine + kCompressLine;

// Limits the size of files this process writes for one scope; a write past
// the limit then fails with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previous_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previous_handler_)(int) = SIG_DFL;
};

// The folder's entries other than `expected`: temporary files left behind.
std::vector<std::string> other_files(const std::string& folder,
                                     const std::vector<std::string>& expected) {
  std::vector<std::string> others;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (std::find(expected.begin(), expected.end(), name) == expected.end()) {
      others.push_back(name);
    }
  }
  return others;
}

struct UnwritableTarget {
  std::string path;
  std::string message;
};

std::vector<UnwritableTarget> unwritable_targets(const TempDir& dir) {
  std::filesystem::create_directory(dir.file("folder"));
  return {
      {dir.file("folder"), "Access to " + dir.file("folder") + " was denied."},
      {dir.file("missing/out.txt"),
       "All or part of the path " + dir.file("missing/out.txt") + " is invalid."},
      {"/dev/full", "Disk full while accessing /dev/full."},
  };
}

TEST_F(Failures, SaveToAnUnwritableTargetShowsTheFileErrorAndKeepsTheText) {
  load(put("source.txt", "Hello world"));
  shuffle();
  for (const UnwritableTarget& target : unwritable_targets(dir)) {
    SCOPED_TRACE(target.path);
    window.file_errors.clear();
    EXPECT_EQ(save(target.path), CommandOutcome::kFailed);
    EXPECT_EQ(window.file_errors, std::vector<std::string>{target.message});
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(dialog.scrambled_tokens().join(), "Hlelo WROLD");
    EXPECT_EQ(dialog.scrambled_text_path(), target.path);
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.file("folder")));
  EXPECT_FALSE(file_exists(dir.file("missing")));

  // The window goes on: the next Save to a good name writes.
  const std::string good = dir.file("saved.txt");
  EXPECT_EQ(save(good), CommandOutcome::kDone);
  EXPECT_EQ(get_file(good), "Hlelo WROLD");
}

TEST_F(Failures, CreateDictionaryToAnUnwritableTargetEndsWithoutReady) {
  const std::string corpus = put("corpus.txt", "Hello world");
  for (const UnwritableTarget& target : unwritable_targets(dir)) {
    SCOPED_TRACE(target.path);
    window.file_errors.clear();
    EXPECT_EQ(create_dictionary(corpus, target.path), CommandOutcome::kFailed);
    EXPECT_EQ(window.file_errors, std::vector<std::string>{target.message});
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(window.lower_text, kFiveLines);
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.file("folder")));
}

TEST_F(Failures, FailedWritesLeaveTheEarlierFileWhole) {
  const std::string text = "The quick brown fox jumps over the lazy dog\n";
  load(put("source.txt", text));
  shuffle();
  const std::string saved = put("saved.txt", "earlier scrambled text");
  const std::string lexicon = put("lexicon.dic", "EARLIER\nLEXICON\n");
  const std::string corpus = put("corpus.txt", text);
  {
    FileSizeLimit limit(8);
    EXPECT_EQ(save(saved), CommandOutcome::kFailed);
    EXPECT_EQ(create_dictionary(corpus, lexicon), CommandOutcome::kFailed);
  }
  EXPECT_EQ(window.file_errors,
            (std::vector<std::string>{"Disk full while accessing " + saved + ".",
                                      "Disk full while accessing " + lexicon + "."}));
  EXPECT_EQ(get_file(saved), "earlier scrambled text");
  EXPECT_EQ(get_file(lexicon), "EARLIER\nLEXICON\n");
  EXPECT_EQ(other_files(dir.path(), {"source.txt", "saved.txt", "lexicon.dic", "corpus.txt"}),
            std::vector<std::string>{});
  EXPECT_EQ(window.lower_text, kFiveLines);
}

TEST_F(Failures, TooLargeAFileIsRefusedWithAMessageAndTheWindowGoesOn) {
  load(put("source.txt", "Hello world"));
  shuffle();
  // A sparse file one byte longer than a 32-bit length can count.
  const std::string huge = dir.file("huge.txt");
  put_file(huge, "");
  ASSERT_EQ(::truncate(huge.c_str(), off_t{1} << 31), 0);

  EXPECT_EQ(load(huge), CommandOutcome::kFailed);
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_NE(window.messages[0].find(huge), std::string::npos) << window.messages[0];
  EXPECT_NE(window.messages[0].find("too large"), std::string::npos) << window.messages[0];
  EXPECT_TRUE(window.file_errors.empty());
  EXPECT_EQ(window.upper_text, "Hello WORLD");
  EXPECT_EQ(dialog.source_tokens().join(), "Hello WORLD");

  EXPECT_EQ(shuffle(), CommandOutcome::kDone);
  EXPECT_EQ(dialog.scrambled_tokens().size(), 4);
}

}  // namespace
}  // namespace quirlex::testing
