// Conversion between Windows-1252 bytes and Unicode, for showing texts on
// screens and terminals that speak Unicode. All 256 byte values convert and
// convert back: the five bytes the code page leaves undefined map to the C1
// control characters of the same value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quirlex {

char32_t windows1252_to_unicode(std::uint8_t byte);
// The byte of `code_point`, or nothing when Windows-1252 has no such character.
std::optional<std::uint8_t> unicode_to_windows1252(char32_t code_point);

// Appends the UTF-8 bytes of `c` (any code point up to U+10FFFF).
void append_utf8(std::string& out, char32_t c);

// The UTF-8 form of a Windows-1252 text.
std::string windows1252_to_utf8(std::string_view text);

}  // namespace quirlex
