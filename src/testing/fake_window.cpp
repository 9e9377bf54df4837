#include "testing/fake_window.h"

#include <stdexcept>

namespace quirlex::testing {

void FakeWindow::show_text(TextBox box, std::string_view text) {
  (box == TextBox::kUpper ? upper_text : lower_text) = std::string(text);
}

void FakeWindow::repaint_now(RepaintTarget target) {
  repaints.push_back({target, lower_text});
}

bool FakeWindow::is_checked(CheckBox box) const {
  return box == CheckBox::kDeepSearch ? deep_search : sort;
}

void FakeWindow::set_checked(CheckBox box, bool checked) {
  (box == CheckBox::kDeepSearch ? deep_search : sort) = checked;
}

FileChoice FakeWindow::choose_file(std::string_view preset, FilePurpose purpose) {
  dialogs.push_back({std::string(preset), use_of(purpose), purpose});
  if (answers_.empty()) throw std::logic_error("file dialog shown without a queued answer");
  FileChoice choice = answers_.front();
  answers_.pop_front();
  if (!choice.confirmed) choice.name = std::string(preset);
  return choice;
}

}  // namespace quirlex::testing
