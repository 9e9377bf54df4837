#include "text/text_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

#include "text/case_map.h"
#include "text/failure.h"

namespace quirlex {
namespace {

struct Replacement {
  bool present = false;
  char first = 0;
  char second = 0;
};

constexpr std::array<Replacement, 256> make_transliteration() {
  std::array<Replacement, 256> table{};
  table[0xE4] = {true, 'a', 'e'};
  table[0xF6] = {true, 'o', 'e'};
  table[0xFC] = {true, 'u', 'e'};
  table[0xC4] = {true, 'A', 'e'};
  table[0xDC] = {true, 'U', 'e'};
  table[0xDF] = {true, 's', 's'};
  table[0xD6] = {true, 'O', 'e'};
  return table;
}

constexpr std::array<Replacement, 256> kTransliteration = make_transliteration();

// Closes the descriptor it holds unless released.
struct FileDescriptor {
  explicit FileDescriptor(int descriptor) : fd(descriptor) {}
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int release() { return std::exchange(fd, -1); }
  int fd;
};

[[noreturn]] void refuse_length(const std::string& file_name) {
  throw LimitExceeded("The file " + file_name + " is too large: texts of at most 2147483647 bytes can be read.");
}

// Reads until end of file. Returns false on a read error.
bool read_all(int fd, std::string& out, const std::string& file_name) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return false;
  std::size_t expected = 0;
  if (S_ISREG(info.st_mode)) {
    if (info.st_size > TextFile::kMaxLength) refuse_length(file_name);
    expected = static_cast<std::size_t>(info.st_size);
  }
  // One read into a buffer of the file's full length; the loop only goes on
  // for files that grow meanwhile or report no length (pipes, /proc).
  out.resize(expected + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == out.size()) {
      if (out.size() > static_cast<std::size_t>(TextFile::kMaxLength)) refuse_length(file_name);
      out.resize(std::max<std::size_t>(out.size() * 2, 65536));
    }
    const ssize_t got = ::read(fd, out.data() + used, out.size() - used);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  if (used > static_cast<std::size_t>(TextFile::kMaxLength)) refuse_length(file_name);
  out.resize(used);
  return true;
}

}  // namespace

void transliterate_umlauts(std::string& text) {
  std::size_t extra = 0;
  for (const char c : text) extra += kTransliteration[static_cast<std::uint8_t>(c)].present;
  if (extra == 0) return;
  std::size_t from = text.size();
  std::size_t to = from + extra;
  if (to > static_cast<std::size_t>(TextFile::kMaxLength)) {
    throw LimitExceeded("The text is too large: with its umlauts spelled out it exceeds 2147483647 bytes.");
  }
  text.resize(to);
  // Backwards, so the expansion happens in place in one pass.
  while (from > 0) {
    const char c = text[--from];
    const Replacement& r = kTransliteration[static_cast<std::uint8_t>(c)];
    if (r.present) {
      text[--to] = r.second;
      text[--to] = r.first;
    } else {
      text[--to] = c;
    }
  }
}

TextFile::~TextFile() { close(); }

void TextFile::close() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

bool TextFile::read(const std::string& file_name, bool transliterate, bool upper_case) {
  close();
  FileDescriptor file(::open(file_name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  if (file.fd < 0) return false;
  // Others may read the file while it is open here, but writers that honour
  // locks are kept out.
  flock(file.fd, LOCK_SH | LOCK_NB);
  std::string text;
  if (!read_all(file.fd, text, file_name)) return false;
  if (const void* nul = std::memchr(text.data(), 0, text.size())) {
    text.resize(static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
  }
  if (transliterate) transliterate_umlauts(text);
  if (upper_case) quirlex::upper_case(text);
  content_ = std::move(text);
  fd_ = file.release();
  return true;
}

}  // namespace quirlex
