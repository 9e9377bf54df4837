// The window's text commands as a user meets them: the initial state, Load,
// Shuffle, Save and Load shuffled text, their file dialogs and how they hand
// the token lists to each other.
#include <gtest/gtest.h>

#include <algorithm>

#include "testing/main_dialog_test_fixture.h"
#include "text/signature.h"
#include "text/windows1252.h"

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
  EXPECT_EQ(dialog.scrambled_text_path(), "savedtext.txt");
}

TEST_F(TextCommands, EveryDialogIsPresetWithItsFileName) {
  const std::string text = put("text.txt", "Hello world");
  const std::string saved = dir.file("saved.txt");
  const std::string lexicon = dir.file("lexicon.dic");
  load(text);
  shuffle();
  save(saved);
  load_shuffled_text(saved);
  create_dictionary(text, lexicon);
  load_deep_dictionary(lexicon, "", "");

  const std::vector<std::pair<std::string, FileUse>> expected = {
      {"test2.txt", FileUse::kRead},     {"savedtext.txt", FileUse::kWrite},
      {saved, FileUse::kRead},           {"pqlexikon.txt", FileUse::kRead},
      {"Lexikon.dic", FileUse::kWrite},  {"Lexikon.dic", FileUse::kRead},
      {"Suffix_en.txt", FileUse::kRead}, {"EMPTY SUFFIX PREFIX LIST.txt", FileUse::kRead},
  };
  ASSERT_EQ(window.dialogs.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(window.dialogs[i].preset, expected[i].first) << "dialog " << i;
    EXPECT_EQ(window.dialogs[i].use, expected[i].second) << "dialog " << i;
  }
}

