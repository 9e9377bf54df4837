// The orders of the lexicon builder's words: of first appearance, by
// bytes, by count. Each step runs in two halves on the builder's threads.
#include "lexicon/lexicon_builder.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string_view>
#include <vector>

#include "lexicon/key_sort.h"

namespace quirlex {
namespace {

// The first eight bytes of a word as a number whose order is theirs as
// unsigned bytes, zero past the word's end (below every word byte). Eight
// bytes from the word's start may be read (the bytes of DistinctWords have
// room past every word).
std::uint64_t order_key(std::string_view word) {
  const std::uint64_t bytes = load_bytes(word.data(), word.size(), 8);
  if constexpr (std::endian::native == std::endian::little) return __builtin_bswap64(bytes);
  return bytes;
}

}  // namespace

void LexiconBuilder::put_in_order(LexiconOrder order) {
  order_.resize(words_.size());
  switch (order) {
    case LexiconOrder::kText:
      order_by_appearance();
      break;
    case LexiconOrder::kSorted:
      sort_words();
      break;
    case LexiconOrder::kFrequency:
      order_by_frequency();
      break;
  }
}

void LexiconBuilder::in_halves(std::size_t n, std::size_t middle,
                               const std::function<void(std::size_t, std::size_t)>& work) const {
  if (middle > n) middle = n / 2;
  threads_.run([&](int half) { half == 0 ? work(0, middle) : work(middle, n); });
}

void LexiconBuilder::order_by_appearance() {
  // Each partition's words are numbered in order of first appearance: the
  // order is the two merged.
  const std::size_t middle = distinct_.size(0);
  std::size_t a = 0;
  std::size_t b = middle;
  for (std::size_t i = 0; i < order_.size(); ++i) {
    const bool from_first = b == order_.size() || (a < middle && first_[a] < first_[b]);
    order_[i] = static_cast<std::uint32_t>(from_first ? a++ : b++);
  }
}

void LexiconBuilder::take_order(const KeyedIndices& keys, std::size_t middle) {
  in_halves(keys.size(), middle, [&](std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) order_[i] = keys[i].index;
  });
}

void LexiconBuilder::sort_words() {
  // By the first eight bytes; the words that share them by the next eight,
  // and the few that share sixteen by the rest.
  KeyedIndices keys(words_.size());
  std::vector<std::uint64_t, LargeBlockAllocator<std::uint64_t>> second(words_.size());
  in_halves(words_.size(), SIZE_MAX, [&](std::size_t begin, std::size_t end) {
    for (std::size_t number = begin; number < end; ++number) {
      // The words' bytes lie in order of first appearance, not of number.
      if (number + kFetchAhead < end) __builtin_prefetch(words_[number + kFetchAhead].bytes.data());
      const std::string_view bytes = words_[number].bytes;
      keys[number] = {order_key(bytes), static_cast<std::uint32_t>(number)};
      second[number] = bytes.size() > 8 ? order_key(bytes.substr(8)) : 0;
    }
  });
  sort_by_key(keys, threads_);
  // The halves meet where the first key changes, so no run of equal keys
  // is cut.
  std::size_t middle = keys.size() / 2;
  while (middle > 0 && middle < keys.size() && keys[middle].key == keys[middle - 1].key) ++middle;
  in_halves(keys.size(), middle, [&](std::size_t begin, std::size_t end) {
    // A run's words with their second keys side by side: compared through
    // their numbers, every comparison would be a cache miss.
    struct Tied {
      std::uint64_t second;
      std::uint32_t index;
    };
    std::vector<Tied> tied;
    for (std::size_t run = begin; run < end;) {
      std::size_t run_end = run + 1;
      while (run_end < end && keys[run_end].key == keys[run].key) ++run_end;
      // Runs are short: the second keys are fetched a few runs ahead.
      for (std::size_t i = run; i < run_end && i + kFetchAhead < end; ++i) {
        __builtin_prefetch(&second[keys[i + kFetchAhead].index]);
      }
      if (run_end - run > 1) {
        tied.clear();
        for (std::size_t i = run; i < run_end; ++i) tied.push_back({second[keys[i].index], keys[i].index});
        // Equal first keys: both words are longer than eight bytes (no two
        // shorter words share all their bytes); equal second keys: longer
        // than sixteen. string_view compares as unsigned bytes.
        std::sort(tied.begin(), tied.end(), [&](const Tied& a, const Tied& b) {
          if (a.second != b.second) return a.second < b.second;
          return words_[a.index].bytes.substr(16) < words_[b.index].bytes.substr(16);
        });
        for (std::size_t i = run; i < run_end; ++i) keys[i].index = tied[i - run].index;
      }
      run = run_end;
    }
  });
  take_order(keys, middle);
}

void LexiconBuilder::order_by_frequency() {
  sort_words();
  // A sort that keeps the order of equal keys: equal counts stay sorted.
  KeyedIndices keys(order_.size());
  in_halves(keys.size(), SIZE_MAX, [&](std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) {
      if (i + kFetchAhead < end) __builtin_prefetch(&words_[order_[i + kFetchAhead]]);
      keys[i] = {words_[order_[i]].count, order_[i]};
    }
  });
  sort_by_key(keys, threads_);
  take_order(keys, SIZE_MAX);
}

}  // namespace quirlex
