#include "gui/modal_dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

namespace quirlex::gui {
namespace {

QString tr(const char* text) {
  return QCoreApplication::translate("ModalDialogs", text);
}

QString title_of(FilePurpose purpose) {
  switch (purpose) {
    case FilePurpose::kOpenText:
      return tr("Open text");
    case FilePurpose::kSaveScrambledText:
      return tr("Save scrambled text as");
    case FilePurpose::kSaveRestoredText:
      return tr("Save restored text as");
    case FilePurpose::kOpenScrambledText:
      return tr("Open scrambled text");
    case FilePurpose::kOpenCorpus:
      return tr("Open corpus");
    case FilePurpose::kSaveLexicon:
      return tr("Save lexicon as");
    case FilePurpose::kOpenLexicon:
      return tr("Open lexicon");
    case FilePurpose::kOpenSuffixes:
      return tr("Open suffix list");
    case FilePurpose::kOpenPrefixes:
      return tr("Open prefix list");
  }
  return {};
}

// "All files" comes first and is the one selected: the presets have names
// of every kind, and the filters only help to find a file.
QStringList filters_of(FilePurpose purpose) {
  QStringList filters = {tr("All files (*)"), tr("Text files (*.txt)")};
  if (purpose == FilePurpose::kOpenLexicon || purpose == FilePurpose::kSaveLexicon) {
    filters.append(tr("Lexicon files (*.dic)"));
  }
  return filters;
}

}  // namespace

std::optional<QString> StandardDialogs::choose_file(QWidget* parent, const QString& folder,
                                                    const QString& preset, FilePurpose purpose) {
  QFileDialog dialog(parent, title_of(purpose));
  // Qt's own dialog behaves the same on every desktop, and a name that does
  // not exist yet may be typed in, also for files that are read.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // A save dialog asks before it confirms the name of an existing file.
  dialog.setAcceptMode(use_of(purpose) == FileUse::kWrite ? QFileDialog::AcceptSave
                                                          : QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(filters_of(purpose));
  // A preset with a folder of its own (a lexicon's own affix list) opens
  // there, with its file name in the name field.
  const QFileInfo preset_file(preset);
  if (preset_file.isAbsolute()) {
    dialog.setDirectory(preset_file.absolutePath());
    dialog.selectFile(preset_file.fileName());
  } else {
    dialog.setDirectory(folder);
    dialog.selectFile(preset);
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.first();
}

void StandardDialogs::show_message(QWidget* parent, const QString& text, MessageKind kind) {
  QMessageBox box(kind == MessageKind::kFileError ? QMessageBox::Critical : QMessageBox::Warning,
                  QCoreApplication::applicationName(), text, QMessageBox::Ok, parent);
  box.exec();
}

bool StandardDialogs::ask(QWidget* parent, const QString& question) {
  QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(), question,
                  QMessageBox::Yes | QMessageBox::No, parent);
  // Enter keeps what the user has; only a deliberate Yes gives it up.
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace quirlex::gui
