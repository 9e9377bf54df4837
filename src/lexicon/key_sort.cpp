#include "lexicon/key_sort.h"

#include <array>
#include <cstddef>
#include <utility>

namespace quirlex {
namespace {

// Eleven bits a pass: the counts of a pass stay in the first-level cache.
constexpr unsigned kDigitBits = 11;
constexpr std::size_t kBuckets = std::size_t{1} << kDigitBits;
constexpr unsigned kPasses = (64 + kDigitBits - 1) / kDigitBits;

std::size_t digit(std::uint64_t key, unsigned pass) {
  return static_cast<std::size_t>(key >> (pass * kDigitBits)) & (kBuckets - 1);
}

}  // namespace

void sort_by_key(std::vector<KeyedIndex>& items) {
  if (items.size() < 2) return;
  std::vector<std::array<std::uint32_t, kBuckets>> counts(kPasses);
  for (const KeyedIndex& item : items) {
    for (unsigned pass = 0; pass < kPasses; ++pass) ++counts[pass][digit(item.key, pass)];
  }
  std::vector<KeyedIndex> other(items.size());
  for (unsigned pass = 0; pass < kPasses; ++pass) {
    std::array<std::uint32_t, kBuckets>& count = counts[pass];
    // A digit every key shares orders nothing.
    if (count[digit(items.front().key, pass)] == items.size()) continue;
    std::uint32_t start = 0;
    for (std::uint32_t& c : count) start += std::exchange(c, start);
    for (const KeyedIndex& item : items) other[count[digit(item.key, pass)]++] = item;
    items.swap(other);
  }
}

}  // namespace quirlex
