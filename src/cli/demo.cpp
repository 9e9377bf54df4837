#include "cli/demo.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/session.h"

namespace quirlex::cli {
namespace {

void heading(const std::string& text) {
  std::printf("\n=== %s ===\n", text.c_str());
}

void show(const std::string& text) {
  std::fputs(for_terminal(text).c_str(), stdout);
  std::fflush(stdout);
}

std::string default_samples_folder() {
  return ::access(MainDialog::kSourcePreset, R_OK) == 0 ? "." : QUIRLEX_SAMPLES_DIR;
}

}  // namespace

int run_demo(const Arguments& args) {
  const std::string folder = args.value("--samples").value_or(default_samples_folder());
  const auto path = [&folder](const char* name) { return folder + "/" + name; };
  const std::string source = path(MainDialog::kSourcePreset);
  const std::string corpus = path(MainDialog::kCorpusPreset);
  const std::string suffixes = path(MainDialog::kSuffixPreset);
  const std::string prefixes = path(MainDialog::kPrefixPreset);
  const std::string lexicon = path(MainDialog::kLexiconPreset);
  const std::string saved = path(MainDialog::kScrambledTextPreset);
  if (!all_readable({source, corpus, suffixes, prefixes})) return kFileFailure;

  std::fflush(stdout);
  Session session;
  ConsoleWindow& window = session.window;
  MainDialog& dialog = session.dialog;
  std::printf("Quirlex demo on the sample files in %s\n", folder.c_str());

  heading("Load " + source);
  window.answer_file(source);
  if (!succeeded(dialog.load())) return kFileFailure;
  show(window.text_of(TextBox::kUpper));

  heading("Shuffle");
  if (!succeeded(dialog.shuffle())) return kFileFailure;
  show(window.text_of(TextBox::kLower));

  heading("Save " + saved);
  window.answer_file(saved);
  if (!succeeded(dialog.save())) return kFileFailure;

  heading("Create Dictionary from " + corpus + " into " + lexicon);
  window.answer_file(corpus);
  window.answer_file(lexicon);
  if (dialog.create_dictionary() != CommandOutcome::kDone) return kFileFailure;
  show(window.text_of(TextBox::kLower));

  heading("Load Dictionary " + lexicon + " with Deep Search and the suffixes of " + suffixes);
  window.set_checked(CheckBox::kDeepSearch, true);
  window.answer_file(lexicon);
  window.answer_file(suffixes);
  window.answer_file(prefixes);
  if (!succeeded(dialog.load_dictionary())) return kFileFailure;
  show(window.text_of(TextBox::kLower));

  heading("Load shuffled text " + saved);
  window.answer_file(saved);
  if (!succeeded(dialog.load_shuffled_text())) return kFileFailure;

  heading("Translate");
  if (!succeeded(dialog.translate())) return kFileFailure;
  show(window.text_of(TextBox::kLower));
  return kSuccess;
}

}  // namespace quirlex::cli
