// Restores a scrambled text word by word: a word's signature is looked up in
// the lexicon table and, with Deep Search, in the variant table; a candidate
// that takes the scrambled word's capitalisation and then has its length,
// first and last byte replaces the word in place and settles it.
#pragma once

#include <string>

#include "index/dictionary.h"
#include "text/token_list.h"

namespace quirlex {

// Restores every unsettled word of four bytes or more in `scrambled`; words
// of up to three bytes are settled unchanged. Settled tokens (separator flag
// 1) are never looked up, so a second run only retries what stayed scrambled.
void restore_words(TokenList& scrambled, const Dictionary& dictionary, bool deep_search);

// The candidate from the lexicon table, with the scrambled word's
// capitalisation copied position by position; every step that restores a
// word from lexicon words gives it the scrambled capitals this way.
std::string capitalise_like(std::string candidate, const std::string& scrambled);

// Gives `candidate` the capitals of `scrambled` as capitalise_like does; when
// it then has the scrambled word's length, first and last byte it replaces
// `token`, settled, and true is returned. Otherwise nothing changes.
bool settle_like(WordToken& token, std::string candidate, const std::string& scrambled);

}  // namespace quirlex
