// Compound Search: a scrambled word of eight bytes or more that the tables
// left unsettled becomes two lexicon words joined, first + second or first +
// "S" + second (the linking S of German compounds), when their letters
// together are exactly the scrambled word's, the first part begins with its
// first letter and the second ends with its last. Among several such pairs
// the one whose rarer part has the highest word index wins (in a lexicon in
// frequency order a word's index is its rank).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "index/dictionary.h"
#include "text/token_list.h"
#include "unscramble/compound_index.h"

namespace quirlex {

// The shortest scrambled word that Compound Search tries.
inline constexpr std::size_t kMinCompoundLength = 8;

// Two lexicon words joined, as found for one scrambled word.
struct Compound {
  std::string text;  // the joined words, as the lexicon writes them
  std::size_t second_start = 0;  // where the second word begins in it
  std::int64_t first = 0, second = 0;  // the two words' indices
};

// The best compound of lexicon words for `word` (a scrambled word of
// kMinCompoundLength bytes or more), or nothing.
std::optional<Compound> compound_of(std::string_view word, const Dictionary& dictionary,
                                    const CompoundIndex& index);

// Restores, in place, every unsettled word (separator flag 0) of
// kMinCompoundLength bytes or more in `scrambled` that is such a compound
// of lexicon words; it takes the scrambled word's capitals position by
// position and is settled. Meant to run after restore_words. `index` must be
// built from `dictionary.words`. Returns the number of words restored.
std::int64_t restore_compounds(TokenList& scrambled, const Dictionary& dictionary,
                               const CompoundIndex& index);

}  // namespace quirlex
