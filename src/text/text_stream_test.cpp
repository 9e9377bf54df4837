// TextStream: its pieces, joined, against TextFile's whole read of the same
// file, for contents whose reading turns on how they are cut (characters,
// umlauts and a byte order mark split between pieces, a decision that must
// look far ahead, a NUL byte); pipes read and rewound; unreadable files and
// read errors.
#include "text/text_stream.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

#include "base/failure.h"
#include "testing/child_action.h"
#include "testing/single_byte.h"
#include "testing/temp_dir.h"
#include "text/text_file.h"

namespace quirlex {
namespace {

using testing::put_file;
using testing::single_byte;
using testing::TempDir;

constexpr ReadEncoding kEncodings[] = {ReadEncoding::kAuto, ReadEncoding::kUtf8,
                                       ReadEncoding::kWindows1252};

// Reads the whole stream, checking that no piece is empty or longer than its
// bytes can make (each umlaut spelled out, a character cut off before).
std::string read_all(TextStream& stream, std::size_t piece_size, bool transliterate) {
  std::string joined;
  std::string piece = "left over from before";
  while (stream.next(piece)) {
    EXPECT_FALSE(piece.empty());
    EXPECT_LE(piece.size(), (piece_size + 3) * (transliterate ? 2 : 1));
    joined += piece;
  }
  EXPECT_TRUE(piece.empty());
  EXPECT_FALSE(stream.next(piece));
  return joined;
}

std::string whole_read(const std::string& path, bool transliterate, ReadEncoding encoding) {
  TextFile file;
  EXPECT_TRUE(file.read(path, {.encoding = encoding, .spell_out_umlauts = transliterate}));
  return file.content();
}

// `repeat` after `prefix`, as many times as fill `length` bytes.
std::string long_text(const std::string& prefix, const std::string& repeat, std::size_t length) {
  std::string text = prefix;
  while (text.size() < length) text += repeat;
  return text;
}

struct Content {
  const char* what;
  std::string bytes;
  bool large;  // too long to read a byte at a time
};

std::vector<Content> contents() {
  // Longer than one look ahead of the encoding decision, so that it reads
  // ahead more than once, with characters of every length at every offset.
  const std::string mixed = long_text("ascii first ", "a€😀ä", 2'300'000);
  return {
      {"empty", "", false},
      {"ASCII", "plain text\r\nwith lines, SUB \x1A and DEL \x7F\n", false},
      {"Windows-1252 umlauts", single_byte("Größe Ärger Öl Übel süß ") + "\x80 \x9F", false},
      {"UTF-8 umlauts", "Größe Ärger Öl Übel süß", false},
      {"UTF-8 with 3- and 4-byte characters", "Pfeil → Euro € Gesicht 😀 ä", false},
      {"byte order mark", "\uFEFFÄrger \uFEFF", false},
      {"byte order mark alone", "\uFEFF", false},
      {"byte order mark cut short", "\xEF\xBB", false},
      {"byte order mark after the start", "ab\uFEFF c", false},
      {"UTF-8 cut short at the end", "abc \xC3\xA4 \xF0\x9F\x98", false},
      {"invalid sequences", "\xE0\x80\x80 \xED\xA0\x80 \xF4\x90\x80\x80 \xC3 \xA4 \xFF\xC3\xA4",
       false},
      {"NUL ends the text before invalid bytes", "Größe" + std::string(1, '\0') + "\xFFö", false},
      {"NUL before the first umlaut", std::string("ascii\0ö", 8), false},
      {"invalid UTF-8 late after much ASCII",
       std::string(70'000, 'a') + "Größe" + std::string(70'000, 'b') + "\xE4 end", true},
      {"NUL in a later piece", std::string(70'000, 'a') + "ä" + '\0' + "\xE4", true},
      {"UTF-8 past one look ahead", mixed, true},
      {"invalid at the end of a long UTF-8 text", mixed + "\xC3", true},
  };
}

// The pieces, joined, are the whole read of the file, whatever the piece
// size, the encoding choice and the spelling of umlauts.
TEST(TextStream, PiecesJoinedAreTheWholeRead) {
  const TempDir dir;
  const std::string path = dir.file("text.txt");
  for (const Content& content : contents()) {
    put_file(path, content.bytes);
    const std::vector<std::size_t> sizes =
        content.large ? std::vector<std::size_t>{4097, TextStream::kDefaultPieceSize}
                      : std::vector<std::size_t>{1, 2, 3, 7, TextStream::kDefaultPieceSize};
    for (const ReadEncoding encoding : kEncodings) {
      for (const bool transliterate : {false, true}) {
        const std::string expected = whole_read(path, transliterate, encoding);
        for (const std::size_t piece_size : sizes) {
          SCOPED_TRACE(::testing::Message()
                       << content.what << ", encoding " << static_cast<int>(encoding)
                       << (transliterate ? ", umlauts spelled out" : "") << ", pieces of "
                       << piece_size);
          TextStream stream;
          ASSERT_TRUE(stream.open(path, {.encoding = encoding, .spell_out_umlauts = transliterate, .piece_size = piece_size}));
          EXPECT_TRUE(read_all(stream, piece_size, transliterate) == expected);
        }
      }
    }
  }
}

// A child process that writes `bytes` into a pipe and ends. The pipe's
// reading end is named so that a stream can open it; the child is there
// from the start, so the stream never sees a pipe without a writer.
class PipeWriter {
 public:
  explicit PipeWriter(const std::string& bytes) {
    int fds[2];
    EXPECT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    child_ = ::fork();
    if (child_ == 0) {
      ::close(fds[0]);
      for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t put = ::write(fds[1], bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) ::_exit(1);
        done += static_cast<std::size_t>(put);
      }
      ::_exit(0);
    }
    ::close(fds[1]);
    read_end_ = fds[0];
  }
  // A test that stopped reading leaves the child waiting: it is ended.
  ~PipeWriter() {
    ::close(read_end_);
    ::kill(child_, SIGKILL);
    ::waitpid(child_, nullptr, 0);
  }
  PipeWriter(const PipeWriter&) = delete;
  PipeWriter& operator=(const PipeWriter&) = delete;

  std::string path() const { return "/proc/self/fd/" + std::to_string(read_end_); }

 private:
  pid_t child_ = -1;
  int read_end_ = -1;
};

// A pipe cannot be read twice: its text is decided by what is kept of it,
// and a rewound stream gives its text again from wherever it was.
TEST(TextStream, PipeIsDecidedAndRewoundLikeAFile) {
  const TempDir dir;
  // The verdict needs the whole pipe (the invalid byte at its end), or only
  // a part of what is read ahead, and the stream reads on past that part.
  const std::string utf8 = long_text("aä", "text € ", 1'500'000);
  const std::string late = utf8 + "\xFF";
  const std::string soon = std::string(utf8).insert(5000, "\xFF");
  for (const std::string* bytes : {&late, &soon}) {
    const std::string path = dir.file("text.txt");
    put_file(path, *bytes);
    const std::string expected = whole_read(path, true, ReadEncoding::kAuto);
    for (const bool rewindable : {false, true}) {
      SCOPED_TRACE(::testing::Message() << (bytes == &late ? "late" : "soon") << " verdict"
                                        << (rewindable ? ", rewound" : ""));
      const PipeWriter pipe(*bytes);
      TextStream stream;
      ASSERT_TRUE(stream.open(pipe.path(), {.rewindable = rewindable, .piece_size = 1000}));
      std::string piece;
      std::string begun;
      for (int i = 0; i < 50 && stream.next(piece); ++i) begun += piece;
      if (rewindable) {
        stream.rewind();
        EXPECT_TRUE(read_all(stream, 1000, true) == expected);
        stream.rewind();
        EXPECT_TRUE(read_all(stream, 1000, true) == expected);
      } else {
        EXPECT_TRUE(begun + read_all(stream, 1000, true) == expected);
      }
    }
  }
}

TEST(TextStream, RewindStartsARegularFileAgain) {
  const TempDir dir;
  const std::string path = dir.file("text.txt");
  put_file(path, "\uFEFFabc äö def");
  const std::string expected = whole_read(path, true, ReadEncoding::kAuto);
  TextStream stream;
  ASSERT_TRUE(stream.open(path, {.rewindable = true, .piece_size = 2}));
  std::string piece;
  ASSERT_TRUE(stream.next(piece));
  stream.rewind();
  EXPECT_EQ(read_all(stream, 2, true), expected);
  stream.rewind();
  EXPECT_EQ(read_all(stream, 2, true), expected);
}

TEST(TextStream, UnreadableFilesAreNotOpened) {
  const TempDir dir;
  TextStream stream;
  EXPECT_FALSE(stream.open(dir.file("missing.txt"), {}));
  EXPECT_FALSE(stream.open(dir.path(), {}));
  std::string piece = "kept?";
  EXPECT_FALSE(stream.next(piece));
  EXPECT_TRUE(piece.empty());
  if (!testing::permissions_bind_unprivileged()) GTEST_SKIP() << "file permissions bind no user";
  const std::string path = dir.file("private.txt");
  put_file(path, "text");
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  const std::string opened = testing::run_as_unprivileged([&] {
    TextStream unprivileged;
    return std::string(unprivileged.open(path, {}) ? "opened" : "refused");
  });
  EXPECT_EQ(opened, "refused");
}

// The memory of this very process reads as a file whose first page fails.
TEST(TextStream, ReadErrorNamesTheFile) {
  TextStream stream;
  ASSERT_TRUE(stream.open("/proc/self/mem", {}));
  std::string piece;
  try {
    stream.next(piece);
    ADD_FAILURE() << "read " << piece.size() << " bytes";
  } catch (const FileError& failure) {
    EXPECT_NE(failure.message().find("/proc/self/mem"), std::string::npos) << failure.message();
  }
}

}  // namespace
}  // namespace quirlex
