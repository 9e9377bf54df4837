// The steps of Load Dictionary and Create Dictionary that read and write
// files, written once for every front end: which files belong to a lexicon,
// how each of them is read, and how the files a Create Dictionary makes
// replace the earlier ones. The front ends choose the files and show what
// these steps report.
#pragma once

#include <optional>
#include <stop_token>
#include <string>
#include <utility>

#include "base/progress.h"
#include "index/dictionary.h"
#include "index/load_dictionary.h"
#include "lexicon/bigram_file.h"
#include "lexicon/bigram_model.h"
#include "lexicon/letter_model.h"
#include "lexicon/create_dictionary.h"
#include "text/text_encoding.h"

namespace quirlex {

// What one Load Dictionary reads before anything changes: the lexicon file
// and, for Deep Search, the affix lists.
class DictionaryFiles {
 public:
  // Reads the lexicon file at `path`: its bytes as they are, umlauts spelled
  // out. False when it cannot be opened; nothing is kept then.
  bool read_lexicon(const std::string& path);
  // Reads a suffix or prefix list, upper-cased, converted by `encoding` as
  // the command's texts are. False when it cannot be opened; the list then
  // stays empty.
  bool read_suffixes(const std::string& path, ReadEncoding encoding);
  bool read_prefixes(const std::string& path, ReadEncoding encoding);

  // The lexicon file's path as it was read; its model files lie beside it.
  const std::string& lexicon_path() const { return lexicon_path_; }
  // Hands the texts read over to the caller.
  DictionaryTexts take_texts() { return std::move(texts_); }

 private:
  std::string lexicon_path_;
  DictionaryTexts texts_;
};

// The files that belong to a lexicon lie beside it, each named as the
// lexicon file with an ending added: its bigram model (de.dic.bigrams), its
// letter model (de.dic.letters) and the affix lists Deep Search takes for it
// unless others are chosen (de.dic.suffixes, de.dic.prefixes). None of them
// need be there.
struct LexiconCompanions {
  std::string bigrams;
  std::string letters;
  std::string suffixes;
  std::string prefixes;
};
LexiconCompanions companions_of(const std::string& lexicon_path);
// `path` when a file is there (a companion that may be missing).
std::optional<std::string> existing_file(const std::string& path);

// How the model files beside a lexicon are taken.
enum class ModelFiles {
  kNone,       // not read
  kIfPresent,  // read when there; one that cannot be used is reported and left out
  kRequired,   // read; one missing or unusable is a failure that ends the command
};

struct LoadDictionaryOptions {
  bool deep_search = false;
  ModelFiles bigrams = ModelFiles::kIfPresent;  // the bigram file (lexicon/bigram_file.h)
  ModelFiles letters = ModelFiles::kIfPresent;  // the letter model file (lexicon/letter_model_file.h)
};

// What one Load Dictionary filled, beside the dictionary itself.
struct LoadedDictionary {
  DictionaryReport report;
  std::optional<BigramModel> bigrams;
  std::optional<LetterModel> letters;
  // Why a model file could not be used (kIfPresent), naming the file; empty
  // when nothing is wrong.
  std::string bigram_problem;
  std::string letter_problem;
};

// Fills `dictionary` from `files` (see load_dictionary) and reads the model
// files beside the lexicon as `options` say. With kRequired a model that
// cannot be used is a BigramFileError or LetterModelFileError, after the
// dictionary was filled.
LoadedDictionary load_dictionary_files(Dictionary& dictionary, DictionaryFiles files,
                                       const LoadDictionaryOptions& options,
                                       const Progress<LoadStage>& progress,
                                       std::stop_token stop = {});

// Writes the lexicon file of `build` (each entry followed by a line feed) to
// `lexicon_path` and its model files beside it, all together: each goes to
// a temporary file first, and only when every one is complete do they
// replace the files of those names. A failure is a FileError; the earlier
// files then stay as they were, and no temporary file is left.
void create_dictionary_files(const LexiconBuild& build, const std::string& lexicon_path);

}  // namespace quirlex
