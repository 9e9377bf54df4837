// The letter model's step of Translate: every word of four bytes or more
// that no table, no variant and no compound restored is put in the order of
// its letters that the letter model finds most plausible (first and last
// byte and the marks at a word's ends stay), and settled. All such words of
// a text with the same letters and the same ends that stay are one unknown
// word: its order is chosen once, from all its occurrences, and written
// everywhere, each occurrence with its own capitals by shape.
//
// With a compound index, Compound Search is weighed here too: a word's
// compound of two lexicon words is taken only where it is more plausible
// than the model's best order (see CompoundWeighing).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "index/dictionary.h"
#include "lexicon/letter_model.h"
#include "text/token_list.h"
#include "unscramble/compound_index.h"
#include "unscramble/reader_words.h"

namespace quirlex {

// When a compound beats the letter model's best order. Scores are natural
// logarithms of the model's probabilities.
struct CompoundWeighing {
  // A compound is taken while the model scores it at most this much below
  // its best order: two lexicon words joined are worth that much. Measured
  // on German and English prose, 4 to 8 do best; without weighing (an
  // endless margin) compounds replace right orders of names, and with 0
  // the model's orders replace right compounds.
  double margin = 8.0;
};

struct UnknownWordsResult {
  std::int64_t restored = 0;   // words the letter model restored
  std::int64_t compounds = 0;  // words restored as compounds, after weighing
  std::int64_t declined = 0;   // words whose compound lost to the model
};

// One unknown word as chosen, for tools that look into the choice.
struct UnknownWordChoice {
  std::string model;     // the model's best order, upper-cased
  std::string compound;  // the compound found, or empty
  double model_score = 0.0;
  double compound_score = 0.0;
  std::int64_t occurrences = 0;
  bool took_compound = false;
  std::int64_t first_position = 0;  // of its first occurrence
};

// Restores the unsettled words of `scrambled` as above. `compounds` (built
// from `dictionary.words`) turns on the weighed Compound Search; without
// it, the model restores every unsettled word. `choices`, when given,
// receives every unknown word's choice.
UnknownWordsResult restore_unknown_words(TokenList& scrambled, const Dictionary& dictionary,
                                         const LetterModel& model, const ReaderWords& reader,
                                         const CompoundIndex* compounds,
                                         const CompoundWeighing& weighing = {},
                                         std::vector<UnknownWordChoice>* choices = nullptr);

}  // namespace quirlex
