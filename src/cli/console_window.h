// The window operations for the console program: file dialogs are answered
// from the command line, message boxes and progress lines go to standard
// error, and the text boxes are kept in memory for the program to print.
#pragma once

#include <cstdio>
#include <deque>
#include <string>

#include "app/dialog_window.h"
#include "text/token_list.h"

namespace quirlex::cli {

// Text for a terminal: UTF-8, line feeds only, ending in a line feed.
std::string for_terminal(std::string_view text);

class ConsoleWindow : public DialogWindow {
 public:
  // `program` prefixes messages ("quirlex-cli: MESSAGE"); progress goes to `progress`.
  ConsoleWindow(std::string program, std::FILE* progress);

  // The name the next file dialog returns, as if the user had chosen it.
  void answer_file(std::string name) { answers_.push_back(std::move(name)); }

  // Whether repaints print the lower box's progress; off at first.
  void set_progress(bool on) { progress_on_ = on; }

  // Prints what the lower box gained since the last print (all of it when it
  // was replaced), with CR LF line ends as plain line feeds.
  void print_lower_update();

  // Prints a percentage line of a long command: overwritten in place on a
  // terminal, every tenth percent elsewhere.
  void print_percentage_line();

  // The whole text of a box.
  std::string text_of(TextBox box) const;
  // The part of a box's text that came as text, before any token list: the
  // report in front of the restored text after Translate.
  const std::string& leading_text_of(TextBox box) const { return box_(box).leading; }
  bool showed_message() const { return showed_message_; }

  void show_text(TextBox box, std::string_view text) override;
  void show_tokens(TextBox box, std::string_view prefix, const TokenList& tokens) override;
  void repaint_now(RepaintTarget target) override;
  bool is_checked(CheckBox box) const override;
  void set_checked(CheckBox box, bool checked) override;
  FileChoice choose_file(std::string_view preset, FileUse use) override;
  void message_box(std::string_view text) override;
  void file_error_box(std::string_view text) override;

 private:
  std::string program_;
  std::FILE* progress_;
  std::deque<std::string> answers_;
  // A box keeps the token list it was given and joins it only when read.
  struct Box {
    std::string leading;
    const TokenList* tokens = nullptr;
  };
  const Box& box_(TextBox box) const { return box == TextBox::kUpper ? upper_ : lower_; }

  Box upper_;
  Box lower_;
  std::string printed_;  // the part of the lower box already printed
  bool progress_is_terminal_ = false;
  bool line_open_ = false;  // a percentage line was printed without a line end
  bool progress_on_ = false;
  bool deep_search_ = false;
  bool sort_ = false;
  bool showed_message_ = false;
};

}  // namespace quirlex::cli
