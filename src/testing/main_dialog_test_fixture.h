// Test set-up shared by the MainDialog tests: a scripted fake window, a fresh
// temporary folder and the dialog under test, with one helper per button
// that answers the command's file dialogs.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <stop_token>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/main_dialog.h"
#include "testing/fake_window.h"
#include "testing/temp_dir.h"
#include "testing/token_lists.h"
#include "text/token_list.h"

namespace quirlex::testing {

inline constexpr const char* kCannotOpen = "Datei konnte nicht geöffnet werden!";
inline constexpr const char* kReadLine = "Read the file and split it into words\r\n";
inline constexpr const char* kFilterLine =
    "Filtering of unused strings (too small, no words, illegal characters)\r\n";
inline constexpr const char* kSortLine =
    "Remaining words are now sorted by characters and length\r\n";
inline constexpr const char* kRepeatsLine = "Delete all multiple words\r\n";
inline constexpr const char* kCompressLine = "Compress and save the lexicon\r\n";
inline constexpr const char* kHashtables = "Creating the hashtables!\r\n";
inline constexpr const char* kDictionaryReady = "Creating the hashtables!\r\nREADY!\r\n\r\n";

inline std::string percentage_line(int percentage) {
  return std::to_string(percentage) +
         " percent of the deep wordlist created (reducing the suffixes and prefixes speedups "
         "this tasks but can lead to worse results)";
}

inline std::string accuracy_line(long correct, long total, int percentage) {
  return std::to_string(correct) + " of " + std::to_string(total) +
         " Characters recognized correctly\r\nTranslated " + std::to_string(percentage) +
         ".0 percent of the text\r\n\r\n";
}

// Makes `path` the working directory for one scope.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::string& path) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(path);
  }
  ~WorkingDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

class MainDialogTest : public ::testing::Test {
 protected:
  MainDialogTest() : dialog(window) { dialog.initialize(); }

  void TearDown() override {
    EXPECT_EQ(window.pending_answers(), 0u) << "a queued file dialog was never shown";
  }

  // Writes `bytes` to `name` in the temporary folder and returns its path.
  std::string put(std::string_view name, std::string_view bytes) {
    const std::string path = dir.file(name);
    put_file(path, bytes);
    return path;
  }
  std::string contents(std::string_view name) const { return get_file(dir.file(name)); }

  CommandOutcome load(const std::string& path) {
    window.answer_file(path);
    return dialog.load();
  }
  CommandOutcome shuffle() { return dialog.shuffle(); }
  CommandOutcome save(const std::string& path) {
    window.answer_file(path);
    return dialog.save();
  }
  CommandOutcome load_shuffled_text(const std::string& path) {
    window.answer_file(path);
    return dialog.load_shuffled_text();
  }
  CommandOutcome create_dictionary(const std::string& corpus, const std::string& lexicon,
                                   std::stop_token stop = {}) {
    window.answer_file(corpus);
    window.answer_file(lexicon);
    return dialog.create_dictionary(std::move(stop));
  }
  // Without Deep Search only the lexicon dialog is shown.
  CommandOutcome load_dictionary(const std::string& lexicon) {
    window.deep_search = false;
    window.answer_file(lexicon);
    return dialog.load_dictionary();
  }
  // With Deep Search; an empty name chooses no affix file.
  CommandOutcome load_deep_dictionary(const std::string& lexicon, const std::string& suffixes,
                                      const std::string& prefixes, std::stop_token stop = {}) {
    window.deep_search = true;
    window.answer_file(lexicon);
    window.answer_file(suffixes);
    window.answer_file(prefixes);
    return dialog.load_dictionary(std::move(stop));
  }
  CommandOutcome translate() { return dialog.translate(); }

  TempDir dir;
  FakeWindow window;
  MainDialog dialog;
};

}  // namespace quirlex::testing
