// The signature of a word: a double that depends only on the word's length,
// its first and last letter and the multiset of its letters, so that every
// shuffle of the interior letters keeps it. Also the letter mask.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/case_map.h"

namespace quirlex {

inline constexpr double kLastLetterWeight = 97.85739128934614;
inline constexpr double kFirstLetterWeight = 47.42342361347548;
inline constexpr double kLengthScale = 0.8930289363892938;
static_assert(std::bit_cast<std::uint64_t>(kLastLetterWeight) == 0x405876DF7FB6E77CULL);
static_assert(std::bit_cast<std::uint64_t>(kFirstLetterWeight) == 0x4047B632BEB61D9CULL);
static_assert(std::bit_cast<std::uint64_t>(kLengthScale) == 0x3FEC93B16B858ECCULL);

namespace signature_tables {

// Bit number of a byte after upper-casing: (c - 65) modulo 32, c signed.
constexpr int letter_bit_number(std::uint8_t byte) {
  const int c = static_cast<std::int8_t>(upper_byte(byte));
  return (c - 65) & 31;
}

constexpr std::array<std::uint32_t, 256> make_bits() {
  std::array<std::uint32_t, 256> table{};
  for (int b = 0; b < 256; ++b) table[b] = 1u << letter_bit_number(static_cast<std::uint8_t>(b));
  return table;
}

// The term a byte adds to the letter sum: 2 to the power of its bit number,
// taken as a signed 32-bit integer, times two.
constexpr std::array<std::int64_t, 256> make_terms() {
  std::array<std::int64_t, 256> table{};
  const std::array<std::uint32_t, 256> bits = make_bits();
  for (int b = 0; b < 256; ++b) {
    const auto bit = static_cast<std::int32_t>(bits[b]);
    table[b] = 2 * static_cast<std::int64_t>(bit);
  }
  return table;
}

inline constexpr std::array<std::uint32_t, 256> kLetterBit = make_bits();
inline constexpr std::array<std::int64_t, 256> kLetterTerm = make_terms();

}  // namespace signature_tables

// Texts up to this length have a letter sum below 2^53 in magnitude, so the
// sum is exact whether it is added up as integers or as doubles.
inline constexpr std::size_t kExactLetterSumLength = std::size_t{1} << 21;

struct LetterStats {
  double letter_sum = 0.0;
  std::uint32_t letter_mask = 0;
};

// The letter sum and letter mask of `text`, accumulated first to last in
// double precision exactly as the signature defines it.
LetterStats letter_stats(std::string_view text);

// The terms of a text's first and last byte in the last steps of the
// signature.
inline double first_letter_term(char first) {
  return static_cast<double>(static_cast<std::int8_t>(upper_char(first)) - 64) * kFirstLetterWeight;
}
inline double last_letter_term(char last) {
  return static_cast<double>(static_cast<std::int8_t>(upper_char(last)) - 64) * kLastLetterWeight;
}

// The last steps of the signature, from the letter sum, the two letter terms
// and the length of the text.
inline double signature_from_terms(double letter_sum, double first_term, double last_term,
                                   std::size_t length) {
  const double x = letter_sum - (last_term + first_term);
  return (static_cast<double>(length) * x) * kLengthScale;
}

// The last steps of the signature, from the letter sum, the first and last
// byte of the text and its length.
inline double signature_from_letter_sum(double letter_sum, char first, char last,
                                        std::size_t length) {
  return signature_from_terms(letter_sum, first_letter_term(first), last_letter_term(last), length);
}

// The signature of a text; 0.0 for a text
// shorter than two bytes, as such a token keeps it.
double signature_of(std::string_view text);

}  // namespace quirlex