TEST_F(TextCommands, LoadShowsTheSourceWithUmlautsSpelledOutAndTheLastWordInCapitals) {
  // Windows-1252: Größe Ärger über Straße
  EXPECT_EQ(load(put("source.txt", "Gr\366\337e \304rger \374ber Stra\337e")),
            CommandOutcome::kDone);
  EXPECT_EQ(window.upper_text, "Groesse Aerger ueber STRASSE");
  EXPECT_EQ(texts_of(dialog.source_tokens()),
            (std::vector<std::string>{"", "Groesse", " ", "Aerger", " ", "ueber", " ", "STRASSE"}));
  EXPECT_EQ(dialog.source_tokens().element(1).signature, signature_of("Groesse"));
  EXPECT_TRUE(dialog.source_file().is_open());
  EXPECT_EQ(window.lower_text, "");
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(TextCommands, LoadEmptiesTheScrambledListButKeepsTheLowerBox) {
  load(put("one.txt", "Hello world"));
  shuffle();
  ASSERT_EQ(window.lower_text, "Hlelo WROLD");

  // An unreadable file is named in a message and keeps the source, but the
  // scrambled list was emptied before the file was asked for.
  for (const std::string& unreadable : {dir.file("missing.txt"), dir.path()}) {
    SCOPED_TRACE(unreadable);
    window.messages.clear();
    EXPECT_EQ(load(unreadable), CommandOutcome::kUnreadable);
    EXPECT_EQ(window.messages, std::vector<std::string>{std::string(kCannotOpen) + "\n" + unreadable});
    EXPECT_EQ(window.upper_text, "Hello WORLD");
    EXPECT_EQ(dialog.source_tokens().join(), "Hello WORLD");
    EXPECT_TRUE(dialog.scrambled_tokens().is_empty());
    EXPECT_EQ(window.lower_text, "Hlelo WROLD");
  }

  shuffle();
  const std::string shown = window.lower_text;
  EXPECT_EQ(load(put("two.txt", "The quick brown fox\n")), CommandOutcome::kDone);
  EXPECT_TRUE(dialog.scrambled_tokens().is_empty());
  EXPECT_EQ(window.lower_text, shown);
  EXPECT_EQ(window.upper_text, "The quick brown fox\n");
  // Nothing is left to save or to restore.
  const std::string saved = dir.file("saved.txt");
  EXPECT_EQ(save(saved), CommandOutcome::kNothing);
  EXPECT_FALSE(file_exists(saved));
  translate();
  EXPECT_EQ(window.lower_text, accuracy_line(0, 0, 0));
}

TEST_F(TextCommands, LoadOfAnEmptyFileOrNameKeepsTheSourceList) {
  load(put("source.txt", "Hello world"));
  window.upper_text = "typed by the user";
  EXPECT_EQ(load(put("empty.txt", "")), CommandOutcome::kDone);
  EXPECT_EQ(window.upper_text, "Hello WORLD");
  EXPECT_EQ(load(""), CommandOutcome::kNothing);
  EXPECT_TRUE(window.messages.empty());
  EXPECT_EQ(dialog.source_tokens().join(), "Hello WORLD");
}

TEST_F(TextCommands, ShuffleGoesOnWithTheGeneratorOfTheEarlierShuffle) {
  load(put("fox.txt", "The quick brown fox jumps over the lazy dog\n"));
  EXPECT_EQ(shuffle(), CommandOutcome::kDone);
  EXPECT_EQ(window.lower_text, "The qcuik borwn fox jpmus over the lazy dog\n");
  shuffle();
  EXPECT_NE(window.lower_text, "The qcuik borwn fox jpmus over the lazy dog\n");
  EXPECT_EQ(window.lower_text.size(), dialog.source_tokens().join().size());
}

TEST_F(TextCommands, ShuffleWithoutASourceEmptiesTheScrambledListAndTheLowerBox) {
  load_shuffled_text(put("scrambled.txt", "Hlelo WROLD"));
  ASSERT_FALSE(dialog.scrambled_tokens().is_empty());
  EXPECT_EQ(shuffle(), CommandOutcome::kDone);
  EXPECT_TRUE(dialog.scrambled_tokens().is_empty());
  EXPECT_EQ(window.lower_text, "");
}

TEST_F(TextCommands, SaveWithNothingToSaveOrACancelledDialogWritesNothing) {
  WorkingDirectory in_temp(dir.path());
  put("savedtext.txt", "keep me");
  const std::string target = dir.file("saved.txt");
  EXPECT_EQ(save(target), CommandOutcome::kNothing);
  EXPECT_FALSE(file_exists(target));
  EXPECT_EQ(dialog.scrambled_text_path(), target);
  // A cancelled dialog neither writes the preset file nor changes the name.
  load(put("source.txt", "Hello world"));
  shuffle();
  window.cancel_file();
  EXPECT_EQ(dialog.save(), CommandOutcome::kNothing);
  EXPECT_FALSE(file_exists(target));
  EXPECT_EQ(contents("savedtext.txt"), "keep me");
  EXPECT_EQ(dialog.scrambled_text_path(), target);
}

TEST_F(TextCommands, TypedTextChangesNothingAndSaveWritesExactlyTheScrambledList) {
  load(put("source.txt", "Hello world"));
  window.upper_text = "Something else entirely";
  shuffle();
  EXPECT_EQ(window.lower_text, "Hlelo WROLD");
  window.lower_text = "typed";
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

TEST_F(TextCommands, SavedScrambledTextLoadsBackTokenForTokenAndLeavesTheSourceAlone) {
  // Umlauts are spelled out on Load, so the saved text reads back unchanged.
  load(put("source.txt",
           "Der kleine Garten hinter dem alten Haus.\r\n\304pfel, Birnen und s\374\337e "
           "Bl\374ten \"im\" Sommer; 42 Bienen!"));
  const TokenList source = dialog.source_tokens();
  shuffle();
  const TokenList shuffled = dialog.scrambled_tokens();
  const std::string target = dir.file("saved.txt");
  save(target);
  window.lower_text.clear();

  EXPECT_EQ(load_shuffled_text(target), CommandOutcome::kDone);
  EXPECT_EQ(texts_of(dialog.scrambled_tokens()), texts_of(shuffled));
  EXPECT_TRUE(dialog.scrambled_tokens() == shuffled) << "flags, letter masks or signatures differ";
  EXPECT_EQ(window.lower_text, shuffled.join());
  EXPECT_TRUE(dialog.source_tokens() == source);
  EXPECT_EQ(window.upper_text, source.join());
}

// A UTF-8 text (an arrow where its Windows-1252 twin holds '#') scrambles
// as its twin does; Save writes each scrambled text in its source's
// encoding, and a loaded scrambled text in its file's.
TEST_F(TextCommands, EachTextIsSavedInTheEncodingItCameIn) {
  const std::string windows1252 = "Gr\366\337e # \304rgerlich \374berall Stra\337e\r\n";
  const std::string utf8 = "Größe → Ärgerlich überall Straße\r\n";
  const auto utf8_twin = [](const std::string& text) {
    std::string twin = windows1252_to_utf8(text);
    return twin.replace(twin.find('#'), 1, "\xE2\x86\x92");
  };
  for (const auto& [name, text] : {std::pair{"w", windows1252}, std::pair{"u", utf8}}) {
    dialog.generator().set_state(1);
    load(put(std::string(name) + ".txt", text));
    shuffle();
    save(dir.file(std::string(name) + "-saved.txt"));
  }
  const std::string saved = contents("w-saved.txt");
  ASSERT_NE(saved.find('#'), std::string::npos);
  EXPECT_EQ(contents("u-saved.txt"), utf8_twin(saved));

  // Loaded one after the other, each scrambled text is saved as it came;
  // Translate keeps the encoding of the text it restores.
  create_dictionary(put("corpus.txt", windows1252), dir.file("lexicon.dic"));
  load_dictionary(dir.file("lexicon.dic"));
  for (const char* name : {"u-saved.txt", "w-saved.txt", "u-saved.txt"}) {
    SCOPED_TRACE(name);
    load_shuffled_text(dir.file(name));
    save(dir.file("again.txt"));
    EXPECT_EQ(contents("again.txt"), contents(name));
    translate();
    save(dir.file("restored.txt"));
    std::string restored(dialog.scrambled_tokens().join());
    if (std::string(name) == "u-saved.txt") {
      // Inside, the arrow is a separator byte that stands for it.
      std::replace(restored.begin(), restored.end(), '\x1A', '#');
      restored = utf8_twin(restored);
    }
    EXPECT_EQ(contents("restored.txt"), restored);
  }
}

TEST_F(TextCommands, LoadShuffledTextOfAnEmptyOrMissingFileKeepsTheScrambledList) {
  load(put("source.txt", "Hello world"));
  shuffle();
  const TokenList shuffled = dialog.scrambled_tokens();
  window.lower_text = "typed by the user";
  EXPECT_EQ(load_shuffled_text(put("empty.txt", "")), CommandOutcome::kDone);
  EXPECT_TRUE(dialog.scrambled_tokens() == shuffled);
  EXPECT_EQ(window.lower_text, "Hlelo WROLD");

  window.lower_text = "typed by the user";
  const std::string missing = dir.file("missing.txt");
  EXPECT_EQ(load_shuffled_text(missing), CommandOutcome::kUnreadable);
  EXPECT_EQ(window.messages, std::vector<std::string>{std::string(kCannotOpen) + "\n" + missing});
  EXPECT_TRUE(dialog.scrambled_tokens() == shuffled);
  EXPECT_EQ(window.lower_text, "typed by the user");
  // The name was taken all the same; the next Save offers it.
  EXPECT_EQ(dialog.scrambled_text_path(), missing);
}

// A cancelled reading dialog changes nothing, even with the preset file at
// hand in the working directory.
TEST_F(TextCommands, CancelledReadDialogsChangeNothing) {
  WorkingDirectory in_temp(dir.path());
  put("test2.txt", "Other text");
  put("savedtext.txt", "Wlhoe");
  load(put("source.txt", "Hello world"));
  shuffle();
  const TokenList scrambled = dialog.scrambled_tokens();
  for (const auto command : {&MainDialog::load, &MainDialog::load_shuffled_text}) {
    window.cancel_file();
    EXPECT_EQ((dialog.*command)(), CommandOutcome::kNothing);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(window.upper_text, "Hello WORLD");
    EXPECT_EQ(window.lower_text, "Hlelo WROLD");
    EXPECT_TRUE(dialog.scrambled_tokens() == scrambled);
    EXPECT_EQ(dialog.scrambled_text_path(), "savedtext.txt");
  }
}

}  // namespace
}  // namespace quirlex::testing
