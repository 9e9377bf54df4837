// The one limit of the program's counts, and the texts of the failures that
// refuse what would pass it, worded here once. Counts are 32-bit: tokens of
// a list, bytes of a text, entries of a table, distinct words of a corpus.
#pragma once

#include <cstdint>
#include <string>

#include "base/failure.h"

namespace quirlex {

inline constexpr std::int64_t kCountLimit = INT32_MAX;

namespace limit_failures {

// "The text is too large: a list can hold at most ... tokens."
LimitExceeded too_many_tokens();
// "The text is too large: a list can hold at most ... bytes of text."
LimitExceeded too_many_text_bytes();
// "The text is too large: with its umlauts spelled out it exceeds ... bytes."
LimitExceeded spelled_out_too_long();
// "The file FILE is too large: texts of at most ... bytes can be read."
LimitExceeded file_too_long(const std::string& file_name);
// "The corpus has too many distinct words: a lexicon can hold at most ...."
LimitExceeded too_many_distinct_words();

}  // namespace limit_failures
}  // namespace quirlex
