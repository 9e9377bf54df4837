// Translate as one core command: restores a scrambled token list in place
// from a dictionary and measures the result against the source text.
#pragma once

#include "index/dictionary.h"
#include "lexicon/bigram_model.h"
#include "lexicon/letter_model.h"
#include "text/token_list.h"
#include "unscramble/accuracy_report.h"
#include "unscramble/unknown_words.h"

namespace quirlex {

// The steps of Translate. With every field at its default, Translate
// restores from the lexicon table alone; the front ends' box for the best
// restoring turns on every step from `compounds` on.
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
  // Words as a reader sees them (see reader_words.h): marks at a word's ends
  // stay where they are, capitals go by the word's shape, and every lexicon
  // word of a word's letters is a candidate. Uses the spellings of `letters`
  // when it is given.
  bool reader_words = false;
  // The letter model of the dictionary's lexicon, for the steps below and
  // the spellings above.
  const LetterModel* letters = nullptr;
  // Restores what no table, variant or compound restored by the letter
  // model, one order per word of the text (needs `letters`).
  bool unknown = false;
  // Takes a compound only where it is more plausible than the letter
  // model's order (needs `letters`, `compounds` and `unknown`).
  bool weigh_compounds = false;
  CompoundWeighing weighing = {};
  // The context choice scores a word by both neighbours, each normalised by
  // its own frequency, over a run of ambiguous words at once (needs
  // `context`).
  bool both_neighbours = false;
};

// The options that turn on every step for a dictionary loaded with Deep
// Search or not, with the models that were found (either may be null).
TranslateOptions best_translate_options(bool deep_search, const BigramModel* bigrams,
                                        const LetterModel* letters);

// What Translate did.
struct TranslateResult {
  Accuracy accuracy;
  std::int64_t lexicon = 0;    // words restored from the lexicon table
  std::int64_t variants = 0;   // words restored from the variant table (Deep Search)
  std::int64_t compounds = 0;  // words restored by Compound Search
  std::int64_t context = 0;    // words the context choice changed
  std::int64_t unknown = 0;    // words the letter model restored
  std::int64_t declined = 0;   // words whose compound lost to the letter model
};

// Restores every unsettled word of `scrambled` (see restore_words, then
// restore_compounds, the letter model and the context choice when asked)
// and compares the result with `source` token by token.
TranslateResult translate(TokenList& scrambled, const TokenList& source,
                          const Dictionary& dictionary, const TranslateOptions& options);

}  // namespace quirlex
