// Create Dictionary as a user meets it: its progress lines, the lexicon file
// it writes with and without the Sort box, and what it leaves alone.
#include <gtest/gtest.h>

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
  window.answer_file(missing);
  EXPECT_EQ(dialog.create_dictionary(), CommandOutcome::kUnreadable);
  EXPECT_EQ(window.messages, std::vector<std::string>{std::string(kCannotOpen) + "\n" + missing});
  EXPECT_EQ(window.lower_text, kReadLine);
  ASSERT_EQ(window.repaints.size(), 1u);
  EXPECT_EQ(window.repaints[0].lower_text, kReadLine);
  EXPECT_EQ(window.dialogs.back().preset, "pqlexikon.txt") << "the lexicon dialog was shown";
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
    EXPECT_EQ(window.lower_text, "HLELO");
    EXPECT_EQ(dialog.scrambled_tokens().join(), "HLELO");
    EXPECT_EQ(window.dialogs.back().preset, "pqlexikon.txt") << "the lexicon dialog was shown";
    EXPECT_TRUE(window.messages.empty());
  }
}

TEST_F(CreateDictionary, CancelledOrEmptyLexiconNameWritesNothingAndEndsWithReady) {
  WorkingDirectory in_temp(dir.path());
  put("Lexikon.dic", "UNCONFIRMED\n");
  const std::string chosen = dir.file("chosen.dic");
  create_dictionary(put("corpus.txt", kCorpus), chosen);

  window.answer_file(dir.file("corpus.txt"));
  window.cancel_file();
  EXPECT_EQ(dialog.create_dictionary(), CommandOutcome::kNothing);
  EXPECT_EQ(contents("Lexikon.dic"), "UNCONFIRMED\n");
  EXPECT_EQ(window.lower_text, kAllLines);
  EXPECT_EQ(dialog.lexicon_path(), chosen);

  EXPECT_EQ(create_dictionary(dir.file("corpus.txt"), ""), CommandOutcome::kNothing);
  EXPECT_EQ(window.lower_text, kAllLines);
  EXPECT_EQ(dialog.lexicon_path(), "");
  EXPECT_TRUE(window.file_errors.empty());
}

}  // namespace
}  // namespace quirlex::testing
