// Reading texts in either encoding: which files count as UTF-8, that a UTF-8
// text reads as its Windows-1252 form, and that what Windows-1252 lacks (or
// what is no UTF-8 at all) separates words and is written back unchanged.
#include "text/text_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/single_byte.h"
#include "testing/temp_dir.h"
#include "text/text_file.h"
#include "text/text_reading.h"
#include "text/token_writer.h"
#include "text/windows1252.h"

namespace quirlex {
namespace {

using testing::get_file;
using testing::put_file;
using testing::single_byte;
using testing::TempDir;

const std::string kByteOrderMark = "\xEF\xBB\xBF";

TEST(TextEncoding, UTF8IsAByteOrderMarkOrValidUTF8WithAMultiByteSequence) {
  struct Case {
    const char* what;
    std::string bytes;
    bool utf8;
  };
  const std::vector<Case> cases = {
      {"empty", "", false},
      {"ASCII only", "Hello, world!\r\n", false},
      {"a byte order mark alone", kByteOrderMark, true},
      {"a byte order mark before bytes that are no UTF-8", kByteOrderMark + "Gr\xF6\xDF" "e", true},
      {"one two-byte sequence", "Gr\xC3\xB6sse", true},
      {"one three-byte sequence last", "x \xE2\x86\x92", true},
      {"one four-byte sequence first", "\xF0\x9F\x98\x80 y", true},
      {"Windows-1252 umlauts", single_byte("Größe Ärger"), false},
      {"valid, then one Windows-1252 byte", "Gr\xC3\xB6\xDF" "e", false},
      {"a sequence cut by the end", "Gr\xC3\xB6\xC3", false},
      {"a stray continuation byte", "a\x80z", false},
      {"an overlong form", "\xC0\xAF", false},
      {"a surrogate", "\xED\xA0\x80", false},
      {"past U+10FFFF", "\xF4\x90\x80\x80", false},
      {"a lead byte before ASCII", "\xE2\x86z", false},
  };
  for (const Case& c : cases) EXPECT_EQ(is_utf8_text(c.bytes), c.utf8) << c.what;
}

class ReadEncodingTest : public ::testing::Test {
 protected:
  TextFile& read(std::string_view bytes, ReadEncoding encoding = ReadEncoding::kAuto) {
    put_file(path_, bytes);
    EXPECT_TRUE(file_.read(path_, {.encoding = encoding}));
    return file_;
  }
  // Reads `bytes` as a text and writes its tokens back; the bytes written.
  std::string round_trip(std::string_view bytes, ReadEncoding encoding = ReadEncoding::kAuto) {
    put_file(path_, bytes);
    TokenList tokens;
    EXPECT_TRUE(read_text_tokens(file_, path_, tokens, encoding));
    write_tokens(tokens, dir_.file("out.txt"), "");
    return get_file(dir_.file("out.txt"));
  }

