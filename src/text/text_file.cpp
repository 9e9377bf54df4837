#include "text/text_file.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>

#include "base/failure.h"
#include "base/large_block.h"
#include "text/case_map.h"
#include "text/input_file.h"
#include "text/transliteration.h"

namespace quirlex {
namespace {

[[noreturn]] void refuse_length(const std::string& file_name) {
  throw LimitExceeded("The file " + file_name +
                      " is too large: texts of at most 2147483647 bytes can be read.");
}

// Reads the file from its start until its end or its first NUL byte (the
// text ends there, so nothing after it is needed); `out` may hold bytes
// past the NUL, `text_length` is where the text ends. Returns false on a
// read error.
bool read_from_start(int fd, bool regular, std::size_t expected, std::string& out,
                     std::size_t& text_length, const std::string& file_name) {
  // One read into a buffer of the file's full length; the loop only goes on
  // for files that grow meanwhile or report no length (pipes, devices).
  // Room beyond the file's length (untouched, so it costs no memory) lets the
  // umlauts be spelled out in place afterwards instead of in a second copy.
  out.reserve(expected + expected / 8 + 64);
  if (out.capacity() >= kLargeBlockSize) advise_huge_pages(out.data(), out.capacity());
  out.resize(expected + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == out.size()) {
      if (out.size() > static_cast<std::size_t>(TextFile::kMaxLength)) refuse_length(file_name);
      out.resize(std::max<std::size_t>(out.size() * 2, 65536));
    }
    const ssize_t got =
        regular ? ::pread(fd, out.data() + used, out.size() - used, static_cast<off_t>(used))
                : ::read(fd, out.data() + used, out.size() - used);
    if (got < 0) {
      if (errno == EINTR) continue;
      // Opened without blocking: a pipe whose writer has not written yet is
      // waited for, until its next bytes or its end.
      if (!regular && errno == EAGAIN) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, -1) >= 0 || errno == EINTR) continue;
      }
      return false;
    }
    if (got == 0) break;
    const char* const chunk = out.data() + used;
    const void* const nul = std::memchr(chunk, 0, static_cast<std::size_t>(got));
    used += static_cast<std::size_t>(got);
    if (nul != nullptr) {
      out.resize(used);
      text_length = static_cast<std::size_t>(static_cast<const char*>(nul) - out.data());
      return true;
    }
  }
  out.resize(used);
  text_length = used;
  return true;
}

// Ends the text where its reading found its end.
void end_text(std::string& text, std::size_t text_length, const std::string& file_name) {
  text.resize(text_length);
  if (text.size() > static_cast<std::size_t>(TextFile::kMaxLength)) refuse_length(file_name);
}

// Whether the file still holds `bytes` from its start, up to their first NUL
// byte or else to the file's end. Two reads that agree give the text as it
// was at one moment between them. A write that was already under way when
// the first read began changes no time or size while it goes on, so only
// the bytes themselves can show it.
bool reads_the_same(int fd, const std::string& bytes) {
  const void* nul = std::memchr(bytes.data(), 0, bytes.size());
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
  // Without a NUL the text ran to the file's end, which must not have moved.
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

// Reads the whole text, again if the file changed while it was read, so that
// a text another program is writing meanwhile is not taken half-written.
bool read_whole_text(int fd, std::string& out, const std::string& file_name) {
  constexpr int kAttempts = 5;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    struct stat before {};
    if (::fstat(fd, &before) != 0) return false;
    const bool regular = S_ISREG(before.st_mode);
    if (S_ISDIR(before.st_mode)) return false;
    if (regular && before.st_size > TextFile::kMaxLength) refuse_length(file_name);
    const std::size_t expected = regular ? static_cast<std::size_t>(before.st_size) : 0;
    std::size_t text_length = 0;
    if (!read_from_start(fd, regular, expected, out, text_length, file_name)) return false;
    if (regular) {
      struct stat after {};
      if (::fstat(fd, &after) != 0) return false;
      if (!same_version(before, after) || (changed_lately(after) && !reads_the_same(fd, out))) {
        pause_briefly();
        continue;
      }
    }
    end_text(out, text_length, file_name);
    return true;
  }
  return false;
}

}  // namespace

TextFile::~TextFile() {
  close();
}

void TextFile::close() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

bool TextFile::read(const std::string& file_name, const TextFileOptions& options) {
  close();
  // Locked until the next read, so writers that honour locks keep out.
  FileDescriptor file(open_for_reading(file_name));
  if (file.fd < 0) return false;
  std::string text;
  if (!read_whole_text(file.fd, text, file_name)) return false;
  // Converted first, so that a UTF-8 umlaut is spelled out as its
  // Windows-1252 byte would be.
  TextEncoding text_encoding = decode_text(text, options.encoding);
  if (options.spell_out_umlauts) transliterate_umlauts(text);
  if (options.upper_case) quirlex::upper_case(text);
  content_ = std::move(text);
  encoding_ = std::move(text_encoding);
  fd_ = file.release();
  return true;
}

}  // namespace quirlex
