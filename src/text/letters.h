// Which word bytes are letters, and the letters of a word as a reader sees
// them. The tokenizer counts every byte from 0x40 up as a word byte, so
// quote marks („ “ « »), brackets, bars and underscores glue onto the words
// they stand beside; the steps that read words as words (Shuffle keeping
// punctuation in place, the best restoring steps) tell them apart by this
// table. Letters are the Windows-1252 bytes with a capital or small partner,
// ß, and the few that stand inside words without one (ƒ, ª, µ, º); digits,
// punctuation, quotation marks, brackets, @ [ \ ] ^ _ ` { | } ~ and the other
// signs are not.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/case_map.h"

namespace quirlex {

namespace letter_tables {

constexpr std::array<bool, 256> make_letters() {
  std::array<bool, 256> table{};
  for (int b = 'A'; b <= 'Z'; ++b) table[b] = table[b + 0x20] = true;
  // S, OE and Z with caron, their small forms, Y with diaeresis, f with hook.
  for (const int b : {0x83, 0x8A, 0x8C, 0x8E, 0x9A, 0x9C, 0x9E, 0x9F}) table[b] = true;
  // Feminine and masculine ordinal and micro count as letters too: they
  // stand inside words.
  for (const int b : {0xAA, 0xB5, 0xBA}) table[b] = true;
  // The accented capitals and small letters, without the multiplication
  // and division signs.
  for (int b = 0xC0; b <= 0xFF; ++b) table[b] = b != 0xD7 && b != 0xF7;
  return table;
}

inline constexpr std::array<bool, 256> kLetters = make_letters();

}  // namespace letter_tables

constexpr bool is_letter(char c) {
  return letter_tables::kLetters[static_cast<std::uint8_t>(c)];
}

// Whether a byte is a capital letter: one that lower-casing changes.
constexpr bool is_capital_letter(char c) {
  return lower_char(c) != c;
}

// Where the letters of a word begin and end: the word without the bytes
// that are no letters at its front and at its back. A word without any
// letter has an empty core at its end.
struct LetterCore {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t size() const { return end - begin; }
  // Whether the core reaches the word's first and its last byte.
  bool at_front() const { return begin == 0; }
  bool at_back(std::size_t word_size) const { return end == word_size; }
};

constexpr LetterCore letter_core(std::string_view word) {
  std::size_t begin = 0;
  while (begin < word.size() && !is_letter(word[begin])) ++begin;
  std::size_t end = word.size();
  while (end > begin && !is_letter(word[end - 1])) --end;
  return {begin, end};
}

namespace letter_counts {

// With equal sizes, no count going below zero means every count ends at
// zero. `Count` must hold the size.
template <typename Count>
bool same_counts(std::string_view a, std::string_view b) {
  std::array<Count, 256> counts{};
  for (const char c : a) ++counts[upper_byte(static_cast<std::uint8_t>(c))];
  for (const char c : b) {
    if (counts[upper_byte(static_cast<std::uint8_t>(c))]-- == 0) return false;
  }
  return true;
}

}  // namespace letter_counts

// Whether `a` and `b` hold the same bytes as often each, case aside: a
// restored word must be a rearrangement of its scrambled word. Inline, with
// small counts for the short words of a text: Translate asks for nearly
// every word.
inline bool same_letters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  return a.size() <= 255 ? letter_counts::same_counts<std::uint8_t>(a, b)
                         : letter_counts::same_counts<std::uint64_t>(a, b);
}

}  // namespace quirlex
