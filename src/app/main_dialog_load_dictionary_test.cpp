// Load Dictionary as a user meets it: its dialogs, report and progress, the
// status line that names what it loaded, unreadable or cancelled files, and
// Stop.
#include <gtest/gtest.h>

#include <filesystem>

#include "testing/main_dialog_test_fixture.h"
#include "testing/scoped_environment.h"
#include "testing/word_lists.h"

namespace quirlex::testing {
namespace {

using LoadDictionary = MainDialogTest;

TEST_F(LoadDictionary, ReportsTheDistinctSignaturesAfterShowingTheFirstLineAlone) {
  EXPECT_EQ(window.status, "No lexicon loaded");
  load_shuffled_text(put("scrambled.txt", "Hlelo"));
  window.lower_text = "an earlier text";
  // HAUS, dER, cT decode to HAUS, HAUSER, HAUT; WEIN and WIEN share one
  // signature and so one entry.
  const std::string lexicon = put("lexicon.dic", "HAUS\ndER\ncT\nWEIN\nWIEN\n");
  EXPECT_EQ(load_dictionary(lexicon), CommandOutcome::kDone);

  EXPECT_EQ(window.lower_text,
            std::string(kDictionaryReady) + "4 Words are read into the lexicon\r\n");
  ASSERT_EQ(window.repaints.size(), 1u);
  EXPECT_EQ(window.repaints[0].target, RepaintTarget::kLowerTextBox);
  EXPECT_EQ(window.repaints[0].lower_text, kHashtables);
  EXPECT_TRUE(dialog.scrambled_tokens().is_empty());
  EXPECT_EQ(texts_of(dialog.dictionary().words),
            (std::vector<std::string>{"HAUS", "HAUSER", "HAUT", "WEIN", "WIEN"}));
  EXPECT_EQ(dialog.lexicon_path(), lexicon);
  EXPECT_EQ(window.status,
            "Lexicon: lexicon.dic, 5 words; no Deep Search; no model file");

  // The later of two words with one signature is the one restored.
  load_shuffled_text(put("words.txt", "Wein Hsuear.\n"));
  translate();
  EXPECT_EQ(dialog.scrambled_tokens().join(), "Wien Hauser.\n");
}

TEST_F(LoadDictionary, UnreadableLexiconKeepsTheDictionaryAndAsksForNoAffixFile) {
  load_deep_dictionary(put("lexicon.dic", "HELLO\n"), put("suffixes.txt", "ness"), "");
  load_shuffled_text(put("scrambled.txt", "Hlelo"));
  const std::string report = window.lower_text;
  const std::string status = window.status;
  const std::size_t dialogs = window.dialogs.size();

  const std::string missing = dir.file("missing.dic");
  window.answer_file(missing);
  EXPECT_EQ(dialog.load_dictionary(), CommandOutcome::kUnreadable);
  EXPECT_EQ(window.messages, std::vector<std::string>{std::string(kCannotOpen) + "\n" + missing});
  EXPECT_EQ(window.dialogs.size(), dialogs + 1) << "an affix dialog was shown";
  EXPECT_EQ(window.lower_text, "Hlelo");
  EXPECT_EQ(dialog.scrambled_tokens().join(), "Hlelo");
  EXPECT_EQ(dialog.lexicon_path(), dir.file("lexicon.dic"));
  EXPECT_EQ(window.status, status);
  EXPECT_EQ(texts_of(dialog.dictionary().words), std::vector<std::string>{"HELLO"});
  EXPECT_EQ(dialog.dictionary().suffixes.size(), 1);
  EXPECT_EQ(dialog.dictionary().variant_table.entry_count(), 2);
  translate();
  EXPECT_EQ(dialog.scrambled_tokens().join(), "Hello");
}

TEST_F(LoadDictionary, DeepSearchReadsBothAffixListsUpperCasedAndReportsTheirCounts) {
  EXPECT_EQ(load_deep_dictionary(put("lexicon.dic", "KIND\n"), put("suffixes.txt", "en er\r\nung"),
                                 put("prefixes.txt", "un\nver\n")),
            CommandOutcome::kDone);
  EXPECT_EQ(window.lower_text, std::string(kDictionaryReady) +
                                   "1 Words are read into the lexicon\r\n"
                                   "Read 2 Prefixes\r\nRead 3 Suffixes\r\n"
                                   "\r\nCreated 6 words including all variants");
  EXPECT_EQ(texts_of(dialog.dictionary().prefixes), (std::vector<std::string>{"UN", "VER"}));
  EXPECT_EQ(texts_of(dialog.dictionary().suffixes), (std::vector<std::string>{"EN", "ER", "UNG"}));
  EXPECT_TRUE(window.messages.empty());
  EXPECT_EQ(window.status,
            "Lexicon: lexicon.dic, 1 words; Deep Search: 2 prefixes, 3 suffixes; no model file");
}

TEST_F(LoadDictionary, PercentageLinesRepaintTheWholeWindowOncePerNewValue) {
  load_deep_dictionary(put("three.dic", "HAUS\nKIND\nWEIN\n"), "", "");
  std::vector<std::string> lines;
  for (const auto& repaint : window.repaints) {
    if (repaint.target == RepaintTarget::kWindow) lines.push_back(repaint.lower_text);
  }
  EXPECT_EQ(lines, (std::vector<std::string>{percentage_line(0), percentage_line(33),
                                             percentage_line(66)}));
  EXPECT_EQ(window.repaints.front().target, RepaintTarget::kLowerTextBox);
  // Without affixes the deep word list is the lexicon itself.
  EXPECT_EQ(dialog.dictionary().variant_table.entry_count(), 3);
  EXPECT_EQ(window.lower_text,
            std::string(kDictionaryReady) + "3 Words are read into the lexicon\r\n");
}

TEST_F(LoadDictionary, AnUnreadableAffixFileLeavesOnlyTheOtherList) {
  EXPECT_EQ(load_deep_dictionary(put("lexicon.dic", "KIND\n"), dir.file("missing.txt"),
                                 put("prefixes.txt", "un ver")),
            CommandOutcome::kDone);
  EXPECT_EQ(window.messages,
            std::vector<std::string>{std::string(kCannotOpen) + "\n" + dir.file("missing.txt")});
  EXPECT_EQ(window.lower_text, std::string(kDictionaryReady) +
                                   "1 Words are read into the lexicon\r\nRead 2 Prefixes\r\n"
                                   "\r\nCreated 2 words including all variants");
  EXPECT_EQ(dialog.dictionary().variant_table.entry_count(), 3);

  window.messages.clear();
  EXPECT_EQ(load_deep_dictionary(dir.file("lexicon.dic"), put("suffixes.txt", "ness"), dir.path()),
            CommandOutcome::kDone);
  EXPECT_EQ(window.messages, std::vector<std::string>{std::string(kCannotOpen) + "\n" + dir.path()});
  // 1 word x 1 suffix is not more than the 1 word: no variants line.
  EXPECT_EQ(window.lower_text, std::string(kDictionaryReady) +
                                   "1 Words are read into the lexicon\r\nRead 1 Suffixes\r\n");
  EXPECT_TRUE(dialog.dictionary().prefixes.is_empty());
  EXPECT_EQ(dialog.dictionary().variant_table.entry_count(), 2);
}

// A name typed into the dialog that is no file there is looked up in the
// lexicon folders; with Deep Search the lexicon's own affix lists are
// offered, where it has them.
TEST_F(LoadDictionary, ANameThatIsNoFileFindsAnInstalledLexiconAndItsOwnAffixLists) {
  std::filesystem::create_directory(dir.file("lexicons"));
  const std::string lexicon = put("lexicons/de.dic", "KIND\n");
  const std::string suffixes = put("lexicons/de.dic.suffixes", "er");
  ScopedEnvironment environment;
  environment.set("QUIRLEX_LEXICON_PATH", dir.file("lexicons"));
  environment.set("HOME", dir.path());
  window.deep_search = true;
  window.answer_file(dir.file("de"));
  window.answer_file(suffixes);
  window.answer_file("");
  EXPECT_EQ(dialog.load_dictionary(), CommandOutcome::kDone);
  EXPECT_EQ(dialog.lexicon_path(), lexicon);
  ASSERT_EQ(window.dialogs.size(), 3u);
  EXPECT_EQ(window.dialogs[1].preset, suffixes);
  EXPECT_EQ(window.dialogs[2].preset, "EMPTY SUFFIX PREFIX LIST.txt");
  EXPECT_EQ(texts_of(dialog.dictionary().suffixes), std::vector<std::string>{"ER"});
  EXPECT_EQ(window.status,
            "Lexicon: de.dic, 1 words; Deep Search: 0 prefixes, 1 suffixes; no model file");

  // A name found nowhere is a file that cannot be opened.
  window.answer_file(dir.file("fr"));
  EXPECT_EQ(dialog.load_dictionary(), CommandOutcome::kUnreadable);
  EXPECT_EQ(window.messages,
            std::vector<std::string>{std::string(kCannotOpen) + "\n" + dir.file("fr")});
  EXPECT_EQ(dialog.lexicon_path(), lexicon);
}

// Cancel in any of the three dialogs ends the whole command before anything
// changes, even with the preset files at hand in the working directory.
TEST_F(LoadDictionary, CancelInAnyOfItsDialogsChangesNothing) {
  WorkingDirectory in_temp(dir.path());
  put("Lexikon.dic", "KIND\n");
  put("Suffix_en.txt", "ness\n");
  put("EMPTY SUFFIX PREFIX LIST.txt", "");
  load_deep_dictionary(put("lexicon.dic", "HELLO\n"), put("suffixes.txt", "en"), "");
  load_shuffled_text(put("scrambled.txt", "Hlelo"));
  for (int cancelled = 0; cancelled < 3; ++cancelled) {
    SCOPED_TRACE(cancelled);
    window.repaints.clear();
    for (int k = 0; k < cancelled; ++k) window.answer_file(k == 0 ? "Lexikon.dic" : "Suffix_en.txt");
    window.cancel_file();
    EXPECT_EQ(dialog.load_dictionary(), CommandOutcome::kNothing);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(window.repaints.empty());
    EXPECT_EQ(window.lower_text, "Hlelo");
    EXPECT_EQ(dialog.scrambled_tokens().join(), "Hlelo");
    EXPECT_EQ(dialog.lexicon_path(), dir.file("lexicon.dic"));
    EXPECT_EQ(texts_of(dialog.dictionary().words), std::vector<std::string>{"HELLO"});
    EXPECT_EQ(texts_of(dialog.dictionary().suffixes), std::vector<std::string>{"EN"});
  }
}

// With the frequency box Create Dictionary writes the bigram and the letter
// model beside the lexicon; Load Dictionary loads them silently, and names
// one it cannot use.
TEST_F(LoadDictionary, ABigramFileBesideTheLexiconIsLoadedOrNamedWhenItCannotBe) {
  const std::string lexicon = dir.file("lexicon.dic");
  window.frequency = true;
  create_dictionary(put("corpus.txt", "Graten Garten Garten im Garten"), lexicon);
  ASSERT_TRUE(file_exists(lexicon + ".bigrams"));
  ASSERT_TRUE(file_exists(lexicon + ".letters"));
  load_dictionary(lexicon);
  const std::string plain = window.lower_text;
  EXPECT_EQ(plain, std::string(kDictionaryReady) + "1 Words are read into the lexicon\r\n");
  EXPECT_TRUE(window.status.ends_with("; model files: bigrams, letter model")) << window.status;

  put("lexicon.dic.bigrams", "QUIRLEX BIGRAMS 1\ntruncated");
  load_dictionary(lexicon);
  EXPECT_TRUE(window.lower_text.starts_with(plain)) << window.lower_text;
  EXPECT_NE(window.lower_text.find(lexicon + ".bigrams"), std::string::npos) << window.lower_text;
  EXPECT_TRUE(window.lower_text.ends_with("; Translate goes without the context choice.\r\n"));
  EXPECT_TRUE(window.status.ends_with("; model files: letter model; not usable: bigrams"))
      << window.status;
  put("lexicon.dic.letters", "QUIRLEX LETTERS 1\ntruncated");
  load_dictionary(lexicon);
  EXPECT_TRUE(window.lower_text.ends_with(
      "; Translate goes without the context choice.\r\n" + lexicon +
      ".letters: the letter model file is truncated; Translate goes without the letter model.\r\n"))
      << window.lower_text;

  std::filesystem::remove(lexicon + ".bigrams");
  std::filesystem::remove(lexicon + ".letters");
  load_dictionary(lexicon);
  EXPECT_EQ(window.lower_text, plain);
  EXPECT_TRUE(window.status.ends_with("; no model file")) << window.status;
  EXPECT_TRUE(window.messages.empty());
}

// A window whose user presses Stop once the deep word list is a third done.
class StoppingWindow : public FakeWindow {
 public:
  void repaint_now(RepaintTarget target) override {
    FakeWindow::repaint_now(target);
    if (lower_text.starts_with("30 percent")) stop.request_stop();
  }
  std::stop_source stop;
};

TEST(LoadDictionaryStop, StopKeepsTheLexiconTableWithoutDeepSearchAndSaysSo) {
  const TempDir dir;
  StoppingWindow window;
  MainDialog dialog(window);
  dialog.initialize();
  put_file(dir.file("lexicon.dic"), numbered_words(5000));
  put_file(dir.file("suffixes.txt"), "en er");
  window.deep_search = true;
  for (const char* name : {"lexicon.dic", "suffixes.txt", "none.txt"}) {
    window.answer_file(dir.file(name));
  }
  EXPECT_EQ(dialog.load_dictionary(window.stop.get_token()), CommandOutcome::kStopped);
  EXPECT_TRUE(window.lower_text.ends_with(
      "Read 2 Suffixes\r\n\r\nDeep Search stopped: only the lexicon itself is searched.\r\n"))
      << window.lower_text;
  EXPECT_EQ(dialog.dictionary().words.size(), 5000);
  EXPECT_GT(dialog.dictionary().lexicon_table.entry_count(), 0);
  EXPECT_EQ(dialog.dictionary().variant_table.entry_count(), 0);
  EXPECT_EQ(window.status,
            "Lexicon: lexicon.dic, 5000 words; Deep Search stopped; no model file");
}

}  // namespace
}  // namespace quirlex::testing
