#include "unscramble/translate.h"

#include <optional>
#include <vector>

#include "index/words_by_letters.h"
#include "unscramble/compound_index.h"
#include "unscramble/compound_search.h"
#include "unscramble/context_choice.h"
#include "unscramble/reader_words.h"
#include "unscramble/unscrambler.h"

namespace quirlex {

TranslateOptions best_translate_options(bool deep_search, const BigramModel* bigrams,
                                        const LetterModel* letters) {
  TranslateOptions options;
  options.deep_search = deep_search;
  options.compounds = true;
  options.context = bigrams;
  options.both_neighbours = bigrams != nullptr;
  options.reader_words = true;
  options.letters = letters;
  options.unknown = letters != nullptr;
  options.weigh_compounds = letters != nullptr;
  return options;
}

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
  // Made for each run, as the compound index below: they cost memory only
  // while they are used.
  std::optional<WordsByLetters> by_letters;
  std::optional<ReaderWords> reader;
  if (options.reader_words || options.unknown) {
    by_letters.emplace(dictionary.words);
    reader.emplace(ReaderWords{*by_letters, dictionary.words, options.letters});
  }
  const RestoredWords restored = restore_words(scrambled, dictionary, options.deep_search,
                                               options.reader_words ? &*reader : nullptr);
  result.lexicon = restored.lexicon;
  result.variants = restored.variants;
  const bool unknown = options.unknown && options.letters != nullptr;
  const bool weigh = unknown && options.compounds && options.weigh_compounds;
  std::optional<CompoundIndex> index;
  if (options.compounds) index.emplace(dictionary.words);
  if (options.compounds && !weigh) result.compounds = restore_compounds(scrambled, dictionary, *index);
  if (unknown) {
    const UnknownWordsResult model = restore_unknown_words(
        scrambled, dictionary, *options.letters, *reader, weigh ? &*index : nullptr,
        options.weighing);
    result.unknown = model.restored;
    result.declined = model.declined;
    result.compounds += model.compounds;
  }
  index.reset();
  if (context) {
    result.context = options.both_neighbours ? context->choose_by_both_neighbours(scrambled, pending)
                                             : context->choose(scrambled, pending);
  }
  result.accuracy = measure_accuracy(source, scrambled);
  return result;
}

}  // namespace quirlex
