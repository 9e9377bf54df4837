// Puts a word's letters in the order the letter model finds most plausible:
// a beam search over the orders of the letters that may move, the most
// plausible few kept after each letter placed. The model's probabilities
// after each history met are kept, so that the many words of a text share
// them. Not for two threads at once; the model must outlive the search.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lexicon/letter_model.h"

namespace quirlex {

class LetterSearch {
 public:
  // How many orders are kept after each letter placed.
  static constexpr int kDefaultBeam = 100;
  // Longer words keep their order: the search tells letters apart by one
  // bit each.
  static constexpr std::size_t kMaxLetters = 64;

  explicit LetterSearch(const LetterModel& model, int beam = kDefaultBeam);

  struct Order {
    std::string text;    // the word's bytes in the order found
    double score = 0.0;  // the natural logarithm of its probability
  };

  // The most plausible order of the bytes of `word`, the first and the
  // last staying in place where asked; its bytes keep their case. A word of
  // more than kMaxLetters bytes comes back as it is.
  Order best_order(std::string_view word, bool first_stays, bool last_stays);

  // The natural logarithm of the probability of `word` as it stands.
  double score(std::string_view word);

 private:
  // A history: its last order - 1 symbols packed and its length above them.
  using History = std::uint64_t;
  History start() const;
  History extend(History history, std::uint8_t symbol) const;
  const std::array<float, kLetterSymbols>& row(History history);

  const LetterModel& model_;
  const int beam_;
  std::unordered_map<History, std::uint32_t> row_of_;
  std::vector<std::array<float, kLetterSymbols>> rows_;
};

}  // namespace quirlex
