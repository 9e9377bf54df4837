// Every text the front ends show for the core commands' progress and
// results, made from the values the commands return. Windows-1252 bytes with
// CR LF line ends, as the lower text box holds them; the console converts.
#pragma once

#include <string>

#include "index/load_dictionary.h"
#include "lexicon/create_dictionary.h"
#include "unscramble/accuracy_report.h"

namespace quirlex::texts {

// The message for a file that cannot be opened for reading (UTF-8); the
// window names the file on a second line.
inline constexpr const char* kCannotOpen = "Datei konnte nicht geöffnet werden!";

// The last progress line of a Create Dictionary that the user stopped.
inline constexpr const char* kLexiconStopped = "Stopped: no lexicon was written.";

// The progress line of a stage, ending in CR LF (kLexiconReady's "Ready!"
// ends the progress text and has no line end). kDeepWordList has no line of
// its own: see deep_word_list_line.
std::string stage_line(LexiconStage stage);
std::string stage_line(LoadStage stage);

// Where a progress bar stands at the start of a Create Dictionary stage, in
// percent: the share of the stages before it.
int stage_percentage(LexiconStage stage);

// The one line that replaces the lower box while the deep word list is filled.
std::string deep_word_list_line(int percentage);

// Load Dictionary's report.
std::string dictionary_report(const DictionaryReport& report);
// The same with a line after it telling that the lexicon's bigram file could
// not be used (`problem`, which names the file), so Translate goes without the
// context choice.
std::string dictionary_report(const DictionaryReport& report, const std::string& problem);

// Translate's report: two lines and an empty line.
std::string accuracy_report(const Accuracy& accuracy);

}  // namespace quirlex::texts
