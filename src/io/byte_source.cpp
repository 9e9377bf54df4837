#include "io/byte_source.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <utility>

#include "base/failure.h"

namespace quirlex {
namespace {

std::string temporary_folder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

// An unnamed file in `folder`: it goes away with its descriptor, even when
// the program is killed.
int create_unnamed_file(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) throw FileError(folder, errno);
  // A file system without unnamed files: a named one, removed at once.
  std::string path = folder + "/quirlex-XXXXXX";
  const int named = ::mkostemp(path.data(), O_CLOEXEC);
  if (named < 0) throw FileError(folder, errno);
  ::unlink(path.c_str());
  return named;
}

}  // namespace

ByteSource::ByteSource(int fd, std::string name, bool regular, bool keep_all)
    : file_(fd), name_(std::move(name)), regular_(regular), keep_all_(keep_all && !regular) {}

std::size_t ByteSource::read(std::int64_t offset, char* out, std::size_t size, bool keep) {
  if (size == 0) return 0;
  if (regular_) {
    for (;;) {
      const ssize_t got = ::pread(file_.fd, out, size, static_cast<off_t>(offset));
      if (got >= 0) return static_cast<std::size_t>(got);
      if (errno != EINTR) throw FileError(name_, errno);
    }
  }
  if (kept_.fd >= 0 && offset >= kept_begin_ && offset < kept_end_) {
    return read_kept(offset, out, size);
  }
  // Anything else is a fault of the reader, not of the file.
  if (offset != pipe_at_) throw InvalidArgument();
  const std::size_t got = read_pipe(out, size);
  if (keep_all_ || keep) {
    keep_bytes(offset, out, got);
  } else if (kept_.fd >= 0) {
    // The reader has gone past what it kept and does not come back.
    ::close(kept_.release());
  }
  return got;
}

std::size_t ByteSource::read_kept(std::int64_t offset, char* out, std::size_t size) {
  size = static_cast<std::size_t>(
      std::min<std::int64_t>(static_cast<std::int64_t>(size), kept_end_ - offset));
  for (;;) {
    const ssize_t got = ::pread(kept_.fd, out, size, static_cast<off_t>(offset - kept_begin_));
    // The kept file is ours: it cannot have ended early.
    if (got > 0) return static_cast<std::size_t>(got);
    if (got < 0 && errno == EINTR) continue;
    throw FileError(kept_folder_, got < 0 ? errno : EIO);
  }
}

std::size_t ByteSource::read_pipe(char* out, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(file_.fd, out, size);
    if (got >= 0) {
      pipe_at_ += got;
      return static_cast<std::size_t>(got);
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN) throw FileError(name_, errno);
    // Opened without blocking: wait for the writer's next bytes (or its end).
    pollfd ready{file_.fd, POLLIN, 0};
    if (::poll(&ready, 1, -1) < 0 && errno != EINTR) throw FileError(name_, errno);
  }
}

void ByteSource::keep_bytes(std::int64_t offset, const char* bytes, std::size_t size) {
  if (kept_.fd < 0) {
    kept_folder_ = temporary_folder();
    kept_.fd = create_unnamed_file(kept_folder_);
    kept_begin_ = kept_end_ = offset;
  }
  while (size > 0) {
    const ssize_t put = ::write(kept_.fd, bytes, size);
    if (put < 0) {
      if (errno == EINTR) continue;
      throw FileError(kept_folder_, errno);
    }
    bytes += put;
    size -= static_cast<std::size_t>(put);
    kept_end_ += put;
  }
}

}  // namespace quirlex
