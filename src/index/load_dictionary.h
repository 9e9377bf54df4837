// Load Dictionary as one core command: from the texts of a lexicon file and,
// with Deep Search, of a suffix and a prefix file, it fills a dictionary and
// tells what it holds. The front ends read the files and show the report.
#pragma once

#include <cstdint>
#include <stop_token>
#include <string>

#include "base/progress.h"
#include "index/deep_word_list.h"
#include "index/dictionary.h"

namespace quirlex {

// The stages of Load Dictionary.
enum class LoadStage {
  kCreatingTables,  // the lexicon table is filled
  kDeepWordList,    // the deep word list is filled; comes with a percentage
};

struct DictionaryTexts {
  std::string lexicon;  // the lexicon file's bytes, as read
  bool deep_search = false;
  // The affix files' texts, read upper-cased; used only with Deep Search. An
  // empty text gives an empty list.
  std::string suffixes;
  std::string prefixes;
};

// What Load Dictionary filled.
struct DictionaryReport {
  std::int32_t entries = 0;  // entries of the lexicon table
  std::int32_t words = 0;    // words of the lexicon word list
  std::int32_t prefixes = 0;
  std::int32_t suffixes = 0;
  int word_bits = 0;  // the word field's width in a variant code
  DeepSearchOutcome deep_search = DeepSearchOutcome::kNotAsked;
};

// Empties `dictionary`, decodes the lexicon into its word list, files every
// word in the lexicon table and, with Deep Search, reads the affix lists and
// builds the deep word list. Progress: kCreatingTables once, then
// kDeepWordList with each percentage. A stop request ends the deep word list
// early and leaves the variant table empty (outcome kStopped). A failure
// (memory) leaves the dictionary as far as it was filled.
DictionaryReport load_dictionary(Dictionary& dictionary, DictionaryTexts texts,
                                 const Progress<LoadStage>& progress, std::stop_token stop = {});

}  // namespace quirlex
