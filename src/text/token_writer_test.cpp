// write_tokens: the exact bytes written for a token list and a separator.
#include "text/token_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/temp_dir.h"
#include "testing/token_lists.h"
#include "text/text_encoding.h"
#include "text/token_list.h"

namespace quirlex {
namespace {

using testing::get_file;
using testing::list_of;
using testing::TempDir;

TEST(WriteTokens, WritesEachTextFollowedByTheSeparator) {
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  const TokenList list = list_of({"", "Hello", ", ", "world", "!\r\n"});
  write_tokens(list, path, "");
  EXPECT_EQ(get_file(path), "Hello, world!\r\n");
  write_tokens(list, path, "\n");
  EXPECT_EQ(get_file(path), "\nHello\n, \nworld\n!\r\n\n");
  std::string bytes(256, '\0');
  for (int b = 0; b < 256; ++b) bytes[static_cast<std::size_t>(b)] = static_cast<char>(b);
  write_tokens(list_of({bytes, bytes}), path, std::string_view("\0", 1));
  EXPECT_EQ(get_file(path), bytes + '\0' + bytes + '\0');
  // Many tokens, gathered into several pieces, in both encodings (the UTF-8
  // list spells its ä as two bytes).
  std::vector<std::string> texts;
  std::string expected;
  std::string expected_utf8;
  for (int i = 0; i < 30000; ++i) {
    texts.push_back(i % 1000 == 0 ? std::string(70000, 'x') : "w\xE4rt" + std::to_string(i));
    expected += texts.back() + "\n";
    expected_utf8 += (i % 1000 == 0 ? texts.back() : "w\xC3\xA4rt" + std::to_string(i)) + "\n";
  }
  TokenList many = list_of(texts);
  write_tokens(many, path, "\n");
  EXPECT_EQ(get_file(path), expected);
  TextEncoding utf8;
  utf8.encoding = Encoding::kUtf8;
  many.set_encoding(utf8);
  write_tokens(many, path, "\n");
  EXPECT_EQ(get_file(path), expected_utf8);
}

TEST(WriteTokens, EmptyListLeavesAnEmptyFileInPlaceOfAnEarlierOne) {
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  testing::put_file(path, "an earlier, longer content\n");
  write_tokens(TokenList{}, path, "\n");
  ASSERT_TRUE(testing::file_exists(path));
  EXPECT_EQ(get_file(path), "");
}

}  // namespace
}  // namespace quirlex
