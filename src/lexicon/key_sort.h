// Sorts indices by 64-bit keys: the lexicon's words by first appearance, by
// their first eight bytes, or by count. A radix sort over the digits that
// vary takes a few passes over the items where a comparison sort of
// hundreds of thousands of words would take twenty.
#pragma once

#include <cstdint>
#include <vector>

namespace quirlex {

struct KeyedIndex {
  std::uint64_t key;
  std::uint32_t index;
};

// Sorts `items` by ascending key; items of equal keys keep their order.
void sort_by_key(std::vector<KeyedIndex>& items);

}  // namespace quirlex