  TempDir dir_;
  std::string path_ = dir_.file("text.txt");
  TextFile file_;
};

TEST_F(ReadEncodingTest, UTF8TextReadsAsItsWindows1252Form) {
  struct Case {
    std::string utf8;
    std::string windows1252;
  };
  const std::vector<Case> cases = {
      {"Größe, Ärger, Übel, Öl, süß\r\n", single_byte("Größe, Ärger, Übel, Öl, süß\r\n")},
      {kByteOrderMark + "Bäume\n", single_byte("Bäume\n")},
      {"5 € für „Zitate“ — é\n", "5 \x80 f\xFCr \x84Zitate\x93 \x97 \xE9\n"},
  };
  for (const Case& c : cases) {
    const std::string expected = read(c.windows1252).content();
    EXPECT_EQ(file_.encoding().encoding, Encoding::kWindows1252) << c.utf8;
    EXPECT_EQ(read(c.utf8).content(), expected) << c.utf8;
    EXPECT_EQ(file_.encoding().encoding, Encoding::kUtf8) << c.utf8;
    EXPECT_EQ(file_.encoding().byte_order_mark, c.utf8.starts_with(kByteOrderMark)) << c.utf8;
    // Written back as UTF-8, with the byte order mark if it had one.
    const std::string mark = c.utf8.starts_with(kByteOrderMark) ? kByteOrderMark : "";
    EXPECT_EQ(round_trip(c.utf8), mark + windows1252_to_utf8(expected)) << c.utf8;
  }
}

TEST_F(ReadEncodingTest, WhatWindows1252LacksSeparatesAndIsWrittenBackUnchanged) {
  struct Case {
    std::string bytes;
    std::vector<std::string> words;
    ReadEncoding encoding = ReadEncoding::kAuto;
  };
  const std::vector<Case> cases = {
      {"Pfeil\xE2\x86\x92hier und \xC3\xA9t\xC3\xA9\n", {"Pfeil", "hier", "und", "\xE9t\xE9"}},
      {"\xF0\x9F\x98\x80Lachen\xF0\x9F\x98\x80\xF0\x9F\x98\x80 \xC3\xA9\n", {"Lachen", "\xE9"}},
      {kByteOrderMark + "\xE2\x86\x92 Ziel\r\n", {"Ziel"}},
      {"own SUB\x1A" "chars \xE2\x86\x92\x1A\xE2\x86\x90 \xC3\xA9\n", {"own", "SUB", "chars", "\xE9"}},
      // No UTF-8, but read as UTF-8: each stray byte is kept as it is.
      {"Gr\xF6\xDF" "e \xE2\x86\n", {"Gr", "e"}, ReadEncoding::kUtf8},
      {kByteOrderMark + "Gr\xF6\xDF" "e\n", {"Gr", "e"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(round_trip(c.bytes, c.encoding), c.bytes) << c.bytes;
    put_file(path_, c.bytes);
    TokenList tokens;
    ASSERT_TRUE(read_text_tokens(file_, path_, tokens, c.encoding));
    std::vector<std::string> words;
    for (std::int32_t i = 0; i < tokens.size(); ++i) {
      if (tokens.separator(i) == 0) words.emplace_back(tokens.text(i));
    }
    EXPECT_EQ(words, c.words) << c.bytes;
  }
}

TEST_F(ReadEncodingTest, OtherFilesAreReadAndWrittenAsTheirBytes) {
  struct Case {
    std::string text;
    ReadEncoding encoding = ReadEncoding::kAuto;
  };
  const std::vector<Case> cases = {
      {"plain ASCII\x1A with SUB\r\n"},
      {single_byte("Größe\n")},
      {"Gr\xC3\xB6\xDF" "e \xE2\x86\x92\n"},  // valid at first, then not
      {"\xC3\xA4 read as bytes on request\n", ReadEncoding::kWindows1252},
  };
  for (const auto& [text, encoding] : cases) {
    const std::string expected = read(text, ReadEncoding::kWindows1252).content();
    EXPECT_EQ(read(text, encoding).content(), expected) << text;
    EXPECT_EQ(file_.encoding().encoding, Encoding::kWindows1252) << text;
    EXPECT_EQ(round_trip(text, encoding), expected) << text;
  }
}

TEST_F(ReadEncodingTest, AnEmptyTextLeavesTheListAndItsEncoding) {
  TokenList tokens;
  put_file(path_, "\xE2\x86\x92 x\n");
  ASSERT_TRUE(read_text_tokens(file_, path_, tokens));
  const TokenList before = tokens;
  put_file(path_, "");
  ASSERT_TRUE(read_text_tokens(file_, path_, tokens));
  EXPECT_EQ(tokens, before);
  EXPECT_EQ(tokens.encoding().encoding, Encoding::kUtf8);
  EXPECT_EQ(tokens.encoding().kept().size(), 1u);
}

}  // namespace
}  // namespace quirlex
