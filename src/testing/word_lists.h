// Big inputs made on the spot: lists of different words for tests that need
// a large lexicon, corpus or text, and affix lists to go with them.
#pragma once

#include <string>
#include <string_view>

namespace quirlex::testing {

inline constexpr const char* kThirtySuffixes =
    "ab ac ad ae af ag ah ai ak al am an ao ap ar as at au av aw ax ay az ba be bi bo bu by ca";
inline constexpr const char* kTenPrefixes = "pa pe pi po pu qu re st un zw";

// `count` (at most 160000) different words of six capitals, K????E, each
// followed by `separator`.
inline std::string numbered_words(int count, std::string_view separator = "\n") {
  static constexpr std::string_view kLetters = "ABCDFGHILMNOPRSTUWXZ";
  std::string words;
  words.reserve(static_cast<std::size_t>(count) * (6 + separator.size()));
  for (int i = 0; i < count; ++i) {
    words += 'K';
    for (int n = i, digit = 0; digit < 4; ++digit, n /= 20) words += kLetters[n % 20];
    words += 'E';
    words += separator;
  }
  return words;
}

}  // namespace quirlex::testing
