// Sorts indices by 64-bit keys: the lexicon's words by first appearance, by
// their first eight bytes, or by count. A radix sort over the digits that
// vary takes a few passes over the items where a comparison sort of
// hundreds of thousands of words would take twenty; with a helper thread,
// the items are first split in two ranges of keys, each sorted on a thread.
#pragma once

#include <cstdint>
#include <vector>

#include "base/helper_thread.h"
#include "base/large_block.h"

namespace quirlex {

struct KeyedIndex {
  std::uint64_t key;
  std::uint32_t index;
};

using KeyedIndices = std::vector<KeyedIndex, LargeBlockAllocator<KeyedIndex>>;

// Sorts `items` by ascending key; items of equal keys keep their order.
void sort_by_key(KeyedIndices& items, HelperThread& threads);

}  // namespace quirlex
