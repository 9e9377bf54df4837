// The key sort against std::stable_sort: every spread of keys the lexicon
// gives it (counts, first bytes, positions), below and above the size from
// which it splits the items between two threads, with and without a helper.
#include "lexicon/key_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace quirlex {
namespace {

struct Spread {
  const char* name;
  std::function<std::uint64_t(std::size_t i, std::mt19937_64& random)> key;
};

TEST(SortByKey, OrdersAsAStableSortOfTheKeys) {
  const Spread spreads[] = {
      {"random 64-bit keys", [](std::size_t, std::mt19937_64& r) { return r(); }},
      {"all keys equal", [](std::size_t, std::mt19937_64&) { return std::uint64_t{42}; }},
      // Counts of a corpus: most words are rare, ties everywhere.
      {"small counts", [](std::size_t, std::mt19937_64& r) { return r() % 5 + 1; }},
      {"two values, the larger first",
       [](std::size_t i, std::mt19937_64&) { return i < 1000 ? ~std::uint64_t{0} : 0; }},
      {"long runs of equal keys",
       [](std::size_t i, std::mt19937_64&) { return std::uint64_t{7} - i / 20000; }},
      // A pivot near the median falls inside the run of one key.
      {"half the keys one value",
       [](std::size_t i, std::mt19937_64& r) { return i % 2 == 0 ? std::uint64_t{1} << 40 : r(); }},
      {"only the top bits vary",
       [](std::size_t, std::mt19937_64& r) { return r() & (~std::uint64_t{0} << 58); }},
      {"only the lowest digit varies",
       [](std::size_t, std::mt19937_64& r) {
         return (std::uint64_t{0xABCD} << 32) | (r() & 0x7FF);
       }},
      {"descending", [](std::size_t i, std::mt19937_64&) { return ~std::uint64_t{i}; }},
      {"ascending positions", [](std::size_t i, std::mt19937_64&) { return std::uint64_t{i} * 9; }},
  };
  // 1 << 16 items and more are split between the threads.
  const std::size_t sizes[] = {0,     1, 2, 3000, (std::size_t{1} << 16) - 1, std::size_t{1} << 16,
                               150000};
  HelperThread one(false);
  HelperThread two(true);
  std::mt19937_64 random(2024);
  for (const Spread& spread : spreads) {
    for (const std::size_t size : sizes) {
      KeyedIndices items(size);
      for (std::size_t i = 0; i < size; ++i) {
        items[i] = {spread.key(i, random), static_cast<std::uint32_t>(i)};
      }
      std::vector<KeyedIndex> expected(items.begin(), items.end());
      std::stable_sort(expected.begin(), expected.end(),
                       [](const KeyedIndex& a, const KeyedIndex& b) { return a.key < b.key; });
      for (HelperThread* threads : {&one, &two}) {
        SCOPED_TRACE(std::string(spread.name) + ", " + std::to_string(size) + " items, helper " +
                     std::to_string(threads->has_helper()));
        KeyedIndices sorted = items;
        sort_by_key(sorted, *threads);
        ASSERT_EQ(sorted.size(), expected.size());
        for (std::size_t i = 0; i < size; ++i) {
          ASSERT_EQ(sorted[i].key, expected[i].key) << "at " << i;
          ASSERT_EQ(sorted[i].index, expected[i].index) << "at " << i;
        }
      }
    }
  }
}

}  // namespace
}  // namespace quirlex
