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
  Box& target = box == TextBox::kUpper ? upper_ : lower_;
  target.leading.assign(text);
  target.tokens = nullptr;
}

void ConsoleWindow::show_tokens(TextBox box, std::string_view prefix, const TokenList& tokens) {
  Box& target = box == TextBox::kUpper ? upper_ : lower_;
  target.leading.assign(prefix);
  target.tokens = &tokens;
}

std::string ConsoleWindow::text_of(TextBox box) const {
  const Box& shown = box_(box);
  return shown.tokens == nullptr ? shown.leading : shown.leading + shown.tokens->join();
}

void ConsoleWindow::repaint_now(RepaintTarget target) {
  if (target == RepaintTarget::kWindow) {
    print_percentage_line();
  } else {
    print_lower_update();
  }
}

void ConsoleWindow::print_percentage_line() {
  // The lines before the percentages stay what was printed, so the report
  // that follows them prints only its new part.
  if (progress_ == nullptr || !progress_on_) return;
  const std::string& line_text = lower_.leading;
  if (progress_is_terminal_) {
    const std::string line = windows1252_to_utf8(line_text);
    std::fprintf(progress_, "\r%s", line.c_str());
    line_open_ = true;
  } else {
    int percentage = 0;
    if (std::sscanf(line_text.c_str(), "%d", &percentage) != 1 || percentage % 10 != 0) return;
    std::fputs(for_terminal(line_text).c_str(), progress_);
  }
  std::fflush(progress_);
}

void ConsoleWindow::print_lower_update() {
  if (progress_ == nullptr || !progress_on_) return;
  const std::string lower = text_of(TextBox::kLower);
  std::string_view fresh = lower;
  if (fresh.substr(0, printed_.size()) == printed_) fresh.remove_prefix(printed_.size());
  if (!fresh.empty()) {
    if (line_open_) std::fputc('\n', progress_);
    line_open_ = false;
    const std::string text = for_terminal(fresh);
    std::fwrite(text.data(), 1, text.size(), progress_);
    std::fflush(progress_);
  }
  printed_ = lower;
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
