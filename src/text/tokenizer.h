// Splits a text into alternating separator and word tokens. A byte below 0x40
// separates words; every byte from 0x40 up belongs to a word.
#pragma once

#include <cstdint>
#include <string>

#include "text/token_list.h"

namespace quirlex {

constexpr bool is_separator_byte(char c) {
  return static_cast<std::uint8_t>(c) < 0x40;
}

struct TokenizeOptions {
  // Separator tokens are not put into the list.
  bool drop_separators = false;
  // Slashes become "@" and double quotes "^" first, so neither splits a word.
  bool replace_slash_and_quote = false;
  // The list hands out letter masks and signatures; lists that are only
  // stored or decoded first do without.
  bool signatures = true;
  // The last token is upper-cased, as lexicon files and affix lists have
  // always been read. A text the user works on keeps every word as written.
  bool upper_case_last = true;
};

// For a non-empty text, empties `list` and fills it with the tokens of
// `text`; an empty text leaves the list untouched. When the text starts with
// a word character the first token is an empty separator token. The last
// token is upper-cased when `options` ask for it. The list takes `text` over as its buffer: no token's
// text is copied (without separators the words move together within it).
void tokenize(std::string text, TokenList& list, TokenizeOptions options);

// Replaces every occurrence of `old_text` by `new_text`, left to right,
// without overlaps and without rescanning inserted text.
void replace_all(std::string& text, std::string_view old_text, std::string_view new_text);

}  // namespace quirlex
