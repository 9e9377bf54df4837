// Test help for the window: stand-ins for its file dialog and message boxes,
// which take queued answers and record what the user would have been asked
// and told, and a shown window that uses them.
#pragma once

#include <QString>
#include <QStringList>

#include "gui/modal_dialogs.h"
#include "gui/qt_dialog_window.h"

class QCheckBox;
class QPushButton;

namespace quirlex::gui::testing {

class ScriptedDialogs : public ModalDialogs {
 public:
  std::optional<QString> choose_file(QWidget* parent, const QString& preset,
                                     FilePurpose purpose) override;
  void show_message(QWidget* parent, const QString& text, MessageKind kind) override;

  // Names that confirm the next file dialogs in turn; an empty name, or none
  // left, cancels the dialog.
  QStringList answers;
  // Each file dialog as "<preset> (read)" or "<preset> (write)".
  QStringList requests;
  // Each message as "warning: <text>" or "stop: <text>".
  QStringList messages;
};

// The window with scripted dialogs, shown and active.
struct ScriptedWindow {
  ScriptedWindow() : ScriptedWindow(std::make_unique<ScriptedDialogs>()) {}
  explicit ScriptedWindow(std::unique_ptr<ScriptedDialogs> scripted);

  // The visible push button with this caption.
  QPushButton* button(const QString& caption) const;
  // The check box on the row of the label with this text, left of it.
  QCheckBox* check_box(const QString& label) const;

  ScriptedDialogs& dialogs;
  QtDialogWindow window;
};

inline constexpr const char* kSortLabel = "Sort the words (= optimal compression)";

}  // namespace quirlex::gui::testing
