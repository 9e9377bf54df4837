#include "gui/window_settings.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <string>

#include "app/installed_presets.h"

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

WindowSettings::DialogStart WindowSettings::start_for(FilePurpose purpose,
                                                      const QString& preset) const {
  const bool remembered = store_ != nullptr && store_->contains(key_of(purpose)) &&
                          QFileInfo(store_->value(key_of(purpose)).toString()).isDir();
  // A preset with a folder of its own opens there as it is.
  if (!remembered && !preset.contains(QLatin1Char('/')) && !QFileInfo::exists(preset)) {
    const std::string language = QLocale::system().name().left(2).toStdString();
    if (const auto installed =
            installed_preset(purpose, QFile::encodeName(preset).toStdString(), language)) {
      const QFileInfo offered(QFile::decodeName(QByteArray::fromStdString(*installed)));
      return {offered.absolutePath(), offered.fileName()};
    }
  }
  return {folder_for(purpose), preset};
}

void WindowSettings::remember_folder(FilePurpose purpose, const QString& chosen) {
  if (store_ == nullptr) return;
  const QString folder = QFileInfo(chosen).absolutePath();
  if (is_installed_folder(QFile::encodeName(folder).toStdString())) return;
  store_->setValue(key_of(purpose), folder);
}

QString WindowSettings::location() const {
  return store_ == nullptr ? QString() : store_->fileName();
}

}  // namespace quirlex::gui
