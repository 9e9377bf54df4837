// TokenList: set size and its growth policy, set at grow, element access,
// emptying and joining.
#include "text/token_list.h"

#include <gtest/gtest.h>
#include <sys/sysinfo.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "testing/expect_failure.h"
#include "text/failure.h"
#include "text/word_token.h"

namespace quirlex {
namespace {

using testing::FailsWith;

constexpr std::string_view kImproperArgument = "Encountered an improper argument.";

void expect_default_token(const WordToken& token) {
  EXPECT_EQ(token.separator, 0);
  EXPECT_EQ(token.keep, 1);
  EXPECT_EQ(token.letter_mask, 0u);
  EXPECT_EQ(token.signature, 0.0);
  EXPECT_TRUE(token.text.empty());
}

TokenList list_of(std::initializer_list<const char*> texts) {
  TokenList list;
  for (const char* text : texts) list.append(WordToken::from_text(text));
  return list;
}

TEST(TokenList, StartsEmpty) {
  const TokenList list;
  EXPECT_EQ(list.size(), 0);
  EXPECT_EQ(list.capacity(), 0);
  EXPECT_EQ(list.grow_step(), 0);
  EXPECT_TRUE(list.is_empty());
  EXPECT_EQ(list.join(), "");
}

TEST(TokenListGrowth, FirstSetSizeAllocatesExactlyTheSizeAndTheNextGrowthAddsAtLeastFour) {
  TokenList list;
  list.set_size(10, 0);
  EXPECT_EQ(list.size(), 10);
  EXPECT_EQ(list.capacity(), 10);
  list.append(WordToken::from_text("eleven"));
  EXPECT_EQ(list.size(), 11);
  EXPECT_EQ(list.capacity(), 14);
  for (int i = 0; i < 3; ++i) list.append(WordToken{});
  EXPECT_EQ(list.capacity(), 14) << "no growth while the slots suffice";
  list.append(WordToken{});
  EXPECT_EQ(list.capacity(), 18);
}

TEST(TokenListGrowth, AutomaticStepIsAnEighthOfTheSize) {
  TokenList list;
  list.set_size(8000, 0);
  ASSERT_EQ(list.capacity(), 8000);
  list.append(WordToken{});
  EXPECT_EQ(list.capacity(), 9000);
}

TEST(TokenListGrowth, AutomaticStepIsAtMost1024) {
  TokenList list;
  list.set_size(9000, 0);
  ASSERT_EQ(list.capacity(), 9000);
  list.append(WordToken{});
  EXPECT_EQ(list.capacity(), 10024);
}

TEST(TokenListGrowth, SetSizeBeyondTheStepTakesTheWantedSize) {
  TokenList list;
  list.set_size(10, 0);
  list.set_size(100);
  EXPECT_EQ(list.size(), 100);
  EXPECT_EQ(list.capacity(), 100);
}

TEST(TokenListGrowth, FixedGrowStepIsUsedForTheFirstAllocationAndEveryGrowth) {
  TokenList list;
  list.set_size(0, 1000);
  EXPECT_EQ(list.grow_step(), 1000);
  EXPECT_EQ(list.capacity(), 0);
  list.append(WordToken{});
  EXPECT_EQ(list.capacity(), 1000);
  list.set_size(1000);
  list.append(WordToken{});
  EXPECT_EQ(list.size(), 1001);
  EXPECT_EQ(list.capacity(), 2000);
}

TEST(TokenListGrowth, NegativeStepKeepsTheGrowStep) {
  TokenList list;
  list.set_size(3, 7);
  list.set_size(5, -1);
  EXPECT_EQ(list.grow_step(), 7);
  list.set_size(5, 0);
  EXPECT_EQ(list.grow_step(), 0);
}

TEST(TokenList, SetAtGrowPastTheEndFillsWithDefaultTokens) {
  TokenList list;
  list.set_at_grow(5, WordToken::from_text("Hello"));
  ASSERT_EQ(list.size(), 6);
  EXPECT_EQ(list.capacity(), 6);
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    expect_default_token(list.element(i));
  }
  EXPECT_EQ(list.element(5), WordToken::from_text("Hello"));
}

TEST(TokenList, SetAtGrowInsideTheListReplacesOneToken) {
  TokenList list = list_of({"a", "b", "c"});
  list.set_at_grow(1, WordToken::from_text("Hello"));
  EXPECT_EQ(list.size(), 3);
  EXPECT_EQ(list.join(), "aHelloc");
  EXPECT_EQ(list.element(1).signature, 175930.05710437705);
}

TEST(TokenList, AppendKeepsOrderAcrossReallocations) {
  TokenList list;
  std::string expected;
  for (int i = 0; i < 3000; ++i) {
    const std::string text = std::to_string(i) + ",";
    expected += text;
    list.append(WordToken::from_text(text));
  }
  EXPECT_EQ(list.size(), 3000);
  EXPECT_EQ(list.join(), expected);
}

TEST(TokenList, ShrinkingKeepsTheFrontAndRegrowingGivesDefaultTokens) {
  TokenList list = list_of({"one", "two", "three", "four"});
  const std::int32_t capacity = list.capacity();
  list.set_size(2);
  EXPECT_EQ(list.size(), 2);
  EXPECT_EQ(list.capacity(), capacity);
  EXPECT_EQ(list.join(), "onetwo");
  list.set_size(4);
  expect_default_token(list.element(2));
  expect_default_token(list.element(3));
}

TEST(TokenList, ElementOutsideTheListIsAnImproperArgument) {
  TokenList list = list_of({"a", "b"});
  const TokenList& read_only = list;
  EXPECT_EQ(list.element(1).text, "b");
  for (const std::int64_t index :
       {std::int64_t{-1}, std::int64_t{2}, std::int64_t{INT64_MAX}, std::int64_t{INT64_MIN}}) {
    SCOPED_TRACE(index);
    EXPECT_TRUE(FailsWith<InvalidArgument>([&] { list.element(index); }, kImproperArgument));
    EXPECT_TRUE(FailsWith<InvalidArgument>([&] { read_only.element(index); }, kImproperArgument));
  }
  TokenList empty;
  EXPECT_TRUE(FailsWith<InvalidArgument>([&] { empty.element(0); }, kImproperArgument));
}

TEST(TokenList, NegativeSizeOrIndexIsAnImproperArgument) {
  TokenList list = list_of({"a"});
  EXPECT_TRUE(FailsWith<InvalidArgument>([&] { list.set_size(-1); }, kImproperArgument));
  EXPECT_TRUE(
      FailsWith<InvalidArgument>([&] { list.set_at_grow(-1, WordToken{}); }, kImproperArgument));
  EXPECT_EQ(list.join(), "a") << "a refused change leaves the list as it was";
}

TEST(TokenList, SizePastTheLimitIsRefusedBeforeAllocating) {
  TokenList list = list_of({"a"});
  EXPECT_THROW(list.set_size(TokenList::kMaxSize + 1), LimitExceeded);
  EXPECT_THROW(list.set_size(INT64_MAX), LimitExceeded);
  EXPECT_THROW(list.set_at_grow(TokenList::kMaxSize, WordToken{}), LimitExceeded);
  EXPECT_THROW(list.set_at_grow(INT64_MAX, WordToken{}), LimitExceeded);
  EXPECT_EQ(list.size(), 1);
  EXPECT_EQ(list.join(), "a");
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

// Whether a huge allocation fails depends on the machine: only try it where
// the kernel refuses what exceeds memory and swap.
bool huge_allocations_fail(std::uint64_t bytes) {
  std::ifstream policy("/proc/sys/vm/overcommit_memory");
  int overcommit = 1;
  if (!(policy >> overcommit) || overcommit == 1) return false;
  struct sysinfo info {};
  if (::sysinfo(&info) != 0) return false;
  const std::uint64_t available =
      (static_cast<std::uint64_t>(info.totalram) + info.totalswap) * info.mem_unit;
  return available < bytes / 2;
}

TEST(TokenList, AllocationFailureIsOutOfMemoryAndKeepsTheTokens) {
  const std::uint64_t bytes = static_cast<std::uint64_t>(TokenList::kMaxSize) * sizeof(WordToken);
  if (kAddressSanitizer) {
    GTEST_SKIP() << "AddressSanitizer's operator new ends the program instead of throwing";
  }
  if (!huge_allocations_fail(bytes)) GTEST_SKIP() << "this machine might grant the allocation";
  TokenList list = list_of({"a", "b"});
  EXPECT_TRUE(
      FailsWith<OutOfMemory>([&] { list.set_size(TokenList::kMaxSize); }, "Out of memory."));
  EXPECT_EQ(list.size(), 2);
  EXPECT_EQ(list.join(), "ab");
}

TEST(TokenList, MakeEmptyReleasesTheStorage) {
  TokenList list;
  list.set_size(0, 1000);
  list.append(WordToken::from_text("Hello"));
  ASSERT_GT(list.capacity(), 0);
  list.make_empty();
  EXPECT_EQ(list.size(), 0);
  EXPECT_EQ(list.capacity(), 0);
  EXPECT_EQ(list.join(), "");
  list.set_size(10, 0);
  list.set_size(0);
  EXPECT_EQ(list.capacity(), 0);
}

TEST(TokenList, JoinPutsNothingBetweenTheTexts) {
  const TokenList list = list_of({"", "Hello", ", ", "", "world", "!\r\n"});
  EXPECT_EQ(list.join(), "Hello, world!\r\n");
}

}  // namespace
}  // namespace quirlex
