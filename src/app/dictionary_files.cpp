#include "app/dictionary_files.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "io/file_output.h"
#include "text/text_file.h"
#include "text/token_writer.h"

namespace quirlex {
namespace {

// Reads an affix list into `text`; false when it cannot be opened.
bool read_affixes(const std::string& path, ReadEncoding encoding, std::string& text) {
  TextFile file;
  if (!file.read(path, {.encoding = encoding, .spell_out_umlauts = false, .upper_case = true})) return false;
  text = file.take_content();
  return true;
}

}  // namespace

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
  if (options.models == ModelFiles::kNone) return loaded;
  const std::string model_path = bigram_path(files.lexicon_path());
  // A lexicon without a model file is the usual case and says nothing.
  std::error_code no_such_file;
  if (options.models == ModelFiles::kIfPresent &&
      !std::filesystem::exists(model_path, no_such_file)) {
    return loaded;
  }
  try {
    loaded.bigrams = read_bigram_file(model_path, lexicon_hash(dictionary.words),
                                      static_cast<std::uint32_t>(dictionary.words.size()));
  } catch (const BigramFileError& error) {
    if (options.models == ModelFiles::kRequired) throw;
    loaded.model_problem = error.message();
  }
  return loaded;
}

void create_dictionary_files(const LexiconBuild& build, const std::string& lexicon_path) {
  FileOutput lexicon(lexicon_path);
  put_tokens(build.entries, "\n", [&lexicon](std::string_view bytes) { lexicon.write(bytes); });
  std::optional<FileOutput> bigrams;
  if (build.bigrams) {
    bigrams.emplace(bigram_path(lexicon_path));
    bigrams->write(bigram_file_bytes(*build.bigrams));
  }
  // Every file complete before any replaces its predecessor.
  lexicon.finish();
  if (bigrams) bigrams->finish();
  lexicon.commit();
  if (bigrams) bigrams->commit();
}

}  // namespace quirlex
