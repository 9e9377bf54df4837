// A hash table from a signature to one value. A later store under an equal
// key replaces the earlier value; keys compare as doubles, so 0.0 and -0.0 are
// one key and a NaN finds nothing. The caller sizes the table once to 1.2
// times the number of keys it is about to store, so it never rehashes while
// it is filled the intended way.
//
// The slots live in one flat array (open addressing with linear probing):
// the table stores tens of millions of variant codes, and a flat array of
// 12-byte slots is both the smallest and the fastest layout for that. A key's
// home slot comes from a mix of all 64 bits of the key rather than from its
// integer part: real signatures share integer parts often (a third of a deep
// word list's keys do), which crowds slots together and costs twice the time
// to fill the table.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <deque>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "base/failure.h"
#include "base/helper_thread.h"
#include "base/zeroed_memory.h"

namespace quirlex {

template <typename Value>
class SignatureTable {
 public:
  static constexpr std::uint32_t kInitialBucketCount = 17;
  // Bucket counts from 2^30 on are refused as out of memory.
  static constexpr std::uint64_t kBucketCountLimit = std::uint64_t{1} << 30;

  SignatureTable() = default;
  SignatureTable(const SignatureTable&) = delete;
  SignatureTable& operator=(const SignatureTable&) = delete;
  // A moved-from table is empty: its slot pointer must not keep pointing
  // into the storage that moved on.
  SignatureTable(SignatureTable&& other) noexcept { take_from(other); }
  SignatureTable& operator=(SignatureTable&& other) noexcept {
    if (this != &other) take_from(other);
    return *this;
  }

  std::uint32_t bucket_count() const { return bucket_count_; }
  std::int32_t entry_count() const { return entry_count_; }
  bool has_buckets() const { return capacity_ != 0; }

  // Allocates room for `n` buckets; the table should be empty. A count of
  // 2^30 or more, or storage that cannot be had, is an out-of-memory failure
  // that leaves the table empty and without buckets.
  void set_bucket_count(std::uint64_t n) {
    if (n >= kBucketCountLimit) {
      make_empty();
      throw OutOfMemory();
    }
    bucket_count_ = static_cast<std::uint32_t>(n);
    if (n == 0 && entry_count_ == 0) {
      release_slots();
      return;
    }
    rebuild(std::max<std::uint64_t>(n, 1));
  }

  // Releases every entry; the bucket count stays.
  void make_empty() {
    release_slots();
    unfindable_.clear();
    entry_count_ = 0;
  }

  // Writable access to the value under `key`; a key not yet present gets a
  // new entry holding the default value first.
  Value& value_for(double key) {
    if (std::isnan(key)) {
      // A NaN equals no key, so every store under it is a new entry that no
      // look-up will ever find.
      count_new_entry();
      return unfindable_.emplace_back();
    }
    if (capacity_ == 0) rebuild(bucket_count_ != 0 ? bucket_count_ : kInitialBucketCount);
    const std::uint64_t bits = stored_bits(key);
    for (;;) {
      std::uint64_t slot = home_slot(key);
      for (;;) {
        Slot& s = slots_[slot];
        if (s.bits() == bits) return s.value;
        if (s.bits() == 0) break;
        if (++slot == capacity_) slot = 0;
      }
      if (used_slots_ + 1 <= max_load()) {
        count_new_entry();
        ++used_slots_;
        Slot& s = slots_[slot];
        s.set_bits(bits);
        return s.value;
      }
      rebuild(capacity_ * 2);
    }
  }

  // The value under `key`, or nullptr when the key is absent.
  const Value* find(double key) const {
    if (capacity_ == 0 || std::isnan(key)) return nullptr;
    const std::uint64_t bits = stored_bits(key);
    std::uint64_t slot = home_slot(key);
    for (;;) {
      const Slot& s = slots_[slot];
      if (s.bits() == bits) return &s.value;
      if (s.bits() == 0) return nullptr;
      if (++slot == capacity_) slot = 0;
    }
  }

  // Copies the value under `key` to `out` and returns true if the key is
  // present; otherwise returns false and leaves `out` unchanged.
  bool look_up(double key, Value& out) const {
    const Value* found = find(key);
    if (found == nullptr) return false;
    out = *found;
    return true;
  }

