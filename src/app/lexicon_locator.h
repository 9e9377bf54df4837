// Lexicons by name: `de` instead of a path. A name that holds a slash, or
// names a file in the working folder, is that file. Any other name is looked
// up, as NAME and then NAME.dic, in the lexicon folders in this order: each
// folder of QUIRLEX_LEXICON_PATH (colon-separated), then
// $XDG_DATA_HOME/quirlex/lexicons (~/.local/share when unset), then the
// folder the package installs its lexicons in. The first file found wins.
//
// A lexicon's model files and affix lists lie beside it, each named as the
// lexicon file with an ending added: de.dic.bigrams, de.dic.letters,
// de.dic.suffixes, de.dic.prefixes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
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

// The endings of the files a lexicon may have beside it.
inline constexpr std::string_view kBigramsEnding = ".bigrams";
inline constexpr std::string_view kLettersEnding = ".letters";
inline constexpr std::string_view kSuffixesEnding = ".suffixes";
inline constexpr std::string_view kPrefixesEnding = ".prefixes";

// The file a lexicon file's ending names: `lexicon_path` followed by it.
std::string beside_lexicon(const std::string& lexicon_path, std::string_view ending);

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
