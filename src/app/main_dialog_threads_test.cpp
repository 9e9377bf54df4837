// Stop asked for from another thread, as the window's user-interface thread
// asks while a command runs on its worker: the long part of Load Dictionary
// and Create Dictionary ends, and the next command is not stopped by it.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <stop_token>
#include <thread>
#include <utility>

#include "app/command_texts.h"
#include "testing/main_dialog_test_fixture.h"
#include "testing/word_lists.h"

namespace quirlex::testing {
namespace {

using StopFromAnotherThread = MainDialogTest;

// Runs `command` with a stop token on a thread of its own while this thread
// asks it to stop again and again until the command has ended.
template <typename Command>
CommandOutcome run_while_stopping(const Command& command) {
  std::atomic<bool> done = false;
  CommandOutcome outcome = CommandOutcome::kDone;
  std::stop_source stop;
  std::thread worker([&] {
    outcome = command(stop.get_token());
    done = true;
  });
  while (!done) {
    stop.request_stop();
    std::this_thread::yield();
  }
  worker.join();
  return outcome;
}

TEST_F(StopFromAnotherThread, EndsTheDeepWordListAndTheNextCommandRunsWhole) {
  const std::string lexicon = put("lexicon.dic", numbered_words(100000));
  const std::string suffixes = put("suffixes.txt", kThirtySuffixes);
  const CommandOutcome stopped =
      run_while_stopping([&](std::stop_token stop) {
        return load_deep_dictionary(lexicon, suffixes, "", std::move(stop));
      });
  EXPECT_EQ(stopped, CommandOutcome::kStopped);
  EXPECT_TRUE(
      window.lower_text.ends_with("Deep Search stopped: only the lexicon itself is searched.\r\n"))
      << window.lower_text;
  EXPECT_EQ(dialog.dictionary().words.size(), 100000);
  EXPECT_EQ(dialog.dictionary().variant_table.entry_count(), 0);

  // The next command has a stop source of its own.
  EXPECT_EQ(load_deep_dictionary(lexicon, suffixes, ""), CommandOutcome::kDone);
  EXPECT_GT(dialog.dictionary().variant_table.entry_count(), 100000);
}

TEST_F(StopFromAnotherThread, EndsCreateDictionaryWithNothingWritten) {
  const std::string corpus = put("corpus.txt", numbered_words(300000, " "));
  const std::string lexicon = dir.file("lexicon.dic");
  window.frequency = true;
  EXPECT_EQ(run_while_stopping([&](std::stop_token stop) {
              return create_dictionary(corpus, lexicon, std::move(stop));
            }),
            CommandOutcome::kStopped);
  EXPECT_TRUE(window.lower_text.ends_with(texts::kLexiconStopped)) << window.lower_text;
  EXPECT_FALSE(std::filesystem::exists(lexicon));
  EXPECT_FALSE(std::filesystem::exists(lexicon + ".bigrams"));

  EXPECT_EQ(create_dictionary(corpus, lexicon), CommandOutcome::kDone);
  EXPECT_TRUE(std::filesystem::exists(lexicon + ".bigrams"));
}

}  // namespace
}  // namespace quirlex::testing
