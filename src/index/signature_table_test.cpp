// The signature hash table, for both value types the program stores in it:
// the hash of a key, bucket counts, overwriting, the special keys (signed
// zero, NaN, huge values), emptying, refused sizes, and many keys against a
// plain map.
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

#include "index/variant_code.h"
#include "text/failure.h"
#include "text/word_token.h"

namespace quirlex {
namespace {

// A value that tells stores apart, for each value type.
template <typename Value>
Value value_of(int i);

template <>
WordToken value_of<WordToken>(int i) {
  return WordToken::from_text("WORD" + std::to_string(i));
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
    Value out{};
    if (!table.look_up(key, out))
      return ::testing::AssertionFailure() << key << " not found";
    if (!(out == expected))
      return ::testing::AssertionFailure() << key << " has another value";
    return ::testing::AssertionSuccess();
  }
  static bool finds(const SignatureTable<Value>& table, double key) {
    return table.find(key) != nullptr;
  }
};

using ValueTypes = ::testing::Types<WordToken, VariantCode>;
TYPED_TEST_SUITE(SignatureTableTest, ValueTypes);

TEST(SignatureTableHash, TruncatesShiftsAndWraps) {
  using Table = SignatureTable<VariantCode>;
  EXPECT_EQ(Table::hash_value(-5.5), 0x0FFFFFFFu);
  EXPECT_EQ(Table::hash_value(1000.25), 1000u >> 4);
  EXPECT_EQ(Table::hash_value(1000.75), Table::hash_value(1000.25));
  EXPECT_EQ(Table::hash_value(15.99), 0u);
  EXPECT_EQ(Table::hash_value(16.0), 1u);
  EXPECT_EQ(Table::hash_value(-0.9), 0u);
  EXPECT_EQ(Table::hash_value(-1.0), 0x0FFFFFFFu);
  EXPECT_EQ(Table::hash_value(-16.0), 0x0FFFFFFFu);
  EXPECT_EQ(Table::hash_value(-17.0), 0x0FFFFFFEu);
  EXPECT_EQ(Table::hash_value(0.0), 0u);
  EXPECT_EQ(Table::hash_value(-0.0), 0u);
  // Only the low 32 bits of the integer part count.
  EXPECT_EQ(Table::hash_value(4294967296.0 + 48.0), 3u);
  EXPECT_EQ(Table::hash_value(175930.05710437705), 175930u >> 4);
  EXPECT_EQ(Table::hash_value(-7671060233.476226),
            static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::int64_t{-7671060233})) >> 4);
}

TEST(SignatureTableHash, AnyDoubleHasAHash) {
  using Table = SignatureTable<VariantCode>;
  const double keys[] = {1e19,
                         -1e19,
                         1e300,
                         -1e300,
                         std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::denorm_min(),
                         std::numeric_limits<double>::max()};
  for (const double key : keys)
    EXPECT_LE(Table::hash_value(key), 0x0FFFFFFFu) << key;
}

TYPED_TEST(SignatureTableTest, NewTableHas17BucketsAndFindsNothing) {
  SignatureTable<TypeParam> table;
  EXPECT_EQ(table.bucket_count(), 17u);
  EXPECT_EQ(table.entry_count(), 0);
  EXPECT_FALSE(table.has_buckets());
  for (const double key : {0.0, 1.0, -5.5, 175930.05710437705})
    EXPECT_FALSE(this->finds(table, key));
  TypeParam out = value_of<TypeParam>(9);
  EXPECT_FALSE(table.look_up(1.0, out));
  EXPECT_EQ(out, value_of<TypeParam>(9));
}

TYPED_TEST(SignatureTableTest, FirstInsertionOfANeverSizedTableMakes17Buckets) {
  SignatureTable<TypeParam> table;
  table.value_for(42.0) = value_of<TypeParam>(1);
  EXPECT_TRUE(table.has_buckets());
  EXPECT_EQ(table.bucket_count(), 17u);
  EXPECT_EQ(table.entry_count(), 1);
  EXPECT_TRUE(this->holds(table, 42.0, value_of<TypeParam>(1)));
  EXPECT_FALSE(this->finds(table, 43.0));
}

