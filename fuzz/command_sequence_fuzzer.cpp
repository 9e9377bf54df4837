// Fuzzes MainDialog as a whole: the input is a set of small files and a
// program of commands with the answers of their file dialogs and questions
// and the states of the five check boxes. After every command the lists,
// tables, text boxes and files must be what a plain re-implementation of the
// command expects, and an unsaved text is never lost without a question.
// Every word Translate restores is a rearrangement of its scrambled word;
// by default a lexicon word or an affix variant; with the best steps, its
// marks kept in place, and made of the dictionary unless the letter model
// was loaded, which leaves no word it can order unrestored.
//
// Input format, read front to back (bytes past the end read as 0):
//   For each of the eight names of kFileNames: a kind byte (kind % 4: 0 no
//   file, 1 the bytes as they are, 2 a lexicon of the bytes' words in sorted
//   order, 3 a lexicon in order of first appearance), then for kinds 1 to 3 a
//   length byte and that many bytes (at most kMaxFileBytes).
//   Then up to kMaxCommands command bytes: bits 0 to 2 the command (in the
//   order of kCommandNames; 7 counts as 0), bit 3 the Deep Search box, bit 4
//   the Sort box, bit 5 the frequency box, bit 6 the box of all best
//   restoring steps, bit 7 the Keep punctuation box. Each file dialog the command shows takes the
//   next byte: bit 7 cancels it, otherwise the byte modulo the number of
//   kAnswerNames chooses the name confirmed. A dialog past the end of the
//   input cancels. Each question takes the next byte: bit 7 answers No; past
//   the end of the input the answer is Yes.
//
// The fuzzer works in a fresh folder of its own (its working directory from
// the start, so that a cancelled dialog's preset name is found there), which
// it empties before each input. Corpus and artifact paths given to it must
// therefore be absolute.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "app/command_texts.h"
#include "app/file_presets.h"
#include "app/main_dialog.h"
#include "lexicon/bigram_file.h"
#include "lexicon/bigram_model.h"
#include "lexicon/letter_model.h"
#include "lexicon/letter_model_file.h"
#include "lexicon/lexicon_codec.h"
#include "reference.h"
#include "testing/fake_window.h"
#include "text/case_map.h"
#include "text/text_encoding.h"
#include "unscramble/compound_search.h"

