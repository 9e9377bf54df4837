#include "gui/window_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace quirlex::gui {
namespace {

QString key_of(CheckBox box) {
  switch (box) {
    case CheckBox::kDeepSearch:
      return QStringLiteral("checkBoxes/deepSearch");
    case CheckBox::kSort:
      return QStringLiteral("checkBoxes/sort");
    case CheckBox::kFrequency:
      return QStringLiteral("checkBoxes/frequency");
    case CheckBox::kCompounds:
      return QStringLiteral("checkBoxes/compounds");
    case CheckBox::kKeepPunctuation:
      return QStringLiteral("checkBoxes/keepPunctuation");
  }
  return {};
}

// Files of one kind share a folder: a saved scrambled text is loaded again
// from where it was saved.
QString key_of(FilePurpose purpose) {
  switch (purpose) {
    case FilePurpose::kOpenText:
    case FilePurpose::kSaveScrambledText:
    case FilePurpose::kSaveRestoredText:
    case FilePurpose::kOpenScrambledText:
      return QStringLiteral("folders/texts");
    case FilePurpose::kOpenCorpus:
      return QStringLiteral("folders/corpora");
    case FilePurpose::kSaveLexicon:
    case FilePurpose::kOpenLexicon:
      return QStringLiteral("folders/lexicons");
    case FilePurpose::kOpenSuffixes:
    case FilePurpose::kOpenPrefixes:
      return QStringLiteral("folders/affixes");
  }
  return {};
}

}  // namespace

std::optional<bool> WindowSettings::check_box(CheckBox box) const {
  if (store_ == nullptr || !store_->contains(key_of(box))) return std::nullopt;
  return store_->value(key_of(box)).toBool();
}

void WindowSettings::set_check_box(CheckBox box, bool checked) {
  if (store_ != nullptr) store_->setValue(key_of(box), checked);
}

QString WindowSettings::folder_for(FilePurpose purpose) const {
  if (store_ != nullptr) {
    const QString folder = store_->value(key_of(purpose)).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
  }
  return QDir::currentPath();
}

void WindowSettings::remember_folder(FilePurpose purpose, const QString& chosen) {
  if (store_ != nullptr) store_->setValue(key_of(purpose), QFileInfo(chosen).absolutePath());
}

QString WindowSettings::location() const {
  return store_ == nullptr ? QString() : store_->fileName();
}

}  // namespace quirlex::gui
