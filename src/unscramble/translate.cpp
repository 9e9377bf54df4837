#include "unscramble/translate.h"

#include "unscramble/unscrambler.h"

namespace quirlex {

Accuracy translate(TokenList& scrambled, const TokenList& source, const Dictionary& dictionary,
                   const TranslateOptions& options) {
  restore_words(scrambled, dictionary, options.deep_search);
  return measure_accuracy(source, scrambled);
}

}  // namespace quirlex
