// Translate as a user meets it, after the commands that feed it: the report
// and the restored text, the Deep Search box, repeated runs, and a dictionary
// that must survive Create Dictionary.
#include <gtest/gtest.h>

#include "testing/main_dialog_test_fixture.h"

namespace quirlex::testing {
namespace {

using Translate = MainDialogTest;

TEST_F(Translate, ShowsTheReportFollowedByTheRestoredText) {
  load(put("fox.txt", "The quick brown fox jumps over the lazy dog\n"));
  // BROWN is missing from the dictionary.
  create_dictionary(put("corpus.txt", "quick jumps over lazy"), dir.file("lexicon.dic"));
  load_dictionary(dir.file("lexicon.dic"));
  shuffle();
  ASSERT_EQ(window.lower_text, "The qcuik borwn fox jpmus over the lazy dog\n");
  window.repaints.clear();

  EXPECT_EQ(translate(), CommandOutcome::kDone);
  // 43 characters before the final line end are compared; borwn (5) is wrong.
  const std::string expected =
      accuracy_line(38, 43, 88) + "The quick borwn fox jumps over the lazy dog\n";
  EXPECT_EQ(window.lower_text, expected);
  ASSERT_EQ(window.repaints.size(), 1u);
  EXPECT_EQ(window.repaints[0].target, RepaintTarget::kLowerTextBox);
  EXPECT_EQ(window.repaints[0].lower_text, expected);
  EXPECT_TRUE(window.messages.empty());
}

// The two boxes beyond the classic ones: Create Dictionary's frequency order
// (the Sort box then does not count) makes the more frequent of two
// look-alike words win, and Translate's Compound Search joins two words.
TEST_F(Translate, FrequencyOrderAndCompoundSearchOnlyWhenTheirBoxesAreChecked) {
  const std::string corpus = put("corpus.txt", "Graten Garten Garten Haus Boot");
  const std::string scrambled = put("scrambled.txt", "Der Gtraen und das Hsuobaot.\n");
  const struct {
    bool frequency, compounds;
    std::string restored;
  } cases[] = {
      {false, false, "Der Graten und das Hsuobaot.\n"},
      {true, false, "Der Garten und das Hsuobaot.\n"},
      {false, true, "Der Graten und das Hausboot.\n"},
      {true, true, "Der Garten und das Hausboot.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.restored);
    window.frequency = c.frequency;
    window.sort = true;
    create_dictionary(corpus, dir.file("lexicon.dic"));
    load_dictionary(dir.file("lexicon.dic"));
    load_shuffled_text(scrambled);
    window.compounds = c.compounds;
    EXPECT_EQ(translate(), CommandOutcome::kDone);
    EXPECT_EQ(dialog.scrambled_tokens().join(), c.restored);
  }
}

TEST_F(Translate, WithoutADictionaryOrAScrambledTextRestoresNothingAndShowsNoError) {
  load(put("source.txt", "Hello world"));
  shuffle();
  EXPECT_EQ(translate(), CommandOutcome::kDone);
  EXPECT_EQ(window.lower_text, accuracy_line(1, 6, 16) + "Hlelo wrold");
  // Load Dictionary empties the scrambled list: the report stands alone.
  load_dictionary(put("lexicon.dic", "HELLO\nWORLD\n"));
  EXPECT_EQ(translate(), CommandOutcome::kDone);
  EXPECT_EQ(window.lower_text, accuracy_line(0, 0, 0));
  EXPECT_TRUE(window.messages.empty());
  shuffle();
  translate();
  EXPECT_EQ(window.lower_text, accuracy_line(6, 6, 100) + "Hello world");
}

// A restored text is saved under a name of its own: the scrambled text's
// name stays for Save and Load shuffled text of scrambled texts.
TEST_F(Translate, SaveAfterTranslateWritesTheRestoredTextUnderItsOwnName) {
  load_dictionary(put("lexicon.dic", "HELLO\nWORLD\n"));
  const std::string scrambled = put("scrambled.txt", "Hlelo, wrold!\r\n");
  load_shuffled_text(scrambled);
  translate();
  const std::string target = dir.file("restored.txt");
  save(target);
  EXPECT_EQ(window.dialogs.back().preset, "restoredtext.txt");
  EXPECT_EQ(window.dialogs.back().purpose, FilePurpose::kSaveRestoredText);
  EXPECT_EQ(get_file(target), "Hello, world!\r\n");
  EXPECT_EQ(dialog.restored_text_path(), target);
  EXPECT_EQ(dialog.scrambled_text_path(), scrambled);
  save(dir.file("again.txt"));
  EXPECT_EQ(window.dialogs.back().preset, target);
  // Read back, the restored words are ordinary words again.
  load_shuffled_text(target);
  EXPECT_EQ(dialog.scrambled_tokens().element(1).separator, 0);
}

TEST_F(Translate, DeepSearchBoxDecidesAtTranslateAndASecondRunRetriesTheRest) {
  load_deep_dictionary(put("lexicon.dic", "HAUS\nKIND\n"), put("suffixes.txt", "ness\n"), "");
  load_shuffled_text(put("scrambled.txt", "Kdinenss Huas.\n"));

  window.deep_search = false;
  translate();
  EXPECT_EQ(window.lower_text, accuracy_line(0, 0, 0) + "Kdinenss Haus.\n");

  window.deep_search = true;
  translate();
  EXPECT_EQ(window.lower_text, accuracy_line(0, 0, 0) + "Kindness Haus.\n");
}

// Create Dictionary between Load Dictionary and Translate leaves the lexicon
// word list that the variant codes index alone, so Deep Search still builds
// its words from the loaded lexicon, not from the new corpus.
TEST_F(Translate, DeepSearchStillWorksAfterCreateDictionary) {
  load_deep_dictionary(put("lexicon.dic", "HAUS\nKIND\n"), put("suffixes.txt", "ness\n"), "");
  const std::string other = dir.file("other.dic");
  create_dictionary(put("corpus.txt", "Apfel Birne Zitrone Kiwis"), other);
  ASSERT_EQ(get_file(other), "APFEL\nBIRNE\nKIWIS\nZITRONE\n");

  load_shuffled_text(put("scrambled.txt", "Kdinenss Huas.\n"));
  window.deep_search = true;
  EXPECT_EQ(translate(), CommandOutcome::kDone);
  EXPECT_EQ(dialog.scrambled_tokens().join(), "Kindness Haus.\n");
  EXPECT_TRUE(window.messages.empty());
}

}  // namespace
}  // namespace quirlex::testing
