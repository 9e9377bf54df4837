// SignatureTable sized for only a few keys: its callers size it to 1.2 times
// the number of keys, truncated, which for one to four keys is exactly the
// number of keys. Filled that far, the table must still answer a look-up of
// a key it does not hold (a lexicon of up to four words, and Translate of a
// word that is not among them): with no free slot left, that look-up would
// walk the slot array forever.
#include <gtest/gtest.h>

#include <cstdint>

#include "index/signature_table.h"
#include "text/word_token.h"

namespace quirlex {
namespace {

TEST(SignatureTableLoadFactor, TableFilledToItsBucketCountStillFindsNoAbsentKey) {
  for (std::uint32_t keys = 1; keys <= 12; ++keys) {
    SCOPED_TRACE(keys);
    SignatureTable<std::uint32_t> table;
    table.set_bucket_count(static_cast<std::uint64_t>(keys * 1.2));
    for (std::uint32_t k = 0; k < keys; ++k)
      table.value_for(100.0 * (k + 1)) = k;
    EXPECT_EQ(table.entry_count(), static_cast<std::int32_t>(keys));

    std::uint32_t out = 77;
    EXPECT_FALSE(table.look_up(12345.5, out));
    EXPECT_EQ(out, 77u);
    EXPECT_EQ(table.find(-3.0), nullptr);
    for (std::uint32_t k = 0; k < keys; ++k) {
      ASSERT_TRUE(table.look_up(100.0 * (k + 1), out));
      EXPECT_EQ(out, k);
    }
  }
}

TEST(SignatureTableLoadFactor, WordTableOfOneWordFindsNoOtherSignature) {
  SignatureTable<WordToken> table;
  const WordToken word = WordToken::from_text("HAUS");
  table.set_bucket_count(static_cast<std::uint64_t>(1 * 1.2));
  table.value_for(word.signature) = word;

  EXPECT_EQ(table.find(WordToken::from_text("TIER").signature), nullptr);
  const WordToken* found = table.find(WordToken::from_text("HUAS").signature);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->text, "HAUS");
}

}  // namespace
}  // namespace quirlex
