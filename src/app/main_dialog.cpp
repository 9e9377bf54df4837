#include "app/main_dialog.h"

#include <new>
#include <stdexcept>
#include <utility>

#include "base/failure.h"
#include "base/format.h"
#include "index/deep_word_list.h"
#include "lexicon/lexicon_builder.h"
#include "lexicon/lexicon_codec.h"
#include "scramble/scramble.h"
#include "text/signature.h"
#include "text/token_writer.h"
#include "text/tokenizer.h"
#include "unscramble/accuracy_report.h"
#include "unscramble/unscrambler.h"

namespace quirlex {
namespace {

constexpr const char* kReadLine = "Read the file and split it into words\r\n";
constexpr const char* kFilterLine =
    "Filtering of unused strings (too small, no words, illegal characters)\r\n";
constexpr const char* kSortLine = "Remaining words are now sorted by characters and length\r\n";
constexpr const char* kRepeatsLine = "Delete all multiple words\r\n";
constexpr const char* kCompressLine = "Compress and save the lexicon\r\n";
constexpr const char* kReadyLine = "Ready!";
constexpr const char* kHashtablesLine = "Creating the hashtables!\r\n";
constexpr const char* kPercentageLine =
    "%i percent of the deep wordlist created (reducing the suffixes and prefixes speedups this "
    "tasks but can lead to worse results)";

}  // namespace

MainDialog::MainDialog(DialogWindow& window) : window_(window) {}

void MainDialog::initialize() {
  window_.set_checked(CheckBox::kSort, true);
  window_.set_checked(CheckBox::kDeepSearch, false);
}

// Every failure ends the running command where it happened and is shown with
// its own text; the lists keep what they held at that moment.
template <typename Command>
CommandOutcome MainDialog::run(Command&& command) {
  try {
    return command();
  } catch (const FileError& error) {
    window_.file_error_box(error.message());
  } catch (const Failure& error) {
    window_.message_box(error.message());
  } catch (const std::bad_alloc&) {
    window_.message_box(OutOfMemory().message());
  } catch (const std::length_error&) {
    window_.message_box(OutOfMemory().message());
  }
  return CommandOutcome::kFailed;
}

CommandOutcome MainDialog::load() {
  return run([this] { return load_command(); });
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

CommandOutcome MainDialog::shuffle() {
  return run([this] {
    set_signature_suppression(false);
    shuffle_tokens(source_tokens_, scrambled_tokens_, generator_);
    window_.show_tokens(TextBox::kLower, "", scrambled_tokens_);
    return CommandOutcome::kDone;
  });
}

bool MainDialog::choose_file_to_read(const std::string& preset, std::string& name) {
  name = window_.choose_file(preset, FileUse::kRead).name;
  return !name.empty();
}

bool MainDialog::read_file(TextFile& file, const std::string& name, bool transliterate,
                           bool upper_case) {
  const bool read = file.read(name, transliterate, upper_case);
  if (!read) window_.message_box(kCannotOpenMessage);
  return read;
}

void MainDialog::show_progress(std::string& progress, const char* line) {
  progress += line;
  window_.show_text(TextBox::kLower, progress);
  window_.repaint_now(RepaintTarget::kLowerTextBox);
}

CommandOutcome MainDialog::load_command() {
  scrambled_tokens_.make_empty();
  set_signature_suppression(false);
  std::string name;
  if (!choose_file_to_read(kSourcePreset, name)) return CommandOutcome::kNothing;
  if (!read_file(source_file_, name, true, false)) return CommandOutcome::kUnreadable;
  tokenize(source_file_.content(), source_tokens_, {});
  window_.show_tokens(TextBox::kUpper, "", source_tokens_);
  return CommandOutcome::kDone;
}

CommandOutcome MainDialog::save_command() {
  // A cancelled dialog writes nothing: the preset would name a file the user
  // never confirmed.
  const FileChoice choice = window_.choose_file(scrambled_text_path_, FileUse::kWrite);
  if (!choice.confirmed) return CommandOutcome::kNothing;
  scrambled_text_path_ = choice.name;
  if (scrambled_text_path_.empty() || scrambled_tokens_.is_empty()) return CommandOutcome::kNothing;
  write_tokens(scrambled_tokens_, scrambled_text_path_, "");
  return CommandOutcome::kDone;
}

CommandOutcome MainDialog::load_shuffled_text_command() {
  set_signature_suppression(false);
  if (!choose_file_to_read(scrambled_text_path_, scrambled_text_path_)) {
    return CommandOutcome::kNothing;
  }
  TextFile file;
  if (!read_file(file, scrambled_text_path_, true, false)) return CommandOutcome::kUnreadable;
  tokenize(file.take_content(), scrambled_tokens_, {});
  window_.show_tokens(TextBox::kLower, "", scrambled_tokens_);
  return CommandOutcome::kDone;
}

CommandOutcome MainDialog::create_dictionary_command() {
  SignatureSuppression suppression;
  std::string progress;
  show_progress(progress, kReadLine);
  // The lexicon word list is left alone: the loaded dictionary, whose variant
  // codes index it, stays usable for Translate.
  scrambled_tokens_.make_empty();
  std::string corpus_name;
  if (!choose_file_to_read(kCorpusPreset, corpus_name)) return CommandOutcome::kNothing;
  TextFile corpus;
  if (!read_file(corpus, corpus_name, true, false)) return CommandOutcome::kUnreadable;
  LexiconBuilder builder(corpus.take_content());
  corpus.close();

  show_progress(progress, kFilterLine);
  builder.collect_words();
  show_progress(progress, kSortLine);
  if (window_.is_checked(CheckBox::kSort)) builder.sort_words();
  // Repeated words were already dropped as the words were collected.
  show_progress(progress, kRepeatsLine);
  show_progress(progress, kCompressLine);
  const TokenList entries = builder.encode();

  // As with Save, a cancelled dialog writes nothing.
  const FileChoice choice = window_.choose_file(kLexiconPreset, FileUse::kWrite);
  const bool write = choice.confirmed && !choice.name.empty();
  if (choice.confirmed) lexicon_path_ = choice.name;
  if (write) write_tokens(entries, lexicon_path_, "\n");
  set_signature_suppression(false);
  show_progress(progress, kReadyLine);
  return write ? CommandOutcome::kDone : CommandOutcome::kNothing;
}

CommandOutcome MainDialog::load_dictionary_command() {
  lexicon_path_ = window_.choose_file(kLexiconPreset, FileUse::kRead).name;
  std::string text;
  bool readable = true;
  if (!lexicon_path_.empty()) {
    TextFile file;
    readable = read_file(file, lexicon_path_, true, false);
    if (readable) text = file.take_content();
  }

  Dictionary& d = dictionary_;
  scrambled_tokens_.make_empty();
  d.suffixes.make_empty();
  d.prefixes.make_empty();
  d.words.make_empty();
  d.lexicon_table.make_empty();
  d.variant_table.make_empty();
  d.layout = VariantLayout{};

  read_lexicon_words(std::move(text), d.words);
  window_.show_text(TextBox::kLower, kHashtablesLine);
  window_.repaint_now(RepaintTarget::kLowerTextBox);
  fill_lexicon_table(d.words, d.lexicon_table);

  std::string refusal;
  if (window_.is_checked(CheckBox::kDeepSearch)) read_affix_lists(refusal);
  window_.show_text(TextBox::kLower, dictionary_report(d, refusal));
  return readable ? CommandOutcome::kDone : CommandOutcome::kUnreadable;
}

void MainDialog::read_affix_lists(std::string& refusal) {
  Dictionary& d = dictionary_;
  // Each list is made from its own file's text only; an unreadable or
  // unnamed file leaves its list empty.
  const auto read_list = [this](const char* preset, std::string& path, TokenList& list) {
    path = window_.choose_file(preset, FileUse::kRead).name;
    std::string text;
    if (!path.empty()) {
      TextFile file;
      if (read_file(file, path, false, true)) text = file.take_content();
    }
    read_affix_list(std::move(text), list);
  };
  read_list(kSuffixPreset, suffix_path_, d.suffixes);
  read_list(kPrefixPreset, prefix_path_, d.prefixes);
  d.layout = VariantLayout::for_counts(d.prefixes.size(), d.suffixes.size());

  if (!window_.is_checked(CheckBox::kDeepSearch)) return;
  refusal = deep_word_list_refusal(d.prefixes.size(), d.suffixes.size(), d.words.size(), d.layout);
  if (!refusal.empty()) return;
  set_signature_suppression(false);
  build_deep_word_list(d, [this](int percentage) {
    window_.show_text(TextBox::kLower, format_int(kPercentageLine, percentage));
    window_.repaint_now(RepaintTarget::kWindow);
  });
}

CommandOutcome MainDialog::translate_command() {
  window_.show_tokens(TextBox::kLower, "", scrambled_tokens_);
  set_signature_suppression(false);
  restore_words(scrambled_tokens_, dictionary_, window_.is_checked(CheckBox::kDeepSearch));
  const std::string report = accuracy_report(source_tokens_, scrambled_tokens_);
  window_.show_tokens(TextBox::kLower, report, scrambled_tokens_);
  window_.repaint_now(RepaintTarget::kLowerTextBox);
  return CommandOutcome::kDone;
}

}  // namespace quirlex
