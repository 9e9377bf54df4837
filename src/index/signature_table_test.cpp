// The signature hash table, for both value types the program stores in it:
// the hash of a key, bucket counts, overwriting, the special keys (signed
// zero, NaN, huge values), emptying, refused sizes, full small tables, and
// many keys against a plain map.
#include "index/signature_table.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/failure.h"
#include "index/variant_code.h"
#include "text/word_token.h"

namespace quirlex {
namespace {

// A value that tells stores apart, for each value type.
template <typename Value>
Value value_of(int i);

template <>
WordToken value_of<WordToken>(int i) {
  WordToken token;
  token.offset = static_cast<std::uint32_t>(i) * 7u;
  token.length = 4;
  token.signature = i * 0.5;
  return token;
}

template <>
VariantCode value_of<VariantCode>(int i) {
  return static_cast<VariantCode>(i) * 2654435761u + 1u;
}

template <typename Value>
class SignatureTableTest : public ::testing::Test {
 protected:
  // Whether `key` is found with `expected` as its value.
  static ::testing::AssertionResult holds(const SignatureTable<Value>& table, double key,
                                          const Value& expected) {
    const Value* found = table.find(key);
    if (found == nullptr) return ::testing::AssertionFailure() << key << " not found";
    if (!(*found == expected)) return ::testing::AssertionFailure() << key << " has another value";
    return ::testing::AssertionSuccess();
  }
  static ::testing::AssertionResult misses(const SignatureTable<Value>& table, double key) {
    if (table.find(key) != nullptr) return ::testing::AssertionFailure() << key << " was found";
    return ::testing::AssertionSuccess();
  }
};

using ValueTypes = ::testing::Types<WordToken, VariantCode>;
TYPED_TEST_SUITE(SignatureTableTest, ValueTypes);

TYPED_TEST(SignatureTableTest, MovedFromTableIsEmptyAndUsableOnItsOwn) {
  SignatureTable<TypeParam> table;
  table.set_bucket_count(100);
  for (int k = 1; k <= 50; ++k) table.value_for(k * 1.5) = value_of<TypeParam>(k);
  SignatureTable<TypeParam> moved(std::move(table));
  SignatureTable<TypeParam> assigned;
  assigned = std::move(moved);
  for (SignatureTable<TypeParam>* emptied : {&table, &moved}) {
    EXPECT_EQ(emptied->entry_count(), 0);
    EXPECT_TRUE(this->misses(*emptied, 1.5));
    // Filling a moved-from table must not write into the storage that moved on.
    for (int k = 1; k <= 50; ++k) emptied->value_for(k * 1.5) = value_of<TypeParam>(k + 100);
  }
  ASSERT_EQ(assigned.entry_count(), 50);
  for (int k = 1; k <= 50; ++k) {
    ASSERT_NE(assigned.find(k * 1.5), nullptr);
    EXPECT_EQ(*assigned.find(k * 1.5), value_of<TypeParam>(k)) << k;
  }
}

TYPED_TEST(SignatureTableTest, NewTableFindsNothingAndItsFirstInsertionMakes17Buckets) {
  SignatureTable<TypeParam> table;
  EXPECT_EQ(table.bucket_count(), 17u);
  EXPECT_EQ(table.entry_count(), 0);
  for (const double key : {0.0, 1.0, -5.5, 42.0}) EXPECT_TRUE(this->misses(table, key));
  EXPECT_EQ(table.value_for(3.5), TypeParam{}) << "a new entry holds the default value";
  table.value_for(42.0) = value_of<TypeParam>(1);
  EXPECT_EQ(table.bucket_count(), 17u);
  EXPECT_EQ(table.entry_count(), 2);
  EXPECT_TRUE(this->holds(table, 42.0, value_of<TypeParam>(1)));
  EXPECT_TRUE(this->holds(table, 3.5, TypeParam{}));
  EXPECT_TRUE(this->misses(table, 43.0));
  // A table of zero buckets, as an empty lexicon sizes it, finds nothing.
  SignatureTable<TypeParam> zero;
  zero.set_bucket_count(0);
  EXPECT_EQ(zero.bucket_count(), 0u);
  for (const double key : {0.0, -0.0, 1.0, 1e10}) EXPECT_TRUE(this->misses(zero, key));
}

TYPED_TEST(SignatureTableTest, EqualKeysShareAnEntryTheLaterStoreWinsAndNaNIsNoKey) {
  SignatureTable<TypeParam> table;
  table.set_bucket_count(12);
  table.value_for(1234.5) = value_of<TypeParam>(1);
  table.value_for(1234.5) = value_of<TypeParam>(2);
  table.value_for(0.0) = value_of<TypeParam>(3);
  table.value_for(-0.0) = value_of<TypeParam>(4);
  EXPECT_EQ(table.entry_count(), 2);
  EXPECT_TRUE(this->holds(table, 1234.5, value_of<TypeParam>(2)));
  EXPECT_TRUE(this->holds(table, 0.0, value_of<TypeParam>(4)));
  SignatureTable<TypeParam> other;
  other.value_for(-0.0) = value_of<TypeParam>(5);
  EXPECT_TRUE(this->holds(other, 0.0, value_of<TypeParam>(5)));
  // A NaN equals no key: each store makes an entry that is never found.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(this->misses(table, nan));
  table.value_for(nan) = value_of<TypeParam>(6);
  table.value_for(nan) = value_of<TypeParam>(7);
  EXPECT_EQ(table.entry_count(), 4);
  EXPECT_TRUE(this->misses(table, nan));
  table.make_empty();
  EXPECT_EQ(table.entry_count(), 0);
}

TYPED_TEST(SignatureTableTest, KeysOfOneHashValueAreSeparateEntries) {
  SignatureTable<TypeParam> table;
  table.set_bucket_count(4);
  for (const double key : {1000.25, 1000.75, 1001.0}) {
    table.value_for(key) = value_of<TypeParam>(static_cast<int>(key * 4));
  }
  EXPECT_EQ(table.entry_count(), 3);
  for (const double key : {1000.25, 1000.75, 1001.0}) {
    EXPECT_TRUE(this->holds(table, key, value_of<TypeParam>(static_cast<int>(key * 4))));
  }
  EXPECT_TRUE(this->misses(table, 1000.5));
  EXPECT_TRUE(this->misses(table, 1000.0));
}

TYPED_TEST(SignatureTableTest, HugeAndInfiniteKeysAreOrdinaryKeys) {
  SignatureTable<TypeParam> table;
  using limits = std::numeric_limits<double>;
  const double keys[] = {1e19,
                         -1e19,
                         1e300,
                         -1e300,
                         limits::infinity(),
                         -limits::infinity(),
                         limits::denorm_min(),
                         -limits::max()};
  int i = 0;
  for (const double key : keys) table.value_for(key) = value_of<TypeParam>(i++);
  EXPECT_EQ(table.entry_count(), i);
  i = 0;
  for (const double key : keys) EXPECT_TRUE(this->holds(table, key, value_of<TypeParam>(i++)));
  EXPECT_TRUE(this->misses(table, 1e18));
}

TYPED_TEST(SignatureTableTest, EmptyingKeepsTheBucketCountAndForgetsEveryValue) {
  SignatureTable<TypeParam> table;
  table.set_bucket_count(100);
  EXPECT_EQ(table.bucket_count(), 100u);
  for (int i = 0; i < 50; ++i) table.value_for(i * 97.5) = value_of<TypeParam>(i);
  table.make_empty();
  EXPECT_EQ(table.bucket_count(), 100u);
  EXPECT_EQ(table.entry_count(), 0);
  for (int i = 0; i < 50; ++i) EXPECT_TRUE(this->misses(table, i * 97.5));
  // A key stored before comes back as a new entry, not with its old value.
  table.set_bucket_count(100);
  EXPECT_EQ(table.value_for(97.5), TypeParam{});
  EXPECT_EQ(table.entry_count(), 1);
}

TYPED_TEST(SignatureTableTest, HugeBucketCountsAreRefusedAndLeaveTheTableEmpty) {
  for (const std::uint64_t count : {std::uint64_t{1} << 30, (std::uint64_t{1} << 30) + 1,
                                    std::uint64_t{1} << 32, ~std::uint64_t{0}}) {
    SignatureTable<TypeParam> table;
    table.set_bucket_count(20);
    for (int i = 0; i < 10; ++i) table.value_for(i * 16.0) = value_of<TypeParam>(i);
    EXPECT_THROW(table.set_bucket_count(count), OutOfMemory) << count;
    EXPECT_EQ(table.entry_count(), 0);
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(this->misses(table, i * 16.0));
  }
}

// Tables sized for one to nine keys and filled with as many once had no free
// slot left, and a look-up of any other key never ended.
TYPED_TEST(SignatureTableTest, SmallTablesFilledToTheirSizeStillAnswerMisses) {
  for (std::uint32_t buckets = 1; buckets <= 12; ++buckets) {
    SCOPED_TRACE(buckets);
    SignatureTable<TypeParam> table;
    table.set_bucket_count(buckets);
    for (std::uint32_t i = 0; i < buckets; ++i) {
      table.value_for(1000.0 * i + 0.5) = value_of<TypeParam>(static_cast<int>(i));
    }
    for (std::uint32_t i = 0; i < buckets; ++i) {
      EXPECT_TRUE(this->holds(table, 1000.0 * i + 0.5, value_of<TypeParam>(static_cast<int>(i))));
    }
    for (const double miss : {-1.0, 0.0, 0.75, 1e9, 1000.0 * buckets + 0.5}) {
      EXPECT_TRUE(this->misses(table, miss));
    }
  }
}

TYPED_TEST(SignatureTableTest, StoringBeyondTheSizedCountStillWorks) {
  SignatureTable<TypeParam> table;
  table.set_bucket_count(10);
  for (int i = 0; i < 1000; ++i) table.value_for(i * 3.25 - 700.0) = value_of<TypeParam>(i);
  EXPECT_EQ(table.entry_count(), 1000);
  EXPECT_EQ(table.bucket_count(), 10u);
  for (int i = 0; i < 1000; ++i) {
    ASSERT_TRUE(this->holds(table, i * 3.25 - 700.0, value_of<TypeParam>(i))) << i;
  }
  EXPECT_TRUE(this->misses(table, 1.0));
}

TYPED_TEST(SignatureTableTest, ManyRandomKeysMatchAPlainMap) {
  std::mt19937_64 rng(31337);
  std::uniform_real_distribution<double> small(-1e6, 1e6);
  std::uniform_real_distribution<double> large(-1e15, 1e15);
  std::vector<double> keys;
  for (int i = 0; i < 100000; ++i) {
    double key = i % 3 == 0 ? large(rng) : small(rng);
    if (i % 10 == 0) key = std::trunc(key / 7.0);                       // whole numbers
    if (i % 17 == 0 && !keys.empty()) key = keys[rng() % keys.size()];  // stored twice
    if (i % 23 == 0) key = 992.0 + i / 200000.0;  // many keys of the hash value 62
    keys.push_back(key);
  }
  SignatureTable<TypeParam> table;
  table.size_for(keys.size());
  std::unordered_map<std::uint64_t, int> expected;
  const auto bits_of = [](double key) {
    return std::bit_cast<std::uint64_t>(key == 0.0 ? 0.0 : key);
  };
  for (std::size_t i = 0; i < keys.size(); ++i) {
    table.value_for(keys[i]) = value_of<TypeParam>(static_cast<int>(i));
    expected[bits_of(keys[i])] = static_cast<int>(i);
  }
  EXPECT_EQ(table.entry_count(), static_cast<std::int32_t>(expected.size()));
  for (const double key : keys) {
    ASSERT_TRUE(this->holds(table, key, value_of<TypeParam>(expected.at(bits_of(key)))));
  }
  int misses = 0;
  for (int i = 0; i < 20000; ++i) {
    const double key = i % 2 == 0 ? large(rng) : small(rng);
    if (expected.count(bits_of(key)) != 0) continue;
    ++misses;
    ASSERT_TRUE(this->misses(table, key));
  }
  EXPECT_GT(misses, 19000);
}

}  // namespace
}  // namespace quirlex
