// Reading a file whole: to its end or its first NUL, the length limit by a
// regular file's size and by what a pipe gives, why a file cannot be read,
// and a pipe whose writer is slower than the reader.
#include "io/whole_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "io/input_file.h"
#include "testing/temp_dir.h"

namespace quirlex {
namespace {

using Outcome = WholeFileRead::Outcome;

TEST(WholeFile, ReadsToTheEndOrTheFirstNulWithinTheLimit) {
  const testing::TempDir dir;
  const std::string bytes("first\0second", 12);
  testing::put_file(dir.file("f"), bytes);
  const struct {
    std::uint64_t max_length;
    bool up_to_nul;
    Outcome outcome;
    std::string read;
  } cases[] = {
      {100, false, Outcome::kRead, bytes},
      {12, false, Outcome::kRead, bytes},
      {100, true, Outcome::kRead, "first"},
      {11, false, Outcome::kTooLong, ""},
      // A regular file is refused by its size, whatever its text.
      {11, true, Outcome::kTooLong, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.max_length << (c.up_to_nul ? " to the NUL" : ""));
    const FileDescriptor file(open_for_reading(dir.file("f")));
    ASSERT_GE(file.fd, 0);
    std::string read;
    EXPECT_EQ(read_whole_file(file.fd, c.max_length, c.up_to_nul, read).outcome, c.outcome);
    if (c.outcome == Outcome::kRead) {
      EXPECT_EQ(read, c.read);
    }
  }
  std::string read;
  const WholeFileRead missing = read_whole_file(dir.file("missing"), 100, read);
  EXPECT_EQ(missing.outcome, Outcome::kCannotOpen);
  EXPECT_EQ(missing.error_number, ENOENT);
  const WholeFileRead folder = read_whole_file(dir.path(), 100, read);
  EXPECT_EQ(folder.outcome, Outcome::kCannotRead);
  EXPECT_EQ(folder.error_number, EISDIR);
}

// A pipe opened without blocking whose writer starts late was taken as
// unreadable; one that gives more than the limit is cut off there.
TEST(WholeFile, APipeIsWaitedForAndLimitedByWhatItGives) {
  for (const std::uint64_t max_length : {std::uint64_t{1} << 20, std::uint64_t{1000}}) {
    SCOPED_TRACE(max_length);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const std::string path = "/proc/self/fd/" + std::to_string(fds[0]);
    const FileDescriptor file(open_for_reading(path));
    ::close(fds[0]);
    ASSERT_GE(file.fd, 0);
    // Less than a pipe holds: the writer never waits for the reader.
    const std::string text(50000, 'p');
    std::thread writer([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      std::size_t done = 0;
      while (done < text.size()) {
        const ssize_t put = ::write(fds[1], text.data() + done, text.size() - done);
        if (put <= 0) break;
        done += static_cast<std::size_t>(put);
      }
      ::close(fds[1]);
    });
    std::string read;
    const Outcome outcome = read_whole_file(file.fd, max_length, false, read).outcome;
    writer.join();
    if (max_length >= text.size()) {
      EXPECT_EQ(outcome, Outcome::kRead);
      EXPECT_TRUE(read == text) << read.size() << " bytes";
    } else {
      EXPECT_EQ(outcome, Outcome::kTooLong);
    }
  }
}

}  // namespace
}  // namespace quirlex
