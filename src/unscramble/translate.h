// Translate as one core command: restores a scrambled token list in place
// from a dictionary and measures the result against the source text.
#pragma once

#include "index/dictionary.h"
#include "text/token_list.h"
#include "unscramble/accuracy_report.h"

namespace quirlex {

struct TranslateOptions {
  // Also looks words up in the variant table (the dictionary must have been
  // loaded with Deep Search for that table to hold anything).
  bool deep_search = false;
  // Then restores long words that neither table knows as two lexicon words
  // joined (Compound Search).
  bool compounds = false;
};

// What Translate did.
struct TranslateResult {
  Accuracy accuracy;
  std::int64_t compounds = 0;  // words restored by Compound Search
};

// Restores every unsettled word of `scrambled` (see restore_words, then
// restore_compounds when asked) and compares the result with `source` token
// by token.
TranslateResult translate(TokenList& scrambled, const TokenList& source,
                          const Dictionary& dictionary, const TranslateOptions& options);

}  // namespace quirlex
