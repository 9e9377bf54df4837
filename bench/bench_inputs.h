// Realistic, reproducible inputs for the micro-benchmarks: the words of the
// system's German and English word lists in Windows-1252 (or, where those
// lists are missing, made-up words of the same shape), running text made of
// them, affix lists and the deep word list's member signatures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "index/dictionary.h"
#include "text/token_list.h"

namespace quirlex::bench {

// Every word of the word lists as it is spelled there (mixed case), converted
// to Windows-1252; words without a Windows-1252 spelling are left out. Loaded
// once, in a fixed order.
const std::vector<std::string>& dictionary_words();

// The lexicon: the words of four bytes or more, upper-cased, sorted by bytes,
// each once, as Create Dictionary makes it.
const std::vector<std::string>& lexicon_words();

// `count` lexicon words spread evenly over the whole lexicon, in lexicon order.
std::vector<std::string> lexicon_sample(std::size_t count);

// About `bytes` of running text: sentences of frequent short words and
// dictionary words, with capitals, punctuation and line breaks, in a mix of
// German and English. The same size always gives the same text.
std::string running_text(std::size_t bytes);

// Typical suffixes and prefixes (upper-case, as the affix files are read).
std::vector<std::string> suffixes(std::size_t count);
std::vector<std::string> prefixes(std::size_t count);

// A token list of plain word tokens (with signatures) holding `texts`.
TokenList word_tokens(const std::vector<std::string>& texts);

// A dictionary of `words` lexicon words with `prefix_count` prefixes and
// `suffix_count` suffixes, its lexicon table filled and its layout set; the
// variant table is left empty.
Dictionary make_dictionary(std::size_t words, std::size_t prefix_count, std::size_t suffix_count);

// The texts of `count` deep-word-list members (combinations of 3 optional
// prefixes, lexicon words and 10 optional suffixes), in a shuffled order.
std::vector<std::string> member_texts(std::size_t count);

// The signatures of member_texts(count) in the same order; with `others`,
// signatures of members made of other affixes and other words instead (keys
// that are almost all absent from a table filled with the first kind).
std::vector<double> member_signatures(std::size_t count, bool others = false);

// A fast, reproducible generator for shuffles and random choices.
class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }

 private:
  std::uint64_t state_;
};

}  // namespace quirlex::bench
