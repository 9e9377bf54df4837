// What a file dialog offers where its preset is no file: the sample file of
// that name, or a ready lexicon of the user's language; never a file to
// write.
#include "app/installed_presets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "testing/temp_dir.h"

namespace quirlex {
namespace {

TEST(InstalledPresets, ReadingDialogsOfferTheInstalledFileOfTheirKind) {
  const testing::TempDir dir;
  const std::string samples = dir.file("samples");
  const std::string lexicons = dir.file("lexicons");
  std::filesystem::create_directories(samples);
  std::filesystem::create_directories(lexicons);
  for (const char* file :
       {"samples/test2.txt", "samples/savedtext.txt", "lexicons/de.dic", "lexicons/en.dic"}) {
    testing::put_file(dir.file(file), "HAUS\n");
  }
  LexiconPlaces places;
  places.installed = lexicons;
  const struct {
    FilePurpose purpose;
    const char* preset;
    const char* language;
    std::optional<std::string> offered;
  } cases[] = {
      {FilePurpose::kOpenText, "test2.txt", "de", samples + "/test2.txt"},
      {FilePurpose::kOpenCorpus, "pqlexikon.txt", "de", std::nullopt},
      {FilePurpose::kOpenScrambledText, "savedtext.txt", "de", std::nullopt},
      {FilePurpose::kSaveScrambledText, "savedtext.txt", "de", std::nullopt},
      {FilePurpose::kSaveLexicon, "de.dic", "de", std::nullopt},
      {FilePurpose::kOpenLexicon, "Lexikon.dic", "de", lexicons + "/de.dic"},
      {FilePurpose::kOpenLexicon, "Lexikon.dic", "fr", lexicons + "/en.dic"},
      {FilePurpose::kOpenLexicon, "Lexikon.dic", "", lexicons + "/en.dic"},
      {FilePurpose::kOpenLexicon, "de.dic", "en", lexicons + "/de.dic"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.preset) + " " + c.language);
    EXPECT_EQ(installed_preset(c.purpose, c.preset, c.language, places, samples), c.offered);
  }
  std::filesystem::remove(lexicons + "/en.dic");
  EXPECT_EQ(installed_preset(FilePurpose::kOpenLexicon, "Lexikon.dic", "fr", places, samples),
            std::nullopt);
}

}  // namespace
}  // namespace quirlex