  // Stores, in the order `generate` gives them, every key and value it
  // passes to the store it is called with, as value_for would one after the
  // other; the table should be sized for them first. With `parts` of 2 the
  // slots are split in two halves filled at once, on two threads: each runs
  // generate(store, part) and stores only the keys whose home slot lies in
  // its half, so every key stays with one thread and its stores keep their
  // order. `generate` must give the same keys each time and be safe to run
  // twice at once; it returns false to stop, and then so does this, with the
  // table as it stands. Stores are pipelined: each is made a few stores after
  // its slot was requested from memory, so that the misses of a table far
  // larger than any cache overlap.
  template <typename Generate>
  bool store_all(int parts, const Generate& generate) {
    if (capacity_ == 0) rebuild(bucket_count_ != 0 ? bucket_count_ : kInitialBucketCount);
    parts = parts >= 2 && capacity_ >= 2 ? 2 : 1;
    // Together the parts stay within the load the table allows.
    const std::uint64_t room = (max_load() - used_slots_) / static_cast<std::uint64_t>(parts);
    std::array<PartFill, 2> fills{PartFill(*this, 0, parts == 2 ? capacity_ / 2 : capacity_, room),
                                  PartFill(*this, capacity_ / 2, capacity_, room)};
    std::array<bool, 2> completed{true, true};
    const auto run = [&](int part) {
      PartFill& fill = fills[static_cast<std::size_t>(part)];
      completed[static_cast<std::size_t>(part)] =
          generate([&fill](double key, const Value& value) { fill.store(key, value); }, part);
      fill.flush();
    };
    if (parts == 2) {
      run_both([&] { run(0); }, [&] { run(1); });
    } else {
      run(0);
    }
    for (int part = 0; part < parts; ++part) {
      const PartFill& fill = fills[static_cast<std::size_t>(part)];
      used_slots_ += fill.added();
      entry_count_ += static_cast<std::int32_t>(fill.added());
    }
    if (!completed[0] || !completed[1]) return false;
    // What a part could not store within its half, in the order it came.
    for (int part = 0; part < parts; ++part) {
      for (const auto& [key, value] : fills[static_cast<std::size_t>(part)].deferred()) {
        value_for(key) = value;
      }
    }
    return true;
  }

  // Starts loading the slot `key` would occupy, ahead of a store or look-up.
  // Always inlined: as a call of its own the compiler finds it has no effect
  // and removes it.
  [[gnu::always_inline]] void prefetch(double key) const {
    if (capacity_ != 0) __builtin_prefetch(&slots_[home_slot(key)], 1);
  }

 private:
  // The key's bits, stored exclusive-or a NaN pattern that no stored key can
  // have (NaN keys are never stored in slots), so that all-zero bits mark a
  // free slot and zeroed memory is an empty table.
  static constexpr std::uint64_t kFreeSlotPattern = 0x7FF0DEAD00000001ULL;

  struct Slot {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    Value value{};

    std::uint64_t bits() const { return (std::uint64_t{high} << 32) | low; }
    void set_bits(std::uint64_t bits) {
      low = static_cast<std::uint32_t>(bits);
      high = static_cast<std::uint32_t>(bits >> 32);
    }
  };

  // One part of store_all: the slots [begin, end) and what was stored there.
  // A key whose probe would leave the part, or come after the part's room
  // is used up, is kept back (and every later store of that key with it,
  // since its probe meets the same full or kept slots again).
  class PartFill {
   public:
    PartFill(SignatureTable& table, std::uint64_t begin, std::uint64_t end, std::uint64_t room)
        : table_(table), begin_(begin), end_(end), room_(room) {}

    void store(double key, const Value& value) {
      if (std::isnan(key)) {
        // NaN keys are no slot's: the first part takes them, in order.
        if (begin_ == 0) deferred_.emplace_back(key, value);
        return;
      }
      const std::uint64_t home = table_.home_slot(key);
      if (home < begin_ || home >= end_) return;
      __builtin_prefetch(&table_.slots_[home], 1);
      if (count_ == kDistance) store_now(window_[head_]);
      else ++count_;
      window_[head_] = {key, home, value};
      head_ = (head_ + 1) % kDistance;
    }

    // Stores what is still in flight, oldest first.
    void flush() {
      std::size_t at = (head_ + kDistance - count_) % kDistance;
      for (; count_ > 0; --count_) {
        store_now(window_[at]);
        at = (at + 1) % kDistance;
      }
      head_ = 0;
    }

    std::uint64_t added() const { return added_; }
    const std::vector<std::pair<double, Value>>& deferred() const { return deferred_; }

   private:
    struct Pending {
      double key = 0.0;
      std::uint64_t home = 0;
      Value value{};
    };
    static constexpr std::size_t kDistance = 16;

    void store_now(const Pending& pending) {
      const std::uint64_t bits = stored_bits(pending.key);
      for (std::uint64_t slot = pending.home; slot < end_; ++slot) {
        Slot& s = table_.slots_[slot];
        if (s.bits() == bits) {
          s.value = pending.value;
          return;
        }
        if (s.bits() == 0) {
          if (added_ == room_) break;
          s.set_bits(bits);
          s.value = pending.value;
          ++added_;
          return;
        }
      }
      deferred_.emplace_back(pending.key, pending.value);
    }

