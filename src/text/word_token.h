// One token of a text, as its list hands it out: where its text lies in the
// list's byte buffer, its separator flag, and the letter mask and signature
// derived from its text. A token is a view: its text belongs to its list
// (TokenList::text(token) gives it), and a list changes its texts in place.
#pragma once

#include <cstdint>

namespace quirlex {

struct WordToken {
  // Where the text begins in its list's joined text, and its length.
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
  // One bit per distinct letter value of the text; 0 when the list has no
  // signatures or the text is shorter than two bytes.
  std::uint32_t letter_mask = 0;
  // 1: a run of separator characters, or a word that Translate has settled;
  // 0: a word.
  std::uint8_t separator = 0;
  // The signature of the text; 0.0 where the letter mask is 0 too.
  double signature = 0.0;

  friend bool operator==(const WordToken&, const WordToken&) = default;
};

static_assert(sizeof(WordToken) <= 24, "a token stays a small view");

}  // namespace quirlex
