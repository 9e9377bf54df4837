// The program's window: the dialog with the seven command buttons, the five
// check boxes and the two text boxes (read-only: what a command works on is
// its lists), a progress bar with a Stop button and a status line. It only
// shows things; every button runs the matching command of MainDialog, which
// it owns, on a worker thread, one command at a time, so the window keeps
// painting. The commands reach the widgets back through the DialogWindow
// operations, which may be called from any thread: each runs on the
// user-interface thread, where the modal boxes open too. With a settings
// store it remembers its check boxes and the folders of its file dialogs.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QSettings>
#include <atomic>
#include <functional>
#include <memory>
#include <stop_token>

#include "app/dialog_window.h"
#include "app/main_dialog.h"
#include "base/version.h"
#include "gui/modal_dialogs.h"
#include "gui/window_settings.h"

class QAction;
class QCheckBox;
class QProgressBar;
class QPushButton;
class QThread;

namespace quirlex::gui {

class LeftScrollTextEdit;
class StatusLine;

class QtDialogWindow : public QDialog, public DialogWindow {
  Q_OBJECT

 public:
  static constexpr const char* kTitle = "Quirlex V" QUIRLEX_VERSION;
  static constexpr const char* kAboutEntry = "&Info über Quirlex...";

  // `settings` is where the window remembers its check boxes and folders;
  // without one it starts as the program always has and remembers nothing.
  explicit QtDialogWindow(
      std::unique_ptr<ModalDialogs> dialogs = std::make_unique<StandardDialogs>(),
      std::unique_ptr<QSettings> settings = nullptr, QWidget* parent = nullptr);
  ~QtDialogWindow() override;

  MainDialog& commands() { return commands_; }
  // Whether a command runs; the command buttons and check boxes are disabled
  // meanwhile.
  bool command_running() const { return worker_ != nullptr; }
  // Asks the running command to stop, as the Stop button does.
  void stop_command();
  QProgressBar* progress_bar() const { return progress_; }
  LeftScrollTextEdit* upper_text_box() const { return upper_; }
  LeftScrollTextEdit* lower_text_box() const { return lower_; }
  StatusLine* status_line() const { return status_; }
  // The About entry, offered in the context menu of the window and on F1:
  // the window manager's own window menu cannot be extended.
  QAction* about_action() const { return about_action_; }

  // Opens the About box and returns when it is closed.
  void show_about_box();

  // Ends the window (Escape, the close box): while a command runs the user
  // is asked whether to stop it, and the window ends when it has; while a
  // scrambled or restored text is unsaved the user is asked whether to give
  // it up. "No" keeps the window open. Enter never ends it.
  void done(int result) override;

  // DialogWindow
  void show_text(TextBox box, std::string_view text) override;
  void show_tokens(TextBox box, std::string_view prefix, const TokenList& tokens) override;
  void repaint_now(RepaintTarget target) override;
  void show_progress(int percentage) override;
  bool is_checked(CheckBox box) const override;
  void set_checked(CheckBox box, bool checked) override;
  FileChoice choose_file(std::string_view preset, FilePurpose purpose) override;
  void message_box(std::string_view text) override;
  void file_error_box(std::string_view text) override;
  bool ask(std::string_view question) override;
  void show_status(std::string_view text) override;

 Q_SIGNALS:
  // A command ended and the controls are enabled again.
  void command_finished();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void make_controls();
  // Gives the check boxes their remembered states and remembers each change.
  void restore_check_boxes();
  using Command = std::function<CommandOutcome(std::stop_token stop)>;
  QPushButton* add_command_button(QPushButton* button, Command command);
  void start_command(const Command& command);
  void end_command();
  // Handles events until the running command has ended.
  void wait_for_command();
  void enable_command_controls(bool enabled);
  // Runs a window call of the command on the user-interface thread.
  template <typename Call>
  auto on_gui_thread(Call call);
  void place_text_boxes();
  LeftScrollTextEdit* text_box(TextBox box) const;
  QCheckBox* check_box(CheckBox box) const;

  std::unique_ptr<ModalDialogs> dialogs_;
  std::unique_ptr<QSettings> settings_store_;
  WindowSettings settings_;
  MainDialog commands_;
  QIcon icon_;
  LeftScrollTextEdit* upper_ = nullptr;
  LeftScrollTextEdit* lower_ = nullptr;
  StatusLine* status_ = nullptr;
  QCheckBox* deep_search_ = nullptr;
  QCheckBox* sort_ = nullptr;
  QCheckBox* frequency_ = nullptr;
  QCheckBox* compounds_ = nullptr;
  QCheckBox* keep_punctuation_ = nullptr;
  QAction* about_action_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* stop_button_ = nullptr;
  // The command buttons and check boxes, disabled while a command runs.
  QList<QWidget*> command_controls_;
  QPointer<QWidget> focus_before_command_;
  QThread* worker_ = nullptr;
  // The running command's stop source, made as it starts.
  std::stop_source stop_source_;
  // Set by Stop until the command ends.
  std::atomic<bool> stop_wanted_ = false;
  // The window is ending and waits for the command: its dialogs are
  // cancelled and its messages are not shown.
  std::atomic<bool> closing_ = false;
  bool destroying_ = false;
  int result_after_command_ = 0;
};

}  // namespace quirlex::gui
