// The program's only window, as logic: it owns every list and table of a run
// and carries out each command of the window's buttons by asking its dialogs,
// calling the core commands and showing their progress and results. It
// reaches the screen only through DialogWindow, so the Qt window and the
// tests run exactly these commands.
#pragma once

#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "app/dialog_window.h"
#include "index/dictionary.h"
#include "lexicon/bigram_model.h"
#include "lexicon/letter_model.h"
#include "scramble/random_generator.h"
#include "text/text_file.h"
#include "text/token_list.h"

namespace quirlex {

// How a command ended.
enum class CommandOutcome {
  kDone,        // ran to its end
  kNothing,     // ended early without a change: a cancelled dialog, nothing to save
  kUnreadable,  // a file could not be opened for reading (the user was told)
  kFailed,      // a failure ended the command at its point of failure (the user was told)
  kStopped,     // the user stopped it (see the commands' stop token)
};

class MainDialog {
 public:
  explicit MainDialog(DialogWindow& window);
  MainDialog(const MainDialog&) = delete;
  MainDialog& operator=(const MainDialog&) = delete;

  // The window's initial state: the Sort box checked, the others not; no
  // lexicon loaded.
  void initialize();

  // The buttons' commands. One runs at a time; a front end may run them on a
  // thread of its own as long as the window's calls reach its widgets. A
  // stop requested through `stop` (from any thread) ends Create Dictionary
  // with nothing written, and Load Dictionary with the lexicon table but
  // without a deep word list; the other commands run to their end. A front
  // end makes a fresh stop source for each command as it starts it.
  // A command that would replace or empty a scrambled or restored text that
  // was not saved asks first; No ends it with nothing changed.
  CommandOutcome load();                                       // button "Load"
  CommandOutcome shuffle();                                    // button "Shuffle"
  CommandOutcome save();                                       // button "Save"
  CommandOutcome load_shuffled_text();                         // button "Load shuffled text"
  CommandOutcome create_dictionary(std::stop_token stop = {});  // button "Create Dictionary"
  CommandOutcome load_dictionary(std::stop_token stop = {});    // button "Load Dictionary"
  CommandOutcome translate();                                  // button "Translate"

  // Whether the lower box holds a scrambled or restored text that was made
  // here (by Shuffle or Translate) and not saved since.
  bool has_unsaved_text() const { return unsaved_text_; }
  // Whether the scrambled token list holds a text restored by Translate.
  bool has_restored_text() const { return restored_text_; }

  const TokenList& source_tokens() const { return source_tokens_; }
  const TokenList& scrambled_tokens() const { return scrambled_tokens_; }
  const Dictionary& dictionary() const { return dictionary_; }
  const TextFile& source_file() const { return source_file_; }
  const std::string& scrambled_text_path() const { return scrambled_text_path_; }
  const std::string& restored_text_path() const { return restored_text_path_; }
  const std::string& lexicon_path() const { return lexicon_path_; }
  RandomGenerator& generator() { return generator_; }

 private:
  template <typename Command>
  CommandOutcome run(Command&& command);

  CommandOutcome load_command();
  CommandOutcome shuffle_command();
  CommandOutcome save_command();
  CommandOutcome load_shuffled_text_command();
  CommandOutcome create_dictionary_command(std::stop_token stop);
  CommandOutcome load_dictionary_command(std::stop_token stop);
  CommandOutcome translate_command();

  // Asks for a file to read; nothing when the dialog was cancelled or left
  // the name empty.
  bool choose_file_to_read(const char* preset, FilePurpose purpose, std::string& name);
  // Tells the user that `name` cannot be opened.
  void cannot_open(const std::string& name);
  // Appends a progress line, shows the whole progress text and repaints.
  void show_progress(std::string& progress, const std::string& line);
  // Whether `command` may go on and throw away the text of the scrambled
  // token list: yes when it is saved, else the user is asked.
  bool may_discard_text(std::string_view command);
  void empty_scrambled_tokens();

  DialogWindow& window_;
  TextFile source_file_;
  TokenList source_tokens_;
  TokenList scrambled_tokens_;
  Dictionary dictionary_;
  // The bigram model beside the loaded lexicon, when it had a usable one.
  std::optional<BigramModel> bigrams_;
  // The letter model beside the loaded lexicon, when it had a usable one.
  std::optional<LetterModel> letters_;
  RandomGenerator generator_;
  std::string scrambled_text_path_;
  std::string restored_text_path_;
  std::string lexicon_path_;
  bool unsaved_text_ = false;
  bool restored_text_ = false;
};

}  // namespace quirlex
