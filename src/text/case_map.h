// Upper- and lower-casing of Windows-1252 bytes by an explicit table, so that
// results never depend on the machine's locale.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace quirlex {

namespace case_tables {

constexpr std::array<std::uint8_t, 256> make_upper() {
  std::array<std::uint8_t, 256> table{};
  for (int b = 0; b < 256; ++b) table[b] = static_cast<std::uint8_t>(b);
  for (int b = 'a'; b <= 'z'; ++b) table[b] = static_cast<std::uint8_t>(b - 0x20);
  for (int b = 0xE0; b <= 0xFE; ++b) {
    if (b != 0xF7) table[b] = static_cast<std::uint8_t>(b - 0x20);  // 0xF7 is the division sign
  }
  table[0x9A] = 0x8A;  // s caron
  table[0x9C] = 0x8C;  // oe ligature
  table[0x9E] = 0x8E;  // z caron
  table[0xFF] = 0x9F;  // y diaeresis
  return table;
}

constexpr std::array<std::uint8_t, 256> make_lower() {
  std::array<std::uint8_t, 256> table{};
  const auto upper = make_upper();
  for (int b = 0; b < 256; ++b) table[b] = static_cast<std::uint8_t>(b);
  for (int b = 0; b < 256; ++b) {
    if (upper[b] != b) table[upper[b]] = static_cast<std::uint8_t>(b);
  }
  return table;
}

inline constexpr std::array<std::uint8_t, 256> kUpper = make_upper();
inline constexpr std::array<std::uint8_t, 256> kLower = make_lower();

}  // namespace case_tables

constexpr std::uint8_t upper_byte(std::uint8_t byte) {
  return case_tables::kUpper[byte];
}
constexpr std::uint8_t lower_byte(std::uint8_t byte) {
  return case_tables::kLower[byte];
}

constexpr char upper_char(char c) {
  return static_cast<char>(upper_byte(static_cast<std::uint8_t>(c)));
}
constexpr char lower_char(char c) {
  return static_cast<char>(lower_byte(static_cast<std::uint8_t>(c)));
}

// Change every byte of `text` in place.
void upper_case(std::span<char> text);
void lower_case(std::span<char> text);

}  // namespace quirlex
