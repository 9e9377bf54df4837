// The two encodings a text file may come in, and the conversion of UTF-8
// texts to the Windows-1252 bytes every command works on. A file that begins
// with the UTF-8 byte order mark, or is valid UTF-8 and holds at least one
// multi-byte sequence, is UTF-8; every other file is Windows-1252 and its
// bytes are taken as they are (pure ASCII is both and so stays untouched).
//
// A character Windows-1252 cannot hold (an arrow, an emoji) is not lost: it
// stands in the converted text as one kStandIn byte, a separator, and its
// code point is kept in text order beside the text. Commands keep separators
// as they are and never reorder them, so the n-th stand-in of a text still
// belongs to the n-th kept character when the text is written back.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quirlex {

enum class Encoding : std::uint8_t { kWindows1252, kUtf8 };

// How a reader decides a file's encoding.
enum class ReadEncoding : std::uint8_t {
  kAuto,         // by the rule above
  kUtf8,         // always UTF-8 (bytes that are no UTF-8 are kept as they are)
  kWindows1252,  // always the bytes as they are
};

// "auto", "utf-8" or "windows-1252" (any case); nothing for another name.
std::optional<ReadEncoding> parse_read_encoding(std::string_view name);

// The byte that stands for a kept character: SUB, a control character that
// texts hardly ever hold, below 0x40 so that it separates words. A text's own
// SUB characters are kept the same way, so every stand-in has its original.
inline constexpr char kStandIn = '\x1A';

// Kept originals of bytes that are no UTF-8 at all (only in a file read as
// UTF-8 although it is not valid): the byte plus this base, a range no
// decoded character can have (the low surrogates), so each byte comes back.
inline constexpr char32_t kRawByteBase = 0xDC00;

// How a text came in, so that it can be written back the same way.
struct TextEncoding {
  Encoding encoding = Encoding::kWindows1252;
  // The file began with the UTF-8 byte order mark (it is not in the text).
  bool byte_order_mark = false;
  // The originals of the stand-ins, in text order; shared by the copies of
  // a list (a scrambled list shares its source's).
  std::shared_ptr<const std::vector<char32_t>> originals;

  std::span<const char32_t> kept() const {
    return originals ? std::span<const char32_t>(*originals) : std::span<const char32_t>();
  }
};

// Whether `bytes` are a UTF-8 text by the rule above.
bool is_utf8_text(std::string_view bytes);

// Decides the encoding of `text` (the bytes of a file) and, for UTF-8,
// converts it in place to Windows-1252 with stand-ins; the result tells how
// to write it back. Windows-1252 texts are not changed.
TextEncoding decode_text(std::string& text, ReadEncoding choice);

// Turns Windows-1252 texts back into the bytes of an encoding, piece by
// piece in text order, each stand-in becoming its original again. A stand-in
// beyond the kept originals is written as the SUB character it is.
class TextEncoder {
 public:
  // `encoding` must outlive the encoder.
  explicit TextEncoder(const TextEncoding& encoding);

  // What the output begins with: the byte order mark, or nothing.
  std::string_view preamble() const;
  // `text` in the output's encoding; valid until the next call.
  std::string_view encode(std::string_view text);

 private:
  const TextEncoding& encoding_;
  std::span<const char32_t> kept_;
  std::size_t next_kept_ = 0;
  std::string buffer_;
};

// The UTF-8 form of one kept original: a raw byte comes back as itself.
void append_original_utf8(std::string& out, char32_t original);

}  // namespace quirlex