TYPED_TEST(SignatureTableTest, NewEntryStartsWithTheDefaultValue) {
  SignatureTable<TypeParam> table;
  table.set_bucket_count(10);
  EXPECT_EQ(table.value_for(3.5), TypeParam{});
  EXPECT_EQ(table.entry_count(), 1);
  EXPECT_TRUE(this->holds(table, 3.5, TypeParam{}));
}

TYPED_TEST(SignatureTableTest, LaterStoreUnderAnEqualKeyOverwrites) {
  SignatureTable<TypeParam> table;
  table.set_bucket_count(12);
  table.value_for(1234.5) = value_of<TypeParam>(1);
  table.value_for(1234.5) = value_of<TypeParam>(2);
  EXPECT_EQ(table.entry_count(), 1);
  EXPECT_TRUE(this->holds(table, 1234.5, value_of<TypeParam>(2)));
}

TYPED_TEST(SignatureTableTest, PlusAndMinusZeroAreOneKey) {
  SignatureTable<TypeParam> table;
  table.value_for(0.0) = value_of<TypeParam>(1);
  table.value_for(-0.0) = value_of<TypeParam>(2);
  EXPECT_EQ(table.entry_count(), 1);
  EXPECT_TRUE(this->holds(table, 0.0, value_of<TypeParam>(2)));
  EXPECT_TRUE(this->holds(table, -0.0, value_of<TypeParam>(2)));
  SignatureTable<TypeParam> other;
  other.value_for(-0.0) = value_of<TypeParam>(3);
  EXPECT_TRUE(this->holds(other, 0.0, value_of<TypeParam>(3)));
}

TYPED_TEST(SignatureTableTest, KeysOfOneHashValueAreSeparateEntries) {
  SignatureTable<TypeParam> table;
  table.set_bucket_count(4);
  table.value_for(1000.25) = value_of<TypeParam>(1);
  table.value_for(1000.75) = value_of<TypeParam>(2);
  table.value_for(1001.0) = value_of<TypeParam>(3);
  EXPECT_EQ(table.entry_count(), 3);
  EXPECT_TRUE(this->holds(table, 1000.25, value_of<TypeParam>(1)));
  EXPECT_TRUE(this->holds(table, 1000.75, value_of<TypeParam>(2)));
  EXPECT_TRUE(this->holds(table, 1001.0, value_of<TypeParam>(3)));
  EXPECT_FALSE(this->finds(table, 1000.5));
  EXPECT_FALSE(this->finds(table, 1000.0));
}

TYPED_TEST(SignatureTableTest, NaNIsStoredAsAnEntryButNeverFound) {
  SignatureTable<TypeParam> table;
  table.set_bucket_count(10);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  table.value_for(1.0) = value_of<TypeParam>(1);
  EXPECT_FALSE(this->finds(table, nan));
  table.value_for(nan) = value_of<TypeParam>(2);
  EXPECT_EQ(table.entry_count(), 2);
  table.value_for(nan) = value_of<TypeParam>(3);
  EXPECT_EQ(table.entry_count(), 3);
  TypeParam out = value_of<TypeParam>(7);
  EXPECT_FALSE(table.look_up(nan, out));
  EXPECT_EQ(out, value_of<TypeParam>(7));
  EXPECT_TRUE(this->holds(table, 1.0, value_of<TypeParam>(1)));
  table.make_empty();
  EXPECT_EQ(table.entry_count(), 0);
}

TYPED_TEST(SignatureTableTest, HugeAndInfiniteKeysAreOrdinaryKeys) {
  SignatureTable<TypeParam> table;
  const double keys[] = {1e19,
                         -1e19,
                         1e300,
                         -1e300,
                         std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::denorm_min(),
                         -std::numeric_limits<double>::max()};
  int i = 0;
  for (const double key : keys)
    table.value_for(key) = value_of<TypeParam>(i++);
  EXPECT_EQ(table.entry_count(), i);
  i = 0;
  for (const double key : keys)
    EXPECT_TRUE(this->holds(table, key, value_of<TypeParam>(i++)));
  EXPECT_FALSE(this->finds(table, 1e18));
}

