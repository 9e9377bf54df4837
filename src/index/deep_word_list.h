// The deep word list: every combination of an optional prefix, a lexicon
// word and an optional suffix, filed in the variant table under its
// signature as a variant code. Members are never stored as text; their
// signatures come from letter sums of the parts computed once per part.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "index/dictionary.h"

namespace quirlex {

// The largest number of members a deep word list may have.
inline constexpr std::int64_t kMaxDeepMembers = INT32_MAX;

// Why no deep word list can be built for these counts (too many members, or
// word indices that do not fit their field), or an empty text when it can.
std::string deep_word_list_refusal(std::int64_t prefixes, std::int64_t suffixes, std::int64_t words,
                                   const VariantLayout& layout);

// Called with each new percentage (0 to 99) of the words done.
using PercentageCallback = std::function<void(int percentage)>;

// Empties the variant table, sizes it to 1.2 times the number of members and
// files every member; of members with one signature the last one generated
// stays (word index first, then prefix, then suffix, "none" counting lowest).
// Members shorter than two bytes have no signature and are skipped. The
// counts must have passed deep_word_list_refusal.
void build_deep_word_list(Dictionary& dictionary, const PercentageCallback& on_percentage);

}  // namespace quirlex
