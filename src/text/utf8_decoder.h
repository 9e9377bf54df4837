// The UTF-8 side of text_encoding.h's rule: whether bytes are UTF-8 at all,
// and their conversion to the Windows-1252 bytes every command works on.
// Both go a chunk at a time, so that a text held whole (one chunk) and a
// text too large to hold (many) come out byte for byte the same. A chunk may
// end inside a character: the caller then passes its last bytes (at most
// three) again, in front of the next chunk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "text/word_byte_bits.h"

namespace quirlex {

// The end of the run of ASCII bytes that starts at `i` in the `size` bytes
// at `data`. Texts are mostly ASCII: eight bytes without a high bit are
// passed at once.
inline std::size_t skip_ascii(const char* data, std::size_t i, std::size_t size) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  while (i + 8 <= size && (load8(data + i) & kHighBits) == 0) i += 8;
  while (i < size && static_cast<std::uint8_t>(data[i]) < 0x80) ++i;
  return i;
}

// Converts a UTF-8 text to Windows-1252 in place: each character becomes
// one byte (a stand-in where Windows-1252 lacks it), each byte that is no
// UTF-8 a stand-in, so the text never grows. A byte order mark that begins
// the text is dropped.
class Utf8Decoder {
 public:
  // `kept`, when given, receives the originals of the stand-ins in text
  // order (see TextEncoding) and must outlive the decoder. Without
  // `at_text_start` the first chunk comes from the middle of a text, where
  // no byte order mark can stand.
  explicit Utf8Decoder(std::vector<char32_t>* kept = nullptr, bool at_text_start = true)
      : kept_(kept), at_text_start_(at_text_start) {}

  // Converts the `size` bytes at `data` in place and returns the length of
  // the result. `taken` tells how many bytes were converted: all of them when
  // `last` (the chunk ends the text), else all but a character the chunk
  // cuts off, whose bytes come again with the next chunk.
  std::size_t convert(char* data, std::size_t size, bool last, std::size_t& taken);

  // Whether the text began with the byte order mark.
  bool byte_order_mark() const { return byte_order_mark_; }

 private:
  std::vector<char32_t>* kept_;
  bool at_text_start_;
  bool byte_order_mark_ = false;
};

// Decides whether a text is UTF-8: it begins with the byte order mark, or
// it is valid UTF-8 with at least one multi-byte sequence. The verdict is
// often known early (a byte order mark, an invalid sequence); else only at
// the end of the text.
class Utf8Check {
 public:
  enum class Verdict : std::uint8_t { kOpen, kUtf8, kNotUtf8 };

  // Without `at_text_start` the first chunk comes from the middle of a text.
  explicit Utf8Check(bool at_text_start = true) : at_text_start_(at_text_start) {}

  // Looks at the next `size` bytes of the text; returns how many were taken,
  // as Utf8Decoder::convert does. With `last` the verdict is never open
  // afterwards; once it is not open, further chunks change nothing.
  std::size_t look(const char* data, std::size_t size, bool last);

  Verdict verdict() const { return verdict_; }

 private:
  bool at_text_start_;
  bool multi_byte_ = false;
  Verdict verdict_ = Verdict::kOpen;
};

}  // namespace quirlex
