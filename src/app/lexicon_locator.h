// Lexicons by name: `de` instead of a path. A name that holds a slash, or
// names a file in the working folder, is that file. Any other name is looked
// up, as NAME and then NAME.dic, in the lexicon folders in this order: each
// folder of QUIRLEX_LEXICON_PATH (colon-separated), then
// $XDG_DATA_HOME/quirlex/lexicons (~/.local/share when unset), then the
// folder the package installs its lexicons in. The first file found wins.
// The files that belong to a lexicon lie beside it (see companions_of in
// dictionary_files.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/failure.h"

namespace quirlex {

// Where lexicons are looked for; from_environment() reads the process's.
struct LexiconPlaces {
  std::string working_folder = ".";
  std::string lexicon_path;  // QUIRLEX_LEXICON_PATH
  std::string data_home;     // XDG_DATA_HOME
  std::string home;          // HOME
  std::string installed;     // where the package puts its lexicons

  static LexiconPlaces from_environment();

  // The lexicon folders in search order (the working folder is not one of
  // them); folders that do not exist are listed too.
  std::vector<std::string> folders() const;
};

// The folder the package installs its lexicons in.
std::string installed_lexicon_folder();

// A lexicon name found nowhere; the text says where it was looked for.
class LexiconNotFound : public Failure {
 public:
  LexiconNotFound(const std::string& name, const std::vector<std::string>& folders);
};

// The path of the lexicon `name` stands for (a name with a slash or a file
// of the working folder as given), or LexiconNotFound. An empty name is
// InvalidArgument.
std::string locate_lexicon(const std::string& name,
                           const LexiconPlaces& places = LexiconPlaces::from_environment());

// The first file of the lexicon folders that the name `name` finds, as NAME
// or NAME.dic; the working folder is not looked at.
std::optional<std::string> find_lexicon(
    const std::string& name, const LexiconPlaces& places = LexiconPlaces::from_environment());

// The lexicon a file dialog's choice stands for. A dialog gives a path in
// the folder it shows, so a name typed there ("de") names a file of that
// folder: `chosen` when it is a file, else the lexicon its file name finds in
// the lexicon folders, else `chosen` itself (which then cannot be opened).
std::string locate_chosen_lexicon(const std::string& chosen,
                                  const LexiconPlaces& places = LexiconPlaces::from_environment());

// One lexicon of a lexicon folder.
struct FoundLexicon {
  std::string name;    // as it is asked for: the file name without .dic
  std::string folder;
  std::string path;
  std::uint64_t words = 0;  // the file's lines, one word each
  bool bigrams = false;
  bool letters = false;
  bool suffixes = false;
  bool prefixes = false;
  // The name finds another file first (in the working folder or a folder
  // before this one).
  bool hidden = false;
};

// The lexicons of every lexicon folder (each file NAME.dic), in search
// order and by name within a folder. A file that cannot be read counts no
// words.
std::vector<FoundLexicon> list_lexicons(
    const LexiconPlaces& places = LexiconPlaces::from_environment());

}  // namespace quirlex
