// Create Dictionary as a user meets it: its progress lines and bar, the
// lexicon file it writes with and without the Sort box, the lexicon's name
// asked before the corpus is read, and what it leaves alone.
#include <gtest/gtest.h>

#include <algorithm>

#include "lexicon/create_dictionary.h"
#include "testing/main_dialog_test_fixture.h"
#include "text/token_writer.h"

namespace quirlex::testing {
namespace {

using CreateDictionary = MainDialogTest;

// Windows-1252, with an umlaut, a repeated word and words too short to keep.
constexpr const char* kCorpus = "Haust\xFCr Haus-Tier haus HAUS Halm Hof.\r\n";

// The lexicon file the core command makes of `corpus` in `order`.
std::string lexicon_of(const std::string& corpus, LexiconOrder order) {
  const LexiconBuild build = build_lexicon({{.path = corpus}}, {.order = order}, [](LexiconStage, int) {});
  std::string file;
  put_tokens(build.entries, "\n", [&file](std::string_view bytes) { file += bytes; });
  return file;
}

const std::string kAllLines =
    std::string(kReadLine) + kFilterLine + kSortLine + kRepeatsLine + kCompressLine + "Ready!";

TEST_F(CreateDictionary, ShowsAndRepaintsEachOfItsSixLinesAndWritesTheSortedLexicon) {
  load_shuffled_text(put("scrambled.txt", "Hlelo"));
  window.lower_text = "an earlier report";
  const std::string lexicon = dir.file("lexicon.dic");
  EXPECT_EQ(create_dictionary(put("corpus.txt", kCorpus), lexicon), CommandOutcome::kDone);

  EXPECT_EQ(window.lower_text, kAllLines);
  const std::vector<std::string> lines = {kReadLine,    kFilterLine,   kSortLine,
                                          kRepeatsLine, kCompressLine, "Ready!"};
  ASSERT_EQ(window.repaints.size(), lines.size());
  std::string shown;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    shown += lines[i];
    EXPECT_EQ(window.repaints[i].target, RepaintTarget::kLowerTextBox) << i;
    EXPECT_EQ(window.repaints[i].lower_text, shown) << i;
  }
  EXPECT_TRUE(window.messages.empty());
  EXPECT_TRUE(dialog.scrambled_tokens().is_empty());
  EXPECT_EQ(get_file(lexicon), lexicon_of(dir.file("corpus.txt"), LexiconOrder::kSorted));
  EXPECT_EQ(dialog.lexicon_path(), lexicon);
  // The bar only moves on, and ends full.
  ASSERT_FALSE(window.bar.empty());
  EXPECT_TRUE(std::is_sorted(window.bar.begin(), window.bar.end()));
  EXPECT_EQ(window.bar.front(), 0);
  EXPECT_EQ(window.bar.back(), 100);
}

// The frequency box names its order and the model file it writes, in place
// of the sorted order's line.
TEST_F(CreateDictionary, TheFrequencyOrderIsNamedWithTheModelFileItWrites) {
  window.frequency = true;
  const std::string lexicon = dir.file("lexicon.dic");
  EXPECT_EQ(create_dictionary(put("corpus.txt", kCorpus), lexicon), CommandOutcome::kDone);
  EXPECT_EQ(window.lower_text,
            std::string(kReadLine) + kFilterLine +
                "Remaining words are now ordered by their frequency in the corpus\r\n" +
                kRepeatsLine + kCompressLine +
                "Count the word pairs and save them in the model file\r\n" + "Ready!");
  EXPECT_TRUE(file_exists(lexicon + ".bigrams"));
  EXPECT_TRUE(std::is_sorted(window.bar.begin(), window.bar.end()));
  EXPECT_EQ(window.bar.back(), 100);
}

TEST_F(CreateDictionary, WithoutTheSortBoxKeepsTheOrderOfFirstAppearance) {
  window.sort = false;
  const std::string lexicon = dir.file("lexicon.dic");
  create_dictionary(put("corpus.txt", kCorpus), lexicon);
  const std::string unsorted = lexicon_of(dir.file("corpus.txt"), LexiconOrder::kText);
  EXPECT_NE(unsorted, lexicon_of(dir.file("corpus.txt"), LexiconOrder::kSorted));
  EXPECT_EQ(get_file(lexicon), unsorted);
}

TEST_F(CreateDictionary, LeavesTheLoadedDictionaryAlone) {
  load_dictionary(put("loaded.dic", "HELLO\nWORLD\n"));
  create_dictionary(put("corpus.txt", kCorpus), dir.file("lexicon.dic"));
  EXPECT_EQ(texts_of(dialog.dictionary().words), (std::vector<std::string>{"HELLO", "WORLD"}));
  EXPECT_EQ(dialog.dictionary().lexicon_table.entry_count(), 2);
  // Its lexicon is not loaded: Translate still restores from the old one.
  load_shuffled_text(put("again.txt", "Hlelo wrold\n"));
  translate();
  EXPECT_EQ(dialog.scrambled_tokens().join(), "Hello world\n");
}

TEST_F(CreateDictionary, UnreadableCorpusIsNamedAfterTheFirstLineAndTouchesNoLexicon) {
  const std::string lexicon = put("lexicon.dic", "OLD\nLEXICON\n");
  load_dictionary(lexicon);
  load_shuffled_text(put("scrambled.txt", "Hlelo"));
  window.repaints.clear();

  const std::string missing = dir.file("missing.txt");
  EXPECT_EQ(create_dictionary(missing, lexicon), CommandOutcome::kUnreadable);
  EXPECT_EQ(window.messages, std::vector<std::string>{std::string(kCannotOpen) + "\n" + missing});
  EXPECT_EQ(window.lower_text, kReadLine);
  ASSERT_EQ(window.repaints.size(), 1u);
  EXPECT_EQ(window.repaints[0].lower_text, kReadLine);
  EXPECT_EQ(get_file(lexicon), "OLD\nLEXICON\n");
  EXPECT_EQ(dialog.lexicon_path(), lexicon);
  EXPECT_TRUE(dialog.scrambled_tokens().is_empty());
}

TEST_F(CreateDictionary, CancelledOrEmptyCorpusDialogChangesNothing) {
  WorkingDirectory in_temp(dir.path());
  put("pqlexikon.txt", "Zebra Apfel");
  load_shuffled_text(put("scrambled.txt", "Hlelo"));
  for (const bool cancel : {true, false}) {
    SCOPED_TRACE(cancel);
    window.repaints.clear();
    cancel ? window.cancel_file() : window.answer_file("");
    EXPECT_EQ(dialog.create_dictionary(), CommandOutcome::kNothing);
    EXPECT_TRUE(window.repaints.empty());
    EXPECT_EQ(window.lower_text, "Hlelo");
    EXPECT_EQ(dialog.scrambled_tokens().join(), "Hlelo");
    EXPECT_EQ(window.dialogs.back().preset, "pqlexikon.txt") << "the lexicon dialog was shown";
    EXPECT_TRUE(window.messages.empty());
  }
}

// The lexicon's name is asked right after the corpus, before it is read: a
// cancelled or empty name ends the command with nothing read, shown or
// written, and no "Ready!".
TEST_F(CreateDictionary, CancelledOrEmptyLexiconNameEndsBeforeTheCorpusIsRead) {
  WorkingDirectory in_temp(dir.path());
  put("Lexikon.dic", "UNCONFIRMED\n");
  const std::string chosen = dir.file("chosen.dic");
  create_dictionary(put("corpus.txt", kCorpus), chosen);
  load_shuffled_text(put("scrambled.txt", "Hlelo"));
  window.lower_text = "an earlier report";
  window.repaints.clear();
  window.bar.clear();
  for (const bool cancel : {true, false}) {
    SCOPED_TRACE(cancel);
    window.answer_file(dir.file("corpus.txt"));
    cancel ? window.cancel_file() : window.answer_file("");
    EXPECT_EQ(dialog.create_dictionary(), CommandOutcome::kNothing);
    EXPECT_EQ(window.dialogs.back().preset, "Lexikon.dic");
    EXPECT_EQ(contents("Lexikon.dic"), "UNCONFIRMED\n");
    EXPECT_EQ(window.lower_text, "an earlier report");
    EXPECT_TRUE(window.repaints.empty() && window.bar.empty());
    EXPECT_EQ(dialog.scrambled_tokens().join(), "Hlelo");
    EXPECT_EQ(dialog.lexicon_path(), chosen);
    EXPECT_TRUE(window.file_errors.empty() && window.messages.empty());
  }
}

}  // namespace
}  // namespace quirlex::testing
