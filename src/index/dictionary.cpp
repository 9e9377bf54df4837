#include "index/dictionary.h"

#include <utility>

#include "base/format.h"
#include "text/signature.h"
#include "text/tokenizer.h"

namespace quirlex {

void fill_lexicon_table(const TokenList& words, SignatureTable<WordToken>& table) {
  table.set_bucket_count(static_cast<std::uint64_t>(static_cast<double>(words.size()) * 1.2));
  for (const WordToken& word : words) table.value_for(word.signature) = word;
}

void read_affix_list(std::string text, TokenList& list) {
  list.make_empty();
  SignatureSuppression suppression;
  tokenize(std::move(text), list, {.drop_separators = true});
}

std::string dictionary_report(const Dictionary& dictionary, const std::string& refusal) {
  std::string report = "Creating the hashtables!\r\nREADY!\r\n\r\n";
  const std::int32_t entries = dictionary.lexicon_table.entry_count();
  const std::int32_t prefixes = dictionary.prefixes.size();
  const std::int32_t suffixes = dictionary.suffixes.size();
  if (entries != 0) report += format_int("%i Words are read into the lexicon\r\n", entries);
  if (prefixes != 0) report += format_int("Read %i Prefixes\r\n", prefixes);
  if (suffixes != 0) report += format_int("Read %i Suffixes\r\n", suffixes);
  if (!refusal.empty()) {
    report += "\r\n" + refusal;
    return report;
  }
  // A 32-bit product that wraps around, as the count has always been shown.
  std::uint32_t variants = static_cast<std::uint32_t>(entries);
  if (prefixes != 0) variants *= static_cast<std::uint32_t>(prefixes);
  if (suffixes != 0) variants *= static_cast<std::uint32_t>(suffixes);
  if (variants > static_cast<std::uint32_t>(dictionary.words.size())) {
    report += format_int("\r\nCreated %i words including all variants",
                         static_cast<std::int32_t>(variants));
  }
  return report;
}

}  // namespace quirlex
