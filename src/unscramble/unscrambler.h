// Restores a scrambled text word by word: a word's signature is looked up in
// the lexicon table and, with Deep Search, in the variant table; a candidate
// that takes the scrambled word's capitalisation and then has its length,
// first and last byte and exactly its letters, case aside, is written over
// the word in place and settles it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "index/dictionary.h"
#include "text/token_list.h"

namespace quirlex {

struct ReaderWords;

// Restores every unsettled word of four bytes or more in `scrambled`; words
// of up to three bytes are settled unchanged. Settled tokens (separator flag
// 1) are never looked up, so a second run only retries what stayed scrambled.
// A large text is restored in two halves at once: words do not depend on
// each other here. With `reader`, words are read as a reader sees them (see
// reader_words.h).
struct RestoredWords {
  std::int64_t lexicon = 0;   // words restored from the lexicon
  std::int64_t variants = 0;  // words restored from the variant table
};
RestoredWords restore_words(TokenList& scrambled, const Dictionary& dictionary, bool deep_search,
                            const ReaderWords* reader = nullptr);

// The text of the variant table's entry under `signature` into `out`
// (prefix, word, suffix); false when there is none. A code naming an entry
// that does not exist is an invalid argument.
bool variant_text(const Dictionary& dictionary, double signature, std::string& out);

// `candidate` lower-cased, then with the scrambled word's capitals copied
// position by position; every step that restores a word from lexicon words
// gives it the scrambled capitals this way.
std::string capitalise_like(std::string_view candidate, std::string_view scrambled);

// Gives `candidate` the capitals of `scrambled` as capitalise_like does; when
// it then has the scrambled word's length, first and last byte and is a
// rearrangement of its letters it is written
// over token `index` of `list`, which is settled, and true is returned.
// Otherwise nothing changes. `scrambled` may be the token's own text.
bool settle_like(TokenList& list, std::int64_t index, std::string_view candidate,
                 std::string_view scrambled);

// The same for a candidate that has its capitals already.
bool settle_rearrangement(TokenList& list, std::int64_t index, std::string_view candidate,
                          std::string_view scrambled);

}  // namespace quirlex
