#include "text/text_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <new>
#include <utility>

#include "base/failure.h"
#include "base/large_block.h"
#include "text/case_map.h"
#include "text/word_byte_bits.h"

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

constexpr std::array<std::uint8_t, 256> make_umlaut_flags() {
  std::array<std::uint8_t, 256> flags{};
  for (int b = 0; b < 256; ++b) flags[b] = kTransliteration[b].present ? 1 : 0;
  return flags;
}

// 1 for the bytes that are spelled out; summed, it counts them.
constexpr std::array<std::uint8_t, 256> kIsUmlaut = make_umlaut_flags();

// Every byte spelled out lies above 0x7F, so eight bytes without a high bit
// can be passed over at once: most running text is mostly such bytes.
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

std::size_t count_umlauts(const char* data, std::size_t size) {
  std::size_t count = 0;
  std::size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    if ((load8(data + i) & kHighBits) == 0) continue;
    for (std::size_t k = i; k < i + 8; ++k) count += kIsUmlaut[static_cast<std::uint8_t>(data[k])];
  }
  for (; i < size; ++i) count += kIsUmlaut[static_cast<std::uint8_t>(data[i])];
  return count;
}

// The position just after the last byte before `end` that is spelled out, or
// 0 when there is none.
std::size_t after_last_umlaut(const char* data, std::size_t end) {
  for (;;) {
    while (end >= 8 && (load8(data + end - 8) & kHighBits) == 0) end -= 8;
    // The eight bytes before `end` hold a high bit (or are the text's start):
    // look at them one by one, then skip on.
    const std::size_t stop = end >= 8 ? end - 8 : 0;
    for (; end > stop; --end) {
      if (kIsUmlaut[static_cast<std::uint8_t>(data[end - 1])]) return end;
    }
    if (end == 0) return 0;
  }
}

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

// Waits a while for a writer that holds the file locked to finish. Returns
// false when the lock stays taken; file systems without locks are no obstacle.
bool lock_for_reading(int fd) {
  constexpr int kAttempts = 100;  // about two seconds
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (::flock(fd, LOCK_SH | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return true;
    pause_briefly();
  }
  return false;
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

void transliterate_umlauts(std::string& text) {
  const std::size_t extra = count_umlauts(text.data(), text.size());
  if (extra == 0) return;
  std::size_t from = text.size();
  std::size_t to = from + extra;
  if (to > static_cast<std::size_t>(TextFile::kMaxLength)) {
    throw LimitExceeded(
        "The text is too large: with its umlauts spelled out it exceeds 2147483647 bytes.");
  }
  text.resize(to);
  // Backwards, so the expansion happens in place in one pass: each run of
  // other bytes moves at once, each umlaut becomes its two letters.
  char* const data = text.data();
  while (from > 0) {
    const std::size_t run_end = from;
    from = after_last_umlaut(data, from);
    to -= run_end - from;
    std::memmove(data + to, data + from, run_end - from);
    if (from == 0) break;
    const Replacement& r = kTransliteration[static_cast<std::uint8_t>(data[--from])];
    data[--to] = r.second;
    data[--to] = r.first;
  }
}

TextFile::~TextFile() {
  close();
}

void TextFile::close() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

bool TextFile::read(const std::string& file_name, bool transliterate, bool upper_case,
                    ReadEncoding encoding) {
  close();
  // Non-blocking, so that a pipe without a writer cannot hang the program.
  FileDescriptor file(::open(file_name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (file.fd < 0) return false;
  // Others may read the file while it is open here, but writers that honour
  // locks are kept out until the next read.
  if (!lock_for_reading(file.fd)) return false;
  std::string text;
  if (!read_whole_text(file.fd, text, file_name)) return false;
  // Converted first, so that a UTF-8 umlaut is spelled out as its
  // Windows-1252 byte would be.
  TextEncoding text_encoding = decode_text(text, encoding);
  if (transliterate) transliterate_umlauts(text);
  if (upper_case) quirlex::upper_case(text);
  content_ = std::move(text);
  encoding_ = std::move(text_encoding);
  fd_ = file.release();
  return true;
}

}  // namespace quirlex
