#include "io/input_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace quirlex {
namespace {

// Waits a while for a writer that holds the file locked to finish. Returns
// false when the lock stays taken; file systems without locks are no obstacle.
bool lock_for_reading(int fd) {
  constexpr int kAttempts = 100;  // about two seconds
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (::flock(fd, LOCK_SH | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return true;
    ::usleep(20'000);
  }
  return false;
}

}  // namespace

FileDescriptor::~FileDescriptor() {
  if (fd >= 0) ::close(fd);
}

int open_for_reading(const std::string& path) {
  // Non-blocking, so that a pipe without a writer cannot hang the program.
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (file.fd < 0) return -1;
  // Others may read the file while it is open here, but writers that honour
  // locks are kept out.
  if (!lock_for_reading(file.fd)) {
    ::close(file.release());
    errno = EWOULDBLOCK;
    return -1;
  }
  return file.release();
}

bool is_readable_file(const std::string& path) {
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (file.fd < 0) return false;
  struct stat info {};
  return ::fstat(file.fd, &info) == 0 && !S_ISDIR(info.st_mode);
}

}  // namespace quirlex
