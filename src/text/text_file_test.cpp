// TextFile: reading whole files, the NUL cut, umlaut spelling, upper-casing,
// failed reads, and the open file kept between reads.
#include "text/text_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "testing/single_byte.h"
#include "testing/temp_dir.h"
#include "text/case_map.h"
#include "text/failure.h"

namespace quirlex {
namespace {

using testing::put_file;
using testing::single_byte;
using testing::TempDir;

constexpr bool kPlain = false;
constexpr bool kTransliterate = true;
constexpr bool kUpperCase = true;

// The bytes 1 to 255 in order (a 0 byte would end the text).
std::string nonzero_bytes() {
  std::string bytes;
  for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
  return bytes;
}

std::size_t open_descriptor_count() {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    ++count;
  }
  return count;
}

class TextFileTest : public ::testing::Test {
 protected:
  // Writes `bytes` to a file in the test's folder and reads it back.
  std::string read_back(std::string_view bytes, bool transliterate, bool upper_case) {
    const std::string path = dir_.file("text.txt");
    put_file(path, bytes);
    TextFile file;
    EXPECT_TRUE(file.read(path, transliterate, upper_case));
    return file.content();
  }

  TempDir dir_;
};

TEST_F(TextFileTest, NewFileIsClosedAndEmpty) {
  const TextFile file;
  EXPECT_FALSE(file.is_open());
  EXPECT_EQ(file.content(), "");
}

TEST_F(TextFileTest, ReadsTheWholeFileWithoutLineEndConversion) {
  EXPECT_EQ(read_back("Hello, world!\r\nSecond line\rthird\n", kPlain, false),
            "Hello, world!\r\nSecond line\rthird\n");
}

TEST_F(TextFileTest, ReadsLargeFilesWhole) {
  std::string bytes;
  for (int i = 0; bytes.size() < 3'000'000; ++i) bytes += "line " + std::to_string(i) + "\r\n";
  EXPECT_EQ(read_back(bytes, kPlain, false), bytes);
}

TEST_F(TextFileTest, EmptyFileReadsAsEmptyText) {
  const std::string path = dir_.file("empty.txt");
  put_file(path, "");
  TextFile file;
  EXPECT_TRUE(file.read(path, kTransliterate, kUpperCase));
  EXPECT_EQ(file.content(), "");
  EXPECT_TRUE(file.is_open());
}

TEST_F(TextFileTest, FileOfSeparatorsOnly) {
  EXPECT_EQ(read_back(" \r\n\t  ,.!\r\n", kTransliterate, kUpperCase), " \r\n\t  ,.!\r\n");
}

TEST_F(TextFileTest, TextEndsAtTheFirstZeroByte) {
  EXPECT_EQ(read_back(std::string("0123456789\0abc\0def", 18), kPlain, false), "0123456789");
  EXPECT_EQ(read_back(std::string("\0abc", 4), kPlain, false), "");
  EXPECT_EQ(read_back(single_byte("ä") + '\0' + single_byte("ä"), kTransliterate, kUpperCase),
            "AE");
}

TEST_F(TextFileTest, SpellsOutUmlauts) {
  EXPECT_EQ(read_back(single_byte("Größe"), kTransliterate, false), "Groesse");
  EXPECT_EQ(read_back(single_byte("Ärger"), kTransliterate, false), "Aerger");
  EXPECT_EQ(read_back(single_byte("ÄRGER"), kTransliterate, false), "AeRGER");
  EXPECT_EQ(read_back(single_byte("Öl Über über"), kTransliterate, false), "Oel Ueber ueber");
  EXPECT_EQ(read_back(single_byte("ÄÖÜäöüß"), kTransliterate, false), "AeOeUeaeoeuess");
}

TEST_F(TextFileTest, KeepsUmlautsWithoutTransliteration) {
  EXPECT_EQ(read_back(single_byte("Größe"), kPlain, false), single_byte("Größe"));
}

TEST_F(TextFileTest, UpperCasesAfterSpellingOut) {
  EXPECT_EQ(read_back(single_byte("Größe"), kTransliterate, kUpperCase), "GROESSE");
  EXPECT_EQ(read_back(single_byte("Ärger"), kTransliterate, kUpperCase), "AERGER");
  // Without spelling out, ö has a capital but ß has none.
  EXPECT_EQ(read_back(single_byte("Größe"), kPlain, kUpperCase), single_byte("GRÖßE"));
}

TEST_F(TextFileTest, ReadsEveryByteValueExactly) {
  const std::string bytes = nonzero_bytes() + nonzero_bytes();
  EXPECT_EQ(read_back(bytes, kPlain, false), bytes);

  std::string spelled;
  for (const char c : bytes) {
    switch (static_cast<unsigned char>(c)) {
      case 0xE4:
        spelled += "ae";
        break;
      case 0xF6:
        spelled += "oe";
        break;
      case 0xFC:
        spelled += "ue";
        break;
      case 0xC4:
        spelled += "Ae";
        break;
      case 0xDC:
        spelled += "Ue";
        break;
      case 0xDF:
        spelled += "ss";
        break;
      case 0xD6:
        spelled += "Oe";
        break;
      default:
        spelled += c;
    }
  }
  ASSERT_EQ(spelled.size(), bytes.size() + 14);
  EXPECT_EQ(read_back(bytes, kTransliterate, false), spelled);

  std::string upper = spelled;
  for (char& c : upper) c = upper_char(c);
  EXPECT_EQ(read_back(bytes, kTransliterate, kUpperCase), upper);
}

TEST_F(TextFileTest, TransliterationAlone) {
  std::string text;
  transliterate_umlauts(text);
  EXPECT_EQ(text, "");
  text = "plain text";
  transliterate_umlauts(text);
  EXPECT_EQ(text, "plain text");
  text = single_byte("ßß");
  transliterate_umlauts(text);
  EXPECT_EQ(text, "ssss");
}

TEST_F(TextFileTest, MissingFileFailsAndKeepsThePreviousContent) {
  const std::string path = dir_.file("first.txt");
  put_file(path, "first text");
  TextFile file;
  ASSERT_TRUE(file.read(path, kPlain, false));
  ASSERT_TRUE(file.is_open());
  EXPECT_FALSE(file.read(dir_.file("missing.txt"), kPlain, false));
  EXPECT_FALSE(file.is_open());
  EXPECT_EQ(file.content(), "first text");
}

TEST_F(TextFileTest, FolderCannotBeReadAndKeepsThePreviousContent) {
  const std::string path = dir_.file("first.txt");
  put_file(path, "first text");
  TextFile file;
  ASSERT_TRUE(file.read(path, kPlain, false));
  EXPECT_FALSE(file.read(dir_.path(), kPlain, false));
  EXPECT_FALSE(file.is_open());
  EXPECT_EQ(file.content(), "first text");
  EXPECT_FALSE(file.read("", kPlain, false));
  EXPECT_EQ(file.content(), "first text");
}

TEST_F(TextFileTest, ASecondReadReplacesTheContent) {
  put_file(dir_.file("a.txt"), "alpha");
  put_file(dir_.file("b.txt"), "beta");
  TextFile file;
  ASSERT_TRUE(file.read(dir_.file("a.txt"), kPlain, false));
  ASSERT_TRUE(file.read(dir_.file("b.txt"), kPlain, kUpperCase));
  EXPECT_TRUE(file.is_open());
  EXPECT_EQ(file.content(), "BETA");
  EXPECT_EQ(file.take_content(), "BETA");
  EXPECT_EQ(file.content(), "");
}

TEST_F(TextFileTest, KeepsOneFileOpenAndClosesItOnTheNextReadAndAtTheEnd) {
  const std::string path = dir_.file("text.txt");
  put_file(path, "text");
  const std::size_t before = open_descriptor_count();
  {
    TextFile file;
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(file.read(path, kPlain, false));
    EXPECT_EQ(open_descriptor_count(), before + 1);
    EXPECT_FALSE(file.read(dir_.file("missing.txt"), kPlain, false));
    EXPECT_EQ(open_descriptor_count(), before);
    ASSERT_TRUE(file.read(path, kPlain, false));
    EXPECT_EQ(open_descriptor_count(), before + 1);
  }
  EXPECT_EQ(open_descriptor_count(), before);
}

// While the file is open, a writer that asks for an exclusive lock is kept out.
TEST_F(TextFileTest, OpenFileKeepsLockingWritersOut) {
  const std::string path = dir_.file("text.txt");
  const std::string other = dir_.file("other.txt");
  put_file(path, "text");
  put_file(other, "other");
  const int writer = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_GE(writer, 0);
  TextFile file;
  ASSERT_TRUE(file.read(path, kPlain, false));
  EXPECT_NE(::flock(writer, LOCK_EX | LOCK_NB), 0);
  EXPECT_EQ(errno, EWOULDBLOCK);
  ASSERT_TRUE(file.read(other, kPlain, false));
  EXPECT_EQ(::flock(writer, LOCK_EX | LOCK_NB), 0) << "the next read released the first file";
  ::close(writer);
}

// Lengths are 32-bit counts: a longer file is refused before anything is
// allocated. A sparse file makes the length without the disk space.
TEST_F(TextFileTest, FileLongerThanTheLimitIsRefused) {
  const std::string small = dir_.file("small.txt");
  const std::string huge = dir_.file("huge.txt");
  put_file(small, "small");
  put_file(huge, "");
  std::filesystem::resize_file(huge, static_cast<std::uintmax_t>(TextFile::kMaxLength) + 1);
  TextFile file;
  ASSERT_TRUE(file.read(small, kPlain, false));
  try {
    file.read(huge, kPlain, false);
    ADD_FAILURE() << "the huge file was read";
  } catch (const LimitExceeded& failure) {
    EXPECT_NE(failure.message().find(huge), std::string::npos) << failure.message();
  }
  EXPECT_FALSE(file.is_open());
  EXPECT_EQ(file.content(), "small");
}

}  // namespace
}  // namespace quirlex
