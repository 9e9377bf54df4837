#include "unscramble/translate.h"

#include <optional>
#include <vector>

#include "unscramble/compound_index.h"
#include "unscramble/compound_search.h"
#include "unscramble/context_choice.h"
#include "unscramble/unscrambler.h"

namespace quirlex {

TranslateResult translate(TokenList& scrambled, const TokenList& source,
                          const Dictionary& dictionary, const TranslateOptions& options) {
  TranslateResult result;
  std::optional<ContextChoice> context;
  std::vector<PendingChoice> pending;
  if (options.context != nullptr) {
    // The scrambled texts of the words it may change are kept before
    // restoring: the chosen word takes its capitals from them.
    context.emplace(dictionary, *options.context);
    pending = context->pending(scrambled);
  }
  const RestoredWords restored = restore_words(scrambled, dictionary, options.deep_search);
  result.lexicon = restored.lexicon;
  result.variants = restored.variants;
  if (options.compounds) {
    // Made for each run: the index costs a fraction of the lexicon table's
    // memory only while it is used.
    const CompoundIndex index(dictionary.words);
    result.compounds = restore_compounds(scrambled, dictionary, index);
  }
  if (context) result.context = context->choose(scrambled, pending);
  result.accuracy = measure_accuracy(source, scrambled);
  return result;
}

}  // namespace quirlex
