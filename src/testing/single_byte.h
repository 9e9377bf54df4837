// Writes single-byte test texts readably: turns a UTF-8 literal such as
// "Größe" into its one-byte-per-character form (Latin-1, which agrees with
// Windows-1252 for every letter the tests use).
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace quirlex::testing {

inline std::string single_byte(std::string_view utf8) {
  std::string bytes;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      bytes += static_cast<char>(lead);
    } else if ((lead == 0xC2 || lead == 0xC3) && i + 1 < utf8.size()) {
      const auto next = static_cast<unsigned char>(utf8[++i]);
      bytes += static_cast<char>(((lead & 0x03) << 6) | (next & 0x3F));
    } else {
      throw std::invalid_argument("single_byte: only characters up to U+00FF");
    }
  }
  return bytes;
}

}  // namespace quirlex::testing
