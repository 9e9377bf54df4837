#include "index/dictionary.h"

#include <utility>

#include "text/tokenizer.h"

namespace quirlex {

void fill_lexicon_table(const TokenList& words, SignatureTable<WordToken>& table) {
  table.size_for(static_cast<std::uint64_t>(words.size()));
  for (std::int32_t i = 0; i < words.size(); ++i) {
    const WordToken word = words.element(i);
    table.value_for(word.signature) = word;
  }
}

void read_affix_list(std::string text, TokenList& list) {
  list.make_empty();
  tokenize(std::move(text), list, {.drop_separators = true, .signatures = false});
}

}  // namespace quirlex
