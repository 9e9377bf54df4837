// Translate as one core command: restores a scrambled token list in place
// from a dictionary and measures the result against the source text.
#pragma once

#include "index/dictionary.h"
#include "lexicon/bigram_model.h"
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
  // Then, with a model, chooses among the words of a signature by their
  // neighbours (the context choice); the model must belong to the
  // dictionary's lexicon.
  const BigramModel* context = nullptr;
};

// What Translate did.
struct TranslateResult {
  Accuracy accuracy;
  std::int64_t lexicon = 0;    // words restored from the lexicon table
  std::int64_t variants = 0;   // words restored from the variant table (Deep Search)
  std::int64_t compounds = 0;  // words restored by Compound Search
  std::int64_t context = 0;    // words the context choice changed
};

// Restores every unsettled word of `scrambled` (see restore_words, then
// restore_compounds and the context choice when asked) and compares the result with `source` token
// by token.
TranslateResult translate(TokenList& scrambled, const TokenList& source,
                          const Dictionary& dictionary, const TranslateOptions& options);

}  // namespace quirlex
