#include "text/text_stream.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "base/failure.h"
#include "io/byte_source.h"
#include "io/input_file.h"
#include "text/transliteration.h"
#include "text/utf8_decoder.h"

namespace quirlex {
namespace {

// How the bytes are taken. Until the first byte above ASCII both readings
// of an undecided text agree, so nothing needs deciding.
enum class Reading : std::uint8_t { kAsciiSoFar, kBytes, kUtf8 };

// What a decision reads ahead at a time.
constexpr std::size_t kLookAheadSize = std::size_t{1} << 20;

// The most bytes a chunk may leave over: a character cut after three bytes.
constexpr std::size_t kMostLeftOver = 3;

// Reads up to `size` bytes of the text from `at` on into `out`, moving `at`
// past them. Sets `end` once the text's end is reached: the file's first
// NUL byte (nothing from there on is taken) or the file's end.
std::size_t read_text(ByteSource& source, std::int64_t& at, char* out, std::size_t size, bool& end,
                      bool keep) {
  std::size_t filled = 0;
  while (filled < size) {
    const std::size_t got = source.read(at, out + filled, size - filled, keep);
    if (got == 0) {
      end = true;
      break;
    }
    const void* const nul = std::memchr(out + filled, 0, got);
    const std::size_t text =
        nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - (out + filled))
                       : got;
    filled += text;
    at += static_cast<std::int64_t>(text);
    if (nul != nullptr) {
      end = true;
      break;
    }
  }
  return filled;
}

}  // namespace

struct TextStream::State {
  State(int fd, const std::string& path, bool regular, ReadEncoding choice, bool spell_out,
        bool can_rewind, std::size_t size)
      : source(fd, path, regular, can_rewind),
        transliterate(spell_out),
        rewindable(can_rewind),
        piece_size(std::clamp<std::size_t>(size, 1, kMaxPieceSize)),
        reading(choice == ReadEncoding::kUtf8          ? Reading::kUtf8
                : choice == ReadEncoding::kWindows1252 ? Reading::kBytes
                                                       : Reading::kAsciiSoFar) {}

  std::size_t take(char* data, std::size_t size, std::int64_t chunk_at);
  void decide(const char* bytes, std::size_t size, std::int64_t at_high, std::int64_t chunk_at);

  ByteSource source;
  bool transliterate;
  bool rewindable;
  std::size_t piece_size;
  Reading reading;
  std::int64_t read_at = 0;  // the offset of the next byte to read
  bool ended = false;        // the text's end has been read
  Utf8Decoder decoder;
  // The bytes of a character the last chunk cut off.
  std::array<char, kMostLeftOver> left_over{};
  std::size_t left_over_size = 0;
};

// Turns the `size` bytes at `data`, read from `chunk_at` on, into text in
// place and returns its length; a cut-off character is left over.
std::size_t TextStream::State::take(char* data, std::size_t size, std::int64_t chunk_at) {
  if (reading == Reading::kAsciiSoFar) {
    const std::size_t high = skip_ascii(data, 0, size);
    if (high == size) return size;
    decide(data + high, size - high, chunk_at + static_cast<std::int64_t>(high), chunk_at);
  }
  if (reading == Reading::kBytes) return size;
  std::size_t taken = 0;
  const std::size_t length = decoder.convert(data, size, ended, taken);
  // The text is never longer than the bytes taken, so the rest is intact.
  left_over_size = size - taken;
  std::memcpy(left_over.data(), data + taken, left_over_size);
  return length;
}

// Decides how the text is read at its first byte above ASCII, at offset
// `at_high`: `bytes` are the chunk's from there on, and the rest of the text is
// looked at (through the source, never kept in memory) only as far as the
// verdict needs.
void TextStream::State::decide(const char* bytes, std::size_t size, std::int64_t at_high,
                               std::int64_t chunk_at) {
  Utf8Check check(at_high == 0);
  std::size_t taken = check.look(bytes, size, ended);
  if (check.verdict() == Utf8Check::Verdict::kOpen) {
    std::string ahead(kMostLeftOver + kLookAheadSize, '\0');
    std::size_t left = size - taken;
    std::memcpy(ahead.data(), bytes + taken, left);
    std::int64_t ahead_at = read_at;
    bool end = false;
    while (check.verdict() == Utf8Check::Verdict::kOpen) {
      const std::size_t length =
          left + read_text(source, ahead_at, ahead.data() + left, kLookAheadSize, end, true);
      taken = check.look(ahead.data(), length, end);
      left = length - taken;
      std::memmove(ahead.data(), ahead.data() + taken, left);
    }
  }
  if (check.verdict() == Utf8Check::Verdict::kUtf8) {
    reading = Reading::kUtf8;
    decoder = Utf8Decoder(nullptr, chunk_at == 0);
  } else {
    reading = Reading::kBytes;
  }
}

TextStream::TextStream() = default;
TextStream::~TextStream() = default;

bool TextStream::open(const std::string& path, const TextStreamOptions& options) {
  state_.reset();
  FileDescriptor file(open_for_reading(path));
  if (file.fd < 0) return false;
  struct stat info {};
  if (::fstat(file.fd, &info) != 0 || S_ISDIR(info.st_mode)) return false;
  state_ = std::make_unique<State>(
      file.release(), path, S_ISREG(info.st_mode), options.encoding, options.spell_out_umlauts,
      options.rewindable, options.piece_size != 0 ? options.piece_size : kDefaultPieceSize);
  return true;
}

bool TextStream::next(std::string& piece) {
  if (!state_) {
    piece.clear();
    return false;
  }
  State& s = *state_;
  for (;;) {
    if (s.ended && s.left_over_size == 0) {
      piece.clear();
      return false;
    }
    // The piece's own memory holds the bytes read, converted in place: a
    // string reused from the last piece is ready without being filled.
    const std::size_t room = s.left_over_size + s.piece_size;
    if (piece.size() < room) piece.resize(room);
    std::memcpy(piece.data(), s.left_over.data(), s.left_over_size);
    std::size_t size = s.left_over_size;
    s.left_over_size = 0;
    const std::int64_t chunk_at = s.read_at;
    if (!s.ended) {
      size += read_text(s.source, s.read_at, piece.data() + size, s.piece_size, s.ended, false);
    }
    piece.resize(s.take(piece.data(), size, chunk_at));
    // Pure ASCII holds no umlauts.
    if (s.transliterate && s.reading != Reading::kAsciiSoFar) transliterate_umlauts(piece);
    if (!piece.empty()) return true;
  }
}

void TextStream::rewind() {
  if (!state_ || !state_->rewindable) throw InvalidArgument();
  State& s = *state_;
  // How the text is read was decided for the whole text: it stays.
  s.read_at = 0;
  s.ended = false;
  s.left_over_size = 0;
  s.decoder = Utf8Decoder();
}

}  // namespace quirlex