TYPED_TEST(SignatureTableTest, SizingSetsTheBucketCountAndEmptyingKeepsIt) {
  SignatureTable<TypeParam> table;
  table.set_bucket_count(100);
  EXPECT_EQ(table.bucket_count(), 100u);
  for (int i = 0; i < 50; ++i)
    table.value_for(i * 97.5) = value_of<TypeParam>(i);
  table.make_empty();
  EXPECT_EQ(table.bucket_count(), 100u);
  EXPECT_EQ(table.entry_count(), 0);
  EXPECT_FALSE(table.has_buckets());
  for (int i = 0; i < 50; ++i)
    EXPECT_FALSE(this->finds(table, i * 97.5));
}

TYPED_TEST(SignatureTableTest, EmptiedTableFillsAgainWithFreshValues) {
  SignatureTable<TypeParam> table;
  table.set_bucket_count(6);
  for (int i = 0; i < 5; ++i)
    table.value_for(i + 0.5) = value_of<TypeParam>(i);
  table.make_empty();
  table.set_bucket_count(6);
  // A key stored before comes back as a new entry, not with its old value.
  EXPECT_EQ(table.value_for(2.5), TypeParam{});
  table.value_for(7.5) = value_of<TypeParam>(70);
  EXPECT_EQ(table.entry_count(), 2);
  EXPECT_TRUE(this->holds(table, 7.5, value_of<TypeParam>(70)));
  EXPECT_FALSE(this->finds(table, 0.5));
}

TYPED_TEST(SignatureTableTest, ZeroBucketTableFindsNothing) {
  SignatureTable<TypeParam> table;
  table.set_bucket_count(0);
  EXPECT_EQ(table.bucket_count(), 0u);
  EXPECT_FALSE(table.has_buckets());
  for (const double key : {0.0, -0.0, 1.0, 1e10})
    EXPECT_FALSE(this->finds(table, key));
  TypeParam out = value_of<TypeParam>(4);
  EXPECT_FALSE(table.look_up(0.0, out));
  EXPECT_EQ(out, value_of<TypeParam>(4));
}

TYPED_TEST(SignatureTableTest, HugeBucketCountsAreRefusedAndLeaveTheTableEmpty) {
  for (const std::uint64_t count : {std::uint64_t{1} << 30, (std::uint64_t{1} << 30) + 1,
                                    std::uint64_t{1} << 32, ~std::uint64_t{0}}) {
    SignatureTable<TypeParam> table;
    table.set_bucket_count(20);
    for (int i = 0; i < 10; ++i)
      table.value_for(i * 16.0) = value_of<TypeParam>(i);
    EXPECT_THROW(table.set_bucket_count(count), OutOfMemory) << count;
    EXPECT_EQ(table.entry_count(), 0);
    EXPECT_FALSE(table.has_buckets());
    for (int i = 0; i < 10; ++i)
      EXPECT_FALSE(this->finds(table, i * 16.0));
  }
}

TYPED_TEST(SignatureTableTest, SmallTablesFilledToTheirSizeStillAnswerMisses) {
  // A lexicon of one to eight words gives one to nine buckets, each filled.
  for (std::uint32_t buckets = 1; buckets <= 12; ++buckets) {
    SignatureTable<TypeParam> table;
    table.set_bucket_count(buckets);
    for (std::uint32_t i = 0; i < buckets; ++i) {
      table.value_for(1000.0 * i + 0.5) = value_of<TypeParam>(static_cast<int>(i));
    }
    for (std::uint32_t i = 0; i < buckets; ++i) {
      EXPECT_TRUE(this->holds(table, 1000.0 * i + 0.5, value_of<TypeParam>(static_cast<int>(i))));
    }
    for (const double miss : {-1.0, 0.0, 0.75, 1e9, 1000.0 * buckets + 0.5}) {
      EXPECT_FALSE(this->finds(table, miss)) << buckets << " buckets";
    }
    EXPECT_EQ(table.entry_count(), static_cast<std::int32_t>(buckets));
  }
}

