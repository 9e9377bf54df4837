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
};

// Restores every unsettled word of `scrambled` (see restore_words) and
// compares the result with `source` token by token.
Accuracy translate(TokenList& scrambled, const TokenList& source, const Dictionary& dictionary,
                   const TranslateOptions& options);

}  // namespace quirlex
