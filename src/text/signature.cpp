#include "text/signature.h"

namespace quirlex {
LetterStats letter_stats(std::string_view text) {
  using signature_tables::kLetterBit;
  using signature_tables::kLetterTerm;
  std::uint32_t mask = 0;
  if (text.size() <= kExactLetterSumLength) {
    std::int64_t sum = 0;
    for (const char c : text) {
      const auto byte = static_cast<std::uint8_t>(c);
      sum += kLetterTerm[byte];
      mask |= kLetterBit[byte];
    }
    return {static_cast<double>(sum), mask};
  }
  // Past 2^53 the double sum rounds; add in the defined order to round alike.
  double sum = 0.0;
  for (const char c : text) {
    const auto byte = static_cast<std::uint8_t>(c);
    sum = static_cast<double>(kLetterTerm[byte]) + sum;
    mask |= kLetterBit[byte];
  }
  return {sum, mask};
}

double signature_of(std::string_view text) {
  if (text.size() < 2) return 0.0;
  const LetterStats stats = letter_stats(text);
  return signature_from_letter_sum(stats.letter_sum, text.front(), text.back(), text.size());
}

}  // namespace quirlex
