// TextFile: reading whole files, the NUL cut, umlaut spelling, upper-casing,
// failed and refused reads, and the open file kept between reads.
#include "text/text_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <string>

#include "base/failure.h"
#include "base/limits.h"
#include "testing/single_byte.h"
#include "testing/temp_dir.h"
#include "text/transliteration.h"

namespace quirlex {
namespace {

using testing::put_file;
using testing::single_byte;
using testing::TempDir;

constexpr bool kPlain = false;
constexpr bool kTransliterate = true;
constexpr bool kUpperCase = true;

class TextFileTest : public ::testing::Test {
 protected:
  // Writes `bytes` to a file in the test's folder and reads it back.
  std::string read_back(std::string_view bytes, bool transliterate, bool upper_case) {
    const std::string path = dir_.file("text.txt");
    put_file(path, bytes);
    TextFile file;
    EXPECT_TRUE(file.read(path, {.spell_out_umlauts = transliterate, .upper_case = upper_case}));
    EXPECT_TRUE(file.is_open());
    return file.content();
  }

  TempDir dir_;
};

TEST_F(TextFileTest, ReadsWholeFilesByteForByte) {
  EXPECT_EQ(read_back("", kTransliterate, kUpperCase), "");
  EXPECT_EQ(read_back("Hello, world!\r\nSecond line\rthird\n", kPlain, false),
            "Hello, world!\r\nSecond line\rthird\n");
  std::string large;
  for (int i = 0; large.size() < 3'000'000; ++i) large += "line " + std::to_string(i) + "\r\n";
  EXPECT_EQ(read_back(large, kPlain, false), large);
  std::string every_byte;
  for (int b = 1; b < 256; ++b) every_byte += static_cast<char>(b);
  EXPECT_EQ(read_back(every_byte, kPlain, false), every_byte);
}

TEST_F(TextFileTest, TextEndsAtTheFirstZeroByte) {
  EXPECT_EQ(read_back(std::string("0123456789\0abc\0def", 18), kPlain, false), "0123456789");
  EXPECT_EQ(read_back(std::string("\0abc", 4), kPlain, false), "");
  EXPECT_EQ(read_back(single_byte("ä") + '\0' + single_byte("ä"), kTransliterate, kUpperCase),
            "AE");
}

TEST_F(TextFileTest, SpellsOutUmlautsBeforeUpperCasing) {
  const struct {
    std::string utf8;
    bool transliterate, upper_case;
    std::string expected;
  } cases[] = {
      {"Größe", kTransliterate, false, "Groesse"},
      {"Ärger", kTransliterate, false, "Aerger"},
      {"ÄRGER", kTransliterate, false, "AeRGER"},
      {"ÄÖÜäöüß", kTransliterate, false, "AeOeUeaeoeuess"},
      {"Größe", kPlain, false, single_byte("Größe")},
      {"Größe", kTransliterate, kUpperCase, "GROESSE"},
      {"Ärger", kTransliterate, kUpperCase, "AERGER"},
      // Without spelling out, ö has a capital but ß has none.
      {"Größe", kPlain, kUpperCase, single_byte("GRÖßE")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(read_back(single_byte(c.utf8), c.transliterate, c.upper_case), c.expected);
  }
  // No other byte is spelled out.
  std::string others;
  for (int b = 1; b < 256; ++b) {
    if (single_byte("ÄÖÜäöüß").find(static_cast<char>(b)) == std::string::npos) {
      others += static_cast<char>(b);
    }
  }
  EXPECT_EQ(read_back(others, kTransliterate, false), others);
}

// Plain ASCII is passed over many bytes at a time, so umlauts must be found
// wherever they stand relative to those steps, high bytes that are no
// umlauts beside them.
TEST(TransliterateUmlauts, FindsUmlautsAtEveryPositionOfALongerText) {
  for (std::size_t at = 0; at < 40; ++at) {
    for (const char* neighbour : {"x", "\xE9"}) {
      std::string text(40, 'a');
      text[39 - at] = *neighbour;  // never `at`: 39 is odd
      text.replace(at, 1, single_byte("ö"));
      std::string expected = text;
      expected.replace(at, 1, "oe");
      SCOPED_TRACE(at);
      transliterate_umlauts(text);
      EXPECT_EQ(text, expected);
    }
  }
  std::string text = single_byte("ßabcdefghijklmnopä");
  transliterate_umlauts(text);
  EXPECT_EQ(text, "ssabcdefghijklmnopae");
  // Random texts of umlauts, other high bytes and ASCII, against spelling
  // out byte by byte.
  const std::string alphabet = single_byte("ÄÖÜäöüßéÿa ");
  std::mt19937 random(42);
  for (int round = 0; round < 3000; ++round) {
    std::string random_text(random() % 100, 'a');
    for (char& c : random_text) c = alphabet[random() % alphabet.size()];
    std::string expected;
    for (const char c : random_text) {
      const std::size_t umlaut = single_byte("ÄÖÜäöüß").find(c);
      expected += umlaut == std::string::npos ? std::string(1, c)
                                              : std::string("AeOeUeaeoeuess").substr(2 * umlaut, 2);
    }
    transliterate_umlauts(random_text);
    ASSERT_EQ(random_text, expected) << "round " << round;
  }
}

TEST_F(TextFileTest, FailedReadClosesTheFileAndKeepsThePreviousContent) {
  const std::string path = dir_.file("first.txt");
  put_file(path, "first text");
  for (const std::string& unreadable : {dir_.file("missing.txt"), dir_.path(), std::string()}) {
    SCOPED_TRACE(unreadable);
    TextFile file;
    ASSERT_TRUE(file.read(path, {.spell_out_umlauts = false}));
    EXPECT_FALSE(file.read(unreadable, {.spell_out_umlauts = false}));
    EXPECT_FALSE(file.is_open());
    EXPECT_EQ(file.content(), "first text");
  }
}

// The file of the last successful read stays open, locked against writers
// that ask for an exclusive lock, until the next read or the end of the
// object; no earlier file is left open.
TEST_F(TextFileTest, KeepsOnlyTheFileOfTheLastReadOpenAndLocked) {
  const std::string alpha = dir_.file("alpha.txt");
  const std::string beta = dir_.file("beta.txt");
  put_file(alpha, "alpha");
  put_file(beta, "beta");
  const auto locked = [](const std::string& path) {
    const int writer = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    const bool refused = ::flock(writer, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(writer);
    return refused;
  };
  {
    TextFile file;
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(file.read(alpha, {.spell_out_umlauts = false}));
    EXPECT_TRUE(locked(alpha));
    ASSERT_TRUE(file.read(beta, {.spell_out_umlauts = false, .upper_case = true}));
    EXPECT_FALSE(locked(alpha));
    EXPECT_TRUE(locked(beta));
    EXPECT_EQ(file.take_content(), "BETA");
    EXPECT_EQ(file.content(), "");
    EXPECT_FALSE(file.read(dir_.file("missing.txt"), {.spell_out_umlauts = false}));
    EXPECT_FALSE(locked(beta));
    ASSERT_TRUE(file.read(alpha, {.spell_out_umlauts = false}));
  }
  EXPECT_FALSE(locked(alpha));
}

// Lengths are 32-bit counts: a longer file is refused before anything is
// allocated. A sparse file makes the length without the disk space.
TEST_F(TextFileTest, FileLongerThanTheLimitIsRefused) {
  const std::string small = dir_.file("small.txt");
  const std::string huge = dir_.file("huge.txt");
  put_file(small, "small");
  put_file(huge, "");
  std::filesystem::resize_file(huge, static_cast<std::uintmax_t>(kCountLimit) + 1);
  TextFile file;
  ASSERT_TRUE(file.read(small, {.spell_out_umlauts = false}));
  try {
    file.read(huge, {.spell_out_umlauts = false});
    ADD_FAILURE() << "the huge file was read";
  } catch (const LimitExceeded& failure) {
    EXPECT_NE(failure.message().find(huge), std::string::npos) << failure.message();
  }
  EXPECT_FALSE(file.is_open());
  EXPECT_EQ(file.content(), "small");
}

}  // namespace
}  // namespace quirlex
