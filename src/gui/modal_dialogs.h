// The modal boxes the window opens while a command runs: the file dialog and
// the message boxes. The window reaches them through this interface so that
// tests can answer them without a user.
#pragma once

#include <QString>
#include <optional>

#include "app/dialog_window.h"

class QWidget;

namespace quirlex::gui {

enum class MessageKind {
  kWarning,    // the program's own messages
  kFileError,  // a file that cannot be created or written
};

class ModalDialogs {
 public:
  virtual ~ModalDialogs() = default;
  // The file name the user confirmed, or nothing when the dialog was
  // cancelled. The dialog opens in `folder` with `preset` in its name field
  // (a preset with a folder of its own opens there); for a file to be
  // written it asks before an existing file is replaced.
  virtual std::optional<QString> choose_file(QWidget* parent, const QString& folder,
                                             const QString& preset, FilePurpose purpose) = 0;
  // Returns when the user has closed the box.
  virtual void show_message(QWidget* parent, const QString& text, MessageKind kind) = 0;
  // A question with the buttons Yes and No; whether the user chose Yes.
  virtual bool ask(QWidget* parent, const QString& question) = 0;
};

// The real boxes: Qt's own file dialog and message boxes.
class StandardDialogs : public ModalDialogs {
 public:
  std::optional<QString> choose_file(QWidget* parent, const QString& folder,
                                     const QString& preset, FilePurpose purpose) override;
  void show_message(QWidget* parent, const QString& text, MessageKind kind) override;
  bool ask(QWidget* parent, const QString& question) override;
};

}  // namespace quirlex::gui
