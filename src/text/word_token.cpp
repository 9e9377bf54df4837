#include "text/word_token.h"

#include <utility>

#include "text/signature.h"

namespace quirlex {

WordToken WordToken::from_text(std::string text, bool with_signature) {
  WordToken token;
  token.text = std::move(text);
  if (with_signature) token.compute_signature();
  return token;
}

void WordToken::compute_signature() {
  if (text.size() < 2) return;
  const LetterStats stats = letter_stats(text);
  letter_mask = stats.letter_mask;
  signature = signature_from_letter_sum(stats.letter_sum, text.front(), text.back(), text.size());
}

}  // namespace quirlex
