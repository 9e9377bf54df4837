#include "text/letters.h"

#include <limits>

namespace quirlex {
namespace {

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

}  // namespace

bool same_letters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  // Words are short: small counts keep the table that is cleared each time small.
  return a.size() <= std::numeric_limits<std::uint8_t>::max()
             ? same_counts<std::uint8_t>(a, b)
             : same_counts<std::uint64_t>(a, b);
}

}  // namespace quirlex
