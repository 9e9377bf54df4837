// The distinct words of a corpus, each once with its count and the corpus
// position of its first appearance. A real corpus has hundreds of thousands
// of distinct words: in one table every look-up of a rare word would be a
// cache miss. So the words are kept in partitions by hash, each with its own
// table, entries and bytes, small enough to stay in a core's cache while a
// batch of its words' occurrences is counted.
//
// Callers count each partition's occurrences in text order (the first
// appearance of a word is the first one counted). Different partitions may
// be counted on different threads at once; nothing else may run meanwhile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "lexicon/corpus_words.h"

namespace quirlex {

class DistinctWords {
 public:
  static constexpr unsigned kPartitionBits = 8;
  static constexpr std::size_t kPartitions = std::size_t{1} << kPartitionBits;

  // One appearance of a word in a stretch of folded text, recorded for its
  // partition before it is counted there.
  struct Occurrence {
    std::uint64_t head;    // the word's first eight bytes (WordKey::head)
    std::uint32_t tag;     // tag_of its key and length
    std::uint32_t offset;  // where it begins in the stretch
  };

  static std::size_t partition_of(const WordKey& key) {
    return static_cast<std::size_t>(key.hash >> (64 - kPartitionBits));
  }
  // Bits of the hash that the partition does not fix, and the length up to
  // 255 in the low byte; never 0, as words are never empty.
  static std::uint32_t tag_of(const WordKey& key, std::size_t length) {
    return (static_cast<std::uint32_t>(key.hash) & ~std::uint32_t{0xFF}) |
           static_cast<std::uint32_t>(std::min<std::size_t>(length, 255));
  }

  DistinctWords();

  // Counts, in order, `occurrences` of words of `partition` found in the
  // `size` bytes at `text` (folded), which begin at corpus position
  // `position`. Each word ends before the stretch's end.
  void count(std::size_t partition, std::span<const Occurrence> occurrences, const char* text,
             std::size_t size, std::uint64_t position);

  // Counts one word of `length` bytes at `word`, of which (and after which)
  // `readable` bytes may be read, first appearing at `position`.
  void count_one(const char* word, std::size_t length, std::size_t readable,
                 std::uint64_t position);

  // The number of distinct words counted so far.
  std::size_t size() const;

  // After counting: gives each word its handle, a number below size() that
  // stays the word's own until more words are counted. Needed by find.
  void number_words();

  struct Word {
    std::string_view bytes;
    std::uint64_t count;
    std::uint64_t first;  // corpus position of its first appearance
  };
  // Calls `visit(handle, word)` for every word, in order of handles.
  template <typename Visit>
  void for_each(const Visit& visit) const {
    for (const Partition& p : partitions_) {
      std::size_t handle = p.handle_base;
      for (const Entry& e : p.entries) {
        visit(handle++, Word{std::string_view(p.bytes.data() + e.offset, e.length), e.count,
                             e.first});
      }
    }
  }

  // The handle of the word of `length` bytes at `word` (`readable` bytes
  // from there may be read), or -1 when it was never counted.
  std::int64_t find(const char* word, std::size_t length, std::size_t readable) const;

 private:
  struct Slot {
    std::uint64_t head = 0;
    std::uint32_t tag = 0;  // 0: free
    std::uint32_t index = 0;
  };
  struct Entry {
    std::uint64_t offset;  // of its bytes
    std::uint64_t length;
    std::uint64_t count;
    std::uint64_t first;
  };
  struct Partition {
    std::vector<Slot> slots;
    std::vector<Entry> entries;
    std::vector<char> bytes;
    std::size_t handle_base = 0;  // set by number_words

    // The slot of the word: its own, or the free slot where it belongs.
    const Slot& slot_of(std::uint64_t head, std::uint32_t tag, const char* word,
                        std::size_t length) const;
    // Counts the word once; a new one first appears at `position`.
    void count(std::uint64_t head, std::uint32_t tag, const char* word, std::size_t length,
               std::uint64_t position);
    void grow();
  };

  std::vector<Partition> partitions_;
};

}  // namespace quirlex
