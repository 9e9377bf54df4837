#include "cli/demo.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "app/command_texts.h"
#include "app/dictionary_files.h"
#include "app/file_presets.h"
#include "app/installed_presets.h"
#include "base/failure.h"
#include "cli/commands.h"
#include "cli/console_output.h"
#include "scramble/random_generator.h"
#include "scramble/scramble.h"
#include "text/text_reading.h"
#include "text/token_writer.h"
#include "unscramble/translate.h"

namespace quirlex::cli {
namespace {

// Standard output went away (a reader such as `head` that has read
// enough): the demo ends there, and its temporary folder goes with it.
struct OutputGone {};

void shown() {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) throw OutputGone();
}

void heading(const std::string& text) {
  std::printf("\n=== %s ===\n", text.c_str());
  shown();
}

void show(std::string_view text) {
  std::fputs(for_terminal(text).c_str(), stdout);
  shown();
}

// A fresh folder in the temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quirlex-demo-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw FileError(pattern, errno);
    path_ = std::move(pattern);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The working folder when it holds the sample text, else the installed
// samples, else those of the source tree the program was built from.
std::string default_samples_folder() {
  for (const std::string& folder : {std::string("."), installed_samples_folder()}) {
    if (::access((folder + "/" + presets::kSource).c_str(), R_OK) == 0) return folder;
  }
  return QUIRLEX_SAMPLES_DIR;
}

}  // namespace

// The window's sample session, step by step, with what each box shows.
int run_demo(const Arguments& args) {
  const std::string folder = args.value("--samples").value_or(default_samples_folder());
  const auto path = [](const std::string& in, const char* name) { return in + "/" + name; };
  const std::string source_name = path(folder, presets::kSource);
  const std::string corpus = path(folder, presets::kCorpus);
  const std::string suffixes = path(folder, presets::kSuffixes);
  const std::string prefixes = path(folder, presets::kPrefixes);
  if (!all_readable({source_name, corpus, suffixes, prefixes})) return kFileFailure;

  // A write to a pipe without a reader fails instead of ending the process
  // before the temporary folder is removed.
  std::signal(SIGPIPE, SIG_IGN);
  try {
    // The files the demo writes go beside the samples, unless those are the
    // installed ones (which belong to the package) or their folder is
    // read-only: then into a scratch folder that goes at the end.
    std::optional<ScratchFolder> written_files;
    if (::access(folder.c_str(), W_OK) != 0 || is_installed_folder(folder)) written_files.emplace();
    const std::string output = written_files ? written_files->path() : folder;
    const std::string lexicon = path(output, presets::kLexicon);
    const std::string saved = path(output, presets::kScrambledText);

    std::fflush(stdout);
    std::printf("Quirlex demo on the sample files in %s\n", folder.c_str());
    shown();
    if (written_files) {
      std::printf(
          "The samples folder is read-only or the package's: the files the demo "
          "writes go to %s, removed at the end.\n",
          output.c_str());
    }

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
    const auto collect = [&progress](LexiconStage stage, int share) {
      if (share < 0) progress += texts::stage_line(stage);
    };
    const LexiconBuild sorted = build_lexicon({{.path = corpus}}, {}, collect);
    if (sorted.unreadable) return kFileFailure;
    create_dictionary_files(sorted, lexicon);
    show(progress + texts::stage_line(LexiconStage::kLexiconReady));

    heading("Load Dictionary " + lexicon + " with Deep Search and the suffixes of " + suffixes);
    const auto load = [&](const std::string& lexicon_path, ModelFiles models,
                          Dictionary& dictionary) -> std::optional<LoadedDictionary> {
      DictionaryFiles files;
      if (!files.read_lexicon(lexicon_path) ||
          !files.read_suffixes(suffixes, ReadEncoding::kAuto) ||
          !files.read_prefixes(prefixes, ReadEncoding::kAuto)) {
        return std::nullopt;
      }
      return load_dictionary_files(dictionary, std::move(files),
                                   {.deep_search = true, .bigrams = models, .letters = models},
                                   [](LoadStage, int) {});
    };
    Dictionary dictionary;
    const auto classic = load(lexicon, ModelFiles::kNone, dictionary);
    if (!classic) return kFileFailure;
    show(texts::dictionary_report(classic->report));

    heading("Load shuffled text " + saved);
    TextFile saved_file;
    if (!read_text_tokens(saved_file, saved, scrambled)) return kFileFailure;

    heading("Translate");
    const TokenList saved_tokens = scrambled;
    const Accuracy accuracy =
        translate(scrambled, source, dictionary, {.deep_search = true}).accuracy;
    show(texts::accuracy_report(accuracy) + std::string(scrambled.join()));

    // The same text once more, with the options a user turns on for the best
    // restoring: a lexicon in frequency order with its model files (made in a
    // scratch folder, so the samples stay as they are) and every best step.
    heading("Translate again: lexicon in frequency order with its model files, every best step");
    const LexiconBuild ranked = build_lexicon(
        {{.path = corpus}}, {.order = LexiconOrder::kFrequency, .bigrams = true, .letters = true},
        [](LexiconStage, int) {});
    if (ranked.unreadable) return kFileFailure;
    const ScratchFolder scratch;
    const std::string ranked_lexicon = scratch.path() + "/" + presets::kLexicon;
    create_dictionary_files(ranked, ranked_lexicon);
    const auto best = load(ranked_lexicon, ModelFiles::kRequired, dictionary);
    if (!best) return kFileFailure;
    scrambled = saved_tokens;
    const TranslateResult restored = translate(
        scrambled, source, dictionary, best_translate_options(true, &*best->bigrams, &*best->letters));
    show(texts::accuracy_report(restored.accuracy, restored.unknown) +
         std::string(scrambled.join()));
    return kSuccess;
  } catch (const OutputGone&) {
    return kFileFailure;
  } catch (const Failure& failure) {
    say(failure.message());
    return kFileFailure;
  }
}

}  // namespace quirlex::cli
