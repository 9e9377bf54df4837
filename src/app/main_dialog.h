// The program's only window, as logic: it owns every list and table of a run
// and carries out each command of the window's buttons. It reaches the screen
// only through DialogWindow, so the Qt window, the console program and the
// tests all run exactly these commands.
#pragma once

#include <string>

#include "app/dialog_window.h"
#include "index/dictionary.h"
#include "scramble/random_generator.h"
#include "text/text_file.h"
#include "text/token_list.h"

namespace quirlex {

// How a command ended.
enum class CommandOutcome {
  kDone,        // ran to its end
  kNothing,     // ended early without a change: empty or cancelled name, nothing to save
  kUnreadable,  // a file could not be opened for reading (the user was told)
  kFailed,      // a failure ended the command at its point of failure (the user was told)
};

class MainDialog {
 public:
  static constexpr const char* kCannotOpenMessage = "Datei konnte nicht geöffnet werden!";
  static constexpr const char* kSourcePreset = "test2.txt";
  static constexpr const char* kCorpusPreset = "pqlexikon.txt";
  static constexpr const char* kLexiconPreset = "Lexikon.dic";
  static constexpr const char* kSuffixPreset = "Suffix_en.txt";
  static constexpr const char* kPrefixPreset = "EMPTY SUFFIX PREFIX LIST.txt";
  static constexpr const char* kScrambledTextPreset = "savedtext.txt";

  explicit MainDialog(DialogWindow& window);
  MainDialog(const MainDialog&) = delete;
  MainDialog& operator=(const MainDialog&) = delete;

  // The window's initial state: the Sort box checked, Deep Search not.
  void initialize();

  CommandOutcome load();                // button "Load"
  CommandOutcome shuffle();             // button "Shuffle"
  CommandOutcome save();                // button "Save"
  CommandOutcome load_shuffled_text();  // button "Load shuffled text"
  CommandOutcome create_dictionary();   // button "Create Dictionary"
  CommandOutcome load_dictionary();     // button "Load Dictionary"
  CommandOutcome translate();           // button "Translate"

  const TokenList& source_tokens() const { return source_tokens_; }
  const TokenList& scrambled_tokens() const { return scrambled_tokens_; }
  const Dictionary& dictionary() const { return dictionary_; }
  const TextFile& source_file() const { return source_file_; }
  const std::string& scrambled_text_path() const { return scrambled_text_path_; }
  const std::string& lexicon_path() const { return lexicon_path_; }
  RandomGenerator& generator() { return generator_; }

 private:
  template <typename Command>
  CommandOutcome run(Command&& command);

  CommandOutcome load_command();
  CommandOutcome save_command();
  CommandOutcome load_shuffled_text_command();
  CommandOutcome create_dictionary_command();
  CommandOutcome load_dictionary_command();
  CommandOutcome translate_command();

  // Asks for a file to read; returns false when the name is empty.
  bool choose_file_to_read(const std::string& preset, std::string& name);
  // Reads a file, telling the user when it cannot be opened.
  bool read_file(TextFile& file, const std::string& name, bool transliterate, bool upper_case);
  // Appends a progress line, shows the whole progress text and repaints.
  void show_progress(std::string& progress, const char* line);
  void read_affix_lists(std::string& refusal);

  DialogWindow& window_;
  TextFile source_file_;
  TokenList source_tokens_;
  TokenList scrambled_tokens_;
  Dictionary dictionary_;
  RandomGenerator generator_;
  std::string scrambled_text_path_ = kScrambledTextPreset;
  std::string lexicon_path_;
  std::string suffix_path_;
  std::string prefix_path_;
};

}  // namespace quirlex
