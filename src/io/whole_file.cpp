#include "io/whole_file.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "base/large_block.h"
#include "io/input_file.h"

namespace quirlex {
namespace {

using Outcome = WholeFileRead::Outcome;

WholeFileRead failed(Outcome outcome, int error_number) {
  return {outcome, error_number};
}

// Reads up to `size` bytes at `offset` (a regular file) or next (anything
// else); the descriptor may be non-blocking, so a pipe whose writer has not
// written yet is waited for. -1 with errno set on a read error.
ssize_t read_some(int fd, bool regular, char* out, std::size_t size, std::size_t offset) {
  for (;;) {
    const ssize_t got = regular ? ::pread(fd, out, size, static_cast<off_t>(offset))
                                : ::read(fd, out, size);
    if (got >= 0) return got;
    if (errno == EINTR) continue;
    if (errno != EAGAIN) return -1;
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, -1) < 0 && errno != EINTR) return -1;
  }
}

// Reads the file from its start until its end or, with `up_to_nul`, its
// first NUL byte (nothing after it is needed); `out` may hold bytes past
// the NUL, `length` is where the content ends.
WholeFileRead read_from_start(int fd, bool regular, std::size_t expected, std::uint64_t max_length,
                              bool up_to_nul, std::string& out, std::size_t& length) {
  // One read into a buffer of the file's full length; the loop only goes on
  // for files that grow meanwhile or report no length (pipes, devices).
  // Room beyond the file's length (untouched, so it costs no memory) lets a
  // caller lengthen the content in place instead of in a second copy.
  out.reserve(expected + expected / 8 + 64);
  if (out.capacity() >= kLargeBlockSize) advise_huge_pages(out.data(), out.capacity());
  out.resize(expected + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == out.size()) {
      if (out.size() > max_length) return failed(Outcome::kTooLong, 0);
      out.resize(std::max<std::size_t>(out.size() * 2, 65536));
    }
    const ssize_t got = read_some(fd, regular, out.data() + used, out.size() - used, used);
    if (got < 0) return failed(Outcome::kCannotRead, errno);
    if (got == 0) break;
    const char* const chunk = out.data() + used;
    const void* const nul = up_to_nul ? std::memchr(chunk, 0, static_cast<std::size_t>(got)) : nullptr;
    used += static_cast<std::size_t>(got);
    if (nul != nullptr) {
      out.resize(used);
      length = static_cast<std::size_t>(static_cast<const char*>(nul) - out.data());
      return {};
    }
  }
  out.resize(used);
  length = used;
  return {};
}

// Whether the file still holds `bytes` from its start, up to their first NUL
// byte with `up_to_nul`, or else to the file's end. Two reads that agree
// give the content as it was at one moment between them. A write that was
// already under way when the first read began changes no time or size while
// it goes on, so only the bytes themselves can show it.
bool reads_the_same(int fd, const std::string& bytes, bool up_to_nul) {
  const void* nul = up_to_nul ? std::memchr(bytes.data(), 0, bytes.size()) : nullptr;
  const std::size_t length =
      nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data()) + 1
                     : bytes.size();
  std::string chunk(std::min<std::size_t>(length, 65536) + 1, '\0');
  std::size_t done = 0;
  while (done < length) {
    const ssize_t got =
        ::pread(fd, chunk.data(), std::min(chunk.size(), length - done), static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || std::memcmp(chunk.data(), bytes.data() + done, static_cast<std::size_t>(got))) {
      return false;
    }
    done += static_cast<std::size_t>(got);
  }
  if (nul != nullptr) return true;
  // Without a NUL the content ran to the file's end, which must not have moved.
  ssize_t got;
  do {
    got = ::pread(fd, chunk.data(), 1, static_cast<off_t>(done));
  } while (got < 0 && errno == EINTR);
  return got == 0;
}

bool same_version(const struct stat& a, const struct stat& b) {
  return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
         a.st_mtim.tv_nsec == b.st_mtim.tv_nsec && a.st_ctim.tv_sec == b.st_ctim.tv_sec &&
         a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

// Whether the file changed lately enough that its times may hide a further
// change: many file systems keep times in steps of a clock tick or even of
// seconds, and a write sets them as it begins, not as it goes on. Files left
// alone for a few seconds need not be read twice.
bool changed_lately(const struct stat& info) {
  constexpr time_t kSeconds = 5;
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return info.st_ctim.tv_sec >= now.tv_sec - kSeconds;
}

void pause_briefly() {
  ::usleep(20'000);
}

}  // namespace

WholeFileRead read_whole_file(int fd, std::uint64_t max_length, bool up_to_nul,
                              std::string& bytes) {
  constexpr int kAttempts = 5;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    struct stat before {};
    if (::fstat(fd, &before) != 0) return failed(Outcome::kCannotRead, errno);
    const bool regular = S_ISREG(before.st_mode);
    if (S_ISDIR(before.st_mode)) return failed(Outcome::kCannotRead, EISDIR);
    if (regular && static_cast<std::uint64_t>(before.st_size) > max_length) {
      return failed(Outcome::kTooLong, 0);
    }
    const std::size_t expected = regular ? static_cast<std::size_t>(before.st_size) : 0;
    std::size_t length = 0;
    const WholeFileRead read =
        read_from_start(fd, regular, expected, max_length, up_to_nul, bytes, length);
    if (read.outcome != Outcome::kRead) return read;
    if (regular) {
      struct stat after {};
      if (::fstat(fd, &after) != 0) return failed(Outcome::kCannotRead, errno);
      if (!same_version(before, after) ||
          (changed_lately(after) && !reads_the_same(fd, bytes, up_to_nul))) {
        pause_briefly();
        continue;
      }
    }
    bytes.resize(length);
    if (bytes.size() > max_length) return failed(Outcome::kTooLong, 0);
    return {};
  }
  // Changed at every attempt: no moment's content to be had.
  return failed(Outcome::kCannotRead, EAGAIN);
}

WholeFileRead read_whole_file(const std::string& path, std::uint64_t max_length,
                              std::string& bytes) {
  const FileDescriptor file(open_for_reading(path));
  if (file.fd < 0) return failed(Outcome::kCannotOpen, errno);
  return read_whole_file(file.fd, max_length, false, bytes);
}

}  // namespace quirlex
