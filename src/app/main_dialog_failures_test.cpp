// Failures that end a command: files that cannot be written, a file too
// large to read. Each is shown with its own text in the right box, nothing
// already on disk is lost, and the window goes on.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "testing/main_dialog_test_fixture.h"
#include "testing/file_size_limit.h"

namespace quirlex::testing {
namespace {

using Failures = MainDialogTest;

// A target that cannot be written, the message that names it, and whether it
// holds an earlier file that a write failing halfway must leave whole.
struct UnwritableTarget {
  std::string path;
  std::string message;
  bool disk_full_halfway = false;
};

class FailedWrites : public MainDialogTest {
 protected:
  std::vector<UnwritableTarget> unwritable_targets() {
    std::filesystem::create_directory(dir.file("folder"));
    const std::string earlier = put("earlier.txt", "EARLIER\nCONTENT\n");
    return {
        {dir.file("folder"), "Access to " + dir.file("folder") + " was denied."},
        {dir.file("missing/out.txt"),
         "All or part of the path " + dir.file("missing/out.txt") + " is invalid."},
        {"/dev/full", "Disk full while accessing /dev/full."},
        {earlier, "Disk full while accessing " + earlier + ".", true},
    };
  }

  // Runs `command` against `target` and checks the file error it shows.
  template <typename Command>
  void expect_file_error(const UnwritableTarget& target, Command command) {
    SCOPED_TRACE(target.path);
    window.file_errors.clear();
    {
      std::optional<FileSizeLimit> limit;
      if (target.disk_full_halfway) limit.emplace(8);
      EXPECT_EQ(command(target.path), CommandOutcome::kFailed);
    }
    EXPECT_EQ(window.file_errors, std::vector<std::string>{target.message});
    EXPECT_TRUE(window.messages.empty());
  }

  // Nothing was written: the folder is still empty, the earlier file whole,
  // and no temporary file is left.
  void expect_nothing_written() {
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("folder")));
    EXPECT_FALSE(file_exists(dir.file("missing")));
    EXPECT_EQ(contents("earlier.txt"), "EARLIER\nCONTENT\n");
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
    }
  }
};

TEST_F(FailedWrites, SaveShowsTheFileErrorAndKeepsTheText) {
  load(put("source.txt", "The quick brown fox jumps over the lazy dog\n"));
  shuffle();
  const std::string scrambled(dialog.scrambled_tokens().join());
  for (const UnwritableTarget& target : unwritable_targets()) {
    expect_file_error(target, [this](const std::string& path) { return save(path); });
    EXPECT_EQ(dialog.scrambled_tokens().join(), scrambled);
    EXPECT_EQ(dialog.scrambled_text_path(), target.path);
  }
  expect_nothing_written();
  // The window goes on: the next Save to a good name writes.
  const std::string good = dir.file("saved.txt");
  EXPECT_EQ(save(good), CommandOutcome::kDone);
  EXPECT_EQ(get_file(good), scrambled);
}

TEST_F(FailedWrites, CreateDictionaryEndsWithoutReady) {
  const std::string corpus = put("corpus.txt", "The quick brown fox jumps over the lazy dog\n");
  for (const UnwritableTarget& target : unwritable_targets()) {
    expect_file_error(target,
                      [&](const std::string& path) { return create_dictionary(corpus, path); });
    EXPECT_EQ(window.lower_text,
              std::string(kReadLine) + kFilterLine + kSortLine + kRepeatsLine + kCompressLine);
  }
  expect_nothing_written();
}

}  // namespace
}  // namespace quirlex::testing
