#include "testing/fake_window.h"

#include <stdexcept>

namespace quirlex::testing {

void FakeWindow::show_text(TextBox box, std::string_view text) {
  (box == TextBox::kUpper ? upper_text : lower_text) = std::string(text);
}

void FakeWindow::repaint_now(RepaintTarget target) {
  repaints.push_back({target, lower_text});
}

namespace {

// The flag behind a box, for a const or a mutable window alike.
template <typename Window>
auto& flag_of(Window& window, CheckBox box) {
  switch (box) {
    case CheckBox::kDeepSearch:
      return window.deep_search;
    case CheckBox::kFrequency:
      return window.frequency;
    case CheckBox::kCompounds:
      return window.compounds;
    case CheckBox::kKeepPunctuation:
      return window.keep_punctuation;
    case CheckBox::kSort:
      break;
  }
  return window.sort;
}

}  // namespace

bool FakeWindow::is_checked(CheckBox box) const {
  return flag_of(*this, box);
}

void FakeWindow::set_checked(CheckBox box, bool checked) {
  flag_of(*this, box) = checked;
}

FileChoice FakeWindow::choose_file(std::string_view preset, FilePurpose purpose) {
  dialogs.push_back({std::string(preset), use_of(purpose), purpose});
  if (answers_.empty()) throw std::logic_error("file dialog shown without a queued answer");
  FileChoice choice = answers_.front();
  answers_.pop_front();
  if (!choice.confirmed) choice.name = std::string(preset);
  return choice;
}

bool FakeWindow::ask(std::string_view question) {
  questions.emplace_back(question);
  if (replies_.empty()) return true;
  const bool yes = replies_.front();
  replies_.pop_front();
  return yes;
}

}  // namespace quirlex::testing