namespace {

namespace fs = std::filesystem;
using quirlex::CommandOutcome;
using quirlex::FileUse;
using quirlex::MainDialog;
using quirlex::TokenList;
using quirlex::WordToken;
using quirlex::fuzz::same_bits;

constexpr std::size_t kMaxFileBytes = 160;
constexpr int kMaxCommands = 24;
// The deep word list is checked member by member only up to this size.
constexpr std::int64_t kMaxCheckedMembers = 4000;

// The files an input can fill: the presets of the dialogs, so that a
// cancelled dialog finds them, and two names of its own.
constexpr std::array<const char*, 8> kFileNames = {"test2.txt",     "savedtext.txt",
                                                   "pqlexikon.txt", "Lexikon.dic",
                                                   "Suffix_en.txt", "EMPTY SUFFIX PREFIX LIST.txt",
                                                   "a.txt",         "b.dic"};
// The names a confirmed dialog can give: the files above, a missing file, a
// folder, an empty name, a file in a sub-folder, a file in a missing folder.
constexpr std::array<const char*, 13> kAnswerNames = {"test2.txt",
                                                      "savedtext.txt",
                                                      "pqlexikon.txt",
                                                      "Lexikon.dic",
                                                      "Suffix_en.txt",
                                                      "EMPTY SUFFIX PREFIX LIST.txt",
                                                      "a.txt",
                                                      "b.dic",
                                                      "missing.txt",
                                                      "sub",
                                                      "",
                                                      "sub/c.txt",
                                                      "nodir/c.txt"};
constexpr const char* kSubFolder = "sub";

constexpr const char* kReadLine = "Read the file and split it into words\r\n";
constexpr const char* kProgressLines =
    "Read the file and split it into words\r\n"
    "Filtering of unused strings (too small, no words, illegal characters)\r\n"
    "Remaining words are now sorted by characters and length\r\n"
    "Delete all multiple words\r\n"
    "Compress and save the lexicon\r\n";
// The frequency order names itself, and counts the word pairs after the lexicon.
constexpr const char* kFrequencyProgressLines =
    "Read the file and split it into words\r\n"
    "Filtering of unused strings (too small, no words, illegal characters)\r\n"
    "Remaining words are now ordered by their frequency in the corpus\r\n"
    "Delete all multiple words\r\n"
    "Compress and save the lexicon\r\n"
    "Count the word pairs and save them in the model file\r\n";
constexpr const char* kReportStart = "Creating the hashtables!\r\nREADY!\r\n\r\n";
// The letter model orders the letters of words of at most this many.
constexpr std::size_t kMostModelLetters = 64;

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool at_end() const { return at_ >= size_; }
  std::uint8_t byte() { return at_end() ? 0 : data_[at_++]; }
  std::string bytes(std::size_t n) {
    n = std::min(n, size_ - std::min(at_, size_));
    std::string text(reinterpret_cast<const char*>(data_) + at_, n);
    at_ += n;
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// The fake window, with each dialog answered by the next input byte, so the
// answers can never run out.
class ScriptedWindow : public quirlex::testing::FakeWindow {
 public:
  explicit ScriptedWindow(Input& input) : input_(input) {}

  quirlex::FileChoice choose_file(std::string_view preset,
                                  quirlex::FilePurpose purpose) override {
    const std::uint8_t answer = input_.at_end() ? 0x80 : input_.byte();
    if ((answer & 0x80) != 0) {
      cancel_file();
    } else {
      answer_file(kAnswerNames[answer % kAnswerNames.size()]);
    }
    choices.push_back(FakeWindow::choose_file(preset, purpose));
    return choices.back();
  }

  bool ask(std::string_view question) override {
    const bool yes = input_.at_end() || (input_.byte() & 0x80) == 0;
    replies.push_back(yes);
    reply(yes);
    return FakeWindow::ask(question);
  }

  std::vector<quirlex::FileChoice> choices;
  std::vector<bool> replies;

 private:
  Input& input_;
};

std::string folder;
// Set by QUIRLEX_FUZZ_TRACE in the environment.
bool trace = false;

void remove_folder() {
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

void empty_folder() {
  for (const fs::directory_entry& entry : fs::directory_iterator(".")) {
    fs::remove_all(entry.path());
  }
}

void put_file(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  FUZZ_CHECK(out.good());
}

// The whole content of a regular file, or nothing for a missing file or a
// folder.
std::optional<std::string> file_bytes(const std::string& name) {
  std::error_code error;
  if (name.empty() || !fs::is_regular_file(name, error)) return std::nullopt;
  std::ifstream in(name, std::ios::binary);
  FUZZ_CHECK(in.good());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every regular file below the folder with its content.
std::map<std::string, std::string> snapshot() {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(".")) {
    if (entry.is_regular_file()) {
      const std::string name = entry.path().lexically_relative(".").string();
      files[name] = *file_bytes(entry.path().string());
    }
  }
  return files;
}

bool is_writable_name(const std::string& name) {
  return !name.empty() && name != kSubFolder && name.rfind("nodir/", 0) != 0;
}

std::string make_lexicon(const std::string& text, bool sort) {
  quirlex::LexiconEncoder encoder;
  std::string lexicon;
  for (const std::string& word : quirlex::fuzz::reference_builder_words(text, sort)) {
    lexicon += encoder.encode(word) + "\n";
  }
  return lexicon;
}

void make_files(Input& input) {
  empty_folder();
  fs::create_directory(kSubFolder);
  for (const char* name : kFileNames) {
    const int kind = input.byte() % 4;
    if (kind == 0) continue;
    const std::string bytes = input.bytes(std::min<std::size_t>(input.byte(), kMaxFileBytes));
    put_file(name, kind == 1 ? bytes : make_lexicon(bytes, kind == 2));
  }
}

std::vector<std::string> texts_of(const TokenList& list) {
  std::vector<std::string> texts;
  for (std::int32_t i = 0; i < list.size(); ++i) texts.emplace_back(list.text(i));
  return texts;
}

// The tokens of a text as Load and Load shuffled text make them: an empty
// text leaves the earlier list.
void check_text_tokens(const TokenList& list, const std::string& text, const TokenList& earlier) {
  if (text.empty()) {
    FUZZ_CHECK(list == earlier);
    return;
  }
  // A text the user loads keeps its last word's case.
  const auto expected = quirlex::fuzz::reference_tokens(text, false, false, false);
  FUZZ_CHECK(static_cast<std::size_t>(list.size()) == expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto index = static_cast<std::int32_t>(i);
    FUZZ_CHECK(list.text(index) == expected[i].text);
    FUZZ_CHECK(list.separator(index) == (expected[i].separator ? 1 : 0));
    FUZZ_CHECK(quirlex::fuzz::has_signature_of_text(list, index, false));
  }
}

// The affix list of a file's text: upper-cased, no umlauts spelled out, one
// token per run of word bytes, without signatures.
void check_affixes(const TokenList& list, const std::optional<std::string>& file) {
  std::string text =
      file ? quirlex::fuzz::reference_decode_text(file->substr(0, file->find('\0')), false).text
           : std::string();
  quirlex::upper_case(text);
  const auto expected = quirlex::fuzz::reference_tokens(text, true, false);
  FUZZ_CHECK(static_cast<std::size_t>(list.size()) == expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto index = static_cast<std::int32_t>(i);
    FUZZ_CHECK(list.text(index) == expected[i].text);
    FUZZ_CHECK(list.separator(index) == 0);
    FUZZ_CHECK(quirlex::fuzz::has_signature_of_text(list, index, true));
  }
}

int bit_width_of_count(std::int64_t count) {
  int bits = 0;
  while (count > 0) {
    ++bits;
    count >>= 1;
  }
  return bits == 0 ? 1 : bits;
}

std::string report_line(const char* pattern, std::int64_t value) {
  char line[160];
  std::snprintf(line, sizeof line, pattern, static_cast<int>(value));
  return line;
}

class Run {
 public:
  explicit Run(Input& input) : window_(input), dialog_(window_) { dialog_.initialize(); }

  void command(std::uint8_t code) {
    window_.deep_search = (code & 0x08) != 0;
    window_.sort = (code & 0x10) != 0;
    window_.frequency = (code & 0x20) != 0;
    window_.compounds = (code & 0x40) != 0;
    window_.keep_punctuation = (code & 0x80) != 0;
    dialogs_before_ = window_.dialogs.size();
    questions_before_ = window_.questions.size();
    messages_before_ = window_.messages.size();
    file_errors_before_ = window_.file_errors.size();
    files_before_ = snapshot();
    upper_before_ = window_.upper_text;
    lower_before_ = window_.lower_text;
    command_ = (code & 7) % 7;
    switch (command_) {
      case 0:
        load();
        break;
      case 1:
        shuffle();
        break;
      case 2:
        save();
        break;
      case 3:
        load_shuffled_text();
        break;
      case 4:
        create_dictionary();
        break;
      case 5:
        load_dictionary();
        break;
      default:
        translate();
        break;
    }
    if (trace) print_trace(code);
    // Each message names the file that could not be opened on its second
    // line, or tells that there is nothing to save.
    const std::string cannot_open = std::string(quirlex::texts::kCannotOpen) + "\n";
    for (std::size_t i = messages_before_; i < window_.messages.size(); ++i) {
      if (window_.messages[i] == quirlex::texts::kNothingToSave) continue;
      FUZZ_CHECK(window_.messages[i].starts_with(cannot_open));
      FUZZ_CHECK(window_.messages[i].size() > cannot_open.size());
    }
    FUZZ_CHECK(dialog_.has_unsaved_text() == unsaved_);
    FUZZ_CHECK(dialog_.has_restored_text() == restored_);
  }

 private:
  // The name returned by the `n`th dialog of this command, after checking
  // that it was shown with `preset` for `use`.
  const quirlex::FileChoice& dialog(std::size_t n, const std::string& preset, FileUse use) {
    const std::size_t index = dialogs_before_ + n;
    FUZZ_CHECK(index < window_.dialogs.size());
    FUZZ_CHECK(window_.dialogs[index].preset == preset);
    FUZZ_CHECK(window_.dialogs[index].use == use);
    return window_.choices[index];
  }
  std::size_t dialogs_shown() const { return window_.dialogs.size() - dialogs_before_; }
  // Whether the command asked before it dropped an unsaved text (as it must
  // exactly when there is one) and the user said No.
  bool declined() const {
    FUZZ_CHECK(window_.questions.size() - questions_before_ == (unsaved_ ? 1u : 0u));
    return unsaved_ && !window_.replies.back();
  }
  void no_question() const { FUZZ_CHECK(window_.questions.size() == questions_before_); }
  // The scrambled token list was replaced or emptied.
  void text_given_up() {
    unsaved_ = false;
    restored_ = false;
  }
  std::size_t messages_shown() const { return window_.messages.size() - messages_before_; }
  std::size_t file_errors_shown() const { return window_.file_errors.size() - file_errors_before_; }

  // Files are unchanged, except those `written` with their contents.
  void check_files(const std::map<std::string, std::string>& written = {}) {
    std::map<std::string, std::string> expected = files_before_;
    for (const auto& [name, content] : written) expected[name] = content;
    FUZZ_CHECK(snapshot() == expected);
  }

  // The content `name` had before the command, or nothing for a missing
  // file or a folder (a command may overwrite the file it read).
  std::optional<std::string> bytes_before(const std::string& name) const {
    const auto file = files_before_.find(name);
    if (file == files_before_.end()) return std::nullopt;
    return file->second;
  }

  // Whether a text read with transliteration could be had from `name`; the
  // text then is in `text`. Texts follow the encoding rule (UTF-8 decoded
  // first); a lexicon is always taken as its bytes.
  bool read_text(const std::string& name, std::string& text, bool lexicon = false) const {
    const std::optional<std::string> bytes = bytes_before(name);
    if (!bytes) return false;
    if (lexicon) {
      text = quirlex::fuzz::reference_transliterate(*bytes);
    } else {
      text = quirlex::fuzz::reference_transliterate(
          quirlex::fuzz::reference_decode_text(bytes->substr(0, bytes->find('\0')), false).text);
    }
    return true;
  }

  // Whether the `n`th dialog of this command was cancelled or left no name:
  // the command then ends with nothing changed.
  bool cancelled(std::size_t n, const std::string& preset, FileUse use) {
    const quirlex::FileChoice& choice = dialog(n, preset, use);
    return !choice.confirmed || choice.name.empty();
  }

  void load() {
    const TokenList source_before = dialog_.source_tokens();
    const TokenList scrambled_before = dialog_.scrambled_tokens();
    const CommandOutcome outcome = dialog_.load();
    FUZZ_CHECK(dialogs_shown() == 1);
    const auto unchanged = [&] {
      FUZZ_CHECK(outcome == CommandOutcome::kNothing);
      FUZZ_CHECK(messages_shown() == 0);
      FUZZ_CHECK(dialog_.source_tokens() == source_before);
      FUZZ_CHECK(dialog_.scrambled_tokens() == scrambled_before);
      FUZZ_CHECK(window_.upper_text == upper_before_ && window_.lower_text == lower_before_);
      check_files();
    };
    if (cancelled(0, quirlex::presets::kSource, FileUse::kRead)) {
      no_question();
      return unchanged();
    }
    if (declined()) return unchanged();
    text_given_up();
    const std::string name = dialog(0, quirlex::presets::kSource, FileUse::kRead).name;
    FUZZ_CHECK(dialog_.scrambled_tokens().is_empty());
    std::string text;
    if (!read_text(name, text)) {
      FUZZ_CHECK(outcome == CommandOutcome::kUnreadable);
      FUZZ_CHECK(messages_shown() == 1);
      FUZZ_CHECK(dialog_.source_tokens() == source_before);
      FUZZ_CHECK(window_.upper_text == upper_before_);
      FUZZ_CHECK(!dialog_.source_file().is_open());
    } else {
      FUZZ_CHECK(outcome == CommandOutcome::kDone);
      FUZZ_CHECK(messages_shown() == 0);
      FUZZ_CHECK(dialog_.source_file().is_open());
      check_text_tokens(dialog_.source_tokens(), text, source_before);
      FUZZ_CHECK(window_.upper_text == dialog_.source_tokens().join());
    }
    FUZZ_CHECK(window_.lower_text == lower_before_);
    check_files();
  }

  void shuffle() {
    std::uint32_t state = dialog_.generator().state();
    const TokenList scrambled_before = dialog_.scrambled_tokens();
    const bool keep_punctuation = window_.keep_punctuation;
    const CommandOutcome outcome = dialog_.shuffle();
    FUZZ_CHECK(dialogs_shown() == 0);
    if (declined()) {
      FUZZ_CHECK(outcome == CommandOutcome::kNothing);
      FUZZ_CHECK(dialog_.scrambled_tokens() == scrambled_before);
      FUZZ_CHECK(dialog_.generator().state() == state);
      FUZZ_CHECK(window_.lower_text == lower_before_);
      check_files();
      return;
    }
    FUZZ_CHECK(outcome == CommandOutcome::kDone);
    const TokenList& source = dialog_.source_tokens();
    const TokenList& scrambled = dialog_.scrambled_tokens();
    FUZZ_CHECK(scrambled.size() == source.size());
    for (std::int32_t i = 0; i < source.size(); ++i) {
      const WordToken from = source.element(i);
      const WordToken to = scrambled.element(i);
      std::string expected(source.text(i));
      if (from.separator == 0) {
        if (keep_punctuation) {
          quirlex::fuzz::reference_scramble_letters(expected, state);
        } else {
          quirlex::fuzz::reference_scramble(expected, state);
        }
      }
      FUZZ_CHECK(scrambled.text(i) == expected);
      FUZZ_CHECK(to.separator == from.separator);
      // Same length, ends and letters: the same signature, bit for bit.
      FUZZ_CHECK(to.letter_mask == from.letter_mask);
      FUZZ_CHECK(same_bits(to.signature, from.signature));
      FUZZ_CHECK(quirlex::fuzz::has_signature_of_text(scrambled, i, false));
    }
    FUZZ_CHECK(dialog_.generator().state() == state);
    FUZZ_CHECK(window_.lower_text == scrambled.join());
    check_files();
    unsaved_ = !scrambled.is_empty();
    restored_ = false;
  }

  void save() {
    const std::string scrambled_path_before = dialog_.scrambled_text_path();
    const std::string restored_path_before = dialog_.restored_text_path();
    const CommandOutcome outcome = dialog_.save();
    const TokenList& scrambled = dialog_.scrambled_tokens();
    no_question();
    if (scrambled.is_empty()) {
      // Told before any dialog.
      FUZZ_CHECK(outcome == CommandOutcome::kNothing);
      FUZZ_CHECK(dialogs_shown() == 0);
      FUZZ_CHECK(messages_shown() == 1 &&
                 window_.messages.back() == quirlex::texts::kNothingToSave);
      FUZZ_CHECK(dialog_.scrambled_text_path() == scrambled_path_before);
      FUZZ_CHECK(dialog_.restored_text_path() == restored_path_before);
      check_files();
      return;
    }
    // A restored text has a name of its own; the other one stays.
    const std::string& path_before = restored_ ? restored_path_before : scrambled_path_before;
    const auto path = [&] {
      return restored_ ? dialog_.restored_text_path() : dialog_.scrambled_text_path();
    };
    FUZZ_CHECK((restored_ ? dialog_.scrambled_text_path() == scrambled_path_before
                          : dialog_.restored_text_path() == restored_path_before));
    FUZZ_CHECK(dialogs_shown() == 1);
    const quirlex::FileChoice& choice = dialog(0, path_before, FileUse::kWrite);
    FUZZ_CHECK(window_.dialogs.back().purpose == (restored_
                                                      ? quirlex::FilePurpose::kSaveRestoredText
                                                      : quirlex::FilePurpose::kSaveScrambledText));
    if (!choice.confirmed) {
      // A cancelled dialog never overwrites the preset file.
      FUZZ_CHECK(outcome == CommandOutcome::kNothing);
      FUZZ_CHECK(path() == path_before);
      check_files();
    } else if (choice.name.empty()) {
      FUZZ_CHECK(outcome == CommandOutcome::kNothing);
      FUZZ_CHECK(path() == choice.name);
      check_files();
    } else if (is_writable_name(choice.name)) {
      FUZZ_CHECK(outcome == CommandOutcome::kDone);
      FUZZ_CHECK(path() == choice.name);
      unsaved_ = false;
      // Written back in the encoding its text came in (the reader fuzz target
      // checks that encoding against a reference decoder).
      quirlex::TextEncoder encoder(scrambled.encoding());
      std::string bytes(encoder.preamble());
      bytes += encoder.encode(scrambled.join());
      check_files({{choice.name, bytes}});
    } else {
      FUZZ_CHECK(outcome == CommandOutcome::kFailed);
      FUZZ_CHECK(file_errors_shown() == 1);
      check_files();
    }
    if (outcome != CommandOutcome::kFailed) FUZZ_CHECK(file_errors_shown() == 0);
    FUZZ_CHECK(messages_shown() == 0);
    FUZZ_CHECK(window_.upper_text == upper_before_ && window_.lower_text == lower_before_);
  }

  void load_shuffled_text() {
    const std::string path_before = dialog_.scrambled_text_path();
    const TokenList scrambled_before = dialog_.scrambled_tokens();
    const TokenList source_before = dialog_.source_tokens();
    const CommandOutcome outcome = dialog_.load_shuffled_text();
    FUZZ_CHECK(dialogs_shown() == 1);
    const bool nothing = cancelled(0, path_before, FileUse::kRead);
    const std::string name = nothing ? path_before : dialog(0, path_before, FileUse::kRead).name;
    std::string text;
    if (nothing || !read_text(name, text)) {
      no_question();
      FUZZ_CHECK(outcome == (nothing ? CommandOutcome::kNothing : CommandOutcome::kUnreadable));
      FUZZ_CHECK(messages_shown() == (nothing ? 0u : 1u));
      FUZZ_CHECK(dialog_.scrambled_tokens() == scrambled_before);
      FUZZ_CHECK(window_.lower_text == lower_before_);
    } else if (text.empty()) {
      // An empty text replaces nothing, so it loses nothing.
      no_question();
      FUZZ_CHECK(outcome == CommandOutcome::kDone);
      FUZZ_CHECK(dialog_.scrambled_tokens() == scrambled_before);
      FUZZ_CHECK(window_.lower_text == dialog_.scrambled_tokens().join());
    } else if (declined()) {
      FUZZ_CHECK(outcome == CommandOutcome::kNothing);
      FUZZ_CHECK(dialog_.scrambled_tokens() == scrambled_before);
      FUZZ_CHECK(window_.lower_text == lower_before_);
      FUZZ_CHECK(dialog_.scrambled_text_path() == path_before);
    } else {
      FUZZ_CHECK(outcome == CommandOutcome::kDone);
      FUZZ_CHECK(messages_shown() == 0);
      check_text_tokens(dialog_.scrambled_tokens(), text, scrambled_before);
      FUZZ_CHECK(window_.lower_text == dialog_.scrambled_tokens().join());
      text_given_up();
    }
    if (outcome != CommandOutcome::kNothing || nothing) {
      FUZZ_CHECK(dialog_.scrambled_text_path() == name);
    }
    FUZZ_CHECK(dialog_.source_tokens() == source_before);
    FUZZ_CHECK(window_.upper_text == upper_before_);
    check_files();
  }

  void create_dictionary() {
    const TokenList words_before = dialog_.dictionary().words;
    const std::string lexicon_path_before = dialog_.lexicon_path();
    const bool sort = window_.sort;
    // The frequency order comes with the corpus's bigram model beside the lexicon.
    const bool frequency = window_.frequency;
    const TokenList scrambled_before = dialog_.scrambled_tokens();
    const CommandOutcome outcome = dialog_.create_dictionary();
    FUZZ_CHECK(dialog_.dictionary().words == words_before);
    // The corpus and the lexicon's name are asked for before anything
    // changes; a cancel in either ends the command there.
    const auto unchanged = [&] {
      FUZZ_CHECK(outcome == CommandOutcome::kNothing);
      FUZZ_CHECK(messages_shown() == 0);
      FUZZ_CHECK(dialog_.scrambled_tokens() == scrambled_before);
      FUZZ_CHECK(window_.lower_text == lower_before_);
      FUZZ_CHECK(dialog_.lexicon_path() == lexicon_path_before);
      check_files();
    };
    if (cancelled(0, quirlex::presets::kCorpus, FileUse::kRead)) {
      FUZZ_CHECK(dialogs_shown() == 1);
      no_question();
      return unchanged();
    }
    FUZZ_CHECK(dialogs_shown() == 2);
    const quirlex::FileChoice& target = dialog(1, quirlex::presets::kLexicon, FileUse::kWrite);
    if (!target.confirmed || target.name.empty()) {
      no_question();
      return unchanged();
    }
    if (declined()) return unchanged();
    text_given_up();
    FUZZ_CHECK(dialog_.scrambled_tokens().is_empty());
    const std::string corpus_name = dialog(0, quirlex::presets::kCorpus, FileUse::kRead).name;
    std::string corpus;
    if (!read_text(corpus_name, corpus)) {
      FUZZ_CHECK(outcome == CommandOutcome::kUnreadable);
      FUZZ_CHECK(messages_shown() == 1);
      FUZZ_CHECK(window_.lower_text == kReadLine);
      FUZZ_CHECK(dialog_.lexicon_path() == lexicon_path_before);
      check_files();
      return;
    }
    FUZZ_CHECK(messages_shown() == 0);
    FUZZ_CHECK(dialog_.lexicon_path() == target.name);
    const std::string progress = frequency ? kFrequencyProgressLines : kProgressLines;
    if (!is_writable_name(target.name)) {
      FUZZ_CHECK(outcome == CommandOutcome::kFailed);
      FUZZ_CHECK(file_errors_shown() == 1);
      FUZZ_CHECK(window_.lower_text == progress);
      check_files();
      return;
    }
    FUZZ_CHECK(outcome == CommandOutcome::kDone);
    FUZZ_CHECK(window_.lower_text == progress + "Ready!");
    const std::optional<std::string> lexicon = file_bytes(target.name);
    FUZZ_CHECK(lexicon.has_value());
    const std::vector<std::string> words =
        frequency ? quirlex::fuzz::reference_words_by_count(corpus)
                  : quirlex::fuzz::reference_builder_words(corpus, sort);
    FUZZ_CHECK(quirlex::fuzz::reference_lexicon_words(*lexicon) == words);
    // One entry per line, nothing else.
    std::string lines;
    for (const auto& entry : quirlex::fuzz::reference_tokens(*lexicon, true, false)) {
      lines += entry.text + "\n";
    }
    FUZZ_CHECK(lines == *lexicon);
    if (!frequency) return check_files({{target.name, *lexicon}});
    // The model of the words as the lexicon file holds them, at most ten
    // times the lexicon file's size, read the plain way.
    const std::string model_name = quirlex::bigram_path(target.name);
    const std::optional<std::string> model = file_bytes(model_name);
    FUZZ_CHECK(model.has_value());
    const quirlex::fuzz::ReferenceBigrams expected =
        quirlex::fuzz::reference_bigram_model(corpus, words, 10 * lexicon->size());
    FUZZ_CHECK(quirlex::fuzz::reference_read_bigrams(*model, expected.lexicon_hash,
                                                     expected.word_count) == expected);
    FUZZ_CHECK(*model == quirlex::fuzz::reference_bigram_bytes(expected));
    // And the letter model of the same words, with the corpus's spellings.
    const std::string letters_name = quirlex::letter_model_path(target.name);
    const std::optional<std::string> letters = file_bytes(letters_name);
    FUZZ_CHECK(letters.has_value());
    check_letter_model(*letters, corpus, expected.lexicon_hash, expected.word_count);
    check_files({{target.name, *lexicon}, {model_name, *model}, {letters_name, *letters}});
  }

  // The letter model file Create Dictionary wrote for `corpus`: read the
  // plain way, of the default order, its grams those the plain count gives
  // (their weights to float precision: sums of floats in any order), its
  // spellings those of the corpus.
  static void check_letter_model(const std::string& bytes, const std::string& corpus,
                                 std::uint64_t lexicon_hash, std::uint32_t word_count) {
    const std::optional<quirlex::fuzz::ReferenceLetters> read =
        quirlex::fuzz::reference_read_letters(bytes, lexicon_hash, word_count);
    FUZZ_CHECK(read.has_value());
    FUZZ_CHECK(read->order == static_cast<std::uint32_t>(quirlex::LetterModel::kDefaultOrder));
    const std::map<std::uint32_t, double> grams = quirlex::fuzz::reference_letter_grams(
        quirlex::fuzz::reference_counted_words_by_count(corpus),
        quirlex::LetterModel::kDefaultOrder);
    FUZZ_CHECK(read->grams.size() == grams.size());
    auto expected = grams.begin();
    for (const auto& [key, weight_bits] : read->grams) {
      FUZZ_CHECK(key == expected->first);
      const auto weight = static_cast<double>(std::bit_cast<float>(weight_bits));
      FUZZ_CHECK(std::fabs(weight - expected->second) <= 1e-5 * expected->second);
      ++expected;
    }
    FUZZ_CHECK(read->spellings == quirlex::fuzz::reference_spellings(corpus));
  }

  void load_dictionary() {
    const bool deep = window_.deep_search;
    const quirlex::Dictionary& d = dialog_.dictionary();
    const TokenList words_before = d.words;
    const TokenList suffixes_before = d.suffixes;
    const TokenList prefixes_before = d.prefixes;
    const std::int32_t variants_before = d.variant_table.entry_count();
    const TokenList scrambled_before = dialog_.scrambled_tokens();
    const std::string lexicon_path_before = dialog_.lexicon_path();
    const CommandOutcome outcome = dialog_.load_dictionary();

    // A cancelled dialog, or a lexicon that cannot be read, ends the command
    // before anything changes; the affix dialogs come only after a readable
    // lexicon.
    const std::string status_before = window_.status;
    const auto unchanged = [&](CommandOutcome expected, std::size_t messages) {
      FUZZ_CHECK(outcome == expected);
      FUZZ_CHECK(window_.status == status_before);
      FUZZ_CHECK(messages_shown() == messages);
      FUZZ_CHECK(d.words == words_before && d.suffixes == suffixes_before &&
                 d.prefixes == prefixes_before);
      FUZZ_CHECK(d.variant_table.entry_count() == variants_before);
      FUZZ_CHECK(dialog_.scrambled_tokens() == scrambled_before);
      FUZZ_CHECK(dialog_.lexicon_path() == lexicon_path_before);
      FUZZ_CHECK(window_.lower_text == lower_before_);
      check_files();
    };
    std::string text;
    if (cancelled(0, quirlex::presets::kLexicon, FileUse::kRead)) {
      FUZZ_CHECK(dialogs_shown() == 1);
      no_question();
      return unchanged(CommandOutcome::kNothing, 0);
    }
    const std::string name = dialog(0, quirlex::presets::kLexicon, FileUse::kRead).name;
    if (!read_text(name, text, true)) {
      FUZZ_CHECK(dialogs_shown() == 1);
      no_question();
      return unchanged(CommandOutcome::kUnreadable, 1);
    }
    std::size_t unreadable = 0;
    if (deep) {
      const char* const presets[] = {quirlex::presets::kSuffixes, quirlex::presets::kPrefixes};
      for (std::size_t n = 1; n <= 2; ++n) {
        const quirlex::FileChoice& choice = dialog(n, presets[n - 1], FileUse::kRead);
        if (!choice.confirmed) {
          FUZZ_CHECK(dialogs_shown() == n + 1);
          no_question();
          return unchanged(CommandOutcome::kNothing, unreadable);
        }
        unreadable += !choice.name.empty() && !bytes_before(choice.name);
      }
    }
    FUZZ_CHECK(dialogs_shown() == (deep ? 3u : 1u));
    if (declined()) return unchanged(CommandOutcome::kNothing, unreadable);
    text_given_up();
    FUZZ_CHECK(dialog_.lexicon_path() == name);
    FUZZ_CHECK(outcome == CommandOutcome::kDone);
    FUZZ_CHECK(dialog_.scrambled_tokens().is_empty());
    FUZZ_CHECK(window_.status.starts_with("Lexicon: " + fs::path(name).filename().string() + ", "));

    // The words, each with its signature, and the table: one entry per
    // signature, holding the last word in file order.
    const std::vector<std::string> words = quirlex::fuzz::reference_lexicon_words(text);
    FUZZ_CHECK(static_cast<std::size_t>(d.words.size()) == words.size());
    std::map<double, std::string> last_of_signature;
    for (std::size_t i = 0; i < words.size(); ++i) {
      const auto index = static_cast<std::int32_t>(i);
      FUZZ_CHECK(d.words.text(index) == words[i]);
      FUZZ_CHECK(d.words.separator(index) == 0);
      FUZZ_CHECK(quirlex::fuzz::has_signature_of_text(d.words, index, false));
      last_of_signature[d.words.signature(index)] = words[i];
    }
    FUZZ_CHECK(static_cast<std::size_t>(d.lexicon_table.entry_count()) == last_of_signature.size());
    for (const auto& [signature, word] : last_of_signature) {
      const WordToken* found = d.lexicon_table.find(signature);
      FUZZ_CHECK(found != nullptr && d.words.text(*found) == word);
    }

    if (deep) {
      const std::string suffix_name = dialog(1, quirlex::presets::kSuffixes, FileUse::kRead).name;
      const std::string prefix_name = dialog(2, quirlex::presets::kPrefixes, FileUse::kRead).name;
      const std::optional<std::string> suffix_file = bytes_before(suffix_name);
      const std::optional<std::string> prefix_file = bytes_before(prefix_name);
      check_affixes(d.suffixes, suffix_file);
      check_affixes(d.prefixes, prefix_file);
      FUZZ_CHECK(d.layout.prefix_bits == bit_width_of_count(d.prefixes.size()));
      FUZZ_CHECK(d.layout.suffix_bits == bit_width_of_count(d.suffixes.size()));
      FUZZ_CHECK(d.layout.word_bits == 32 - d.layout.prefix_bits - d.layout.suffix_bits);
      check_variant_table(d);
    } else {
      FUZZ_CHECK(d.prefixes.is_empty() && d.suffixes.is_empty());
      FUZZ_CHECK(d.variant_table.entry_count() == 0);
      FUZZ_CHECK(d.layout == quirlex::VariantLayout{});
    }
    FUZZ_CHECK(messages_shown() == unreadable);
    // The bigram file and the letter model file beside the lexicon are
    // loaded when they are of this lexicon, and named at the end of the
    // report, one line each, when they are not.
    const std::uint64_t hash = reference_lexicon_hash(d.words);
    const auto word_count = static_cast<std::uint32_t>(d.words.size());
    const std::string model_name = quirlex::bigram_path(name);
    const std::optional<std::string> model = bytes_before(model_name);
    const bool model_refused =
        model && !quirlex::fuzz::reference_read_bigrams(*model, hash, word_count);
    const std::string letters_name = quirlex::letter_model_path(name);
    const std::optional<std::string> letters = bytes_before(letters_name);
    const bool letters_refused =
        letters && !quirlex::fuzz::reference_read_letters(*letters, hash, word_count);
    letters_loaded_ = letters && !letters_refused;
    const std::string plain = expected_report(d);
    if (!model_refused && !letters_refused) {
      FUZZ_CHECK(window_.lower_text == plain);
    } else {
      FUZZ_CHECK(window_.lower_text.starts_with(plain));
      std::string problems = window_.lower_text.substr(plain.size());
      const std::string gap = plain.ends_with("\r\n") ? "\r\n" : "\r\n\r\n";
      FUZZ_CHECK(problems.starts_with(gap));
      problems.erase(0, gap.size());
      const auto line = [&problems](const std::string& file, const std::string& without) {
        const std::size_t end = problems.find("\r\n");
        FUZZ_CHECK(end != std::string::npos);
        const std::string text = problems.substr(0, end);
        problems.erase(0, end + 2);
        FUZZ_CHECK(text.starts_with(file + ": "));
        FUZZ_CHECK(text.ends_with("; Translate goes without the " + without + "."));
      };
      if (model_refused) line(model_name, "context choice");
      if (letters_refused) line(letters_name, "letter model");
      FUZZ_CHECK(problems.empty());
    }
    check_files();
  }

  static std::uint64_t reference_lexicon_hash(const TokenList& words) {
    std::uint64_t hash = quirlex::fuzz::reference_fnv1a("");
    for (std::int32_t i = 0; i < words.size(); ++i) {
      hash = quirlex::fuzz::reference_fnv1a(std::string(words.text(i)) + "\n", hash);
    }
    return hash;
  }

  // Every member of the deep word list, in generation order, filed under the
  // signature of its text; the last one of a signature stays.
  static void check_variant_table(const quirlex::Dictionary& d) {
    const std::int64_t prefixes = d.prefixes.size();
    const std::int64_t suffixes = d.suffixes.size();
    const std::int64_t words = d.words.size();
    if ((prefixes + 1) * (suffixes + 1) * words > kMaxCheckedMembers) return;
    const auto field = [](std::int64_t index, int bits) {
      return static_cast<std::uint32_t>(static_cast<std::uint64_t>(index) &
                                        ((std::uint64_t{1} << bits) - 1));
    };
    const quirlex::VariantLayout& layout = d.layout;
    std::map<double, std::uint32_t> last_of_signature;
    for (std::int64_t w = 0; w < words; ++w) {
      for (std::int64_t p = -1; p < prefixes; ++p) {
        for (std::int64_t s = -1; s < suffixes; ++s) {
          std::string text;
          if (p >= 0) text += d.prefixes.text(p);
          text += d.words.text(w);
          if (s >= 0) text += d.suffixes.text(s);
          if (text.size() < 2) continue;
          const std::uint32_t code =
              (field(p, layout.prefix_bits) << (32 - layout.prefix_bits)) |
              (field(s, layout.suffix_bits) << (32 - layout.prefix_bits - layout.suffix_bits)) |
              field(w, layout.word_bits);
          last_of_signature[quirlex::fuzz::reference_signature(text).signature] = code;
        }
      }
    }
    FUZZ_CHECK(static_cast<std::size_t>(d.variant_table.entry_count()) == last_of_signature.size());
    for (const auto& [signature, code] : last_of_signature) {
      const std::uint32_t* found = d.variant_table.find(signature);
      FUZZ_CHECK(found != nullptr && *found == code);
    }
  }

  static std::string expected_report(const quirlex::Dictionary& d) {
    std::string report = kReportStart;
    const std::int32_t entries = d.lexicon_table.entry_count();
    const std::int32_t prefixes = d.prefixes.size();
    const std::int32_t suffixes = d.suffixes.size();
    if (entries != 0) report += report_line("%i Words are read into the lexicon\r\n", entries);
    if (prefixes != 0) report += report_line("Read %i Prefixes\r\n", prefixes);
    if (suffixes != 0) report += report_line("Read %i Suffixes\r\n", suffixes);
    std::uint32_t variants = static_cast<std::uint32_t>(entries);
    if (prefixes != 0) variants *= static_cast<std::uint32_t>(prefixes);
    if (suffixes != 0) variants *= static_cast<std::uint32_t>(suffixes);
    if (variants > static_cast<std::uint32_t>(d.words.size())) {
      report += report_line("\r\nCreated %i words including all variants", variants);
    }
    return report;
  }

  // Whether `restored` is, letter case aside, a lexicon word or (with Deep
  // Search) a prefix, lexicon word and suffix joined, or (with Compound
  // Search) two lexicon words joined, directly or by an S, of eight bytes or
  // more together.
  static bool is_dictionary_member(const quirlex::Dictionary& d, const std::string& restored,
                                   bool deep, bool compounds) {
    std::unordered_set<std::string> words;
    for (std::int32_t i = 0; i < d.words.size(); ++i) {
      std::string lower(d.words.text(i));
      quirlex::lower_case(lower);
      words.insert(lower);
    }
    std::string text = restored;
    quirlex::lower_case(text);
    if (words.count(text) != 0) return true;
    if (compounds && text.size() >= quirlex::kMinCompoundLength) {
      for (std::size_t split = 1; split < text.size(); ++split) {
        if (words.count(text.substr(0, split)) == 0) continue;
        if (words.count(text.substr(split)) != 0) return true;
        if (text[split] == 's' && words.count(text.substr(split + 1)) != 0) return true;
      }
    }
    if (!deep) return false;
    const auto lowered = [](const TokenList& list) {
      std::vector<std::string> texts{std::string()};  // the first stands for "none"
      for (std::int32_t i = 0; i < list.size(); ++i) {
        texts.emplace_back(list.text(i));
        quirlex::lower_case(texts.back());
      }
      return texts;
    };
    for (const std::string& prefix : lowered(d.prefixes)) {
      if (text.compare(0, prefix.size(), prefix) != 0) continue;
      for (const std::string& suffix : lowered(d.suffixes)) {
        if (prefix.size() + suffix.size() > text.size()) continue;
        if (text.compare(text.size() - suffix.size(), suffix.size(), suffix) != 0) continue;
        const std::string middle =
            text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
        if (words.count(middle) != 0) return true;
      }
    }
    return false;
  }

  // Whether `restored` is a rearrangement of `scrambled`: the same length,
  // first and last byte, and the same bytes, case aside.
  static bool is_rearrangement(std::string_view scrambled, std::string_view restored) {
    if (restored.size() != scrambled.size() || restored.empty()) return false;
    if (restored.front() != scrambled.front() || restored.back() != scrambled.back()) return false;
    std::string a(scrambled);
    std::string b(restored);
    quirlex::upper_case(a);
    quirlex::upper_case(b);
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
  }

  void translate() {
    const bool deep = window_.deep_search;
    // The box turns on every best step the loaded lexicon has files for.
    const bool best = window_.compounds;
    const bool letter_model = best && letters_loaded_;
    const TokenList before = dialog_.scrambled_tokens();
    const TokenList source_before = dialog_.source_tokens();
    const CommandOutcome outcome = dialog_.translate();
    FUZZ_CHECK(outcome == CommandOutcome::kDone);
    FUZZ_CHECK(dialogs_shown() == 0 && messages_shown() == 0);
    // Translate works on the text: it never asks.
    no_question();
    unsaved_ = !before.is_empty();
    restored_ = unsaved_;
    const TokenList& after = dialog_.scrambled_tokens();
    FUZZ_CHECK(after.size() == before.size());
    std::int64_t restored = 0;
    for (std::int32_t i = 0; i < before.size(); ++i) {
      const WordToken was = before.element(i);
      const WordToken is = after.element(i);
      const std::string_view was_text = before.text(i);
      const std::string is_text(after.text(i));
      // Every token keeps its place in the buffer: restoring writes in place.
      FUZZ_CHECK(is.offset == was.offset && is.length == was.length);
      const bool separator_run = was_text.empty() || !quirlex::fuzz::is_word_byte(was_text[0]);
      if (separator_run) FUZZ_CHECK(is_text == was_text && is.separator == 1);
      if (was.separator == 1 || was_text.size() <= 3) {
        // Settled tokens and short words are never looked up.
        WordToken settled = was;
        settled.separator = 1;
        FUZZ_CHECK(is == settled && is_text == was_text);
        continue;
      }
      const quirlex::fuzz::ReferenceCore core = quirlex::fuzz::reference_letter_core(was_text);
      const std::size_t letters = core.end - core.begin;
      if (is.separator == 0) {
        FUZZ_CHECK(is == was && is_text == was_text);
        // The letter model orders every word that no other step restored.
        if (letter_model) FUZZ_CHECK(letters < 4 || letters > kMostModelLetters);
        continue;
      }
      // Restored: a rearrangement of the scrambled word, so of its signature.
      ++restored;
      FUZZ_CHECK(is_rearrangement(was_text, is_text));
      FUZZ_CHECK(same_bits(is.signature, was.signature));
      FUZZ_CHECK(quirlex::fuzz::has_signature_of_text(after, i, false));
      const quirlex::Dictionary& d = dialog_.dictionary();
      if (!best) {
        // By default only a lexicon word or an affix variant.
        FUZZ_CHECK(is_dictionary_member(d, is_text, deep, false));
        continue;
      }
      // The best steps read the word as a reader does: the marks at its
      // ends stay where they are.
      FUZZ_CHECK(is_text.compare(0, core.begin, was_text, 0, core.begin) == 0);
      FUZZ_CHECK(is_text.compare(core.end, std::string::npos, was_text, core.end) == 0);
      // Without the letter model every restored word is still made of the
      // dictionary: the whole word, or its letters between those marks.
      if (!letters_loaded_) {
        FUZZ_CHECK(is_dictionary_member(d, is_text, deep, true) ||
                   is_dictionary_member(d, is_text.substr(core.begin, letters), deep, false));
      }
    }
    FUZZ_CHECK(dialog_.source_tokens() == source_before);
    const std::string report = quirlex::fuzz::reference_accuracy_report(
        texts_of(dialog_.source_tokens()), texts_of(after));
    if (!letter_model) {
      FUZZ_CHECK(window_.lower_text == report + std::string(after.join()));
    } else {
      // With the letter model, a line before the empty one tells how many
      // of the words restored it restored.
      const std::string lines = report.substr(0, report.size() - 2);
      const std::string tail = " words restored by the letter model\r\n\r\n" +
                               std::string(after.join());
      FUZZ_CHECK(window_.lower_text.starts_with(lines) && window_.lower_text.ends_with(tail));
      const std::string count = window_.lower_text.substr(
          lines.size(), window_.lower_text.size() - lines.size() - tail.size());
      FUZZ_CHECK(!count.empty() && count.size() <= 10 &&
                 count.find_first_not_of("0123456789") == std::string::npos);
      FUZZ_CHECK(std::stoll(count) <= restored);
    }
    FUZZ_CHECK(window_.upper_text == upper_before_);
    check_files();
  }

  // One line per command on stderr, for seeing what an input does.
  void print_trace(std::uint8_t code) const {
    static constexpr std::array<const char*, 7> kCommandNames = {
        "Load",     "Shuffle", "Save", "Load shuffled text", "Create Dictionary", "Load Dictionary",
        "Translate"};
    std::fprintf(stderr, "%s%s%s%s%s%s: dialogs", kCommandNames[command_],
                 (code & 0x08) != 0 ? " +deep" : "", (code & 0x10) != 0 ? " +sort" : "",
                 (code & 0x20) != 0 ? " +frequency" : "", (code & 0x40) != 0 ? " +best" : "",
                 (code & 0x80) != 0 ? " +keep" : "");
    for (std::size_t i = dialogs_before_; i < window_.choices.size(); ++i) {
      std::fprintf(stderr, " '%s'%s", window_.choices[i].name.c_str(),
                   window_.choices[i].confirmed ? "" : " (cancelled)");
    }
    std::int32_t settled = 0;
    const TokenList& scrambled = dialog_.scrambled_tokens();
    for (std::int32_t i = 0; i < scrambled.size(); ++i) settled += scrambled.separator(i);
    std::fprintf(stderr,
                 "; messages %zu, file errors %zu; source %d, scrambled %d (%d settled), "
                 "words %d, prefixes %d, suffixes %d, variants %d%s\n",
                 messages_shown(), file_errors_shown(), dialog_.source_tokens().size(),
                 dialog_.scrambled_tokens().size(), settled, dialog_.dictionary().words.size(),
                 dialog_.dictionary().prefixes.size(), dialog_.dictionary().suffixes.size(),
                 dialog_.dictionary().variant_table.entry_count(),
                 letters_loaded_ ? ", letter model" : "");
  }

  ScriptedWindow window_;
  MainDialog dialog_;
  int command_ = 0;
  // What the scrambled token list holds as the user sees it: a text made
  // here and not saved since, and whether Translate restored it.
  bool unsaved_ = false;
  bool restored_ = false;
  // Whether the last Load Dictionary found a letter model file of its
  // lexicon beside it.
  bool letters_loaded_ = false;
  std::size_t dialogs_before_ = 0;
  std::size_t questions_before_ = 0;
  std::size_t messages_before_ = 0;
  std::size_t file_errors_before_ = 0;
  std::map<std::string, std::string> files_before_;
  std::string upper_before_;
  std::string lower_before_;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern = (fs::temp_directory_path() / "quirlex-fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr || ::chdir(pattern.c_str()) != 0) std::abort();
  folder = pattern;
  std::atexit(remove_folder);
  trace = std::getenv("QUIRLEX_FUZZ_TRACE") != nullptr;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input(data, size);
  make_files(input);
  Run run(input);
  for (int i = 0; i < kMaxCommands && !input.at_end(); ++i) run.command(input.byte());
  return 0;
}
