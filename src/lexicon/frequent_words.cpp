#include "lexicon/frequent_words.h"

#include <algorithm>
#include <cstring>

namespace quirlex {

void FrequentWords::flush(std::size_t partition, Hits& first, Hits& second,
                          DistinctWords& words) const {
  for (std::size_t slot = 0; slot < kSlots; ++slot) {
    const Entry& e = entries_[slot];
    if (e.tag == 0 || e.partition != partition) continue;
    const std::uint64_t times = first[slot] + second[slot];
    if (times != 0) words.add(partition, e.head, e.tag, times);
    first[slot] = second[slot] = 0;
  }
}

void FrequentWords::refill(const DistinctWords& words) {
  struct Candidate {
    DistinctWords::Known word;
    std::uint32_t partition;
  };
  std::vector<Candidate> candidates;
  for (std::size_t p = 0; p < DistinctWords::kPartitions; ++p) {
    for (const DistinctWords::Known& known : words.most_frequent(p, kWords)) {
      candidates.push_back({known, static_cast<std::uint32_t>(p)});
    }
  }
  // Most frequent first, so that of two words that want a slot the more
  // frequent one has it.
  std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    return a.word.count > b.word.count;
  });
  if (candidates.size() > kWords) candidates.resize(kWords);
  entries_.assign(kSlots, Entry{});
  for (const Candidate& c : candidates) {
    WordKey key;
    key.head = c.word.head;
    // The slot comes from the hash, which the head and the length give
    // (a word of up to sixteen bytes has no bytes past its head to read).
    char bytes[32] = {};
    std::memcpy(bytes, c.word.head.data(), 16);
    key.hash = hash_of(key.head, bytes, c.word.tag & 0xFF, sizeof bytes);
    Entry& e = entries_[slot_of(key)];
    if (e.tag == 0) e = {c.word.head, c.word.tag, c.partition};
  }
}

}  // namespace quirlex
