// The slots of a hash table of 64-bit keys, by open addressing with linear
// probing in one flat array: the layout of the program's tables, which
// differ only in what a slot holds besides its key. A key's home slot is the
// top 32 bits of mix_bits(key) scaled to the slot count, which may be any
// count; every slot is reached evenly while it stays below 2^32.
//
// A Slot is trivially copyable and free when all its bytes are zero, so
// that zeroed memory is an empty table; it has `bool used() const` and
// `std::uint64_t key() const` (of a used slot). The table places nothing
// itself: a caller fills the free slot that slot_of gives (and says so,
// filled), decides when to rebuild, and keeps at least one slot free, since
// a probe for an absent key ends only at a free slot.
#pragma once

#include <cstdint>
#include <span>
#include <type_traits>
#include <utility>

#include "base/hash_mix.h"
#include "base/zeroed_memory.h"

namespace quirlex {

template <typename Slot>
class OpenTable {
  static_assert(std::is_trivially_copyable_v<Slot>, "slots lie in zeroed memory");

 public:
  OpenTable() = default;
  OpenTable(const OpenTable&) = delete;
  OpenTable& operator=(const OpenTable&) = delete;
  // A moved-from table has no slots.
  OpenTable(OpenTable&& other) noexcept { take_from(other); }
  OpenTable& operator=(OpenTable&& other) noexcept {
    if (this != &other) take_from(other);
    return *this;
  }

  std::uint64_t capacity() const { return capacity_; }
  // The slots filled.
  std::uint64_t used() const { return used_; }
  void filled(std::uint64_t slots = 1) { used_ += slots; }

  std::uint64_t home_slot(std::uint64_t key) const {
    return ((mix_bits(key) >> 32) * capacity_) >> 32;
  }
  Slot& operator[](std::uint64_t slot) { return slots_[slot]; }
  std::span<const Slot> slots() const { return {slots_, capacity_}; }

  // The slot that holds `key`, or else the free slot where it belongs; the
  // table must have slots.
  Slot& slot_of(std::uint64_t key) {
    std::uint64_t slot = home_slot(key);
    while (slots_[slot].used() && slots_[slot].key() != key) {
      if (++slot == capacity_) slot = 0;
    }
    return slots_[slot];
  }

  // The slot that holds `key`, or nullptr.
  const Slot* find(std::uint64_t key) const {
    if (capacity_ == 0) return nullptr;
    std::uint64_t slot = home_slot(key);
    for (;;) {
      const Slot& s = slots_[slot];
      if (!s.used()) return nullptr;
      if (s.key() == key) return &s;
      if (++slot == capacity_) slot = 0;
    }
  }

  // Starts loading the home slot of `key`, ahead of a store or look-up.
  // Always inlined: as a call of its own the compiler finds it has no effect
  // and removes it.
  [[gnu::always_inline]] void prefetch(std::uint64_t key) const {
    if (capacity_ != 0) __builtin_prefetch(&slots_[home_slot(key)], 1);
  }

  // Moves every filled slot into a new array of `capacity` slots, more than
  // are used. Throws std::bad_alloc, leaving the table as it was, when the
  // memory cannot be had.
  void rebuild(std::uint64_t capacity) {
    ZeroedMemory memory(capacity * sizeof(Slot));
    Slot* const fresh = static_cast<Slot*>(memory.data());
    Slot* const old = slots_;
    const std::uint64_t old_capacity = capacity_;
    slots_ = fresh;
    capacity_ = capacity;
    for (std::uint64_t i = 0; i < old_capacity; ++i) {
      if (!old[i].used()) continue;
      std::uint64_t slot = home_slot(old[i].key());
      while (fresh[slot].used()) {
        if (++slot == capacity_) slot = 0;
      }
      fresh[slot] = old[i];
    }
    memory_ = std::move(memory);
  }

  // Frees every slot; the table has none until it is rebuilt.
  void release() {
    memory_ = ZeroedMemory();
    slots_ = nullptr;
    capacity_ = 0;
    used_ = 0;
  }

 private:
  void take_from(OpenTable& other) noexcept {
    memory_ = std::exchange(other.memory_, ZeroedMemory());
    slots_ = std::exchange(other.slots_, nullptr);
    capacity_ = std::exchange(other.capacity_, 0);
    used_ = std::exchange(other.used_, 0);
  }

  ZeroedMemory memory_;
  Slot* slots_ = nullptr;
  std::uint64_t capacity_ = 0;
  std::uint64_t used_ = 0;
};

}  // namespace quirlex
