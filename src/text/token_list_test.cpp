// TokenList: set size and its growth policy, set at grow, texts moving in
// the buffer, refused indices and sizes, emptying and joining.
#include "text/token_list.h"

#include <gtest/gtest.h>
#include <sys/sysinfo.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "base/failure.h"
#include "testing/expect_failure.h"
#include "testing/token_lists.h"
#include "text/signature.h"
#include "text/word_token.h"

namespace quirlex {
namespace {

using testing::FailsWith;
using testing::list_of;

constexpr std::string_view kImproperArgument = "Encountered an improper argument.";

void expect_default_token(const TokenList& list, std::int64_t index) {
  const WordToken token = list.element(index);
  EXPECT_EQ(token.separator, 0);
  EXPECT_EQ(token.letter_mask, 0u);
  EXPECT_EQ(token.signature, 0.0);
  EXPECT_TRUE(list.text(index).empty());
}

TEST(TokenListGrowth, FirstAllocationIsExactThenAnEighthOfTheSizeFrom4To1024) {
  const struct {
    std::int32_t size, grown_size, capacity;
  } cases[] = {
      {10, 11, 14},        {14, 15, 18},   {8000, 8001, 9000},
      {9000, 9001, 10024}, {10, 100, 100},  // a size beyond the step is taken as it is
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    TokenList list;
    EXPECT_EQ(list.capacity(), 0);
    list.set_size(c.size, 0);
    EXPECT_EQ(list.capacity(), c.size);
    list.set_size(c.grown_size);
    EXPECT_EQ(list.size(), c.grown_size);
    EXPECT_EQ(list.capacity(), c.capacity);
  }
}

TEST(TokenListGrowth, FixedGrowStepIsUsedForTheFirstAllocationAndEveryGrowth) {
  TokenList list;
  list.set_size(0, 1000);
  list.append("");
  EXPECT_EQ(list.capacity(), 1000);
  list.set_size(1001, -1);  // a negative step keeps the grow step
  EXPECT_EQ(list.capacity(), 2000);
  list.set_size(2000, 0);  // without a step the list grows by an eighth
  list.append("");
  EXPECT_EQ(list.capacity(), 2250);
}

TEST(TokenList, SetSizeFillsWithDefaultTokensThatAppendsFollow) {
  TokenList list;
  list.set_signatures(true);
  list.set_size(5);
  list.append("Hello");
  ASSERT_EQ(list.size(), 6);
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    expect_default_token(list, i);
  }
  EXPECT_EQ(list.text(5), "Hello");
  EXPECT_EQ(list.element(5).signature, signature_of("Hello"));
}

// Every text lives in the one buffer: appending past the buffer's room
// moves them all, and each token keeps its text and flag.
TEST(TokenList, TextsStayTheirsWhenTheBufferChangesAroundThem) {
  TokenList list;
  list.append("H");
  list.append(" - ", 1);
  list.append("Baum");
  EXPECT_EQ(testing::texts_of(list), (std::vector<std::string>{"H", " - ", "Baum"}));
  EXPECT_EQ(list.separator(1), 1);
  EXPECT_EQ(list.separator(2), 0);
  const WordToken last = list.element(2);
  EXPECT_EQ(last.offset + last.length, list.join().size());

  TokenList grown;
  grown.reserve_for(2, -1, 3);
  std::string expected;
  for (int i = 0; i < 2000; ++i) {
    const std::string text(static_cast<std::size_t>(i % 7), static_cast<char>('A' + i % 26));
    grown.append(text, static_cast<std::uint8_t>(i % 2));
    expected += text;
  }
  EXPECT_EQ(grown.join(), expected);
  for (int i = 0; i < 2000; i += 199) {
    EXPECT_EQ(grown.text(i), std::string(static_cast<std::size_t>(i % 7), static_cast<char>('A' + i % 26)));
    EXPECT_EQ(grown.separator(i), i % 2);
  }
}

TEST(TokenList, ShrinkingKeepsTheFrontAndRegrowingGivesDefaultTokens) {
  TokenList list = list_of({"one", "two", "three", "four"});
  const std::int32_t capacity = list.capacity();
  list.set_size(2);
  EXPECT_EQ(list.capacity(), capacity);
  EXPECT_EQ(list.join(), "onetwo");
  list.set_size(4);
  expect_default_token(list, 2);
  expect_default_token(list, 3);
}

TEST(TokenList, EmptyingReleasesTheStorage) {
  TokenList list = list_of({"Hello"});
  list.make_empty();
  EXPECT_EQ(list.size(), 0);
  EXPECT_EQ(list.capacity(), 0);
  EXPECT_EQ(list.join(), "");
  list.set_size(10, 0);
  list.set_size(0);
  EXPECT_EQ(list.capacity(), 0);
}

TEST(TokenList, IndicesOutsideTheListAndNegativeSizesAreImproperArguments) {
  TokenList list = list_of({"a", "b"});
  const TokenList& read_only = list;
  for (const std::int64_t index : {std::int64_t{-1}, std::int64_t{2}, INT64_MAX, INT64_MIN}) {
    SCOPED_TRACE(index);
    EXPECT_TRUE(FailsWith<InvalidArgument>([&] { list.element(index); }, kImproperArgument));
    EXPECT_TRUE(FailsWith<InvalidArgument>([&] { read_only.element(index); }, kImproperArgument));
    EXPECT_TRUE(FailsWith<InvalidArgument>([&] { read_only.text(index); }, kImproperArgument));
    EXPECT_TRUE(FailsWith<InvalidArgument>([&] { list.overwrite(index, "a"); }, kImproperArgument));
  }
  EXPECT_TRUE(FailsWith<InvalidArgument>([&] { TokenList().element(0); }, kImproperArgument));
  EXPECT_TRUE(FailsWith<InvalidArgument>([&] { list.set_size(-1); }, kImproperArgument));
  // A text written in place keeps its token's length; a token from beyond
  // the buffer has no text here.
  EXPECT_TRUE(FailsWith<InvalidArgument>([&] { list.overwrite(0, "ab"); }, kImproperArgument));
  EXPECT_TRUE(FailsWith<InvalidArgument>([&] { list.text(WordToken{2, 1}); }, kImproperArgument));
  EXPECT_EQ(list.join(), "ab");
}

// A text that would take the buffer past 2^31 - 1 bytes is refused before a
// byte of it is read (the view below points at a single byte).
TEST(TokenList, SizesPastTheLimitsAreRefusedBeforeAllocating) {
  TokenList list = list_of({"a"});
  EXPECT_THROW(list.set_size(TokenList::kMaxSize + 1), LimitExceeded);
  EXPECT_THROW(list.set_size(INT64_MAX), LimitExceeded);
  const char byte = 'x';
  const std::string_view too_long(&byte, static_cast<std::size_t>(TokenList::kMaxBytes));
  EXPECT_THROW(list.append(too_long), LimitExceeded);
  EXPECT_EQ(list.join(), "a");
  EXPECT_THROW(TokenList().reserve_for(1, -1, TokenList::kMaxBytes + 1), LimitExceeded);
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
  const std::uint64_t bytes = static_cast<std::uint64_t>(TokenList::kMaxSize) * sizeof(std::uint32_t);
  if (kAddressSanitizer) {
    GTEST_SKIP() << "AddressSanitizer's operator new ends the program instead of throwing";
  }
  if (!huge_allocations_fail(bytes)) GTEST_SKIP() << "this machine might grant the allocation";
  TokenList list = list_of({"a", "b"});
  EXPECT_TRUE(
      FailsWith<OutOfMemory>([&] { list.set_size(TokenList::kMaxSize); }, "Out of memory."));
  EXPECT_EQ(list.join(), "ab");
}

}  // namespace
}  // namespace quirlex
