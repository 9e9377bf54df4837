// Every text the front ends show for the core commands' progress and
// results, made from the values the commands return. Windows-1252 bytes with
// CR LF line ends, as the lower text box holds them; the console converts.
#pragma once

#include <string>
#include <string_view>

#include "index/load_dictionary.h"
#include "lexicon/create_dictionary.h"
#include "unscramble/accuracy_report.h"
#include "unscramble/translate.h"

namespace quirlex::texts {

// The message for a file that cannot be opened for reading (UTF-8); the
// window names the file on a second line.
inline constexpr const char* kCannotOpen = "Datei konnte nicht geöffnet werden!";

// The last progress line of a Create Dictionary that the user stopped.
inline constexpr const char* kLexiconStopped = "Stopped: no lexicon was written.";

// Save's message when the lower box holds no scrambled or restored text of
// its own (UTF-8).
inline constexpr const char* kNothingToSave =
    "There is no scrambled or restored text to save: Shuffle, Load shuffled text or Translate "
    "makes one.";

// The question before `command` (a button's caption, or "Quit") throws away
// a scrambled or restored text that was not saved (UTF-8).
std::string unsaved_text_question(bool restored, std::string_view command);

// The progress line of a stage, ending in CR LF (kLexiconReady's "Ready!"
// ends the progress text and has no line end); kSorting's names `order`.
// kDeepWordList has no line of its own: see deep_word_list_line.
std::string stage_line(LexiconStage stage, LexiconOrder order = LexiconOrder::kSorted);
std::string stage_line(LoadStage stage);

// Where a progress bar stands in a Create Dictionary, in percent: the
// reading stages take most of the bar, in proportion to the `share` they
// tell (-1 as a stage begins), and the second reading only when the build
// counts `bigrams`.
int stage_percentage(LexiconStage stage, int share, bool bigrams);

// The one line that replaces the lower box while the deep word list is filled.
std::string deep_word_list_line(int percentage);

// Load Dictionary's report.
std::string dictionary_report(const DictionaryReport& report);
// The same with a line after it for each model file beside the lexicon that
// could not be used (each problem names its file; empty: none), telling what
// Translate goes without.
struct ModelProblems {
  std::string bigrams;
  std::string letters;
};
std::string dictionary_report(const DictionaryReport& report, const ModelProblems& problems);

// Translate's report: two lines and an empty line.
std::string accuracy_report(const Accuracy& accuracy);
// The report of the best restoring: the same with a line before the empty
// one telling how many words the letter model restored.
std::string accuracy_report(const Accuracy& accuracy, std::int64_t letter_model_words);

// How many words each restoring step restored, for a Translate without a
// source text to compare with: one line. Steps that did not run are left
// out; `unrestored` words of four bytes or more stayed as they were.
struct RestoringSteps {
  bool deep_search = false;
  bool compounds = false;
  bool context = false;
  bool letter_model = false;
};
std::string restored_words_report(const TranslateResult& result, RestoringSteps steps,
                                  std::int64_t unrestored);

// The window's status line: which lexicon is loaded and what came with it
// (UTF-8; `lexicon_name` is the file's name as the system spells it).
inline constexpr const char* kNoLexiconStatus = "No lexicon loaded";
enum class ModelFileState { kNone, kLoaded, kUnusable };
struct ModelStates {
  ModelFileState bigrams = ModelFileState::kNone;
  ModelFileState letters = ModelFileState::kNone;
};
std::string dictionary_status(std::string_view lexicon_name, const DictionaryReport& report,
                              ModelStates models);

}  // namespace quirlex::texts
