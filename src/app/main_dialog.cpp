#include "app/main_dialog.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <tuple>
#include <utility>

#include "app/command_texts.h"
#include "app/file_presets.h"
#include "base/failure.h"
#include "index/load_dictionary.h"
#include "lexicon/bigram_file.h"
#include "lexicon/create_dictionary.h"
#include "scramble/scramble.h"
#include "text/text_reading.h"
#include "text/token_writer.h"
#include "unscramble/translate.h"

namespace quirlex {

MainDialog::MainDialog(DialogWindow& window)
    : window_(window), scrambled_text_path_(presets::kScrambledText) {}

void MainDialog::initialize() {
  window_.set_checked(CheckBox::kSort, true);
  window_.set_checked(CheckBox::kDeepSearch, false);
  window_.set_checked(CheckBox::kFrequency, false);
  window_.set_checked(CheckBox::kCompounds, false);
}

// Every failure ends the running command where it happened and is shown with
// its own text; the lists keep what they held at that moment.
template <typename Command>
CommandOutcome MainDialog::run(Command&& command) {
  try {
    return failing_as_out_of_memory(command);
  } catch (const FileError& error) {
    window_.file_error_box(error.message());
  } catch (const Failure& error) {
    window_.message_box(error.message());
  }
  return CommandOutcome::kFailed;
}

CommandOutcome MainDialog::load() {
  return run([this] { return load_command(); });
}
CommandOutcome MainDialog::shuffle() {
  return run([this] { return shuffle_command(); });
}
CommandOutcome MainDialog::save() {
  return run([this] { return save_command(); });
}
CommandOutcome MainDialog::load_shuffled_text() {
  return run([this] { return load_shuffled_text_command(); });
}
CommandOutcome MainDialog::create_dictionary() {
  return run([this] { return create_dictionary_command(); });
}
CommandOutcome MainDialog::load_dictionary() {
  return run([this] { return load_dictionary_command(); });
}
CommandOutcome MainDialog::translate() {
  return run([this] { return translate_command(); });
}

void MainDialog::request_stop() {
  const std::lock_guard lock(stop_mutex_);
  stop_source_.request_stop();
}

std::stop_token MainDialog::stop_token_for_command() {
  const std::lock_guard lock(stop_mutex_);
  stop_source_ = std::stop_source();
  return stop_source_.get_token();
}

bool MainDialog::choose_file_to_read(const char* preset, FilePurpose purpose,
                                     std::string& name) {
  FileChoice choice = window_.choose_file(preset, purpose);
  if (!choice.confirmed || choice.name.empty()) return false;
  name = std::move(choice.name);
  return true;
}

void MainDialog::cannot_open(const std::string& name) {
  window_.message_box(std::string(texts::kCannotOpen) + "\n" + name);
}

void MainDialog::show_progress(std::string& progress, const std::string& line) {
  progress += line;
  window_.show_text(TextBox::kLower, progress);
  window_.repaint_now(RepaintTarget::kLowerTextBox);
}

void MainDialog::empty_scrambled_tokens() {
  scrambled_tokens_.make_empty();
  unsaved_text_ = false;
}

CommandOutcome MainDialog::load_command() {
  std::string name;
  if (!choose_file_to_read(presets::kSource, FilePurpose::kOpenText, name)) return CommandOutcome::kNothing;
  empty_scrambled_tokens();
  if (!read_text_tokens(source_file_, name, source_tokens_)) {
    cannot_open(name);
    return CommandOutcome::kUnreadable;
  }
  window_.show_tokens(TextBox::kUpper, "", source_tokens_);
  return CommandOutcome::kDone;
}

CommandOutcome MainDialog::shuffle_command() {
  shuffle_tokens(source_tokens_, scrambled_tokens_, generator_);
  unsaved_text_ = !scrambled_tokens_.is_empty();
  window_.show_tokens(TextBox::kLower, "", scrambled_tokens_);
  return CommandOutcome::kDone;
}

CommandOutcome MainDialog::save_command() {
  // A cancelled dialog writes nothing: the preset would name a file the user
  // never confirmed.
  const FileChoice choice = window_.choose_file(scrambled_text_path_, FilePurpose::kSaveScrambledText);
  if (!choice.confirmed) return CommandOutcome::kNothing;
  scrambled_text_path_ = choice.name;
  if (scrambled_text_path_.empty() || scrambled_tokens_.is_empty()) return CommandOutcome::kNothing;
  write_tokens(scrambled_tokens_, scrambled_text_path_, "");
  unsaved_text_ = false;
  return CommandOutcome::kDone;
}

CommandOutcome MainDialog::load_shuffled_text_command() {
  std::string name;
  if (!choose_file_to_read(scrambled_text_path_.c_str(), FilePurpose::kOpenScrambledText, name)) return CommandOutcome::kNothing;
  scrambled_text_path_ = name;
  TextFile file;
  if (!read_text_tokens(file, name, scrambled_tokens_)) {
    cannot_open(name);
    return CommandOutcome::kUnreadable;
  }
  unsaved_text_ = false;
  window_.show_tokens(TextBox::kLower, "", scrambled_tokens_);
  return CommandOutcome::kDone;
}

CommandOutcome MainDialog::create_dictionary_command() {
  std::string corpus;
  if (!choose_file_to_read(presets::kCorpus, FilePurpose::kOpenCorpus, corpus)) return CommandOutcome::kNothing;
  const std::stop_token stop = stop_token_for_command();
  // The lexicon word list is left alone: the loaded dictionary, whose variant
  // codes index it, stays usable for Translate.
  empty_scrambled_tokens();
  std::string progress;
  std::optional<TokenList> entries;
  // The frequency order is the best restoring, and the bigram model is part of it.
  const bool frequency = window_.is_checked(CheckBox::kFrequency);
  BigramModel bigrams;
  try {
    entries = build_lexicon(
        corpus,
        frequency                             ? LexiconOrder::kFrequency
        : window_.is_checked(CheckBox::kSort) ? LexiconOrder::kSorted
                                              : LexiconOrder::kText,
        [&](Stage stage, int percentage) {
          window_.show_progress(stage, percentage);
          show_progress(progress, texts::stage_line(stage));
        },
        stop, ReadEncoding::kAuto, frequency ? &bigrams : nullptr);
  } catch (const Stopped&) {
    show_progress(progress, texts::kLexiconStopped);
    return CommandOutcome::kStopped;
  }
  if (!entries) {
    cannot_open(corpus);
    return CommandOutcome::kUnreadable;
  }
  // As with Save, a cancelled dialog writes nothing.
  const FileChoice choice = window_.choose_file(presets::kLexicon, FilePurpose::kSaveLexicon);
  const bool write = choice.confirmed && !choice.name.empty();
  if (choice.confirmed) lexicon_path_ = choice.name;
  if (write) {
    write_tokens(*entries, lexicon_path_, "\n");
    if (frequency) write_bigram_file(bigram_path(lexicon_path_), bigrams);
  }
  window_.show_progress(Stage::kLexiconReady, -1);
  show_progress(progress, texts::stage_line(Stage::kLexiconReady));
  return write ? CommandOutcome::kDone : CommandOutcome::kNothing;
}

CommandOutcome MainDialog::load_dictionary_command() {
  // Every file is asked for and read before anything changes, so a cancelled
  // dialog or an unreadable lexicon leaves the loaded dictionary as it was.
  std::string lexicon_name;
  if (!choose_file_to_read(presets::kLexicon, FilePurpose::kOpenLexicon, lexicon_name)) return CommandOutcome::kNothing;
  DictionaryTexts files;
  if (auto text = read_text_file(lexicon_name, true, false)) {
    files.lexicon = std::move(*text);
  } else {
    cannot_open(lexicon_name);
    return CommandOutcome::kUnreadable;
  }
  files.deep_search = window_.is_checked(CheckBox::kDeepSearch);
  if (files.deep_search) {
    // An affix file that cannot be read gives an empty list.
    for (auto [preset, purpose, text] :
         {std::tuple{presets::kSuffixes, FilePurpose::kOpenSuffixes, &files.suffixes},
          std::tuple{presets::kPrefixes, FilePurpose::kOpenPrefixes, &files.prefixes}}) {
      const FileChoice choice = window_.choose_file(preset, purpose);
      if (!choice.confirmed) return CommandOutcome::kNothing;
      if (choice.name.empty()) continue;
      if (auto read = read_text_file(choice.name, false, true, ReadEncoding::kAuto)) {
        *text = std::move(*read);
      } else {
        cannot_open(choice.name);
      }
    }
  }

  const std::stop_token stop = stop_token_for_command();
  lexicon_path_ = lexicon_name;
  empty_scrambled_tokens();
  bigrams_.reset();
  const DictionaryReport report = quirlex::load_dictionary(
      dictionary_, std::move(files),
      [this](Stage stage, int percentage) {
        window_.show_progress(stage, percentage);
        if (stage == Stage::kDeepWordList) {
          window_.show_text(TextBox::kLower, texts::deep_word_list_line(percentage));
          window_.repaint_now(RepaintTarget::kWindow);
        } else {
          window_.show_text(TextBox::kLower, texts::stage_line(stage));
          window_.repaint_now(RepaintTarget::kLowerTextBox);
        }
      },
      stop);
  // A lexicon without a bigram file is the usual case and says nothing.
  std::string problem;
  const std::string model_path = bigram_path(lexicon_name);
  std::error_code no_such_file;
  if (std::filesystem::exists(model_path, no_such_file)) {
    try {
      bigrams_ = read_bigram_file(model_path, lexicon_hash(dictionary_.words),
                                  static_cast<std::uint32_t>(dictionary_.words.size()));
    } catch (const BigramFileError& error) {
      problem = error.message();
    }
  }
  window_.show_text(TextBox::kLower, problem.empty() ? texts::dictionary_report(report)
                                                     : texts::dictionary_report(report, problem));
  return report.deep_search == DeepSearchOutcome::kStopped ? CommandOutcome::kStopped
                                                           : CommandOutcome::kDone;
}

CommandOutcome MainDialog::translate_command() {
  window_.show_tokens(TextBox::kLower, "", scrambled_tokens_);
  const Accuracy accuracy =
      quirlex::translate(scrambled_tokens_, source_tokens_, dictionary_,
                         {.deep_search = window_.is_checked(CheckBox::kDeepSearch),
                          .compounds = window_.is_checked(CheckBox::kCompounds),
                          .context = window_.is_checked(CheckBox::kCompounds) && bigrams_
                                         ? &*bigrams_
                                         : nullptr})
          .accuracy;
  unsaved_text_ = !scrambled_tokens_.is_empty();
  window_.show_tokens(TextBox::kLower, texts::accuracy_report(accuracy), scrambled_tokens_);
  window_.repaint_now(RepaintTarget::kLowerTextBox);
  return CommandOutcome::kDone;
}

}  // namespace quirlex
