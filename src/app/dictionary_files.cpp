#include "app/dictionary_files.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "io/file_output.h"
#include "lexicon/letter_model_file.h"
#include "text/text_file.h"
#include "text/token_writer.h"

namespace quirlex {
namespace {

// Reads the model file at `path` into `model` as `use` says, by `read`; a
// problem of a file that may be left out goes to `problem`.
template <typename Error, typename Model, typename Read>
void take_model(ModelFiles use, const std::string& path, std::optional<Model>& model,
                std::string& problem, const Read& read) {
  if (use == ModelFiles::kNone) return;
  // A lexicon without a model file is the usual case and says nothing.
  if (use == ModelFiles::kIfPresent && !existing_file(path)) return;
  try {
    model = read(path);
  } catch (const Error& error) {
    if (use == ModelFiles::kRequired) throw;
    problem = error.message();
  }
}

// Reads an affix list into `text`; false when it cannot be opened.
bool read_affixes(const std::string& path, ReadEncoding encoding, std::string& text) {
  TextFile file;
  if (!file.read(path, {.encoding = encoding, .spell_out_umlauts = false, .upper_case = true})) return false;
  text = file.take_content();
  return true;
}

}  // namespace

LexiconCompanions companions_of(const std::string& lexicon_path) {
  return {.bigrams = bigram_path(lexicon_path),
          .letters = letter_model_path(lexicon_path),
          .suffixes = lexicon_path + ".suffixes",
          .prefixes = lexicon_path + ".prefixes"};
}

std::optional<std::string> existing_file(const std::string& path) {
  std::error_code no_such_file;
  if (!std::filesystem::exists(path, no_such_file)) return std::nullopt;
  return path;
}

bool DictionaryFiles::read_lexicon(const std::string& path) {
  TextFile file;
  if (!file.read(path)) return false;
  texts_.lexicon = file.take_content();
  lexicon_path_ = path;
  return true;
}

bool DictionaryFiles::read_suffixes(const std::string& path, ReadEncoding encoding) {
  return read_affixes(path, encoding, texts_.suffixes);
}

bool DictionaryFiles::read_prefixes(const std::string& path, ReadEncoding encoding) {
  return read_affixes(path, encoding, texts_.prefixes);
}

LoadedDictionary load_dictionary_files(Dictionary& dictionary, DictionaryFiles files,
                                       const LoadDictionaryOptions& options,
                                       const Progress<LoadStage>& progress,
                                       std::stop_token stop) {
  LoadedDictionary loaded;
  DictionaryTexts texts = files.take_texts();
  texts.deep_search = options.deep_search;
  loaded.report = load_dictionary(dictionary, std::move(texts), progress, std::move(stop));
  const std::uint64_t hash = lexicon_hash(dictionary.words);
  const auto words = static_cast<std::uint32_t>(dictionary.words.size());
  const LexiconCompanions companions = companions_of(files.lexicon_path());
  take_model<BigramFileError>(
      options.bigrams, companions.bigrams, loaded.bigrams, loaded.bigram_problem,
      [&](const std::string& path) { return read_bigram_file(path, hash, words); });
  take_model<LetterModelFileError>(
      options.letters, companions.letters, loaded.letters, loaded.letter_problem,
      [&](const std::string& path) { return read_letter_model_file(path, hash, words); });
  return loaded;
}

void create_dictionary_files(const LexiconBuild& build, const std::string& lexicon_path) {
  FileOutput lexicon(lexicon_path);
  put_tokens(build.entries, "\n", [&lexicon](std::string_view bytes) { lexicon.write(bytes); });
  std::optional<FileOutput> bigrams;
  if (build.bigrams) {
    bigrams.emplace(companions_of(lexicon_path).bigrams);
    bigrams->write(bigram_file_bytes(*build.bigrams));
  }
  std::optional<FileOutput> letters;
  if (build.letters) {
    letters.emplace(companions_of(lexicon_path).letters);
    letters->write(letter_model_file_bytes(*build.letters));
  }
  // Every file complete before any replaces its predecessor.
  lexicon.finish();
  for (auto* model : {&bigrams, &letters}) {
    if (*model) (*model)->finish();
  }
  lexicon.commit();
  for (auto* model : {&bigrams, &letters}) {
    if (*model) (*model)->commit();
  }
}

}  // namespace quirlex
