// The program's window: the dialog with the seven command buttons, the two
// check boxes and the two text boxes. It only shows things; every button
// runs the matching command of MainDialog, which it owns, and the commands
// reach the widgets back through the DialogWindow operations.
#pragma once

#include <QDialog>
#include <QIcon>
#include <memory>

#include "app/dialog_window.h"
#include "app/main_dialog.h"
#include "base/version.h"
#include "gui/modal_dialogs.h"

class QAction;
class QCheckBox;
class QPushButton;

namespace quirlex::gui {

class LeftScrollTextEdit;

class QtDialogWindow : public QDialog, public DialogWindow {
  Q_OBJECT

 public:
  static constexpr const char* kTitle = "Quirlex V" QUIRLEX_VERSION;
  static constexpr const char* kAboutEntry = "&Info über Quirlex...";

  explicit QtDialogWindow(
      std::unique_ptr<ModalDialogs> dialogs = std::make_unique<StandardDialogs>(),
      QWidget* parent = nullptr);
  ~QtDialogWindow() override;

  MainDialog& commands() { return commands_; }
  LeftScrollTextEdit* upper_text_box() const { return upper_; }
  LeftScrollTextEdit* lower_text_box() const { return lower_; }
  // The About entry, offered in the context menu of the window and on F1:
  // the window manager's own window menu cannot be extended.
  QAction* about_action() const { return about_action_; }

  // Opens the About box and returns when it is closed.
  void show_about_box();

  // DialogWindow
  void show_text(TextBox box, std::string_view text) override;
  void repaint_now(RepaintTarget target) override;
  bool is_checked(CheckBox box) const override;
  void set_checked(CheckBox box, bool checked) override;
  FileChoice choose_file(std::string_view preset, FilePurpose purpose) override;
  void message_box(std::string_view text) override;
  void file_error_box(std::string_view text) override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void make_controls();
  QPushButton* add_command_button(QPushButton* button, CommandOutcome (MainDialog::*command)());
  void place_text_boxes();
  LeftScrollTextEdit* text_box(TextBox box) const;
  QCheckBox* check_box(CheckBox box) const;

  std::unique_ptr<ModalDialogs> dialogs_;
  MainDialog commands_;
  QIcon icon_;
  QPushButton* exit_button_ = nullptr;
  LeftScrollTextEdit* upper_ = nullptr;
  LeftScrollTextEdit* lower_ = nullptr;
  QCheckBox* deep_search_ = nullptr;
  QCheckBox* sort_ = nullptr;
  QCheckBox* frequency_ = nullptr;
  QCheckBox* compounds_ = nullptr;
  QAction* about_action_ = nullptr;
};

}  // namespace quirlex::gui
