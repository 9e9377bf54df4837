#include "lexicon/key_sort.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <utility>

namespace quirlex {
namespace {

// Eleven bits a pass: the counts of a pass stay in the first-level cache.
constexpr unsigned kDigitBits = 11;
constexpr std::size_t kBuckets = std::size_t{1} << kDigitBits;
constexpr unsigned kPasses = (64 + kDigitBits - 1) / kDigitBits;
// Fewer items are sorted on one thread.
constexpr std::size_t kTwoThreadsFrom = std::size_t{1} << 16;

std::size_t digit(std::uint64_t key, unsigned pass) {
  return static_cast<std::size_t>(key >> (pass * kDigitBits)) & (kBuckets - 1);
}

// Sorts `items` stably, with `other` (as long) for room; the result ends up
// in `items`.
void radix_sort(std::span<KeyedIndex> items, std::span<KeyedIndex> other) {
  if (items.size() < 2) return;
  std::vector<std::array<std::uint32_t, kBuckets>> counts(kPasses);
  for (const KeyedIndex& item : items) {
    for (unsigned pass = 0; pass < kPasses; ++pass) ++counts[pass][digit(item.key, pass)];
  }
  std::span<KeyedIndex> from = items;
  std::span<KeyedIndex> to = other;
  for (unsigned pass = 0; pass < kPasses; ++pass) {
    std::array<std::uint32_t, kBuckets>& count = counts[pass];
    // A digit every key shares orders nothing.
    if (count[digit(from.front().key, pass)] == from.size()) continue;
    std::uint32_t start = 0;
    for (std::uint32_t& c : count) start += std::exchange(c, start);
    for (const KeyedIndex& item : from) to[count[digit(item.key, pass)]++] = item;
    std::swap(from, to);
  }
  if (from.data() != items.data()) std::copy(from.begin(), from.end(), items.begin());
}

}  // namespace

void sort_by_key(KeyedIndices& items, HelperThread& threads) {
  KeyedIndices other(items.size());
  if (!threads.has_helper() || items.size() < kTwoThreadsFrom) {
    radix_sort(items, other);
    return;
  }
  // The keys below a pivot and the others, each in text order, so that the
  // two sorted ranges side by side are the sorted whole. The pivot is the
  // median of a sample, which splits any spread of keys about evenly.
  std::vector<std::uint64_t> sample;
  constexpr std::size_t kSample = 1024;
  for (std::size_t k = 0; k < kSample; ++k) sample.push_back(items[k * items.size() / kSample].key);
  std::nth_element(sample.begin(), sample.begin() + kSample / 2, sample.end());
  const std::uint64_t pivot = sample[kSample / 2];
  const std::size_t below = static_cast<std::size_t>(
      std::count_if(items.begin(), items.end(), [&](const KeyedIndex& i) { return i.key < pivot; }));
  std::size_t low = 0;
  std::size_t high = below;
  for (const KeyedIndex& item : items) other[item.key < pivot ? low++ : high++] = item;
  const std::span<KeyedIndex> split(other);
  const std::span<KeyedIndex> room(items);
  threads.run([&](int half) {
    const std::size_t begin = half == 0 ? 0 : below;
    const std::size_t end = half == 0 ? below : split.size();
    radix_sort(split.subspan(begin, end - begin), room.subspan(begin, end - begin));
  });
  items.swap(other);
}

}  // namespace quirlex
