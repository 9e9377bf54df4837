#include "lexicon/distinct_words.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#include "base/failure.h"
#include "text/tokenizer.h"

namespace quirlex {
namespace {

// Slots a partition starts with; its table doubles once it is 75 % full.
constexpr std::size_t kFirstSlots = 1024;
// Room for words' bytes a partition starts with; it doubles when full.
constexpr std::size_t kFirstBytes = 4096;
// The bytes a distinct word takes on average, about (they are upper-cased
// words of four bytes or more, long rare ones among them).
constexpr std::size_t kExpectedWordBytes = 12;
// How many occurrences ahead a slot is fetched, and the bytes of a long
// word: enough misses under way to hide most of their wait.
constexpr std::size_t kSlotAhead = 16;
constexpr std::size_t kBytesAhead = 8;

constexpr std::size_t length_in(std::uint32_t tag) {
  return tag & 0xFF;
}

}  // namespace

DistinctWords::DistinctWords() : partitions_(kPartitions) {
  for (Partition& p : partitions_) {
    p.make_slots(kFirstSlots);
    p.byte_memory = ZeroedMemory(kFirstBytes);
    p.bytes = {static_cast<char*>(p.byte_memory.data()), kFirstBytes};
  }
}

void DistinctWords::expect_words(std::size_t words) {
  const std::size_t share = words / kPartitions;
  // Three quarters of the slots in use at the most, as count keeps them.
  const std::size_t slots = std::bit_ceil(std::max(share + share / 3 + 1, kFirstSlots));
  // Room for twice the bytes and entries expected: memory never written
  // costs only its addresses, while growing copies everything into fresh
  // memory.
  const std::size_t bytes = std::max(2 * share * kExpectedWordBytes, kFirstBytes);
  for (Partition& p : partitions_) {
    if (!p.entries.empty()) continue;
    if (slots > p.slots.size()) p.make_slots(slots);
    p.entries.reserve(2 * share);
    if (bytes > p.bytes.size()) {
      p.byte_memory = ZeroedMemory(bytes);
      p.bytes = {static_cast<char*>(p.byte_memory.data()), bytes};
    }
  }
}

bool DistinctWords::Partition::holds(const Slot& slot, const WordHead& head, std::uint32_t tag,
                                     const char* word, std::size_t length) const {
  // Equal tags mean equal lengths below 255, and up to sixteen bytes the
  // heads hold the whole words.
  if (slot.tag != tag || slot.head[0] != head[0]) return false;
  if (length <= 16) return slot.head[1] == head[1];
  if (length >= 255 && this->length(slot.index) != length) return false;
  return std::memcmp(bytes.data() + slot.head[1] + 8, word + 8, length - 8) == 0;
}

std::size_t DistinctWords::Partition::slot_of(const WordHead& head, std::uint32_t tag,
                                              const char* word, std::size_t length) const {
  const std::size_t mask = slots.size() - 1;
  std::size_t at = first_slot(tag, head[0]);
  while (slots[at].tag != 0 && !holds(slots[at], head, tag, word, length)) at = (at + 1) & mask;
  return at;
}

std::size_t DistinctWords::Partition::count(const WordHead& head, std::uint32_t tag,
                                            const char* word, std::size_t length,
                                            std::uint64_t position) {
  std::size_t at = slot_of(head, tag, word, length);
  if (slots[at].tag != 0) {
    ++slots[at].count;
    return at;
  }
  if ((entries.size() + 1) * 4 > slots.size() * 3) {
    grow();
    at = slot_of(head, tag, word, length);
  }
  const std::uint64_t offset = used;
  if (bytes.size() < used + length + 16) {
    const std::size_t room = std::max(bytes.size() * 2, used + length + 16);
    ZeroedMemory more(room);
    std::memcpy(more.data(), bytes.data(), used);
    byte_memory = std::move(more);
    bytes = {static_cast<char*>(byte_memory.data()), room};
  }
  // A short word's bytes are its head; copied whole, the zeros past its
  // end land where the next word goes.
  if (length <= 16) {
    std::memcpy(bytes.data() + used, head.data(), 16);
  } else {
    std::memcpy(bytes.data() + used, word, length);
  }
  used += length;
  slots[at] = {length <= 16 ? head : WordHead{head[0], offset}, tag,
               static_cast<std::uint32_t>(entries.size()), 1};
  entries.push_back({offset, position});
  words = entries.size();
  return at;
}

void DistinctWords::Partition::fetch_slot(std::uint32_t tag, std::uint64_t head0) const {
  __builtin_prefetch(&slots[first_slot(tag, head0)]);
}

void DistinctWords::Partition::fetch_bytes(std::uint32_t tag, std::uint64_t head0) const {
  const Slot& slot = slots[first_slot(tag, head0)];
  if (slot.tag == tag) __builtin_prefetch(bytes.data() + slot.head[1] + 8);
}

void DistinctWords::Partition::make_slots(std::size_t count) {
  slot_memory = ZeroedMemory(count * sizeof(Slot));
  slots = {static_cast<Slot*>(slot_memory.data()), count};
}

void DistinctWords::Partition::grow() {
  const ZeroedMemory old_memory = std::move(slot_memory);
  const std::span<const Slot> old = slots;
  make_slots(old.size() * 2);
  const std::size_t mask = slots.size() - 1;
  // Each word goes somewhere else in a table larger than the caches: where
  // the words further on go is fetched now.
  for (std::size_t i = 0; i < old.size(); ++i) {
    if (i + kSlotAhead < old.size() && old[i + kSlotAhead].tag != 0) {
      __builtin_prefetch(&slots[first_slot(old[i + kSlotAhead].tag, old[i + kSlotAhead].head[0])], 1);
    }
    const Slot& slot = old[i];
    if (slot.tag == 0) continue;
    std::size_t at = first_slot(slot.tag, slot.head[0]);
    while (slots[at].tag != 0) at = (at + 1) & mask;
    slots[at] = slot;
  }
}

void DistinctWords::count(std::size_t partition, std::span<const Occurrence> occurrences,
                          const char* text, std::size_t size, std::uint64_t position) {
  Partition& p = partitions_[partition];
  // The first eight bytes of a word, which only a table past kTagSlots
  // needs to place it.
  const auto head0 = [&](const Occurrence& o) -> std::uint64_t {
    if (p.slots.size() <= Partition::kTagSlots) return 0;
    return load_bytes(text + o.offset, length_in(o.tag), size - o.offset);
  };
  const std::size_t n = occurrences.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i + kSlotAhead < n) {
      const Occurrence& ahead = occurrences[i + kSlotAhead];
      __builtin_prefetch(text + ahead.offset);
      p.fetch_slot(ahead.tag, head0(ahead));
    }
    if (i + kBytesAhead < n && length_in(occurrences[i + kBytesAhead].tag) > 16) {
      p.fetch_bytes(occurrences[i + kBytesAhead].tag, head0(occurrences[i + kBytesAhead]));
    }
    const Occurrence& o = occurrences[i];
    const char* const word = text + o.offset;
    std::size_t length = length_in(o.tag);
    if (length == 255) {
      while (o.offset + length < size && !is_separator_byte(word[length])) ++length;
    }
    WordHead head;
    load_head(word, length, size - o.offset, head);
    p.count(head, o.tag, word, length, position + o.offset);
  }
}

