// TextFile against another program writing the file while it is read: a
// writer that locks the file is waited for, and one that does not is never
// taken half-written. Every version the writers make is one letter repeated,
// so a text pieced together from two versions shows as a mix of letters.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "testing/temp_dir.h"
#include "text/text_file.h"

namespace quirlex {
namespace {

using testing::put_file;
using testing::TempDir;

constexpr std::size_t kLength = 1 << 20;

// Writes `bytes` at `at`; pwrite puts a regular file's bytes in one go.
void put_at(int fd, const std::string& bytes, std::size_t at) {
  ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(at)),
            static_cast<ssize_t>(bytes.size()));
}

// A writer that honours locks empties the file, writes half of the new
// text, dawdles and writes the rest; the read that starts meanwhile waits
// for the lock and gets the whole new text.
TEST(TextFileFaults, LockingWriterIsWaitedForAndItsWholeTextRead) {
  const TempDir dir;
  const std::string path = dir.file("text.txt");
  put_file(path, std::string(kLength, 'a'));
  const std::string next(kLength, 'b');
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  ASSERT_EQ(::ftruncate(fd, 0), 0);
  put_at(fd, next.substr(0, kLength / 2), 0);
  std::thread writer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    put_at(fd, next.substr(kLength / 2), kLength / 2);
    ::flock(fd, LOCK_UN);
  });
  TextFile file;
  const bool read = file.read(path, {.spell_out_umlauts = false});
  writer.join();
  ::close(fd);
  EXPECT_TRUE(read);
  EXPECT_TRUE(file.content() == next) << "read " << file.content().size() << " bytes";
}

// A writer that ignores locks makes version after version: it empties the
// file and writes the new text. At any moment the file holds one letter
// repeated (or nothing), so a text with two letters would be pieced
// together from two versions. Every read meanwhile gives such a moment or fails (the
// user is told the file cannot be opened); none gives a mix. Where file
// times come in steps of a clock tick, a version written within the tick of
// the one before changes no time, and only reading twice shows it.
TEST(TextFileFaults, FileChangingWithoutLocksIsNeverReadTorn) {
  const TempDir dir;
  const std::string path = dir.file("text.txt");
  put_file(path, std::string(kLength, 'a'));
  std::atomic<bool> stop = false;
  std::atomic<char> last = 'a';
  std::thread writer([&] {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    for (int version = 1; !stop; ++version) {
      const char letter = static_cast<char>('a' + version % 26);
      ASSERT_EQ(::ftruncate(fd, 0), 0);
      put_at(fd, std::string(kLength, letter), 0);
      last = letter;
      // Pauses of different lengths let reads start at every stage of a version.
      std::this_thread::sleep_for(std::chrono::microseconds(300 * (version % 5)));
    }
    ::close(fd);
  });
  int moments = 0;
  int failed = 0;
  int torn = 0;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
  while (std::chrono::steady_clock::now() < end) {
    TextFile file;
    if (!file.read(path, {.spell_out_umlauts = false})) {
      ++failed;
      continue;
    }
    const std::string& text = file.content();
    const bool one_letter = text.find_first_not_of(text[0]) == std::string::npos;
    ++(one_letter && text.size() <= kLength ? moments : torn);
  }
  stop = true;
  writer.join();
  EXPECT_EQ(torn, 0) << moments << " reads gave a moment of the file, " << failed << " failed";
  // Once the writer is done, the file reads as its last version.
  TextFile file;
  ASSERT_TRUE(file.read(path, {.spell_out_umlauts = false}));
  EXPECT_TRUE(file.content() == std::string(kLength, last));
}

}  // namespace
}  // namespace quirlex
