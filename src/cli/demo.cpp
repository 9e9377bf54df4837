#include "cli/demo.h"

#include <unistd.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <utility>

#include "app/command_texts.h"
#include "app/file_presets.h"
#include "base/failure.h"
#include "cli/commands.h"
#include "cli/console_output.h"
#include "index/load_dictionary.h"
#include "lexicon/create_dictionary.h"
#include "scramble/random_generator.h"
#include "scramble/scramble.h"
#include "text/text_reading.h"
#include "text/token_writer.h"
#include "unscramble/translate.h"

namespace quirlex::cli {
namespace {

void heading(const std::string& text) {
  std::printf("\n=== %s ===\n", text.c_str());
}

void show(std::string_view text) {
  std::fputs(for_terminal(text).c_str(), stdout);
  std::fflush(stdout);
}

std::string default_samples_folder() {
  return ::access(presets::kSource, R_OK) == 0 ? "." : QUIRLEX_SAMPLES_DIR;
}

}  // namespace

// The window's sample session, step by step, with what each box shows.
int run_demo(const Arguments& args) {
  const std::string folder = args.value("--samples").value_or(default_samples_folder());
  const auto path = [&folder](const char* name) { return folder + "/" + name; };
  const std::string source_name = path(presets::kSource);
  const std::string corpus = path(presets::kCorpus);
  const std::string suffixes = path(presets::kSuffixes);
  const std::string prefixes = path(presets::kPrefixes);
  const std::string lexicon = path(presets::kLexicon);
  const std::string saved = path(presets::kScrambledText);
  if (!all_readable({source_name, corpus, suffixes, prefixes})) return kFileFailure;

  try {
    std::fflush(stdout);
    std::printf("Quirlex demo on the sample files in %s\n", folder.c_str());

    heading("Load " + source_name);
    TextFile source_file;
    TokenList source;
    if (!read_text_tokens(source_file, source_name, source)) return kFileFailure;
    show(source.join());

    heading("Shuffle");
    RandomGenerator generator;
    TokenList scrambled;
    shuffle_tokens(source, scrambled, generator);
    show(scrambled.join());

    heading("Save " + saved);
    write_tokens(scrambled, saved, "");

    heading("Create Dictionary from " + corpus + " into " + lexicon);
    std::string progress;
    const auto entries = build_lexicon(corpus, LexiconOrder::kSorted,
                                       [&](Stage stage, int) { progress += texts::stage_line(stage); });
    if (!entries) return kFileFailure;
    write_tokens(*entries, lexicon, "\n");
    show(progress + texts::stage_line(Stage::kLexiconReady));

    heading("Load Dictionary " + lexicon + " with Deep Search and the suffixes of " + suffixes);
    DictionaryTexts files;
    files.deep_search = true;
    for (const auto& [name, text, upper] :
         {std::tuple{&lexicon, &files.lexicon, false}, std::tuple{&suffixes, &files.suffixes, true},
          std::tuple{&prefixes, &files.prefixes, true}}) {
      auto read = read_text_file(*name, !upper, upper);
      if (!read) return kFileFailure;
      *text = std::move(*read);
    }
    Dictionary dictionary;
    show(texts::dictionary_report(load_dictionary(dictionary, std::move(files), [](Stage, int) {})));

    heading("Load shuffled text " + saved);
    TextFile saved_file;
    if (!read_text_tokens(saved_file, saved, scrambled)) return kFileFailure;

    heading("Translate");
    const TokenList saved_tokens = scrambled;
    const Accuracy accuracy =
        translate(scrambled, source, dictionary, {.deep_search = true}).accuracy;
    show(texts::accuracy_report(accuracy) + std::string(scrambled.join()));

    // The same text once more, with the options a user turns on for the best
    // restoring: a lexicon in frequency order and its bigram model (kept in
    // memory only), Compound Search and the context choice.
    heading(
        "Translate again: lexicon in frequency order, Deep Search, Compound Search and context");
    BigramModel bigrams;
    const auto ranked = build_lexicon(corpus, LexiconOrder::kFrequency, [](Stage, int) {}, {},
                                      ReadEncoding::kAuto, &bigrams);
    if (!ranked) return kFileFailure;
    files = DictionaryTexts();
    files.deep_search = true;
    put_tokens(*ranked, "\n", [&files](std::string_view bytes) { files.lexicon += bytes; });
    files.suffixes = *read_text_file(suffixes, false, true);
    files.prefixes = *read_text_file(prefixes, false, true);
    load_dictionary(dictionary, std::move(files), [](Stage, int) {});
    scrambled = saved_tokens;
    const Accuracy best =
        translate(scrambled, source, dictionary,
                  {.deep_search = true, .compounds = true, .context = &bigrams})
            .accuracy;
    show(texts::accuracy_report(best) + std::string(scrambled.join()));
    return kSuccess;
  } catch (const Failure& failure) {
    say(failure.message());
    return kFileFailure;
  }
}

}  // namespace quirlex::cli