TYPED_TEST(SignatureTableTest, StoringBeyondTheSizedCountStillWorks) {
  SignatureTable<TypeParam> table;
  table.set_bucket_count(10);
  for (int i = 0; i < 1000; ++i)
    table.value_for(i * 3.25 - 700.0) = value_of<TypeParam>(i);
  EXPECT_EQ(table.entry_count(), 1000);
  EXPECT_EQ(table.bucket_count(), 10u);
  for (int i = 0; i < 1000; ++i) {
    ASSERT_TRUE(this->holds(table, i * 3.25 - 700.0, value_of<TypeParam>(i))) << i;
  }
  EXPECT_FALSE(this->finds(table, 1.0));
}

TYPED_TEST(SignatureTableTest, ManyKeysOfOneHashValue) {
  // Every key below has the hash value 62; they differ only in the fraction
  // and the lowest four bits of the integer part.
  SignatureTable<TypeParam> table;
  table.set_bucket_count(3600);
  for (int i = 0; i < 3000; ++i) {
    const double key = 992.0 + i / 200.0;
    ASSERT_EQ(SignatureTable<TypeParam>::hash_value(key), 62u);
    table.value_for(key) = value_of<TypeParam>(i);
  }
  // Neighbours with other hash values.
  for (int i = 0; i < 300; ++i)
    table.value_for(1008.0 + i * 16.0) = value_of<TypeParam>(-i);
  EXPECT_EQ(table.entry_count(), 3300);
  for (int i = 0; i < 3000; ++i) {
    ASSERT_TRUE(this->holds(table, 992.0 + i / 200.0, value_of<TypeParam>(i))) << i;
  }
  for (int i = 0; i < 300; ++i) {
    ASSERT_TRUE(this->holds(table, 1008.0 + i * 16.0, value_of<TypeParam>(-i))) << i;
  }
  EXPECT_FALSE(this->finds(table, 992.0 + 1.0 / 400.0));
  EXPECT_FALSE(this->finds(table, 1007.999));
}

TYPED_TEST(SignatureTableTest, ManyRandomKeysMatchAPlainMap) {
  std::mt19937_64 rng(31337);
  std::uniform_real_distribution<double> small(-1e6, 1e6);
  std::uniform_real_distribution<double> large(-1e15, 1e15);
  std::vector<double> keys;
  for (int i = 0; i < 100000; ++i) {
    double key = i % 3 == 0 ? large(rng) : small(rng);
    if (i % 10 == 0)
      key = std::trunc(key / 7.0);  // whole numbers, some repeated
    if (i % 17 == 0 && !keys.empty())
      key = keys[rng() % keys.size()];  // stored twice
    keys.push_back(key);
  }
  SignatureTable<TypeParam> table;
  table.set_bucket_count(static_cast<std::uint64_t>(static_cast<double>(keys.size()) * 1.2));
  std::unordered_map<std::uint64_t, int> expected;
  const auto bits_of = [](double key) {
    return std::bit_cast<std::uint64_t>(key == 0.0 ? 0.0 : key);
  };
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const int value = static_cast<int>(i);
    table.value_for(keys[i]) = value_of<TypeParam>(value);
    expected[bits_of(keys[i])] = value;
  }
  EXPECT_EQ(table.entry_count(), static_cast<std::int32_t>(expected.size()));
  for (const double key : keys) {
    ASSERT_TRUE(this->holds(table, key, value_of<TypeParam>(expected.at(bits_of(key)))));
  }
  int misses = 0;
  for (int i = 0; i < 20000; ++i) {
    const double key = i % 2 == 0 ? large(rng) : small(rng);
    if (expected.count(bits_of(key)) != 0)
      continue;
    ++misses;
    ASSERT_FALSE(this->finds(table, key)) << key;
  }
  EXPECT_GT(misses, 19000);
}

}  // namespace
}  // namespace quirlex
