#include "text/text_encoding.h"

#include <array>
#include <cstring>

#include "text/windows1252.h"
#include "text/word_byte_bits.h"

namespace quirlex {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Texts are mostly ASCII: eight bytes without a high bit are passed at once.
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

std::size_t skip_ascii(const char* data, std::size_t i, std::size_t size) {
  while (i + 8 <= size && (load8(data + i) & kHighBits) == 0) i += 8;
  while (i < size && static_cast<std::uint8_t>(data[i]) < 0x80) ++i;
  return i;
}

// The length of the well-formed multi-byte sequence at `i` (2 to 4), with
// its code point in `code_point`, or 0 when the bytes there are no UTF-8:
// a stray continuation byte, a cut sequence, an overlong form, a surrogate
// or a value past U+10FFFF.
std::size_t sequence_at(const unsigned char* p, std::size_t left, char32_t& code_point) {
  const unsigned char lead = p[0];
  std::size_t length;
  char32_t value;
  char32_t least;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (left < length) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((p[k] & 0xC0) != 0x80) return 0;
    value = (value << 6) | (p[k] & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  code_point = value;
  return length;
}

// The Windows-1252 byte of each code point below 0x2200 that has one, else 0
// (the code points of the bytes 0x80 to 0x9F lie up to U+2122).
struct FromUnicode {
  std::array<std::uint8_t, 0x2200> bytes{};
  FromUnicode() {
    for (int b = 1; b < 256; ++b) {
      bytes[windows1252_to_unicode(static_cast<std::uint8_t>(b))] = static_cast<std::uint8_t>(b);
    }
  }
};

std::uint8_t windows1252_byte(char32_t code_point) {
  static const FromUnicode table;
  return code_point < table.bytes.size() ? table.bytes[code_point] : 0;
}

// Converts the UTF-8 text from `from` on in place (each character becomes
// one byte, so the text only shrinks), keeping the characters Windows-1252
// lacks and every byte that is no UTF-8.
std::vector<char32_t> convert_in_place(std::string& text, std::size_t from) {
  std::vector<char32_t> kept;
  char* const data = text.data();
  const std::size_t size = text.size();
  std::size_t read = from;
  std::size_t write = 0;
  while (read < size) {
    const std::size_t ascii_end = skip_ascii(data, read, size);
    if (ascii_end > read) {
      // Within the run, SUB characters of the text itself are kept as well.
      for (std::size_t i = read; i < ascii_end; ++i) {
        if (data[i] == kStandIn) kept.push_back(static_cast<char32_t>(kStandIn));
      }
      if (write != read) std::memmove(data + write, data + read, ascii_end - read);
      write += ascii_end - read;
      read = ascii_end;
      if (read == size) break;
    }
    char32_t code_point = 0;
    const std::size_t length = sequence_at(reinterpret_cast<const unsigned char*>(data + read),
                                           size - read, code_point);
    if (length == 0) {
      kept.push_back(kRawByteBase + static_cast<std::uint8_t>(data[read]));
      data[write++] = kStandIn;
      ++read;
      continue;
    }
    const std::uint8_t byte = windows1252_byte(code_point);
    if (byte != 0) {
      data[write++] = static_cast<char>(byte);
    } else {
      kept.push_back(code_point);
      data[write++] = kStandIn;
    }
    read += length;
  }
  text.resize(write);
  return kept;
}

}  // namespace

std::optional<ReadEncoding> parse_read_encoding(std::string_view name) {
  std::string lower(name);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (lower == "auto") return ReadEncoding::kAuto;
  if (lower == "utf-8" || lower == "utf8") return ReadEncoding::kUtf8;
  if (lower == "windows-1252" || lower == "cp1252") return ReadEncoding::kWindows1252;
  return std::nullopt;
}

bool is_utf8_text(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) return true;
  const auto* const data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t size = bytes.size();
  bool multi_byte = false;
  std::size_t i = 0;
  for (;;) {
    i = skip_ascii(bytes.data(), i, size);
    if (i == size) return multi_byte;
    char32_t ignored = 0;
    const std::size_t length = sequence_at(data + i, size - i, ignored);
    if (length == 0) return false;
    multi_byte = true;
    i += length;
  }
}

TextEncoding decode_text(std::string& text, ReadEncoding choice) {
  TextEncoding result;
  const bool utf8 = choice == ReadEncoding::kUtf8 ||
                    (choice == ReadEncoding::kAuto && is_utf8_text(text));
  if (!utf8) return result;
  result.encoding = Encoding::kUtf8;
  result.byte_order_mark = text.starts_with(kByteOrderMark);
  std::vector<char32_t> kept = convert_in_place(text, result.byte_order_mark ? 3 : 0);
  if (!kept.empty()) {
    result.originals = std::make_shared<const std::vector<char32_t>>(std::move(kept));
  }
  return result;
}

void append_original_utf8(std::string& out, char32_t original) {
  if (original >= kRawByteBase + 0x80 && original <= kRawByteBase + 0xFF) {
    out.push_back(static_cast<char>(original - kRawByteBase));
  } else {
    append_utf8(out, original);
  }
}

TextEncoder::TextEncoder(const TextEncoding& encoding)
    : encoding_(encoding), kept_(encoding.kept()) {}

std::string_view TextEncoder::preamble() const {
  // Empty, but with storage: writers hand the bytes on to memcpy and fwrite.
  return encoding_.encoding == Encoding::kUtf8 && encoding_.byte_order_mark ? kByteOrderMark
                                                                             : std::string_view("");
}

std::string_view TextEncoder::encode(std::string_view text) {
  if (encoding_.encoding == Encoding::kWindows1252) return text;
  buffer_.clear();
  const char* const data = text.data();
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t ascii_end = skip_ascii(data, i, text.size());
    // ASCII stays; within it only the stand-ins change.
    while (i < ascii_end) {
      const void* found = std::memchr(data + i, kStandIn, ascii_end - i);
      const std::size_t stop =
          found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - data)
                           : ascii_end;
      buffer_.append(data + i, stop - i);
      i = stop;
      if (i == ascii_end) break;
      if (next_kept_ < kept_.size()) {
        append_original_utf8(buffer_, kept_[next_kept_++]);
      } else {
        buffer_.push_back(kStandIn);
      }
      ++i;
    }
    if (i < text.size()) {
      append_utf8(buffer_, windows1252_to_unicode(static_cast<std::uint8_t>(data[i])));
      ++i;
    }
  }
  return buffer_;
}

}  // namespace quirlex
