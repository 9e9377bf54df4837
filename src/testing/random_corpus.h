// Random corpora for the tests of the lexicon's sources: real-looking words
// in random capitalisation, so that words repeat, among random bytes.
#pragma once

#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "text/case_map.h"

namespace quirlex::testing {

// A corpus of words from a small vocabulary in random capitalisation, so that
// words repeat, mixed with random bytes of every value.
inline std::string random_corpus(std::mt19937& rng, std::size_t words) {
  static const std::vector<std::string> vocabulary = {
      "haus", "Haustier", "haut", "Baum",
      "b\xE9"
      "b\xE9",
      "und/oder", "\"zitat\"", "{klammer", "ab", "abc", "Tor", "zwei-teilig", "\xFF\xFE\xFD\xFC",
      // Long words that differ only after their first sixteen bytes, or in length.
      "Donaudampfschifffahrt", "Donaudampfschifffahrtskapitaen", "Donaudampfschifffahrtskapitaene",
      "Donaudampfschifffahrtsgesellschaft", "abcdefghijklmnop", "abcdefghijklmnopq",
      // One word of each length from 5 to 15, so that the bytes after a word
      // (which differ from one appearance to the next) never count as its own.
      "Apfel", "Garten", "Bahnhof", "Wasserei", "Hausboote", "Wasserfall", "Bahnhofsuhr",
      "Gartenzwerge", "Schmetterling", "Kirschbaumblue", "Blumenstraussen",
      // Longer than a length byte counts, differing only in their last byte.
      std::string(300, 'w') + "Ende", std::string(300, 'w') + "Endf"};
  std::uniform_int_distribution<int> kind(0, 9);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<std::size_t> pick(0, vocabulary.size() - 1);
  std::uniform_int_distribution<std::size_t> length(1, 12);
  std::string corpus;
  for (std::size_t i = 0; i < words; ++i) {
    const int k = kind(rng);
    if (k < 4) {
      std::string word = vocabulary[pick(rng)];
      for (char& c : word) {
        if (byte(rng) < 100) c = upper_char(c);
      }
      corpus += word;
    } else {
      for (std::size_t n = length(rng); n > 0; --n) corpus += static_cast<char>(byte(rng));
    }
    // Separator runs of every length shift words across any block boundary.
    corpus += k % 2 == 0 ? " " : "\r\n";
    if (k == 9) corpus.append(length(rng), '.');
  }
  // Some corpora end inside a word.
  if (byte(rng) % 2 == 0) corpus += "Schlusswort";
  return corpus;
}

}  // namespace quirlex::testing
