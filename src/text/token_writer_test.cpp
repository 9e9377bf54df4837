// write_tokens: the exact bytes written for a token list and a separator.
#include "text/token_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/expect_failure.h"
#include "testing/temp_dir.h"
#include "text/failure.h"
#include "text/token_list.h"
#include "text/tokenizer.h"

namespace quirlex {
namespace {

using testing::FailsWith;
using testing::file_exists;
using testing::get_file;
using testing::put_file;
using testing::TempDir;

TokenList list_of(std::initializer_list<std::string> texts) {
  TokenList list;
  for (const std::string& text : texts) list.append(WordToken::from_text(text));
  return list;
}

TEST(WriteTokens, WritesEachTextFollowedByTheSeparator) {
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  const TokenList list = list_of({"", "Hello", ", ", "world", "!\r\n"});
  write_tokens(list, path, "");
  EXPECT_EQ(get_file(path), "Hello, world!\r\n");
  write_tokens(list, path, "\n");
  EXPECT_EQ(get_file(path), "\nHello\n, \nworld\n!\r\n\n");
  write_tokens(list, path, "<>");
  EXPECT_EQ(get_file(path), "<>Hello<>, <>world<>!\r\n<>");
}

TEST(WriteTokens, TokenizedTextWritesBackUnchanged) {
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  TokenList list;
  tokenize("Hello, world!\r\nSecond line\n", list, TokenizeOptions{});
  write_tokens(list, path, "");
  EXPECT_EQ(get_file(path), "Hello, world!\r\nSecond line\n");
}

TEST(WriteTokens, EmptyListMakesAnEmptyFile) {
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  write_tokens(TokenList{}, path, "\n");
  ASSERT_TRUE(file_exists(path));
  EXPECT_EQ(get_file(path), "");
}

TEST(WriteTokens, ReplacesAllOfALongerEarlierFile) {
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  put_file(path, "an earlier, much longer content\n");
  write_tokens(list_of({"ab"}), path, "");
  EXPECT_EQ(get_file(path), "ab");
}

TEST(WriteTokens, WritesEveryByteValue) {
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  std::string bytes(256, '\0');
  for (int b = 0; b < 256; ++b) bytes[static_cast<std::size_t>(b)] = static_cast<char>(b);
  write_tokens(list_of({bytes, bytes}), path, std::string_view("\0", 1));
  EXPECT_EQ(get_file(path), bytes + std::string(1, '\0') + bytes + std::string(1, '\0'));
}

// The output is buffered; texts around and above the buffer's size must come
// out whole and in order.
TEST(WriteTokens, WritesLargeListsInOrder) {
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  TokenList list;
  std::string expected;
  for (int i = 0; i < 200'000; ++i) {
    const std::string text = std::to_string(i);
    list.append(WordToken::from_text(text));
    expected += text + "\r\n";
    if (i == 100'000) {
      const std::string big(3 << 20, static_cast<char>('a' + i % 26));
      list.append(WordToken::from_text(big));
      expected += big + "\r\n";
    }
  }
  write_tokens(list, path, "\r\n");
  const std::string written = get_file(path);
  EXPECT_EQ(written.size(), expected.size());
  EXPECT_TRUE(written == expected);
}

TEST(WriteTokens, FileInAMissingFolderFails) {
  const TempDir dir;
  const std::string path = dir.file("missing/out.txt");
  EXPECT_TRUE(FailsWith<FileError>([&] { write_tokens(list_of({"a"}), path, ""); },
                                   "All or part of the path " + path + " is invalid."));
  EXPECT_FALSE(file_exists(path));
}

}  // namespace
}  // namespace quirlex
