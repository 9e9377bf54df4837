#include "scramble/scramble.h"

#include <utility>

namespace quirlex {

void scramble(std::string& word, RandomGenerator& generator) {
  const std::size_t length = word.size();
  if (length <= 3) return;
  const std::size_t interior = length - 2;
  for (std::size_t i = 1; i < length - 2; ++i) {
    const std::size_t j = static_cast<std::size_t>(generator.draw()) % interior + 1;
    std::swap(word[i], word[j]);
  }
}

void shuffle_tokens(const TokenList& source, TokenList& scrambled, RandomGenerator& generator) {
  scrambled.reserve_for(source.size());
  // Separators are copied as they are, so the source's kept characters
  // still belong to the scrambled text's stand-ins in order.
  scrambled.set_encoding(source.encoding());
  for (const WordToken& token : source) {
    WordToken& copy = scrambled.append_new();
    copy = token;
    // Scrambling keeps the length, the first and the last letter and every
    // letter's count, so the copied letter mask and signature (made when the
    // source text was tokenized) are already those of the scrambled word.
    if (copy.separator == 0) scramble(copy.text, generator);
  }
}

}  // namespace quirlex