    SignatureTable& table_;
    const std::uint64_t begin_;
    const std::uint64_t end_;
    const std::uint64_t room_;
    std::uint64_t added_ = 0;
    std::array<Pending, kDistance> window_{};
    std::size_t head_ = 0;
    std::size_t count_ = 0;
    std::vector<std::pair<double, Value>> deferred_;
  };

  // Trivial values (variant codes) sit in zeroed memory, where all-zero slots
  // are free slots; others are constructed in place.
  static constexpr bool kZeroedStorage =
      std::is_trivially_copyable_v<Value> && std::is_trivially_destructible_v<Value>;

  static std::uint64_t stored_bits(double key) {
    if (key == 0.0) key = 0.0;  // -0.0 and 0.0 are one key
    return std::bit_cast<std::uint64_t>(key) ^ kFreeSlotPattern;
  }

  static std::uint64_t mix(std::uint64_t x) {
    x ^= x >> 33;
    x *= 0xFF51AFD7ED558CCDULL;
    x ^= x >> 33;
    x *= 0xC4CEB9FE1A85EC53ULL;
    x ^= x >> 33;
    return x;
  }

  // The capacity stays below 2^32, so the top 32 bits of the mix scaled by
  // the capacity reach every slot evenly.
  std::uint64_t home_slot(double key) const {
    return ((mix(stored_bits(key)) >> 32) * capacity_) >> 32;
  }

  // At least one slot always stays free: a probe for an absent key ends only
  // at a free slot, so a full array would make every miss loop forever.
  std::uint64_t max_load() const { return capacity_ - std::max<std::uint64_t>(capacity_ / 10, 1); }

  void count_new_entry() {
    if (entry_count_ == INT32_MAX) throw OutOfMemory();
    ++entry_count_;
  }

  void release_slots() {
    zeroed_slots_ = ZeroedMemory();
    constructed_slots_ = std::vector<Slot>();
    slots_ = nullptr;
    capacity_ = 0;
    used_slots_ = 0;
  }

  void take_from(SignatureTable& other) noexcept {
    bucket_count_ = std::exchange(other.bucket_count_, kInitialBucketCount);
    entry_count_ = std::exchange(other.entry_count_, 0);
    slots_ = std::exchange(other.slots_, nullptr);
    capacity_ = std::exchange(other.capacity_, 0);
    used_slots_ = std::exchange(other.used_slots_, 0);
    zeroed_slots_ = std::move(other.zeroed_slots_);
    constructed_slots_ = std::move(other.constructed_slots_);
    unfindable_ = std::move(other.unfindable_);
    other.zeroed_slots_ = ZeroedMemory();
    other.constructed_slots_ = std::vector<Slot>();
    other.unfindable_.clear();
  }

  // Moves every entry into a new slot array of at least `capacity` slots.
  void rebuild(std::uint64_t capacity) {
    capacity = std::max(capacity, used_slots_ + used_slots_ / 8 + 1);
    ZeroedMemory zeroed;
    std::vector<Slot> constructed;
    Slot* fresh = nullptr;
    try {
      failing_as_out_of_memory([&] {
        if constexpr (kZeroedStorage) {
          zeroed = ZeroedMemory(capacity * sizeof(Slot));
          fresh = static_cast<Slot*>(zeroed.data());
        } else {
          constructed.resize(capacity);
          fresh = constructed.data();
        }
      });
    } catch (const OutOfMemory&) {
      make_empty();
      throw;
    }
    Slot* old = slots_;
    const std::uint64_t old_capacity = capacity_;
    slots_ = fresh;
    capacity_ = capacity;
    for (std::uint64_t i = 0; i < old_capacity; ++i) {
      Slot& s = old[i];
      if (s.bits() == 0) continue;
      std::uint64_t slot = home_slot(std::bit_cast<double>(s.bits() ^ kFreeSlotPattern));
      while (fresh[slot].bits() != 0) {
        if (++slot == capacity_) slot = 0;
      }
      fresh[slot] = std::move(s);
    }
    zeroed_slots_ = std::move(zeroed);
    constructed_slots_ = std::move(constructed);
  }

  std::uint32_t bucket_count_ = kInitialBucketCount;
  std::int32_t entry_count_ = 0;
  Slot* slots_ = nullptr;
  std::uint64_t capacity_ = 0;
  std::uint64_t used_slots_ = 0;
  ZeroedMemory zeroed_slots_;
  std::vector<Slot> constructed_slots_;
  // Entries stored under NaN: counted, never found.
  std::deque<Value> unfindable_;
};

}  // namespace quirlex
