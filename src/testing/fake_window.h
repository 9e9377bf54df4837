// A scripted stand-in for the window: queued answers for the file dialogs
// and questions, settable check boxes, and a record of every text shown,
// repaint, message box and question, so tests can drive the commands and
// check what a user sees.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "app/dialog_window.h"

namespace quirlex::testing {

class FakeWindow : public DialogWindow {
 public:
  struct Repaint {
    RepaintTarget target;
    std::string lower_text;  // what the lower box held at that moment
  };
  struct DialogRequest {
    std::string preset;
    FileUse use;
    FilePurpose purpose;
  };

  // Queues the answer of the next file dialog: confirmed with `name`.
  void answer_file(std::string name) { answers_.push_back({std::move(name), true}); }
  // Queues a cancelled dialog: it returns its preset name, unconfirmed.
  void cancel_file() { answers_.push_back({"", false}); }
  std::size_t pending_answers() const { return answers_.size(); }
  // Queues the reply to the next question; without one queued the user
  // says Yes.
  void reply(bool yes) { replies_.push_back(yes); }

  void show_text(TextBox box, std::string_view text) override;
  void repaint_now(RepaintTarget target) override;
  bool is_checked(CheckBox box) const override;
  void set_checked(CheckBox box, bool checked) override;
  FileChoice choose_file(std::string_view preset, FilePurpose purpose) override;
  void message_box(std::string_view text) override { messages.emplace_back(text); }
  void file_error_box(std::string_view text) override { file_errors.emplace_back(text); }
  bool ask(std::string_view question) override;
  void show_progress(int percentage) override { bar.push_back(percentage); }
  void show_status(std::string_view text) override { status = std::string(text); }

  std::string upper_text;
  std::string lower_text;
  bool deep_search = false;
  bool sort = false;
  bool frequency = false;
  bool compounds = false;
  bool keep_punctuation = false;
  std::string status;
  std::vector<Repaint> repaints;
  std::vector<DialogRequest> dialogs;
  std::vector<std::string> messages;
  std::vector<std::string> file_errors;
  std::vector<std::string> questions;
  std::vector<int> bar;  // every progress bar position shown

 private:
  std::deque<FileChoice> answers_;
  std::deque<bool> replies_;
};

}  // namespace quirlex::testing
