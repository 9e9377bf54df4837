#include "unscramble/translate.h"

#include "unscramble/compound_index.h"
#include "unscramble/compound_search.h"
#include "unscramble/unscrambler.h"

namespace quirlex {

TranslateResult translate(TokenList& scrambled, const TokenList& source,
                          const Dictionary& dictionary, const TranslateOptions& options) {
  TranslateResult result;
  restore_words(scrambled, dictionary, options.deep_search);
  if (options.compounds) {
    // Made for each run: the index costs a fraction of the lexicon table's
    // memory only while it is used.
    const CompoundIndex index(dictionary.words);
    result.compounds = restore_compounds(scrambled, dictionary, index);
  }
  result.accuracy = measure_accuracy(source, scrambled);
  return result;
}

}  // namespace quirlex
