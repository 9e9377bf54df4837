// The distinct words of a corpus, each once with its count and the corpus
// position of its first appearance, in two partitions by hash, so that two
// threads can count at once, each the words of its own partition.
//
// A realistic corpus of 100 MB has some 700,000 distinct words among 8.7
// million occurrences. The few thousand most frequent words make up most
// occurrences (FrequentWords counts them first) and their slots stay in the
// cache; nearly every look-up of any other word is a cache miss. So a slot holds all a look-up needs (head,
// tag and count; for a word past sixteen bytes, where its bytes are), the
// tables lie in huge pages (a miss without a page walk), and the
// occurrences of a batch are counted with their slots fetched ahead, so
// that the misses overlap instead of following one another.
//
// Callers count each partition's occurrences in text order (the first
// appearance of a word is the first one counted). The two partitions may be
// counted on two threads at once; nothing else may run meanwhile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/hash_mix.h"
#include "base/large_block.h"
#include "base/zeroed_memory.h"
#include "lexicon/corpus_words.h"

namespace quirlex {

class DistinctWords {
 public:
  static constexpr std::size_t kPartitions = 2;

  // One appearance of a word in a stretch of folded text, recorded for its
  // partition before it is counted there: small, since every occurrence
  // is written once and read once more.
  struct Occurrence {
    std::uint32_t tag;     // tag_of its key and length
    std::uint32_t offset;  // where it begins in the stretch
  };

  static std::size_t partition_of(const WordKey& key) {
    return static_cast<std::size_t>(key.hash >> 63);
  }
  // Bits of the hash, and the length up to 255 in the low byte; never 0, as
  // words are never empty.
  static std::uint32_t tag_of(const WordKey& key, std::size_t length) {
    return (static_cast<std::uint32_t>(key.hash) & ~std::uint32_t{0xFF}) |
           static_cast<std::uint32_t>(std::min<std::size_t>(length, 255));
  }

  DistinctWords();

  // Before the first word: makes room at once for about `words` distinct
  // words, so that tables and bytes are not made again and again as they
  // grow (each time in fresh memory the system must clear).
  void expect_words(std::size_t words);

  // Counts, in order, `occurrences` of words of `partition` found in the
  // `size` bytes at `text` (folded), which begin at corpus position
  // `position`. Each word ends before the stretch's end.
  void count(std::size_t partition, std::span<const Occurrence> occurrences, const char* text,
             std::size_t size, std::uint64_t position);

  // Counts one word of `length` bytes at `word`, of which (and after which)
  // `readable` bytes may be read, first appearing at `position`.
  void count_one(const char* word, std::size_t length, std::size_t readable,
                 std::uint64_t position);

  // A word of a stretch of folded text with how often it appears at once,
  // as a line of a count file gives it.
  struct Counted {
    std::uint32_t tag;     // tag_of its key and length
    std::uint32_t offset;  // where it begins in the stretch
    std::uint64_t length;
    std::uint64_t times;   // at least 1
  };
  // Counts, in order, `words` of `partition` in the `size` bytes at `text`
  // `times` times each; a new word first appears at `position` plus its
  // offset. A count past 2^64 - 1 is a LimitExceeded failure. As count, the
  // two partitions may be counted on two threads at once.
  void count_times(std::size_t partition, std::span<const Counted> words, const char* text,
                   std::size_t size, std::uint64_t position);

  // The number of distinct words counted so far (or numbered).
  std::size_t size() const { return size(0) + size(1); }

  // A word of at most sixteen bytes, which its head and tag tell apart from
  // every other, and its count.
  struct Known {
    WordHead head;
    std::uint32_t tag;
    std::uint64_t count;
  };
  // The (at most) `n` most frequent words of `partition` of at most sixteen
  // bytes met more than once, in no particular order.
  std::vector<Known> most_frequent(std::size_t partition, std::size_t n) const;
  // Adds `times` to the count of such a word of `partition`, counted before.
  void add(std::size_t partition, const WordHead& head, std::uint32_t tag, std::uint64_t times);

