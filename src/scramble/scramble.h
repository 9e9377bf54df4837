// The interior-letter shuffle of one word, and the shuffle of a whole token
// list. First and last byte stay, so every scrambled word keeps its signature.
#pragma once

#include <span>

#include "scramble/random_generator.h"
#include "text/token_list.h"

namespace quirlex {

// Shuffles the bytes between the first and the last of `word` in place. A
// word of n > 3 bytes draws exactly n - 3 numbers; shorter words draw none.
void scramble(std::span<char> word, RandomGenerator& generator);

struct ShuffleOptions {
  // Only the part of a word from its first to its last letter (see
  // text/letters.h) is scrambled: the marks before and after it („ “ « » |
  // [ ] and the like, which the tokenizer counts as word bytes) stay in
  // place, and so do that first and last letter. A word without a letter
  // stays as it is.
  bool keep_punctuation = false;
};

// Scrambles every word token of `list` where it lies (separator tokens stay
// as they are), drawing in token order: for a caller that no longer needs
// the text it shuffles, which then takes no memory beyond it.
void shuffle_in_place(TokenList& list, RandomGenerator& generator, ShuffleOptions options = {});

// Makes `scrambled` a copy of `source` shuffled as shuffle_in_place would.
void shuffle_tokens(const TokenList& source, TokenList& scrambled, RandomGenerator& generator,
                    ShuffleOptions options = {});

}  // namespace quirlex
