#include "io/file_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "base/failure.h"

namespace quirlex {
namespace {

std::string folder_of(const std::string& file_name) {
  const auto slash = file_name.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return file_name.substr(0, slash);
}

// The file that writing to `file_name` must replace: for a symbolic link the
// file it points to, so the link stays and its file gets the new content,
// as when a link is opened for writing.
std::string file_behind_links(const std::string& file_name) {
  struct stat link {};
  if (::lstat(file_name.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return file_name;
  char* resolved = ::realpath(file_name.c_str(), nullptr);
  if (resolved == nullptr) return file_name;
  std::string path = resolved;
  std::free(resolved);
  return path;
}

mode_t default_mode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

FileOutput::FileOutput(std::string file_name)
    : file_name_(std::move(file_name)), path_(file_behind_links(file_name_)) {
  buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
  struct stat target {};
  const bool exists = ::stat(path_.c_str(), &target) == 0;
  if (exists && S_ISDIR(target.st_mode)) fail(EISDIR);
  if (exists && !S_ISREG(target.st_mode)) {
    // Non-blocking, so that a pipe nobody reads fails at once instead of
    // hanging the program; writes themselves block as usual.
    fd_ = ::open(path_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) fail(errno == ENXIO ? EPIPE : errno);
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    return;
  }
  // A regular or new file: write beside it and replace it at commit. The
  // target's own folder must be writable, as it must be to create the file.
  if (exists && ::access(path_.c_str(), W_OK) != 0) fail(errno);
  std::string pattern = folder_of(path_) + "/.quirlex-XXXXXX";
  fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd_ < 0) fail(errno);
  temp_name_ = std::move(pattern);
  ::fchmod(fd_, exists ? (target.st_mode & 07777) : default_mode());
}

FileOutput::~FileOutput() {
  if (fd_ >= 0) ::close(fd_);
  if (!temp_name_.empty()) ::unlink(temp_name_.c_str());
}

void FileOutput::fail(int error_number) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_name_.empty()) ::unlink(temp_name_.c_str());
  temp_name_.clear();
  throw FileError(file_name_, error_number);
}

void FileOutput::write_past_buffer(std::string_view bytes) {
  flush();
  if (bytes.size() < kBufferSize) {
    std::memcpy(buffer_.get(), bytes.data(), bytes.size());
    used_ = bytes.size();
  } else {
    write_through(bytes);
  }
}

void FileOutput::flush() {
  write_through({buffer_.get(), used_});
  used_ = 0;
}

void FileOutput::write_through(std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    done += static_cast<std::size_t>(put);
  }
}

void FileOutput::finish() {
  if (finished_) return;
  flush();
  if (!temp_name_.empty() && ::fsync(fd_) != 0 && errno != EINVAL) fail(errno);
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0 && errno != EINTR) {
    fail(errno);
  }
  finished_ = true;
}

void FileOutput::commit() {
  finish();
  if (!temp_name_.empty()) {
    if (::rename(temp_name_.c_str(), path_.c_str()) != 0) fail(errno);
    temp_name_.clear();
  }
}

}  // namespace quirlex
