// What the file dialogs offer where their preset names are no files, as in
// an installed program started from the desktop menu in the home folder:
// the package puts the sample files and the ready lexicons in folders of
// their own, and a dialog offers a file of those that exists.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/dialog_window.h"
#include "app/lexicon_locator.h"

namespace quirlex {

// The folder the package installs the sample files in.
std::string installed_samples_folder();

// The file a dialog for `purpose` offers instead of `preset`, a name that
// is no file where the dialog opens: for a text, corpus or affix list to
// read, the sample file of that name in `samples`; for a lexicon to read,
// the lexicon of that name in the lexicon folders, else the ready lexicon
// of `language` (a two-letter code such as "de"), else the English one.
// Nothing for files to write, for scrambled texts, and where no such file
// exists.
std::optional<std::string> installed_preset(
    FilePurpose purpose, const std::string& preset, std::string_view language,
    const LexiconPlaces& places = LexiconPlaces::from_environment(),
    const std::string& samples = installed_samples_folder());

// Whether `folder` is one the package installs files in (samples, ready
// lexicons). Such a folder is read-only for its users: a window does not
// remember it as the place of their files.
bool is_installed_folder(const std::string& folder);

}  // namespace quirlex