void DistinctWords::count_one(const char* word, std::size_t length, std::size_t readable,
                              std::uint64_t position) {
  const WordKey key = key_of(word, length, readable);
  partitions_[partition_of(key)].count(key.head, tag_of(key, length), word, length, position);
}

void DistinctWords::count_times(std::size_t partition, std::span<const Counted> words,
                                const char* text, std::size_t size, std::uint64_t position) {
  // Nearly every word of a count file is another distinct word, its slot a
  // cache miss: slots are fetched ahead, as count does.
  Partition& p = partitions_[partition];
  const auto head0 = [&](const Counted& w) -> std::uint64_t {
    if (p.slots.size() <= Partition::kTagSlots) return 0;
    return load_bytes(text + w.offset, w.length, size - w.offset);
  };
  const std::size_t n = words.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i + kSlotAhead < n) p.fetch_slot(words[i + kSlotAhead].tag, head0(words[i + kSlotAhead]));
    if (i + kBytesAhead < n && words[i + kBytesAhead].length > 16) {
      p.fetch_bytes(words[i + kBytesAhead].tag, head0(words[i + kBytesAhead]));
    }
    const Counted& w = words[i];
    const char* const word = text + w.offset;
    WordHead head;
    load_head(word, w.length, size - w.offset, head);
    Slot& slot = p.slots[p.count(head, w.tag, word, w.length, position + w.offset)];
    // Counted once already.
    if (slot.count - 1 > ~std::uint64_t{0} - w.times) {
      throw LimitExceeded("A word is counted more than " + std::to_string(~std::uint64_t{0}) +
                          " times.");
    }
    slot.count += w.times - 1;
  }
}

void DistinctWords::forget_lookups() {
  for (Partition& p : partitions_) {
    p.slot_memory = ZeroedMemory();
    p.slots = {};
    decltype(p.entries)().swap(p.entries);
  }
}

std::vector<DistinctWords::Known> DistinctWords::most_frequent(std::size_t partition,
                                                              std::size_t n) const {
  std::vector<Known> known;
  for (const Slot& slot : partitions_[partition].slots) {
    if (slot.tag != 0 && slot.count > 1 && length_in(slot.tag) <= 16) {
      known.push_back({slot.head, slot.tag, slot.count});
    }
  }
  if (known.size() > n) {
    std::nth_element(known.begin(), known.begin() + static_cast<std::ptrdiff_t>(n), known.end(),
                     [](const Known& a, const Known& b) { return a.count > b.count; });
    known.resize(n);
  }
  return known;
}

void DistinctWords::add(std::size_t partition, const WordHead& head, std::uint32_t tag,
                        std::uint64_t times) {
  Partition& p = partitions_[partition];
  // Up to sixteen bytes the head is the word: its bytes are not read.
  p.slots[p.slot_of(head, tag, nullptr, length_in(tag))].count += times;
}

std::int64_t DistinctWords::find(const char* word, std::size_t length,
                                 std::size_t readable) const {
  const WordKey key = key_of(word, length, readable);
  const Partition& p = partitions_[partition_of(key)];
  const Slot& slot = p.slots[p.slot_of(key.head, tag_of(key, length), word, length)];
  return slot.tag == 0 ? -1 : static_cast<std::int64_t>(p.first_number + slot.index);
}

}  // namespace quirlex
