#include "app/lexicon_locator.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "app/command_texts.h"
#include "app/dictionary_files.h"
#include "io/whole_file.h"

namespace quirlex {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kLexiconEnding = ".dic";

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

bool is_file(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

// The entries of a lexicon file: its lines. Lexicons are read whole anyway
// when they are loaded; one that cannot be read counts none.
std::uint64_t line_count(const std::string& path) {
  std::string bytes;
  if (read_whole_file(path, std::uint64_t{1} << 32, bytes).outcome != WholeFileRead::Outcome::kRead) {
    return 0;
  }
  return static_cast<std::uint64_t>(std::count(bytes.begin(), bytes.end(), '\n'));
}

}  // namespace

LexiconPlaces LexiconPlaces::from_environment() {
  LexiconPlaces places;
  places.lexicon_path = environment("QUIRLEX_LEXICON_PATH");
  places.data_home = environment("XDG_DATA_HOME");
  places.home = environment("HOME");
  places.installed = installed_lexicon_folder();
  return places;
}

std::vector<std::string> LexiconPlaces::folders() const {
  std::vector<std::string> result;
  for (std::size_t begin = 0; begin <= lexicon_path.size();) {
    std::size_t end = lexicon_path.find(':', begin);
    if (end == std::string::npos) end = lexicon_path.size();
    // An empty part names no folder.
    if (end > begin) result.push_back(lexicon_path.substr(begin, end - begin));
    begin = end + 1;
  }
  // A relative XDG_DATA_HOME is invalid and ignored, as the base directory
  // rules ask.
  if (!data_home.empty() && data_home.front() == '/') {
    result.push_back((fs::path(data_home) / "quirlex" / "lexicons").string());
  } else if (!home.empty()) {
    result.push_back((fs::path(home) / ".local" / "share" / "quirlex" / "lexicons").string());
  }
  if (!installed.empty()) result.push_back(installed);
  return result;
}

std::string installed_lexicon_folder() {
  // Set by the build from its installation prefix.
  return QUIRLEX_INSTALLED_LEXICONS;
}

LexiconNotFound::LexiconNotFound(const std::string& name, const std::vector<std::string>& folders)
    : Failure([&] {
        // Begins as every file that cannot be opened is told.
        std::string text = name + ": " + texts::kCannotOpen +
                           " It is no file in the working folder, and neither " + name + " nor " +
                           name + std::string(kLexiconEnding) + " is in ";
        if (folders.empty()) return text + "any lexicon folder.";
        text += "any of these folders:";
        for (const std::string& folder : folders) text += " " + folder;
        return text + ".";
      }()) {}

std::string locate_lexicon(const std::string& name, const LexiconPlaces& places) {
  if (name.empty()) throw InvalidArgument();
  if (name.find('/') != std::string::npos || is_file(fs::path(places.working_folder) / name)) {
    return name;
  }
  if (auto found = find_lexicon(name, places)) return std::move(*found);
  throw LexiconNotFound(name, places.folders());
}

std::optional<std::string> find_lexicon(const std::string& name, const LexiconPlaces& places) {
  for (const std::string& folder : places.folders()) {
    for (const std::string& file : {name, name + std::string(kLexiconEnding)}) {
      const fs::path path = fs::path(folder) / file;
      if (is_file(path)) return path.string();
    }
  }
  return std::nullopt;
}

std::string locate_chosen_lexicon(const std::string& chosen, const LexiconPlaces& places) {
  const fs::path path(chosen);
  if (chosen.empty() || is_file(fs::path(places.working_folder) / path) || !path.has_filename()) {
    return chosen;
  }
  return find_lexicon(path.filename().string(), places).value_or(chosen);
}

std::vector<FoundLexicon> list_lexicons(const LexiconPlaces& places) {
  std::vector<FoundLexicon> found;
  for (const std::string& folder : places.folders()) {
    std::vector<FoundLexicon> here;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      const std::string file = it->path().filename().string();
      if (file.size() <= kLexiconEnding.size() || !file.ends_with(kLexiconEnding) ||
          !is_file(it->path())) {
        continue;
      }
      FoundLexicon lexicon;
      lexicon.name = file.substr(0, file.size() - kLexiconEnding.size());
      lexicon.folder = folder;
      lexicon.path = it->path().string();
      lexicon.words = line_count(lexicon.path);
      const LexiconCompanions companions = companions_of(lexicon.path);
      lexicon.bigrams = is_file(companions.bigrams);
      lexicon.letters = is_file(companions.letters);
      lexicon.suffixes = is_file(companions.suffixes);
      lexicon.prefixes = is_file(companions.prefixes);
      here.push_back(std::move(lexicon));
    }
    std::sort(here.begin(), here.end(),
              [](const FoundLexicon& a, const FoundLexicon& b) { return a.name < b.name; });
    for (FoundLexicon& lexicon : here) {
      lexicon.hidden = locate_lexicon(lexicon.name, places) != lexicon.path;
      found.push_back(std::move(lexicon));
    }
  }
  return found;
}

}  // namespace quirlex
