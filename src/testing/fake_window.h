// A scripted stand-in for the window: queued answers for the file dialogs,
// settable check boxes, and a record of every text shown, repaint and
// message box, so tests can drive the commands and check what a user sees.
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

  void show_text(TextBox box, std::string_view text) override;
  void repaint_now(RepaintTarget target) override;
  bool is_checked(CheckBox box) const override;
  void set_checked(CheckBox box, bool checked) override;
  FileChoice choose_file(std::string_view preset, FilePurpose purpose) override;
  void message_box(std::string_view text) override { messages.emplace_back(text); }
  void file_error_box(std::string_view text) override { file_errors.emplace_back(text); }

  std::string upper_text;
  std::string lower_text;
  bool deep_search = false;
  bool sort = false;
  bool frequency = false;
  bool compounds = false;
  std::vector<Repaint> repaints;
  std::vector<DialogRequest> dialogs;
  std::vector<std::string> messages;
  std::vector<std::string> file_errors;

 private:
  std::deque<FileChoice> answers_;
};

}  // namespace quirlex::testing
