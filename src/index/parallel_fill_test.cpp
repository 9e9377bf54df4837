// Filling a signature table in one part or in two halves at once holds what
// storing one by one holds.
#include "index/parallel_fill.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "index/variant_code.h"

namespace quirlex {
namespace {

// The last value of every key, in a table sized for the keys and in one far
// too small (where stores that no half can take are made after both, in
// order); NaN keys, repeats still in flight when the stores end, and both
// zeros among them.
TEST(ParallelFill, HoldsWhatStoresOneByOneHold) {
  std::mt19937 rng(31);
  std::uniform_int_distribution<int> key_number(0, 5000);
  std::vector<double> keys;
  for (int i = 0; i < 40000; ++i) keys.push_back(key_number(rng) * 0.75 - 100.0);
  keys.insert(keys.begin() + 777, std::numeric_limits<double>::quiet_NaN());
  for (int i = 0; i < 20; ++i) keys.push_back(i % 2 == 0 ? 5.0 : -93.25);
  keys.push_back(-0.0);
  keys.push_back(0.0);
  const auto value_of = [](std::size_t i) { return static_cast<VariantCode>(i) * 2654435761u + 1u; };
  for (const std::uint64_t buckets : {std::uint64_t{7200}, std::uint64_t{40}}) {
    SignatureTable<VariantCode> one_by_one;
    one_by_one.set_bucket_count(buckets);
    for (std::size_t i = 0; i < keys.size(); ++i) one_by_one.value_for(keys[i]) = value_of(i);
    for (const int parts : {1, 2}) {
      SCOPED_TRACE(::testing::Message() << buckets << " buckets, " << parts << " parts");
      SignatureTable<VariantCode> table;
      table.set_bucket_count(buckets);
      ASSERT_TRUE(store_all(table, parts, [&](const auto& store, int) {
        for (std::size_t i = 0; i < keys.size(); ++i) store(keys[i], value_of(i));
        return true;
      }));
      EXPECT_EQ(table.entry_count(), one_by_one.entry_count());
      for (int k = 0; k <= 5000; ++k) {
        const double key = k * 0.75 - 100.0;
        const VariantCode* expected = one_by_one.find(key);
        const VariantCode* found = table.find(key);
        ASSERT_EQ(found == nullptr, expected == nullptr) << key;
        if (found != nullptr) {
          ASSERT_EQ(*found, *expected) << key;
        }
      }
      // A stop leaves the table as it stands and says so.
      SignatureTable<VariantCode> stopped;
      EXPECT_FALSE(store_all(stopped, parts, [](const auto&, int) { return false; }));
    }
  }
}

}  // namespace
}  // namespace quirlex
