// The most frequent words counted so far, in a small table in front of
// DistinctWords. A few thousand words make up most of a corpus's running
// text (three occurrences in four in a realistic one), so the thread that
// finds a word looks it up here first, without a branch (hit or miss is a
// coin toss to the processor), and counts a hit in its own Hits instead of
// recording the occurrence for its partition, where it would be read back
// and looked up once more. Only words of up to sixteen bytes, which head and
// tag tell apart, are kept.
//
// Both threads look words up at once; the table changes only in between
// (refill), after the hits were added to the words' counts (flush). Which
// words the table holds changes how fast words are counted, never their
// counts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "lexicon/distinct_words.h"

namespace quirlex {

class FrequentWords {
 public:
  static constexpr unsigned kIndexBits = 13;
  static constexpr std::size_t kSlots = std::size_t{1} << kIndexBits;
  // How many of the most frequent words a refill offers the table: half its
  // slots, so that few are lost to two words wanting one slot.
  static constexpr std::size_t kWords = kSlots / 2;

  // The occurrences of the words in the table, by slot, as one thread
  // counted them.
  using Hits = std::vector<std::uint64_t>;
  static Hits no_hits() { return Hits(kSlots, 0); }

  // The only slot where the word of `key` can be.
  static std::size_t slot_of(const WordKey& key) {
    return static_cast<std::size_t>(key.hash >> 40) & (kSlots - 1);
  }

  // 1 when slot `slot` holds the word of `head` and `tag`, else 0.
  unsigned holds(std::size_t slot, const WordHead& head, std::uint32_t tag) const {
    const Entry& e = entries_[slot];
    return static_cast<unsigned>(e.tag == tag) & static_cast<unsigned>(e.head[0] == head[0]) &
           static_cast<unsigned>(e.head[1] == head[1]);
  }

  // Adds the hits that `first` and `second` counted of the words of
  // `partition` to their counts in `words`, and clears them. The two
  // partitions may be flushed on two threads at once.
  void flush(std::size_t partition, Hits& first, Hits& second, DistinctWords& words) const;

  // Fills the table with the most frequent words of `words`; every hit must
  // have been flushed.
  void refill(const DistinctWords& words);

 private:
  struct Entry {
    WordHead head = {0, 0};
    std::uint32_t tag = 0;  // 0: empty
    std::uint32_t partition = 0;
  };
  std::vector<Entry> entries_ = std::vector<Entry>(kSlots);
};

}  // namespace quirlex
