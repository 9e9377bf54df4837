// The window's text commands as a user meets them: the initial state, Load,
// Shuffle, Save and Load shuffled text, their file dialogs, how they hand
// the token lists to each other, and the question before an unsaved text is
// lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

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
  EXPECT_FALSE(window.keep_punctuation);
  EXPECT_EQ(window.status, "No lexicon loaded");
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

TEST_F(TextCommands, LoadShowsTheSourceWithUmlautsSpelledOut) {
  // Windows-1252: Größe Ärger über Straße
  EXPECT_EQ(load(put("source.txt", "Gr\366\337e \304rger \374ber Stra\337e")),
            CommandOutcome::kDone);
  EXPECT_EQ(window.upper_text, "Groesse Aerger ueber Strasse");
  EXPECT_EQ(texts_of(dialog.source_tokens()),
            (std::vector<std::string>{"", "Groesse", " ", "Aerger", " ", "ueber", " ", "Strasse"}));
  EXPECT_EQ(dialog.source_tokens().element(1).signature, signature_of("Groesse"));
  EXPECT_TRUE(dialog.source_file().is_open());
  EXPECT_EQ(window.lower_text, "");
  EXPECT_TRUE(window.messages.empty());
}

// A text keeps the case of every word through Load, Shuffle, Save, Load
// shuffled text and Translate, whatever it ends in: a word, a separator, or
// a NUL byte, where its text ends.
TEST_F(TextCommands, EveryWordKeepsItsCaseToTheEndOfTheText) {
  using namespace std::string_literals;
  create_dictionary(put("corpus.txt", "Die alten Hause"), dir.file("lexicon.dic"));
  load_dictionary(dir.file("lexicon.dic"));
  // The report compares every token but the last: Hause only when a line
  // end follows it.
  const struct {
    std::string file, text, scrambled;
    int compared;
  } cases[] = {
      {"alten Hause", "alten Hause", "aeltn Huase", 6},
      {"alten Hause\n", "alten Hause\n", "aeltn Huase\n", 11},
      {"alten Hause\0REST"s, "alten Hause", "aeltn Huase", 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    dialog.generator().set_state(1);
    load(put("source.txt", c.file));
    EXPECT_EQ(window.upper_text, c.text);
    shuffle();
    EXPECT_EQ(window.lower_text, c.scrambled);
    save(dir.file("saved.txt"));
    EXPECT_EQ(contents("saved.txt"), c.scrambled);
    load_shuffled_text(dir.file("saved.txt"));
    EXPECT_EQ(dialog.scrambled_tokens().join(), c.scrambled);
    translate();
    EXPECT_EQ(window.lower_text, accuracy_line(c.compared, c.compared, 100) + c.text);
  }
}

TEST_F(TextCommands, LoadEmptiesTheScrambledListButKeepsTheLowerBox) {
  load(put("one.txt", "Hello world"));
  shuffle();
  ASSERT_EQ(window.lower_text, "Hlelo wrold");

  // An unreadable file is named in a message and keeps the source, but the
  // scrambled list was emptied before the file was asked for.
  for (const std::string& unreadable : {dir.file("missing.txt"), dir.path()}) {
    SCOPED_TRACE(unreadable);
    window.messages.clear();
    EXPECT_EQ(load(unreadable), CommandOutcome::kUnreadable);
    EXPECT_EQ(window.messages, std::vector<std::string>{std::string(kCannotOpen) + "\n" + unreadable});
    EXPECT_EQ(window.upper_text, "Hello world");
    EXPECT_EQ(dialog.source_tokens().join(), "Hello world");
    EXPECT_TRUE(dialog.scrambled_tokens().is_empty());
    EXPECT_EQ(window.lower_text, "Hlelo wrold");
  }

  shuffle();
  const std::string shown = window.lower_text;
  EXPECT_EQ(load(put("two.txt", "The quick brown fox\n")), CommandOutcome::kDone);
  EXPECT_TRUE(dialog.scrambled_tokens().is_empty());
  EXPECT_EQ(window.lower_text, shown);
  EXPECT_EQ(window.upper_text, "The quick brown fox\n");
  // Nothing is left to save or to restore, and Save says so.
  window.messages.clear();
  const std::size_t dialogs = window.dialogs.size();
  EXPECT_EQ(dialog.save(), CommandOutcome::kNothing);
  EXPECT_EQ(window.dialogs.size(), dialogs);
  EXPECT_EQ(window.messages, std::vector<std::string>{
                                 "There is no scrambled or restored text to save: Shuffle, Load "
                                 "shuffled text or Translate makes one."});
  translate();
  EXPECT_EQ(window.lower_text, accuracy_line(0, 0, 0));
}

TEST_F(TextCommands, LoadOfAnEmptyFileOrNameKeepsTheSourceList) {
  load(put("source.txt", "Hello world"));
  window.upper_text = "typed by the user";
  EXPECT_EQ(load(put("empty.txt", "")), CommandOutcome::kDone);
  EXPECT_EQ(window.upper_text, "Hello world");
  EXPECT_EQ(load(""), CommandOutcome::kNothing);
  EXPECT_TRUE(window.messages.empty());
  EXPECT_EQ(dialog.source_tokens().join(), "Hello world");
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
  // Nothing to save is told before any dialog.
  EXPECT_EQ(dialog.save(), CommandOutcome::kNothing);
  EXPECT_TRUE(window.dialogs.empty());
  EXPECT_EQ(window.messages.size(), 1u);
  // A cancelled dialog neither writes the preset file nor changes the name;
  // the text stays unsaved.
  load(put("source.txt", "Hello world"));
  shuffle();
  window.cancel_file();
  EXPECT_EQ(dialog.save(), CommandOutcome::kNothing);
  EXPECT_EQ(contents("savedtext.txt"), "keep me");
  EXPECT_EQ(dialog.scrambled_text_path(), "savedtext.txt");
  EXPECT_TRUE(dialog.has_unsaved_text());
  EXPECT_EQ(window.messages.size(), 1u);
}

// Every command that would replace or empty a scrambled or restored text
// that was not saved asks first; No leaves everything as it was, Yes goes
// on. A saved text, or one loaded from a file, is given up without a word,
// and Translate, which works on the text, never asks.
TEST_F(TextCommands, CommandsThatWouldLoseAnUnsavedTextAskFirst) {
  const std::string source = put("source.txt", "Hello world\n");
  const std::string other = put("other.txt", "Wlhoe\n");
  const std::string corpus = put("corpus.txt", "Hello world\n");
  const std::string lexicon = dir.file("lexicon.dic");
  create_dictionary(corpus, lexicon);
  const struct {
    const char* command;
    std::function<CommandOutcome()> run;
    std::vector<std::string> answers;
  } commands[] = {
      {"Load", [&] { return dialog.load(); }, {source}},
      {"Shuffle", [&] { return dialog.shuffle(); }, {}},
      {"Load shuffled text", [&] { return dialog.load_shuffled_text(); }, {other}},
      {"Create Dictionary", [&] { return dialog.create_dictionary(); }, {corpus, lexicon}},
      {"Load Dictionary", [&] { return dialog.load_dictionary(); }, {lexicon}},
  };
  for (const bool restored : {false, true}) {
    for (const auto& c : commands) {
      for (const bool yes : {false, true}) {
        SCOPED_TRACE(std::string(c.command) + (restored ? " on a restored text" : "") +
                     (yes ? ", Yes" : ", No"));
        load(source);
        shuffle();
        if (restored) {
          load_dictionary(lexicon);
          shuffle();
          translate();
        }
        const std::string scrambled(dialog.scrambled_tokens().join());
        const std::string lower = window.lower_text;
        const std::string scrambled_path = dialog.scrambled_text_path();
        window.questions.clear();
        window.reply(yes);
        for (const std::string& answer : c.answers) window.answer_file(answer);
        EXPECT_EQ(c.run(), yes ? CommandOutcome::kDone : CommandOutcome::kNothing);
        EXPECT_EQ(window.questions,
                  std::vector<std::string>{std::string(restored ? "The restored text"
                                                                : "The scrambled text") +
                                           " in the lower box has not been saved. " + c.command +
                                           " anyway and lose it?"});
        if (!yes) {
          EXPECT_EQ(dialog.scrambled_tokens().join(), scrambled);
          EXPECT_EQ(window.lower_text, lower);
          EXPECT_EQ(dialog.scrambled_text_path(), scrambled_path);
          EXPECT_TRUE(dialog.has_unsaved_text());
        }
      }
    }
  }
  // Saved, loaded from a file, or restored again: no question.
  load(source);
  shuffle();
  save(dir.file("saved.txt"));
  window.questions.clear();
  load(source);
  load_shuffled_text(dir.file("saved.txt"));
  shuffle();
  translate();
  translate();
  EXPECT_TRUE(window.questions.empty());
}

TEST_F(TextCommands, TypedTextChangesNothingAndSaveWritesExactlyTheScrambledList) {
  load(put("source.txt", "Hello world"));
  window.upper_text = "Something else entirely";
  shuffle();
  EXPECT_EQ(window.lower_text, "Hlelo wrold");
  window.lower_text = "typed";
  const std::string target = put("saved.txt", "an older and longer content");
  EXPECT_EQ(save(target), CommandOutcome::kDone);
  EXPECT_EQ(get_file(target), "Hlelo wrold");
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
  EXPECT_EQ(window.lower_text, "Hlelo wrold");

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
    EXPECT_EQ(window.upper_text, "Hello world");
    EXPECT_EQ(window.lower_text, "Hlelo wrold");
    EXPECT_TRUE(dialog.scrambled_tokens() == scrambled);
    EXPECT_EQ(dialog.scrambled_text_path(), "savedtext.txt");
  }
}

}  // namespace
}  // namespace quirlex::testing
