// Which bytes of a Windows-1252 text are letters: A to Z, a to z, the
// accented letters from 0xC0 to 0xFF except the signs 0xD7 (multiplication)
// and 0xF7 (division), and the letters Windows-1252 puts among its signs:
// 0x8A Š, 0x8C Œ, 0x8E Ž, 0x9A š, 0x9C œ, 0x9E ž and 0x9F Ÿ. Everything else
// is no letter: digits, punctuation, quotation marks („ “ « »), brackets and
// the bytes the tokenizer counts as word bytes without being letters
// (@ [ \ ] ^ _ ` { | } ~ and the other signs above 0x7F). Self-contained, so
// that any part of the program can tell letters the same way.
#pragma once

#include <cstdint>

namespace quirlex {

constexpr bool is_letter_byte(char c) {
  const auto b = static_cast<std::uint8_t>(c);
  if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) return true;
  if (b >= 0xC0) return b != 0xD7 && b != 0xF7;
  return b == 0x8A || b == 0x8C || b == 0x8E || b == 0x9A || b == 0x9C || b == 0x9E || b == 0x9F;
}

}  // namespace quirlex
