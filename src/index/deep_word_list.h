// The deep word list: every combination of an optional prefix, a lexicon
// word and an optional suffix, filed in the variant table under its
// signature as a variant code. Members are never stored as text; their
// signatures come from letter sums of the parts computed once per part.
#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>

#include "index/dictionary.h"

namespace quirlex {

// What became of Deep Search in one Load Dictionary.
enum class DeepSearchOutcome {
  kNotAsked,        // the box was off: no affix lists, no variant table
  kBuilt,           // the variant table holds the deep word list
  kTooManyMembers,  // refused: more members than a variant code can index
  kWordsDoNotFit,   // refused: word indices do not fit their field of the code
  kStopped,         // stopped by the user: the variant table is empty
};

// Whether a deep word list can be built for these counts: kBuilt when it
// can, else the reason it is refused (more members than kCountLimit, or
// words too many for the layout).
DeepSearchOutcome deep_word_list_check(std::int64_t prefixes, std::int64_t suffixes,
                                       std::int64_t words, const VariantLayout& layout);

// Called with each new percentage (0 to 99) of the words done.
using PercentageCallback = std::function<void(int percentage)>;

// Empties the variant table, sizes it for the number of members and
// files every member; of members with one signature the last one generated
// stays (word index first, then prefix, then suffix, "none" counting lowest).
// Members shorter than two bytes have no signature and are skipped. The
// counts must have passed deep_word_list_check. A stop request is honoured
// between two words: the table is then left empty and false returned.
bool build_deep_word_list(Dictionary& dictionary, const PercentageCallback& on_percentage,
                          std::stop_token stop = {});

}  // namespace quirlex