  struct Word {
    std::string_view bytes;
    std::uint64_t count;
    std::uint64_t first;  // corpus position of its first appearance
  };
  // Once counting has ended: numbers the words of `partition` from
  // `first_number` on in order of their first appearance, and calls
  // `visit(number, word)` for each, in no particular order. The partitions
  // may be numbered on two threads at once.
  template <typename Visit>
  void number_words(std::size_t partition, std::uint32_t first_number, const Visit& visit) {
    Partition& p = partitions_[partition];
    p.first_number = first_number;
    const std::size_t slots = p.slots.size();
    for (std::size_t at = 0; at < slots; ++at) {
      // Entries lie in order of first appearance, slots by hash: the entry
      // of a slot further on is fetched now.
      if (at + kEntryAhead < slots && p.slots[at + kEntryAhead].tag != 0) {
        __builtin_prefetch(&p.entries[p.slots[at + kEntryAhead].index]);
      }
      const Slot& slot = p.slots[at];
      if (slot.tag == 0) continue;
      const Entry& e = p.entries[slot.index];
      visit(first_number + slot.index,
            Word{std::string_view(p.bytes.data() + e.offset, p.length(slot.index)), slot.count,
                 e.first});
    }
  }

  // Once numbered: frees all but the words' bytes, when no word will be
  // looked up again (find).
  void forget_lookups();

  // The number of distinct words of `partition`.
  std::size_t size(std::size_t partition) const { return partitions_[partition].words; }

  // The number of the word of `length` bytes at `word` (`readable` bytes
  // from there may be read), or -1 when it was never counted; only after
  // number_words.
  std::int64_t find(const char* word, std::size_t length, std::size_t readable) const;

 private:
  // Two to a cache line.
  struct Slot {
    // The word's first sixteen bytes; for a longer word, the first eight and
    // where its bytes are, so that they are one miss away, not two.
    WordHead head = {0, 0};
    std::uint32_t tag = 0;  // 0: free
    std::uint32_t index = 0;  // of its entry
    std::uint64_t count = 0;
  };
  // In order of first appearance, as their bytes.
  struct Entry {
    std::uint64_t offset;  // of its bytes, which end where the next's begin
    std::uint64_t first;
  };
  struct Partition {
    // In zero-filled memory (a free slot is all zeros): a new table needs no
    // pass of its own to clear it.
    ZeroedMemory slot_memory;
    std::span<Slot> slots;
    std::vector<Entry, LargeBlockAllocator<Entry>> entries;
    // The words' bytes, and sixteen more that any word's last eight bytes
    // may be read with; zero-filled memory, so that the room not yet used
    // is not touched.
    ZeroedMemory byte_memory;
    std::span<char> bytes;
    std::size_t used = 0;  // of bytes
    std::uint32_t first_number = 0;  // set by number_words
    std::size_t words = 0;  // distinct words, kept past forget_lookups

    std::size_t length(std::size_t index) const {
      const std::size_t end = index + 1 < entries.size() ? entries[index + 1].offset : used;
      return end - entries[index].offset;
    }
    // The tag's 24 bits of hash place a word in a table of up to 2^24
    // slots; a larger one takes more bits from the word's first bytes.
    static constexpr std::size_t kTagSlots = std::size_t{1} << 24;
    std::size_t first_slot(std::uint32_t tag, std::uint64_t head0) const {
      // A branch that is always taken the same way: a smaller table does
      // not wait for the word's bytes to be read.
      if (slots.size() <= kTagSlots) return (tag >> 8) & (slots.size() - 1);
      const std::uint64_t more = mix_bits(head0) >> 40 << 24;
      return static_cast<std::size_t>(more | (tag >> 8)) & (slots.size() - 1);
    }
    bool holds(const Slot& slot, const WordHead& head, std::uint32_t tag, const char* word,
               std::size_t length) const;
    // The slot of the word: its own, or the free slot where it belongs.
    std::size_t slot_of(const WordHead& head, std::uint32_t tag, const char* word,
                        std::size_t length) const;
    // Counts the word once; a new one first appears at `position`. Returns
    // its slot.
    std::size_t count(const WordHead& head, std::uint32_t tag, const char* word,
                      std::size_t length, std::uint64_t position);
    // Where a word would be looked at ahead of its count: its slot, and
    // the bytes of a long word that seems to be there.
    void fetch_slot(std::uint32_t tag, std::uint64_t head0) const;
    void fetch_bytes(std::uint32_t tag, std::uint64_t head0) const;
    void make_slots(std::size_t count);
    void grow();
  };

  static constexpr std::size_t kEntryAhead = 16;

  std::vector<Partition> partitions_;
};

}  // namespace quirlex
