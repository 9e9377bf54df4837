// How a long command reports where it stands, and how it is asked to stop.
// The core names the stage and, where it has one, the percentage; the texts
// that a window or a console shows for them are made by the front ends'
// shared layer, in one place.
#pragma once

#include <functional>

namespace quirlex {

enum class Stage {
  // Create Dictionary, in this order.
  kReadingCorpus,    // the corpus is read and split into words
  kFiltering,        // words too short or not storable are dropped
  kSorting,          // the remaining words are put in lexicon order
  kRemovingRepeats,  // repeated words are dropped
  kCompressing,      // the entries are front-coded and the file written
  kLexiconReady,     // the command ends
  // Load Dictionary.
  kCreatingTables,  // the lexicon table is filled
  kDeepWordList,    // the deep word list is filled; comes with a percentage
};

// Called at the start of each stage; `percentage` is -1, or for
// kDeepWordList the share of the lexicon words done (0 to 99).
using ProgressCallback = std::function<void(Stage stage, int percentage)>;

}  // namespace quirlex
