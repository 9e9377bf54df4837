// Stand-ins for the window's file dialog and message boxes in tests: the
// file dialogs take queued answers, and every dialog and message is recorded
// so that a test can check what the user would have been asked and told.
#pragma once

#include <QString>
#include <deque>
#include <optional>
#include <vector>

#include "gui/modal_dialogs.h"

namespace quirlex::gui::testing {

class ScriptedDialogs : public ModalDialogs {
 public:
  struct FileRequest {
    QString preset;
    FileUse use;
  };
  struct Message {
    QString text;
    MessageKind kind;
  };

  // The next file dialog is confirmed with `name`.
  void answer(const QString& name) { answers_.push_back({name, true}); }
  void answer(const std::string& name) { answer(QString::fromStdString(name)); }
  // The next file dialog is cancelled.
  void cancel() { answers_.push_back({QString(), false}); }
  std::size_t pending_answers() const { return answers_.size(); }

  std::optional<QString> choose_file(QWidget* parent, const QString& preset, FileUse use) override;
  void show_message(QWidget* parent, const QString& text, MessageKind kind) override;

  std::vector<FileRequest> requests;
  std::vector<Message> messages;
  // File dialogs that came when no answer was queued; they were cancelled.
  int unexpected_requests = 0;

 private:
  struct Answer {
    QString name;
    bool confirmed;
  };
  std::deque<Answer> answers_;
};

}  // namespace quirlex::gui::testing
