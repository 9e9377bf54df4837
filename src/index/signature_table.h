// A hash table from a signature to one value. A later store under an equal
// key replaces the earlier value; keys compare as doubles, so 0.0 and -0.0 are
// one key and a NaN finds nothing. The caller sizes the table once for the
// number of keys it is about to store (size_for), so it never rehashes while
// it is filled the intended way.
//
// The slots live in one flat array (base/open_table.h): the table stores
// tens of millions of variant codes, and a flat array of 12-byte slots is
// both the smallest and the fastest layout for that. A key's home slot comes
// from a mix of all 64 bits of the key rather than from its integer part:
// real signatures share integer parts often (a third of a deep word list's
// keys do), which crowds slots together and costs twice the time to fill
// the table. Values lie in zeroed memory: zero bytes must be their default.
// index/parallel_fill.h fills a table on two threads at once.
#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <deque>
#include <type_traits>
#include <utility>

#include "base/failure.h"
#include "base/limits.h"
#include "base/open_table.h"

namespace quirlex {

template <typename Value>
class ParallelFill;

template <typename Value>
class SignatureTable {
  static_assert(std::is_trivially_copyable_v<Value>, "values lie in zeroed memory");

 public:
  static constexpr std::uint32_t kInitialBucketCount = 17;
  // Bucket counts from 2^30 on are refused as out of memory.
  static constexpr std::uint64_t kBucketCountLimit = std::uint64_t{1} << 30;

  // The bucket count for `keys` keys: 1.2 times as many.
  static std::uint64_t bucket_count_for(std::uint64_t keys) {
    return static_cast<std::uint64_t>(static_cast<double>(keys) * 1.2);
  }

  SignatureTable() = default;
  SignatureTable(const SignatureTable&) = delete;
  SignatureTable& operator=(const SignatureTable&) = delete;
  // A moved-from table is empty: its slots must not be the storage that
  // moved on.
  SignatureTable(SignatureTable&& other) noexcept { take_from(other); }
  SignatureTable& operator=(SignatureTable&& other) noexcept {
    if (this != &other) take_from(other);
    return *this;
  }

  std::uint32_t bucket_count() const { return bucket_count_; }
  std::int32_t entry_count() const { return entry_count_; }

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
      slots_.release();
      return;
    }
    rebuild(std::max<std::uint64_t>(n, 1));
  }

  // Sizes the empty table for `keys` keys about to be stored.
  void size_for(std::uint64_t keys) { set_bucket_count(bucket_count_for(keys)); }

  // Releases every entry; the bucket count stays.
  void make_empty() {
    slots_.release();
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
    make_slots();
    const std::uint64_t bits = stored_bits(key);
    for (;;) {
      Slot& s = slots_.slot_of(bits);
      if (s.used()) return s.value;
      if (slots_.used() + 1 <= max_load()) {
        count_new_entry();
        slots_.filled();
        s.set_bits(bits);
        return s.value;
      }
      rebuild(slots_.capacity() * 2);
    }
  }

  // The value under `key`, or nullptr when the key is absent.
  const Value* find(double key) const {
    if (std::isnan(key)) return nullptr;
    const Slot* s = slots_.find(stored_bits(key));
    return s != nullptr ? &s->value : nullptr;
  }

  // Starts loading the slot `key` would occupy, ahead of a store or look-up.
  [[gnu::always_inline]] void prefetch(double key) const { slots_.prefetch(stored_bits(key)); }

 private:
  friend class ParallelFill<Value>;

  // The key's bits, stored exclusive-or a NaN pattern that no stored key can
  // have (NaN keys are never stored in slots), so that all-zero bits mark a
  // free slot and zeroed memory is an empty table.
  static constexpr std::uint64_t kFreeSlotPattern = 0x7FF0DEAD00000001ULL;

  struct Slot {
    std::uint32_t low;
    std::uint32_t high;
    Value value;

    std::uint64_t key() const { return (std::uint64_t{high} << 32) | low; }
    bool used() const { return key() != 0; }
    void set_bits(std::uint64_t bits) {
      low = static_cast<std::uint32_t>(bits);
      high = static_cast<std::uint32_t>(bits >> 32);
    }
  };

  static std::uint64_t stored_bits(double key) {
    if (key == 0.0) key = 0.0;  // -0.0 and 0.0 are one key
    return std::bit_cast<std::uint64_t>(key) ^ kFreeSlotPattern;
  }

  // At least one slot always stays free: a probe for an absent key ends only
  // at a free slot, so a full array would make every miss loop forever.
  std::uint64_t max_load() const {
    const std::uint64_t capacity = slots_.capacity();
    return capacity - std::max<std::uint64_t>(capacity / 10, 1);
  }

  void count_new_entry() {
    if (entry_count_ == kCountLimit) throw OutOfMemory();
    ++entry_count_;
  }

  // The slots of a table that has none yet, for its bucket count.
  void make_slots() {
    if (slots_.capacity() == 0) rebuild(bucket_count_ != 0 ? bucket_count_ : kInitialBucketCount);
  }

  void take_from(SignatureTable& other) noexcept {
    bucket_count_ = std::exchange(other.bucket_count_, kInitialBucketCount);
    entry_count_ = std::exchange(other.entry_count_, 0);
    slots_ = std::move(other.slots_);
    unfindable_ = std::move(other.unfindable_);
    other.unfindable_.clear();
  }

  // Moves every entry into a new slot array of at least `capacity` slots.
  void rebuild(std::uint64_t capacity) {
    const std::uint64_t used = slots_.used();
    capacity = std::max(capacity, used + used / 8 + 1);
    try {
      failing_as_out_of_memory([&] { slots_.rebuild(capacity); });
    } catch (const OutOfMemory&) {
      make_empty();
      throw;
    }
  }

  std::uint32_t bucket_count_ = kInitialBucketCount;
  std::int32_t entry_count_ = 0;
  OpenTable<Slot> slots_;
  // Entries stored under NaN: counted, never found.
  std::deque<Value> unfindable_;
};

}  // namespace quirlex
