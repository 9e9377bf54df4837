#include "gui/modal_dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace quirlex::gui {

std::optional<QString> StandardDialogs::choose_file(QWidget* parent, const QString& preset,
                                                    FilePurpose purpose) {
  const FileUse use = use_of(purpose);
  QFileDialog dialog(parent);
  // Qt's own dialog behaves the same on every desktop, and a name that does
  // not exist yet may be typed in, also for files that are read.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (use == FileUse::kWrite) {
    dialog.setWindowTitle(QCoreApplication::translate("ModalDialogs", "Save"));
    dialog.setLabelText(QFileDialog::Accept, QCoreApplication::translate("ModalDialogs", "&Save"));
  }
  dialog.setDirectory(QDir::current());
  dialog.selectFile(preset);
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

}  // namespace quirlex::gui
