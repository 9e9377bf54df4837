// Opening a file for reading the way every reader of texts does: a pipe
// without a writer cannot hang the program, the descriptor is not handed to
// programs it starts, and a shared lock keeps writers that honour locks out
// while the file is open (one that holds the file is waited for briefly).
#pragma once

#include <string>
#include <utility>

namespace quirlex {

// Closes the descriptor it holds unless released.
struct FileDescriptor {
  explicit FileDescriptor(int descriptor = -1) : fd(descriptor) {}
  ~FileDescriptor();
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int release() { return std::exchange(fd, -1); }
  int fd;
};

// The descriptor of `path`, open for reading without blocking and locked
// shared; -1 with errno set when it cannot be opened or a writer keeps it
// locked (EWOULDBLOCK).
int open_for_reading(const std::string& path);

// Whether `path` opens for reading and is no folder. It is neither locked
// nor read, so a pipe loses nothing to the check.
bool is_readable_file(const std::string& path);

}  // namespace quirlex
