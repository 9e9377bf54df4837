// One token of a text: a word, or a run of the separator characters between
// words, with the letter mask and signature derived from its text.
#pragma once

#include <cstdint>
#include <string>

namespace quirlex {

struct WordToken {
  // 1: a run of separator characters, or a word that Translate has settled;
  // 0: a word.
  std::uint8_t separator = 0;
  // One bit per distinct letter value of the text; 0 until computed.
  std::uint32_t letter_mask = 0;
  // The signature of the text; 0.0 until computed.
  double signature = 0.0;
  std::string text;

  // A word token holding `text`, with letter mask and signature computed
  // when `with_signature` (bulk splitting whose tokens are never looked up
  // skips them).
  static WordToken from_text(std::string text, bool with_signature = true);

  // Recomputes letter mask and signature from the text, in place. Does
  // nothing for texts shorter than two bytes.
  void compute_signature();

  friend bool operator==(const WordToken&, const WordToken&) = default;
};

}  // namespace quirlex
