// The window's text commands as a user meets them: the initial state, Load,
// Shuffle, Save and Load shuffled text, their file dialogs and how they hand
// the token lists to each other.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/main_dialog_fixture.h"

namespace quirlex::testing {
namespace {

using TextCommands = MainDialogTest;

TEST(MainDialogStart, InitializeChecksSortOnlyAndLeavesEverythingEmpty) {
  FakeWindow window;
  window.sort = false;
  window.deep_search = true;
  MainDialog dialog(window);
  dialog.initialize();
  EXPECT_TRUE(window.sort);
  EXPECT_FALSE(window.deep_search);
  EXPECT_EQ(window.upper_text, "");
  EXPECT_EQ(window.lower_text, "");
  EXPECT_TRUE(window.dialogs.empty());
  EXPECT_TRUE(window.messages.empty());
  EXPECT_TRUE(dialog.source_tokens().is_empty());
  EXPECT_TRUE(dialog.scrambled_tokens().is_empty());
  EXPECT_TRUE(dialog.dictionary().words.is_empty());
  EXPECT_EQ(dialog.dictionary().lexicon_table.entry_count(), 0);
  EXPECT_EQ(dialog.dictionary().variant_table.entry_count(), 0);
  EXPECT_EQ(dialog.scrambled_text_path(), "savedtext.txt");
}

TEST_F(TextCommands, EveryDialogIsPresetWithItsFileName) {
  const std::string text = put("text.txt", "Hello world");
  const std::string saved = dir.file("saved.txt");
  const std::string corpus = put("corpus.txt", "Hello world");
  const std::string lexicon = dir.file("lexicon.dic");

  load(text);
  shuffle();
  save(saved);
  load_shuffled_text(saved);
  create_dictionary(corpus, lexicon);
  load_deep_dictionary(lexicon, "", "");

  ASSERT_EQ(window.dialogs.size(), 8u);
  const std::vector<std::pair<std::string, FileUse>> expected = {
      {"test2.txt", FileUse::kRead},     {"savedtext.txt", FileUse::kWrite},
      {saved, FileUse::kRead},           {"pqlexikon.txt", FileUse::kRead},
      {"Lexikon.dic", FileUse::kWrite},  {"Lexikon.dic", FileUse::kRead},
      {"Suffix_en.txt", FileUse::kRead}, {"EMPTY SUFFIX PREFIX LIST.txt", FileUse::kRead},
  };
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(window.dialogs[i].preset, expected[i].first) << "dialog " << i;
    EXPECT_EQ(window.dialogs[i].use, expected[i].second) << "dialog " << i;
  }
}

TEST_F(TextCommands, LoadShowsTheJoinedSourceWithUmlautsSpelledOutAndTheLastWordInCapitals) {
  // Windows-1252: Größe Ärger über Straße
  const std::string path = put("source.txt", "Gr\366\337e \304rger \374ber Stra\337e");
  EXPECT_EQ(load(path), CommandOutcome::kDone);
  EXPECT_EQ(window.upper_text, "Groesse Aerger ueber STRASSE");
  EXPECT_EQ(texts_of(dialog.source_tokens()),
            (std::vector<std::string>{"", "Groesse", " ", "Aerger", " ", "ueber", " ", "STRASSE"}));
  EXPECT_TRUE(dialog.source_file().is_open());
  EXPECT_EQ(window.lower_text, "");
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(TextCommands, LoadClearsASuppressionSwitchLeftOn) {
  set_signature_suppression(true);
  load(put("source.txt", "Hello world"));
  EXPECT_EQ(dialog.source_tokens().element(1).text, "Hello");
  EXPECT_DOUBLE_EQ(dialog.source_tokens().element(1).signature, 175930.05710437705);
}

TEST_F(TextCommands, LoadEmptiesTheScrambledListButKeepsTheLowerBox) {
  load(put("one.txt", "Hello world"));
  shuffle();
  ASSERT_EQ(window.lower_text, "Hlelo WROLD");

  EXPECT_EQ(load(put("two.txt", "The quick brown fox\n")), CommandOutcome::kDone);
  EXPECT_TRUE(dialog.scrambled_tokens().is_empty());
  EXPECT_EQ(window.lower_text, "Hlelo WROLD");
  EXPECT_EQ(window.upper_text, "The quick brown fox\n");

  // Nothing is left to save or to restore.
  const std::string saved = dir.file("saved.txt");
  EXPECT_EQ(save(saved), CommandOutcome::kNothing);
  EXPECT_FALSE(file_exists(saved));
  translate();
  EXPECT_EQ(window.lower_text, accuracy_line(0, 0, 0));
}

TEST_F(TextCommands, LoadOfAMissingFileOrAFolderTellsTheUserAndKeepsTheSource) {
  load(put("source.txt", "Hello world"));
  shuffle();

  for (const std::string& unreadable : {dir.file("missing.txt"), dir.path()}) {
    SCOPED_TRACE(unreadable);
    window.messages.clear();
    EXPECT_EQ(load(unreadable), CommandOutcome::kUnreadable);
    EXPECT_EQ(window.messages, std::vector<std::string>{kCannotOpen});
    EXPECT_EQ(window.upper_text, "Hello WORLD");
    EXPECT_EQ(dialog.source_tokens().join(), "Hello WORLD");
    // The scrambled list was emptied before the file was asked for.
    EXPECT_TRUE(dialog.scrambled_tokens().is_empty());
    EXPECT_EQ(window.lower_text, "Hlelo WROLD");
  }
}

TEST_F(TextCommands, LoadOfAnEmptyFileKeepsTheSourceListAndShowsItAgain) {
  load(put("source.txt", "Hello world"));
  window.upper_text = "typed by the user";
  EXPECT_EQ(load(put("empty.txt", "")), CommandOutcome::kDone);
  EXPECT_EQ(window.upper_text, "Hello WORLD");
  EXPECT_EQ(dialog.source_tokens().join(), "Hello WORLD");
}

TEST_F(TextCommands, LoadOfAnEmptyNameEndsWithoutReading) {
  load(put("source.txt", "Hello world"));
  EXPECT_EQ(load(""), CommandOutcome::kNothing);
  EXPECT_TRUE(window.messages.empty());
  EXPECT_EQ(dialog.source_tokens().join(), "Hello WORLD");
}

TEST_F(TextCommands, ShuffleScramblesTheSourceWithTheGeneratorFromItsStart) {
  load(put("fox.txt", "The quick brown fox jumps over the lazy dog\n"));
  EXPECT_EQ(shuffle(), CommandOutcome::kDone);
  EXPECT_EQ(window.lower_text, "The qcuik borwn fox jpmus over the lazy dog\n");
  const TokenList& source = dialog.source_tokens();
  const TokenList& scrambled = dialog.scrambled_tokens();
  ASSERT_EQ(scrambled.size(), source.size());
  for (std::int32_t k = 0; k < source.size(); ++k) {
    EXPECT_EQ(scrambled.element(k).separator, source.element(k).separator) << k;
    EXPECT_EQ(scrambled.element(k).signature, source.element(k).signature) << k;
    EXPECT_EQ(scrambled.element(k).text.size(), source.element(k).text.size()) << k;
  }

  // The generator has moved on: a second Shuffle of the same source differs.
  shuffle();
  EXPECT_NE(window.lower_text, "The qcuik borwn fox jpmus over the lazy dog\n");
  EXPECT_EQ(window.lower_text.size(), source.join().size());
}

TEST_F(TextCommands, ShuffleWithoutASourceEmptiesTheScrambledListAndTheLowerBox) {
  load_shuffled_text(put("scrambled.txt", "Hlelo WROLD"));
  ASSERT_FALSE(dialog.scrambled_tokens().is_empty());
  EXPECT_EQ(shuffle(), CommandOutcome::kDone);
  EXPECT_TRUE(dialog.scrambled_tokens().is_empty());
  EXPECT_EQ(window.lower_text, "");
}

TEST_F(TextCommands, SaveBeforeAnyShuffleWritesNothingButKeepsTheChosenName) {
  const std::string target = dir.file("saved.txt");
  EXPECT_EQ(save(target), CommandOutcome::kNothing);
  EXPECT_FALSE(file_exists(target));
  EXPECT_EQ(dialog.scrambled_text_path(), target);
  // A cancelled dialog neither writes nor changes the shared name.
  load(put("source.txt", "Hello world"));
  shuffle();
  window.cancel_file();
  EXPECT_EQ(checked(dialog.save()), CommandOutcome::kNothing);
  EXPECT_FALSE(file_exists(target));
  EXPECT_EQ(dialog.scrambled_text_path(), target);
}

TEST_F(TextCommands, CancelledSaveDoesNotOverwriteThePresetFile) {
  WorkingDirectory in_temp(dir.path());
  put("savedtext.txt", "keep me");
  load(put("source.txt", "Hello world"));
  shuffle();
  window.cancel_file();
  EXPECT_EQ(checked(dialog.save()), CommandOutcome::kNothing);
  EXPECT_EQ(contents("savedtext.txt"), "keep me");
  EXPECT_EQ(dialog.scrambled_text_path(), "savedtext.txt");
}

TEST_F(TextCommands, SaveWritesExactlyTheJoinedScrambledText) {
  load(put("source.txt", "Hello world"));
  shuffle();
  const std::string target = put("saved.txt", "an older and longer content");
  EXPECT_EQ(save(target), CommandOutcome::kDone);
  EXPECT_EQ(get_file(target), "Hlelo WROLD");
  EXPECT_TRUE(window.file_errors.empty());
}

TEST_F(TextCommands, SaveAndLoadShuffledTextShareOneName) {
  load(put("source.txt", "Hello world"));
  shuffle();
  const std::string first = dir.file("first.txt");
  save(first);
  load_shuffled_text(first);
  EXPECT_EQ(window.dialogs.back().preset, first);

  const std::string second = put("second.txt", "Wlhoe");
  load_shuffled_text(second);
  save(dir.file("third.txt"));
  EXPECT_EQ(window.dialogs.back().preset, second);
  EXPECT_EQ(dialog.scrambled_text_path(), dir.file("third.txt"));
}

TEST_F(TextCommands, SavedScrambledTextLoadsBackTokenForToken) {
  // Umlauts are spelled out on Load, so the saved text reads back unchanged.
  load(put("source.txt",
           "Der kleine Garten hinter dem alten Haus.\r\n\304pfel, Birnen und s\374\337e "
           "Bl\374ten \"im\" Sommer; 42 Bienen!"));
  shuffle();
  const TokenList shuffled = dialog.scrambled_tokens();
  const std::string target = dir.file("saved.txt");
  save(target);
  window.lower_text.clear();

  EXPECT_EQ(load_shuffled_text(target), CommandOutcome::kDone);
  EXPECT_EQ(texts_of(dialog.scrambled_tokens()), texts_of(shuffled));
  EXPECT_TRUE(dialog.scrambled_tokens() == shuffled) << "flags, letter masks or signatures differ";
  EXPECT_EQ(window.lower_text, shuffled.join());
  EXPECT_EQ(window.upper_text, dialog.source_tokens().join());
}

TEST_F(TextCommands, LoadShuffledTextLeavesTheSourceAlone) {
  load(put("source.txt", "Hello world"));
  const TokenList source = dialog.source_tokens();
  load_shuffled_text(put("scrambled.txt", "Wlhoe tihs\n"));
  EXPECT_EQ(window.lower_text, "Wlhoe tihs\n");
  EXPECT_TRUE(dialog.source_tokens() == source);
  EXPECT_EQ(window.upper_text, "Hello WORLD");
}

TEST_F(TextCommands, LoadShuffledTextOfAnEmptyFileKeepsTheListAndShowsItAgain) {
  load(put("source.txt", "Hello world"));
  shuffle();
  const TokenList shuffled = dialog.scrambled_tokens();
  window.lower_text = "typed by the user";
  EXPECT_EQ(load_shuffled_text(put("empty.txt", "")), CommandOutcome::kDone);
  EXPECT_TRUE(dialog.scrambled_tokens() == shuffled);
  EXPECT_EQ(window.lower_text, "Hlelo WROLD");
}

TEST_F(TextCommands, LoadShuffledTextOfAMissingFileChangesNothing) {
  load(put("source.txt", "Hello world"));
  shuffle();
  const TokenList shuffled = dialog.scrambled_tokens();
  const std::string missing = dir.file("missing.txt");
  EXPECT_EQ(load_shuffled_text(missing), CommandOutcome::kUnreadable);
  EXPECT_EQ(window.messages, std::vector<std::string>{kCannotOpen});
  EXPECT_TRUE(dialog.scrambled_tokens() == shuffled);
  EXPECT_EQ(window.lower_text, "Hlelo WROLD");
  // The name was taken all the same; the next Save offers it.
  EXPECT_EQ(dialog.scrambled_text_path(), missing);
}

TEST_F(TextCommands, LoadShuffledTextComputesSignaturesEvenWithTheSwitchLeftOn) {
  set_signature_suppression(true);
  load_shuffled_text(put("scrambled.txt", "Hlelo WROLD"));
  EXPECT_DOUBLE_EQ(dialog.scrambled_tokens().element(1).signature, 175930.05710437705);
  EXPECT_DOUBLE_EQ(dialog.scrambled_tokens().element(3).signature, 38784915.72756856);
}

TEST_F(TextCommands, TypedTextInTheBoxesChangesNothing) {
  load(put("source.txt", "Hello world"));
  window.upper_text = "Something else entirely";
  shuffle();
  EXPECT_EQ(window.lower_text, "Hlelo WROLD");
  window.lower_text = "typed";
  const std::string target = dir.file("saved.txt");
  save(target);
  EXPECT_EQ(get_file(target), "Hlelo WROLD");
}

// Cancelled dialogs of files that are read give their preset names, which
// are relative to the working directory.
TEST_F(TextCommands, CancelledReadDialogsUseThePresetNamesInTheWorkingDirectory) {
  WorkingDirectory in_temp(dir.path());

  window.cancel_file();
  EXPECT_EQ(checked(dialog.load()), CommandOutcome::kUnreadable);
  EXPECT_EQ(window.messages, std::vector<std::string>{kCannotOpen});
  EXPECT_EQ(window.upper_text, "");

  put("test2.txt", "Hello world");
  window.cancel_file();
  EXPECT_EQ(checked(dialog.load()), CommandOutcome::kDone);
  EXPECT_EQ(window.upper_text, "Hello WORLD");

  put("savedtext.txt", "Wlhoe");
  window.cancel_file();
  EXPECT_EQ(checked(dialog.load_shuffled_text()), CommandOutcome::kDone);
  EXPECT_EQ(window.lower_text, "WLHOE");
  EXPECT_EQ(dialog.scrambled_text_path(), "savedtext.txt");
}

}  // namespace
}  // namespace quirlex::testing
