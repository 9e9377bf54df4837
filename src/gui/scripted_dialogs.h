// Test help for the window: stand-ins for its file dialog and message boxes,
// which take queued answers and record what the user would have been asked
// and told, and a shown window that uses them.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "gui/modal_dialogs.h"
#include "gui/qt_dialog_window.h"

class QCheckBox;
class QPushButton;

namespace quirlex::gui::testing {

class ScriptedDialogs : public ModalDialogs {
 public:
  std::optional<QString> choose_file(QWidget* parent, const QString& folder,
                                     const QString& preset, FilePurpose purpose) override;
  void show_message(QWidget* parent, const QString& text, MessageKind kind) override;
  bool ask(QWidget* parent, const QString& question) override;

  // Called as each file dialog opens, before it is answered: the command
  // that asks is running then.
  std::function<void()> on_file_dialog;
  // Names that confirm the next file dialogs in turn; an empty name, or none
  // left, cancels the dialog.
  QStringList answers;
  // Each file dialog as "<preset> (read)" or "<preset> (write)", the folder
  // it opened in, and its purpose.
  QStringList requests;
  QStringList folders;
  QList<FilePurpose> purposes;
  // Each message as "warning: <text>" or "stop: <text>".
  QStringList messages;
  // The replies to the next questions in turn; none left answers No.
  QList<bool> replies;
  // Each question asked.
  QStringList questions;
};

// The window with scripted dialogs, shown and active. It remembers nothing
// between starts, unless it is given a settings file of its own (never the
// user's): windows made one after the other with the same file see what the
// one before remembered.
struct ScriptedWindow {
  ScriptedWindow() : ScriptedWindow(std::make_unique<ScriptedDialogs>()) {}
  explicit ScriptedWindow(std::unique_ptr<ScriptedDialogs> scripted,
                          const QString& settings_file = {});
  explicit ScriptedWindow(const QString& settings_file)
      : ScriptedWindow(std::make_unique<ScriptedDialogs>(), settings_file) {}

  // The visible push button with this caption.
  QPushButton* button(const QString& caption) const;
  // The check box on the row of the label with this text, next to it on
  // its left.
  QCheckBox* check_box(const QString& label) const;
  // Clicks the button with this caption and waits until the command it
  // started has ended; false when there is no such button or no command ran.
  bool click(const QString& caption);

  ScriptedDialogs& dialogs;
  QtDialogWindow window;
};

inline constexpr const char* kSortLabel = "Sort the words (= optimal compression)";

}  // namespace quirlex::gui::testing
