// The window operations the commands need. The Qt window implements them with
// real widgets and the tests with a scripted fake, so the commands run the
// same way behind both.
#pragma once

#include <string>
#include <string_view>

#include "text/token_list.h"

namespace quirlex {

enum class TextBox { kUpper, kLower };
enum class CheckBox {
  kDeepSearch,
  kSort,
  kFrequency,  // "Order by frequency (= best restoring)": Create Dictionary's order
  kCompounds,  // "All best restoring steps": Translate's Compound Search, context, letter model
  kKeepPunctuation,  // "Keep punctuation in place": Shuffle leaves a word's marks
};
enum class RepaintTarget { kLowerTextBox, kWindow };
// Whether the chosen file will be read or written.
enum class FileUse { kRead, kWrite };

// What a file dialog is for: a front end titles and filters it by this.
enum class FilePurpose {
  kOpenText,           // Load
  kSaveScrambledText,  // Save
  kSaveRestoredText,   // Save after Translate
  kOpenScrambledText,  // Load shuffled text
  kOpenCorpus,         // Create Dictionary, its corpus
  kSaveLexicon,        // Create Dictionary, the lexicon it writes
  kOpenLexicon,        // Load Dictionary
  kOpenSuffixes,       // Load Dictionary with Deep Search
  kOpenPrefixes,       // Load Dictionary with Deep Search
};

constexpr FileUse use_of(FilePurpose purpose) {
  return purpose == FilePurpose::kSaveScrambledText ||
                 purpose == FilePurpose::kSaveRestoredText || purpose == FilePurpose::kSaveLexicon
             ? FileUse::kWrite
             : FileUse::kRead;
}

// What a file dialog holds when it closes: the chosen name after OK, the
// preset name after Cancel.
struct FileChoice {
  std::string name;
  bool confirmed = false;
};

class DialogWindow {
 public:
  virtual ~DialogWindow() = default;

  // Replaces the whole text of a box. The text is Windows-1252 bytes; CR LF
  // ends a line.
  virtual void show_text(TextBox box, std::string_view text) = 0;
  // Replaces the whole text of a box with `prefix` followed by the joined
  // texts of `tokens` (the list's buffer). Texts of a hundred megabytes pass
  // through here: a window converts the buffer directly, or, when the box is
  // rarely read, keeps the list and reads it only when asked (the list stays
  // unchanged until the next command).
  virtual void show_tokens(TextBox box, std::string_view prefix, const TokenList& tokens) {
    std::string text(prefix);
    text += tokens.join();
    show_text(box, text);
  }
  // Repaints the lower box or the whole window before returning, while a
  // command runs and no window messages are handled.
  virtual void repaint_now(RepaintTarget target) = 0;
  virtual bool is_checked(CheckBox box) const = 0;
  virtual void set_checked(CheckBox box, bool checked) = 0;
  // A modal file dialog for `purpose` whose name field is preset with
  // `preset`.
  virtual FileChoice choose_file(std::string_view preset, FilePurpose purpose) = 0;
  // Where a long command stands, beside the progress lines it shows in the
  // lower box, in percent (0 to 100), or -1 while no share is known: a window
  // may show it as a progress bar. The command's return ends it.
  virtual void show_progress(int /*percentage*/) {}
  // A modal box with only an OK button and a warning icon. UTF-8 text.
  virtual void message_box(std::string_view text) = 0;
  // A modal question with the buttons Yes and No (No the default); whether
  // the user chose Yes. UTF-8 text.
  virtual bool ask(std::string_view question) = 0;
  // Replaces the one-line status that tells what the window holds (the
  // loaded lexicon). UTF-8 text.
  virtual void show_status(std::string_view text) = 0;
  // A modal box with a stop icon for a file that cannot be created or written.
  virtual void file_error_box(std::string_view text) = 0;
};

}  // namespace quirlex
