// Lexicons by name: the search order of the folders, where the environment
// puts them, a name found nowhere, the working folder winning, and the list
// of the lexicons found with their companion files.
#include "app/lexicon_locator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/dictionary_files.h"
#include "testing/scoped_environment.h"
#include "testing/temp_dir.h"

namespace quirlex {
namespace {

namespace fs = std::filesystem;

// A working folder, two folders of QUIRLEX_LEXICON_PATH, a home and an
// installed folder, all in one temporary folder.
struct Places {
  testing::TempDir dir;
  LexiconPlaces places;
  std::string work, first, second, user, installed;

  Places() {
    work = dir.file("work");
    first = dir.file("first");
    second = dir.file("second");
    user = dir.file("home/.local/share/quirlex/lexicons");
    installed = dir.file("usr/share/quirlex/lexicons");
    for (const std::string& folder : {work, first, second, user, installed}) {
      fs::create_directories(folder);
    }
    places.working_folder = work;
    places.lexicon_path = first + "::" + second + ":";
    places.home = dir.file("home");
    places.installed = installed;
  }
  void put(const std::string& folder, const std::string& file) const {
    testing::put_file(folder + "/" + file, "HAUS\ndTIER\nBAUM\n");
  }
};

TEST(LexiconLocator, TheFirstFolderThatHasTheNameWins) {
  Places p;
  const std::vector<std::string> order = {p.first, p.second, p.user, p.installed};
  EXPECT_EQ(p.places.folders(), order);
  // Each folder in turn is the first that has the name: put in the last
  // folder first, then one folder earlier each time.
  for (std::size_t i = order.size(); i-- > 0;) {
    p.put(order[i], "de.dic");
    EXPECT_EQ(locate_lexicon("de", p.places), order[i] + "/de.dic");
  }
  // The name as it is comes before the name with .dic in one folder.
  p.put(p.first, "de");
  EXPECT_EQ(locate_lexicon("de", p.places), p.first + "/de");
  // A file of the working folder, and any name with a slash, is itself.
  p.put(p.work, "de");
  EXPECT_EQ(locate_lexicon("de", p.places), "de");
  EXPECT_EQ(locate_lexicon("sub/none.dic", p.places), "sub/none.dic");
  // A folder of that name in the working folder is no lexicon.
  fs::create_directory(p.work + "/en");
  p.put(p.installed, "en.dic");
  EXPECT_EQ(locate_lexicon("en", p.places), p.installed + "/en.dic");

  // A file dialog's choice is a path in the folder it showed: a file there
  // is itself, any other is looked up by its file name.
  EXPECT_EQ(locate_chosen_lexicon(p.work + "/de", p.places), p.work + "/de");
  EXPECT_EQ(locate_chosen_lexicon(p.user + "/en", p.places), p.installed + "/en.dic");
  EXPECT_EQ(locate_chosen_lexicon(p.user + "/fr", p.places), p.user + "/fr");
  EXPECT_EQ(locate_chosen_lexicon("de", p.places), "de");
}

TEST(LexiconLocator, ANameFoundNowhereSaysWhereItWasLookedFor) {
  Places p;
  try {
    locate_lexicon("fr", p.places);
    ADD_FAILURE() << "found fr";
  } catch (const LexiconNotFound& failure) {
    EXPECT_EQ(failure.message(),
              "fr: Datei konnte nicht ge\xC3\xB6" "ffnet werden! It is no file in the working "
              "folder, and neither fr nor fr.dic is in any of these folders: " +
                  p.first + " " + p.second + " " + p.user + " " + p.installed + ".");
  }
  EXPECT_THROW(locate_lexicon("", p.places), InvalidArgument);
}

TEST(LexiconLocator, TheEnvironmentNamesTheFolders) {
  const struct {
    const char* lexicon_path;
    const char* data_home;
    const char* home;
    std::vector<std::string> folders;  // before the installed folder
  } cases[] = {
      {nullptr, nullptr, "/h", {"/h/.local/share/quirlex/lexicons"}},
      {"/a:/b", "/x", "/h", {"/a", "/b", "/x/quirlex/lexicons"}},
      // A relative XDG_DATA_HOME counts as unset.
      {":/a:", "rel", "/h", {"/a", "/h/.local/share/quirlex/lexicons"}},
      {nullptr, nullptr, nullptr, {}},
  };
  const auto text = [](const char* value) {
    return value == nullptr ? std::nullopt : std::optional<std::string>(value);
  };
  testing::ScopedEnvironment environment;
  for (const auto& c : cases) {
    environment.set("QUIRLEX_LEXICON_PATH", text(c.lexicon_path));
    environment.set("XDG_DATA_HOME", text(c.data_home));
    environment.set("HOME", text(c.home));
    std::vector<std::string> folders = c.folders;
    folders.push_back(installed_lexicon_folder());
    EXPECT_EQ(LexiconPlaces::from_environment().folders(), folders);
  }
  EXPECT_TRUE(installed_lexicon_folder().ends_with("/share/quirlex/lexicons"));
}

TEST(LexiconLocator, ListsEachFoldersLexiconsWithTheirFiles) {
  Places p;
  p.put(p.installed, "en.dic");
  p.put(p.installed, "de.dic");
  const LexiconCompanions de = companions_of(p.installed + "/de.dic");
  for (const std::string& file : {de.bigrams, de.letters, de.suffixes, de.prefixes}) {
    testing::put_file(file, "x");
  }
  testing::put_file(p.installed + "/copyright", "text");
  testing::put_file(p.second + "/en.dic", "ONE\nTWO\n");
  testing::put_file(companions_of(p.second + "/en.dic").suffixes, "S");
  const std::vector<FoundLexicon> found = list_lexicons(p.places);
  ASSERT_EQ(found.size(), 3u);
  const auto row = [](const FoundLexicon& l) {
    return l.name + " " + fs::path(l.folder).filename().string() + " " + std::to_string(l.words) +
           (l.bigrams ? " b" : "") + (l.letters ? " l" : "") + (l.suffixes ? " s" : "") +
           (l.prefixes ? " p" : "") + (l.hidden ? " hidden" : "");
  };
  EXPECT_EQ(row(found[0]), "en second 2 s");
  EXPECT_EQ(row(found[1]), "de lexicons 3 b l s p");
  EXPECT_EQ(row(found[2]), "en lexicons 3 hidden");
  EXPECT_EQ(found[1].path, p.installed + "/de.dic");
}

}  // namespace
}  // namespace quirlex
