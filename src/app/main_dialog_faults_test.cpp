// Faults the window's commands meet: a chosen file that vanishes, a file the
// user may not read, texts past the length limit, memory that runs out.
// Each is shown with its own text, and the window goes on.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "testing/main_dialog_test_fixture.h"
#include "testing/address_sanitizer.h"
#include "testing/child_action.h"
#include "testing/word_lists.h"

namespace quirlex::testing {
namespace {

using DialogFaults = MainDialogTest;

// The outcome of a command and the messages it showed, for commands run in a
// child process, where assertions would be lost.
std::string seen(CommandOutcome outcome, FakeWindow& window) {
  static const char* const kNames[] = {"done", "nothing", "unreadable", "failed", "stopped"};
  std::string text = kNames[static_cast<int>(outcome)];
  for (const std::string& message : window.messages) text += " | " + message;
  window.messages.clear();
  return text + "\n";
}

// A window whose read dialogs hand out a file that another program deletes
// right after the user chose it.
class VanishingFileWindow : public FakeWindow {
 public:
  FileChoice choose_file(std::string_view preset, FilePurpose purpose) override {
    FileChoice choice = FakeWindow::choose_file(preset, purpose);
    if (use_of(purpose) == FileUse::kRead) std::filesystem::remove(choice.name);
    return choice;
  }
};

TEST(DialogFaultsVanishing, FileDeletedAfterItWasChosenIsUnreadable) {
  const TempDir dir;
  VanishingFileWindow window;
  MainDialog dialog(window);
  dialog.initialize();
  const std::function<CommandOutcome()> commands[] = {
      [&] { return dialog.load(); }, [&] { return dialog.load_shuffled_text(); },
      [&] {
        // The lexicon's name comes before the corpus is read.
        window.answer_file(dir.file("Lexikon.dic"));
        return dialog.create_dictionary();
      },
      [&] { return dialog.load_dictionary(); }};
  for (const auto& command : commands) {
    put_file(dir.file("chosen.txt"), "Hello world");
    window.answer_file(dir.file("chosen.txt"));
    EXPECT_EQ(seen(command(), window),
              std::string("unreadable | ") + kCannotOpen + "\n" + dir.file("chosen.txt") + "\n");
  }
  EXPECT_EQ(window.pending_answers(), 0u);
  EXPECT_FALSE(file_exists(dir.file("Lexikon.dic")));
}

// Run as a user the permissions bind (tests often run as root): every
// reading command meets a file it may not read as one that cannot be opened.
TEST_F(DialogFaults, FileWithoutReadPermissionCannotBeOpened) {
  if (!permissions_bind_unprivileged()) GTEST_SKIP() << "file permissions bind no user here";
  ::chmod(dir.path().c_str(), 0755);
  const std::string secret = put("secret.txt", "Secret text");
  ::chmod(secret.c_str(), 0600);
  const std::string text = put("text.txt", "Hello world\n");
  ::chmod(text.c_str(), 0644);
  const std::string summary = run_as_unprivileged([&] {
    std::string s = seen(load(text), window) + seen(load_shuffled_text(text), window);
    s += seen(load(secret), window) + seen(load_shuffled_text(secret), window);
    window.answer_file(secret);
    window.answer_file(dir.file("lexicon.dic"));
    s += seen(dialog.create_dictionary(), window);
    s += seen(load_dictionary(secret), window);
    return s + window.upper_text + std::string(dialog.scrambled_tokens().join());
  });
  const std::string cannot_open = std::string("unreadable | ") + kCannotOpen + "\n" + secret + "\n";
  EXPECT_EQ(summary, "done\ndone\n" + cannot_open + cannot_open + cannot_open + cannot_open +
                         "Hello world\n");
}

// A sparse file of 2^31 bytes, one more than a 32-bit length can count, is
// refused by every command that reads a text whole, before it changes
// anything. Create Dictionary reads its corpus piece by piece and takes it
// (this one's text ends at its first byte, a NUL).
TEST_F(DialogFaults, TextsPastTheLengthLimitAreRefusedByEveryReadingCommand) {
  const std::string huge = dir.file("huge.txt");
  put_file(huge, "");
  ASSERT_EQ(::truncate(huge.c_str(), off_t{1} << 31), 0);
  const std::string lexicon = put("lexicon.dic", "HELLO\n");
  load(put("source.txt", "Hello world"));
  load_dictionary(lexicon);
  load_shuffled_text(put("scrambled.txt", "Hlelo\n"));
  const auto refused = [&](CommandOutcome outcome) {
    EXPECT_EQ(outcome, CommandOutcome::kFailed);
    EXPECT_TRUE(window.file_errors.empty());
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_NE(window.messages[0].find(huge), std::string::npos) << window.messages[0];
    EXPECT_NE(window.messages[0].find("2147483647"), std::string::npos) << window.messages[0];
    window.messages.clear();
  };
  refused(load_shuffled_text(huge));
  refused(load_dictionary(huge));
  EXPECT_EQ(dialog.scrambled_tokens().join(), "Hlelo\n");
  EXPECT_EQ(texts_of(dialog.dictionary().words), std::vector<std::string>{"HELLO"});
  window.answer_file(huge);
  window.answer_file(dir.file("empty.dic"));
  EXPECT_EQ(dialog.create_dictionary(), CommandOutcome::kDone);
  EXPECT_TRUE(window.messages.empty());
  EXPECT_EQ(contents("empty.dic"), "");
  refused(load(huge));
  EXPECT_EQ(window.upper_text, "Hello world");
  // A suffix file that is too large ends Load Dictionary before it changes
  // anything.
  window.deep_search = true;
  window.answer_file(lexicon);
  window.answer_file(huge);
  const std::string lower_before = window.lower_text;
  refused(dialog.load_dictionary());
  EXPECT_EQ(window.lower_text, lower_before);

  EXPECT_EQ(load_dictionary(lexicon), CommandOutcome::kDone);
  load_shuffled_text(put("again.txt", "Hlelo\n"));
  EXPECT_EQ(translate(), CommandOutcome::kDone);
  EXPECT_EQ(dialog.scrambled_tokens().join(), "Hello\n");
}

// The address space the process has mapped now, in bytes.
rlim_t mapped_bytes() {
  std::ifstream statm("/proc/self/statm");
  rlim_t pages = 0;
  statm >> pages;
  return pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
}

// With 256 MB of address space to spare, the deep word list of 100000 words,
// 30 suffixes and 10 prefixes (34 million members) cannot be had: memory
// really runs out, and a later, smaller Load Dictionary still works.
TEST_F(DialogFaults, OutOfMemoryInLoadDictionaryLeavesTheWindowWorking) {
  if (kAddressSanitizer) GTEST_SKIP() << "AddressSanitizer cannot run under an address limit";
  const std::string big = put("big.dic", numbered_words(100000));
  const std::string suffixes = put("suffixes.txt", kThirtySuffixes);
  const std::string prefixes = put("prefixes.txt", kTenPrefixes);
  const std::string summary = run_in_child([&] {
    const rlim_t bytes = mapped_bytes() + (rlim_t{256} << 20);
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_AS, &limit);
    std::string s = seen(load_deep_dictionary(big, suffixes, prefixes), window);
    // The lists read before the failure stay; no report is composed.
    const Dictionary& d = dialog.dictionary();
    s += std::to_string(d.words.size()) + " " + std::to_string(d.suffixes.size()) + " " +
         std::to_string(d.prefixes.size()) + " " + window.lower_text + "\n";
    s += seen(load_dictionary(put("small.dic", "HELLO\n")), window) + window.lower_text;
    load_shuffled_text(put("scrambled.txt", "Hlelo\n"));
    translate();
    return s + std::string(dialog.scrambled_tokens().join());
  });
  EXPECT_EQ(summary, "failed | Out of memory.\n100000 30 10 " + std::string(kHashtables) +
                         "\ndone\n" + kDictionaryReady +
                         "1 Words are read into the lexicon\r\nHello\n");
}

}  // namespace
}  // namespace quirlex::testing
