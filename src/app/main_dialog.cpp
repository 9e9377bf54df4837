#include "app/main_dialog.h"

#include <filesystem>
#include <optional>
#include <tuple>
#include <utility>

#include "app/command_texts.h"
#include "app/dictionary_files.h"
#include "app/file_presets.h"
#include "app/lexicon_locator.h"
#include "base/failure.h"
#include "scramble/scramble.h"
#include "text/text_reading.h"
#include "text/token_writer.h"
#include "unscramble/translate.h"

namespace quirlex {

MainDialog::MainDialog(DialogWindow& window)
    : window_(window),
      scrambled_text_path_(presets::kScrambledText),
      restored_text_path_(presets::kRestoredText) {}

void MainDialog::initialize() {
  window_.set_checked(CheckBox::kSort, true);
  window_.set_checked(CheckBox::kDeepSearch, false);
  window_.set_checked(CheckBox::kFrequency, false);
  window_.set_checked(CheckBox::kCompounds, false);
  window_.set_checked(CheckBox::kKeepPunctuation, false);
  window_.show_status(texts::kNoLexiconStatus);
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
CommandOutcome MainDialog::create_dictionary(std::stop_token stop) {
  return run([this, &stop] { return create_dictionary_command(std::move(stop)); });
}
CommandOutcome MainDialog::load_dictionary(std::stop_token stop) {
  return run([this, &stop] { return load_dictionary_command(std::move(stop)); });
}
CommandOutcome MainDialog::translate() {
  return run([this] { return translate_command(); });
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

bool MainDialog::may_discard_text(std::string_view command) {
  return !unsaved_text_ || window_.ask(texts::unsaved_text_question(restored_text_, command));
}

void MainDialog::empty_scrambled_tokens() {
  scrambled_tokens_.make_empty();
  unsaved_text_ = false;
  restored_text_ = false;
}

CommandOutcome MainDialog::load_command() {
  std::string name;
  if (!choose_file_to_read(presets::kSource, FilePurpose::kOpenText, name)) return CommandOutcome::kNothing;
  if (!may_discard_text("Load")) return CommandOutcome::kNothing;
  empty_scrambled_tokens();
  if (!read_text_tokens(source_file_, name, source_tokens_)) {
    cannot_open(name);
    return CommandOutcome::kUnreadable;
  }
  window_.show_tokens(TextBox::kUpper, "", source_tokens_);
  return CommandOutcome::kDone;
}

CommandOutcome MainDialog::shuffle_command() {
  if (!may_discard_text("Shuffle")) return CommandOutcome::kNothing;
  shuffle_tokens(source_tokens_, scrambled_tokens_, generator_,
                 {.keep_punctuation = window_.is_checked(CheckBox::kKeepPunctuation)});
  unsaved_text_ = !scrambled_tokens_.is_empty();
  restored_text_ = false;
  window_.show_tokens(TextBox::kLower, "", scrambled_tokens_);
  return CommandOutcome::kDone;
}

CommandOutcome MainDialog::save_command() {
  // The lower box may still show a text whose list a command has emptied:
  // the user learns that it is gone before choosing a name.
  if (scrambled_tokens_.is_empty()) {
    window_.message_box(texts::kNothingToSave);
    return CommandOutcome::kNothing;
  }
  // A restored text has a name of its own, so that saving it replaces no
  // scrambled text by accident.
  std::string& path = restored_text_ ? restored_text_path_ : scrambled_text_path_;
  // A cancelled dialog writes nothing: the preset would name a file the user
  // never confirmed.
  const FileChoice choice = window_.choose_file(
      path, restored_text_ ? FilePurpose::kSaveRestoredText : FilePurpose::kSaveScrambledText);
  if (!choice.confirmed) return CommandOutcome::kNothing;
  path = choice.name;
  if (path.empty()) return CommandOutcome::kNothing;
  write_tokens(scrambled_tokens_, path, "");
  unsaved_text_ = false;
  return CommandOutcome::kDone;
}

CommandOutcome MainDialog::load_shuffled_text_command() {
  std::string name;
  if (!choose_file_to_read(scrambled_text_path_.c_str(), FilePurpose::kOpenScrambledText, name)) return CommandOutcome::kNothing;
  TextFile file;
  // Read aside first: only a text that replaces the list may cost the user
  // an unsaved one.
  TokenList loaded;
  if (!read_text_tokens(file, name, loaded)) {
    // The name is taken all the same: the next Save offers it.
    scrambled_text_path_ = name;
    cannot_open(name);
    return CommandOutcome::kUnreadable;
  }
  // An empty file leaves the list as it was.
  if (!loaded.is_empty()) {
    if (!may_discard_text("Load shuffled text")) return CommandOutcome::kNothing;
    scrambled_tokens_ = std::move(loaded);
    unsaved_text_ = false;
    restored_text_ = false;
  }
  scrambled_text_path_ = name;
  window_.show_tokens(TextBox::kLower, "", scrambled_tokens_);
  return CommandOutcome::kDone;
}

CommandOutcome MainDialog::create_dictionary_command(std::stop_token stop) {
  std::string corpus;
  if (!choose_file_to_read(presets::kCorpus, FilePurpose::kOpenCorpus, corpus)) return CommandOutcome::kNothing;
  // The lexicon's name is asked before the corpus is read, so that a long
  // build ends with its file written. As with Save, a cancelled dialog
  // writes nothing; then nothing has changed either.
  const FileChoice target = window_.choose_file(presets::kLexicon, FilePurpose::kSaveLexicon);
  if (!target.confirmed || target.name.empty()) return CommandOutcome::kNothing;
  if (!may_discard_text("Create Dictionary")) return CommandOutcome::kNothing;
  // The lexicon word list is left alone: the loaded dictionary, whose variant
  // codes index it, stays usable for Translate.
  empty_scrambled_tokens();
  std::string progress;
  // The frequency order is the best restoring, and the bigram model is part of it.
  const bool frequency = window_.is_checked(CheckBox::kFrequency);
  const LexiconBuildOptions options{
      .order = frequency                             ? LexiconOrder::kFrequency
               : window_.is_checked(CheckBox::kSort) ? LexiconOrder::kSorted
                                                     : LexiconOrder::kText,
      .bigrams = frequency,
      .letters = frequency};
  LexiconBuild build;
  try {
    build = build_lexicon(
        {{.path = corpus}}, options,
        [&](LexiconStage stage, int share) {
          window_.show_progress(texts::stage_percentage(stage, share, options.bigrams));
          if (share < 0) show_progress(progress, texts::stage_line(stage, options.order));
        },
        stop);
  } catch (const Stopped&) {
    show_progress(progress, texts::kLexiconStopped);
    return CommandOutcome::kStopped;
  }
  if (build.unreadable) {
    cannot_open(*build.unreadable);
    return CommandOutcome::kUnreadable;
  }
  lexicon_path_ = target.name;
  create_dictionary_files(build, lexicon_path_);
  window_.show_progress(100);
  show_progress(progress, texts::stage_line(LexiconStage::kLexiconReady));
  return CommandOutcome::kDone;
}

CommandOutcome MainDialog::load_dictionary_command(std::stop_token stop) {
  // Every file is asked for and read before anything changes, so a cancelled
  // dialog or an unreadable lexicon leaves the loaded dictionary as it was.
  std::string chosen;
  if (!choose_file_to_read(presets::kLexicon, FilePurpose::kOpenLexicon, chosen))
    return CommandOutcome::kNothing;
  // A name that is no file may be that of a lexicon in the lexicon folders.
  const std::string lexicon_name = locate_chosen_lexicon(chosen);
  DictionaryFiles files;
  if (!files.read_lexicon(lexicon_name)) {
    cannot_open(lexicon_name);
    return CommandOutcome::kUnreadable;
  }
  const bool deep_search = window_.is_checked(CheckBox::kDeepSearch);
  if (deep_search) {
    // The lexicon's own affix lists, where it has them, are offered first.
    const LexiconCompanions companions = companions_of(lexicon_name);
    const std::string suffixes = existing_file(companions.suffixes).value_or(presets::kSuffixes);
    const std::string prefixes = existing_file(companions.prefixes).value_or(presets::kPrefixes);
    // An affix file that cannot be read gives an empty list.
    using Read = bool (DictionaryFiles::*)(const std::string&, ReadEncoding);
    for (const auto& [preset, purpose, read] :
         {std::tuple{suffixes, FilePurpose::kOpenSuffixes, Read{&DictionaryFiles::read_suffixes}},
          std::tuple{prefixes, FilePurpose::kOpenPrefixes,
                     Read{&DictionaryFiles::read_prefixes}}}) {
      const FileChoice choice = window_.choose_file(preset, purpose);
      if (!choice.confirmed) return CommandOutcome::kNothing;
      if (choice.name.empty()) continue;
      if (!(files.*read)(choice.name, ReadEncoding::kAuto)) cannot_open(choice.name);
    }
  }

  if (!may_discard_text("Load Dictionary")) return CommandOutcome::kNothing;
  lexicon_path_ = lexicon_name;
  empty_scrambled_tokens();
  bigrams_.reset();
  letters_.reset();
  // Until the new dictionary is complete, none is.
  window_.show_status(texts::kNoLexiconStatus);
  LoadedDictionary loaded = load_dictionary_files(
      dictionary_, std::move(files), {.deep_search = deep_search},
      [this](LoadStage stage, int percentage) {
        window_.show_progress(percentage);
        if (stage == LoadStage::kDeepWordList) {
          window_.show_text(TextBox::kLower, texts::deep_word_list_line(percentage));
          window_.repaint_now(RepaintTarget::kWindow);
        } else {
          window_.show_text(TextBox::kLower, texts::stage_line(stage));
          window_.repaint_now(RepaintTarget::kLowerTextBox);
        }
      },
      std::move(stop));
  bigrams_ = std::move(loaded.bigrams);
  letters_ = std::move(loaded.letters);
  const auto state = [](bool model, const std::string& problem) {
    return model              ? texts::ModelFileState::kLoaded
           : problem.empty() ? texts::ModelFileState::kNone
                             : texts::ModelFileState::kUnusable;
  };
  window_.show_status(texts::dictionary_status(
      std::filesystem::path(lexicon_name).filename().string(), loaded.report,
      {.bigrams = state(bigrams_.has_value(), loaded.bigram_problem),
       .letters = state(letters_.has_value(), loaded.letter_problem)}));
  window_.show_text(TextBox::kLower,
                    texts::dictionary_report(loaded.report, {.bigrams = loaded.bigram_problem,
                                                             .letters = loaded.letter_problem}));
  return loaded.report.deep_search == DeepSearchOutcome::kStopped ? CommandOutcome::kStopped
                                                                  : CommandOutcome::kDone;
}

CommandOutcome MainDialog::translate_command() {
  window_.show_tokens(TextBox::kLower, "", scrambled_tokens_);
  const bool deep_search = window_.is_checked(CheckBox::kDeepSearch);
  // The box turns on every best step the loaded dictionary has files for.
  const bool best = window_.is_checked(CheckBox::kCompounds);
  const TranslateOptions options =
      best ? best_translate_options(deep_search, bigrams_ ? &*bigrams_ : nullptr,
                                    letters_ ? &*letters_ : nullptr)
           : TranslateOptions{.deep_search = deep_search};
  const TranslateResult result =
      quirlex::translate(scrambled_tokens_, source_tokens_, dictionary_, options);
  unsaved_text_ = !scrambled_tokens_.is_empty();
  restored_text_ = unsaved_text_;
  window_.show_tokens(TextBox::kLower,
                      options.unknown ? texts::accuracy_report(result.accuracy, result.unknown)
                                      : texts::accuracy_report(result.accuracy),
                      scrambled_tokens_);
  window_.repaint_now(RepaintTarget::kLowerTextBox);
  return CommandOutcome::kDone;
}

}  // namespace quirlex
