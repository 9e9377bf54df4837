#include "app/installed_presets.h"

#include <filesystem>
#include <system_error>

namespace quirlex {
namespace {

namespace fs = std::filesystem;

bool same_folder(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(a, b, error);
}

}  // namespace

std::string installed_samples_folder() {
  // Set by the build from its installation prefix.
  return QUIRLEX_INSTALLED_SAMPLES;
}

std::optional<std::string> installed_preset(FilePurpose purpose, const std::string& preset,
                                            std::string_view language, const LexiconPlaces& places,
                                            const std::string& samples) {
  switch (purpose) {
    case FilePurpose::kOpenText:
    case FilePurpose::kOpenCorpus:
    case FilePurpose::kOpenSuffixes:
    case FilePurpose::kOpenPrefixes: {
      const fs::path path = fs::path(samples) / preset;
      std::error_code error;
      if (fs::is_regular_file(path, error)) return path.string();
      return std::nullopt;
    }
    case FilePurpose::kOpenLexicon:
      for (const std::string& name : {preset, std::string(language), std::string("en")}) {
        if (name.empty()) continue;
        if (auto found = find_lexicon(name, places)) return found;
      }
      return std::nullopt;
    case FilePurpose::kSaveScrambledText:
    case FilePurpose::kSaveRestoredText:
    case FilePurpose::kOpenScrambledText:
    case FilePurpose::kSaveLexicon:
      break;
  }
  return std::nullopt;
}

bool is_installed_folder(const std::string& folder) {
  return same_folder(folder, installed_samples_folder()) ||
         same_folder(folder, installed_lexicon_folder());
}

}  // namespace quirlex
