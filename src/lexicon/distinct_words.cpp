#include "lexicon/distinct_words.h"

#include <algorithm>
#include <cstring>

#include "text/tokenizer.h"

namespace quirlex {
namespace {

// Slots a partition starts with; its table doubles once it is 70 % full.
constexpr std::size_t kFirstSlots = 64;

}  // namespace

DistinctWords::DistinctWords() : partitions_(kPartitions) {
  for (Partition& p : partitions_) p.slots.resize(kFirstSlots);
}

const DistinctWords::Slot& DistinctWords::Partition::slot_of(std::uint64_t head,
                                                             std::uint32_t tag, const char* word,
                                                             std::size_t length) const {
  const std::size_t mask = slots.size() - 1;
  for (std::size_t at = (tag >> 8) & mask;; at = (at + 1) & mask) {
    const Slot& slot = slots[at];
    if (slot.tag == 0) return slot;
    // Equal tags mean equal lengths below 255, and up to eight bytes the
    // heads hold the whole words; only longer ones need their bytes.
    if (slot.tag == tag && slot.head == head) {
      if (length <= 8) return slot;
      const Entry& entry = entries[slot.index];
      if (entry.length == length &&
          std::memcmp(bytes.data() + entry.offset + 8, word + 8, length - 8) == 0) {
        return slot;
      }
    }
  }
}

void DistinctWords::Partition::count(std::uint64_t head, std::uint32_t tag, const char* word,
                                     std::size_t length, std::uint64_t position) {
  const Slot* slot = &slot_of(head, tag, word, length);
  if (slot->tag != 0) {
    ++entries[slot->index].count;
    return;
  }
  if ((entries.size() + 1) * 10 > slots.size() * 7) {
    grow();
    slot = &slot_of(head, tag, word, length);
  }
  Slot& free_slot = slots[static_cast<std::size_t>(slot - slots.data())];
  free_slot = {head, tag, static_cast<std::uint32_t>(entries.size())};
  entries.push_back({bytes.size(), length, 1, position});
  bytes.insert(bytes.end(), word, word + length);
}

void DistinctWords::Partition::grow() {
  std::vector<Slot> old(slots.size() * 2);
  old.swap(slots);
  const std::size_t mask = slots.size() - 1;
  for (const Slot& slot : old) {
    if (slot.tag == 0) continue;
    std::size_t at = (slot.tag >> 8) & mask;
    while (slots[at].tag != 0) at = (at + 1) & mask;
    slots[at] = slot;
  }
}

void DistinctWords::count(std::size_t partition, std::span<const Occurrence> occurrences,
                          const char* text, std::size_t size, std::uint64_t position) {
  Partition& p = partitions_[partition];
  for (const Occurrence& o : occurrences) {
    std::size_t length = o.tag & 0xFF;
    if (length == 255) {
      while (o.offset + length < size && !is_separator_byte(text[o.offset + length])) ++length;
    }
    p.count(o.head, o.tag, text + o.offset, length, position + o.offset);
  }
}

void DistinctWords::count_one(const char* word, std::size_t length, std::size_t readable,
                              std::uint64_t position) {
  const WordKey key = key_of(word, length, readable);
  partitions_[partition_of(key)].count(key.head, tag_of(key, length), word, length, position);
}

std::size_t DistinctWords::size() const {
  std::size_t total = 0;
  for (const Partition& p : partitions_) total += p.entries.size();
  return total;
}

void DistinctWords::number_words() {
  std::size_t base = 0;
  for (Partition& p : partitions_) {
    p.handle_base = base;
    base += p.entries.size();
  }
}

std::int64_t DistinctWords::find(const char* word, std::size_t length,
                                 std::size_t readable) const {
  const WordKey key = key_of(word, length, readable);
  const Partition& p = partitions_[partition_of(key)];
  const Slot& slot = p.slot_of(key.head, tag_of(key, length), word, length);
  return slot.tag == 0 ? -1 : static_cast<std::int64_t>(p.handle_base + slot.index);
}

}  // namespace quirlex
