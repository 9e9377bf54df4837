#include "cli/console_window.h"

#include <unistd.h>

#include <cstdio>

#include "text/windows1252.h"

namespace quirlex::cli {

std::string for_terminal(std::string_view text) {
  std::string plain;
  plain.reserve(text.size() + 1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    plain.push_back(text[i]);
  }
  if (!plain.empty() && plain.back() != '\n') plain.push_back('\n');
  return windows1252_to_utf8(plain);
}

ConsoleWindow::ConsoleWindow(std::string program, std::FILE* progress)
    : program_(std::move(program)),
      progress_(progress),
      progress_is_terminal_(progress != nullptr && ::isatty(::fileno(progress))) {}

void ConsoleWindow::show_text(TextBox box, std::string_view text) {
  (box == TextBox::kUpper ? upper_ : lower_).assign(text);
}

void ConsoleWindow::repaint_now(RepaintTarget target) {
  if (target == RepaintTarget::kWindow) {
    print_percentage_line();
  } else {
    print_lower_update();
  }
}

void ConsoleWindow::print_percentage_line() {
  if (progress_ == nullptr || !progress_on_) return;
  printed_ = lower_;
  if (progress_is_terminal_) {
    const std::string line = windows1252_to_utf8(lower_);
    std::fprintf(progress_, "\r%s", line.c_str());
    line_open_ = true;
  } else {
    int percentage = 0;
    if (std::sscanf(lower_.c_str(), "%d", &percentage) != 1 || percentage % 10 != 0) return;
    std::fputs(for_terminal(lower_).c_str(), progress_);
  }
  std::fflush(progress_);
}

void ConsoleWindow::print_lower_update() {
  if (progress_ == nullptr || !progress_on_) return;
  std::string_view fresh = lower_;
  if (fresh.substr(0, printed_.size()) == printed_) fresh.remove_prefix(printed_.size());
  if (!fresh.empty()) {
    if (line_open_) std::fputc('\n', progress_);
    line_open_ = false;
    const std::string text = for_terminal(fresh);
    std::fwrite(text.data(), 1, text.size(), progress_);
    std::fflush(progress_);
  }
  printed_ = lower_;
}

bool ConsoleWindow::is_checked(CheckBox box) const {
  return box == CheckBox::kDeepSearch ? deep_search_ : sort_;
}

void ConsoleWindow::set_checked(CheckBox box, bool checked) {
  (box == CheckBox::kDeepSearch ? deep_search_ : sort_) = checked;
}

FileChoice ConsoleWindow::choose_file(std::string_view, FileUse) {
  // Every dialog of a run is answered in advance from the command line; one
  // without an answer chooses no file.
  if (answers_.empty()) return {"", true};
  FileChoice choice{std::move(answers_.front()), true};
  answers_.pop_front();
  return choice;
}

void ConsoleWindow::message_box(std::string_view text) {
  showed_message_ = true;
  std::fprintf(stderr, "%s: %.*s\n", program_.c_str(), static_cast<int>(text.size()), text.data());
}

void ConsoleWindow::file_error_box(std::string_view text) {
  message_box(text);
}

}  // namespace quirlex::cli
