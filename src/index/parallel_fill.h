// Filling a signature table with a long sequence of stores, in two halves
// at once on two threads, each store pipelined behind the fetch of its slot,
// so that the misses of a table far larger than any cache overlap. What the
// table holds afterwards is what the stores one after the other give.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "base/helper_thread.h"
#include "index/signature_table.h"

namespace quirlex {

// One part of a fill: the slots [begin, end) of the table and what was
// stored there. A key whose probe would leave the part, or come after the
// part's room is used up, is kept back (and every later store of that key
// with it, since its probe meets the same full or kept slots again).
template <typename Value>
class ParallelFill {
 public:
  using Table = SignatureTable<Value>;

  // Prepares `table` for a fill in `parts` parts (1 or 2, fewer for a tiny
  // table): gives it its slots, and returns how many parts there are.
  static int prepare(Table& table, int parts) {
    table.make_slots();
    return parts >= 2 && table.slots_.capacity() >= 2 ? 2 : 1;
  }

  // Part `part` of `parts`: its half of the slots, or all of them alone,
  // and its share of the load the table allows.
  ParallelFill(Table& table, int part, int parts)
      : table_(table),
        begin_(part == 0 ? 0 : table.slots_.capacity() / 2),
        end_(part == 0 && parts == 2 ? table.slots_.capacity() / 2 : table.slots_.capacity()),
        room_((table.max_load() - table.slots_.used()) / static_cast<std::uint64_t>(parts)) {}

  void store(double key, const Value& value) {
    if (std::isnan(key)) {
      // NaN keys are no slot's: the first part takes them, in order.
      if (begin_ == 0) deferred_.emplace_back(key, value);
      return;
    }
    const std::uint64_t home = table_.slots_.home_slot(Table::stored_bits(key));
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

  // Counts the entries this part added in the table.
  void count_added() {
    table_.slots_.filled(added_);
    table_.entry_count_ += static_cast<std::int32_t>(added_);
  }

  // Stores, in the order they came, the stores this part kept back.
  void store_deferred() {
    for (const auto& [key, value] : deferred_) table_.value_for(key) = value;
  }

 private:
  struct Pending {
    double key = 0.0;
    std::uint64_t home = 0;
    Value value{};
  };
  static constexpr std::size_t kDistance = 16;

  void store_now(const Pending& pending) {
    const std::uint64_t bits = Table::stored_bits(pending.key);
    for (std::uint64_t slot = pending.home; slot < end_; ++slot) {
      typename Table::Slot& s = table_.slots_[slot];
      if (s.key() == bits) {
        s.value = pending.value;
        return;
      }
      if (!s.used()) {
        if (added_ == room_) break;
        s.set_bits(bits);
        s.value = pending.value;
        ++added_;
        return;
      }
    }
    deferred_.emplace_back(pending.key, pending.value);
  }

  Table& table_;
  const std::uint64_t begin_;
  const std::uint64_t end_;
  const std::uint64_t room_;
  std::uint64_t added_ = 0;
  std::array<Pending, kDistance> window_{};
  std::size_t head_ = 0;
  std::size_t count_ = 0;
  std::vector<std::pair<double, Value>> deferred_;
};

// Stores, in the order `generate` gives them, every key and value it passes
// to the store it is called with, as value_for would one after the other;
// the table should be sized for them first. With `parts` of 2 the slots are
// split in two halves filled at once, on two threads: each runs
// generate(store, part) and stores only the keys whose home slot lies in its
// half, so every key stays with one thread and its stores keep their order.
// `generate` must give the same keys each time and be safe to run twice at
// once; it returns false to stop, and then so does this, with the table as
// it stands.
template <typename Value, typename Generate>
bool store_all(SignatureTable<Value>& table, int parts, const Generate& generate) {
  parts = ParallelFill<Value>::prepare(table, parts);
  // Both parts are made before either stores: each takes its room from the
  // load the table has now.
  std::array<ParallelFill<Value>, 2> fills{ParallelFill<Value>(table, 0, parts),
                                           ParallelFill<Value>(table, 1, parts)};
  std::array<bool, 2> completed{true, true};
  const auto run = [&](int part) {
    ParallelFill<Value>& fill = fills[static_cast<std::size_t>(part)];
    completed[static_cast<std::size_t>(part)] =
        generate([&fill](double key, const Value& value) { fill.store(key, value); }, part);
    fill.flush();
  };
  if (parts == 2) {
    run_both([&] { run(0); }, [&] { run(1); });
  } else {
    run(0);
  }
  for (int part = 0; part < parts; ++part) fills[static_cast<std::size_t>(part)].count_added();
  if (!completed[0] || !completed[1]) return false;
  for (int part = 0; part < parts; ++part) fills[static_cast<std::size_t>(part)].store_deferred();
  return true;
}

}  // namespace quirlex
