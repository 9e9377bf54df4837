#include "text/utf8_decoder.h"

#include <array>
#include <cstring>

#include "text/text_encoding.h"
#include "text/windows1252.h"

namespace quirlex {
namespace {

constexpr char32_t kByteOrderMark = 0xFEFF;

// The length (2 to 4) of the sequence `lead` begins, with the value its own
// bits give and the least code point of that length; 0 for a byte that
// begins no well-formed sequence.
std::size_t sequence_length(unsigned char lead, char32_t& value, char32_t& least) {
  if (lead >= 0xC2 && lead <= 0xDF) {
    value = lead & 0x1F, least = 0x80;
    return 2;
  }
  if (lead >= 0xE0 && lead <= 0xEF) {
    value = lead & 0x0F, least = 0x800;
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    value = lead & 0x07, least = 0x10000;
    return 4;
  }
  return 0;
}

bool is_continuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// The length of the well-formed multi-byte sequence at `p` (2 to 4), with
// its code point in `code_point`, or 0 when the bytes there are no UTF-8:
// a stray continuation byte, a cut sequence, an overlong form, a surrogate
// or a value past U+10FFFF. Inlined in each walk: a call per character
// slows the check of a German text by several percent.
[[gnu::always_inline]] inline std::size_t sequence_at(const unsigned char* p, std::size_t left,
                                                      char32_t& code_point) {
  char32_t value = 0;
  char32_t least = 0;
  const std::size_t length = sequence_length(p[0], value, least);
  if (length == 0 || left < length) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if (!is_continuation(p[k])) return 0;
    value = (value << 6) | (p[k] & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  code_point = value;
  return length;
}

// Whether the `left` bytes at `p`, the last of a chunk, begin a sequence
// that the next chunk may complete. Whether it is well-formed is told once
// it is whole, exactly as it would be in the whole text.
bool cut_short(const unsigned char* p, std::size_t left) {
  char32_t value = 0;
  char32_t least = 0;
  const std::size_t length = sequence_length(p[0], value, least);
  if (left >= length) return false;
  for (std::size_t k = 1; k < left; ++k) {
    if (!is_continuation(p[k])) return false;
  }
  return true;
}

// Walks the `size` bytes at `data` in text order, handing `sink` each run of
// ASCII (ascii(from, to)), each well-formed sequence (character(code point,
// where)) and each byte that is no UTF-8 (raw(byte)); character and raw
// return false to end the walk. Returns the bytes taken: up to a sequence
// the chunk cuts off when not `last`.
template <typename Sink>
std::size_t walk(const char* data, std::size_t size, bool last, Sink& sink) {
  const auto* const bytes = reinterpret_cast<const unsigned char*>(data);
  std::size_t i = 0;
  while (i < size) {
    const std::size_t ascii_end = skip_ascii(data, i, size);
    if (ascii_end > i) {
      sink.ascii(i, ascii_end);
      i = ascii_end;
      if (i == size) break;
    }
    char32_t code_point = 0;
    const std::size_t length = sequence_at(bytes + i, size - i, code_point);
    if (length != 0) {
      if (!sink.character(code_point, i)) return size;
      i += length;
    } else if (!last && size - i < 4 && cut_short(bytes + i, size - i)) {
      break;
    } else {
      if (!sink.raw(bytes[i])) return size;
      ++i;
    }
  }
  return i;
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

// Writes the converted text over the bytes it comes from: each step writes
// at most the one byte it read, so writing never overtakes reading.
struct Converter {
  char* data;
  std::vector<char32_t>* kept;
  bool at_text_start;
  bool byte_order_mark = false;
  std::size_t write = 0;

  void ascii(std::size_t from, std::size_t to) {
    // Within the run, SUB characters of the text itself are kept as well.
    if (kept != nullptr) {
      for (std::size_t i = from; i < to; ++i) {
        if (data[i] == kStandIn) kept->push_back(static_cast<char32_t>(kStandIn));
      }
    }
    if (write != from) std::memmove(data + write, data + from, to - from);
    write += to - from;
  }
  bool character(char32_t code_point, std::size_t at) {
    if (at == 0 && at_text_start && code_point == kByteOrderMark) {
      byte_order_mark = true;
      return true;
    }
    const std::uint8_t byte = windows1252_byte(code_point);
    if (byte != 0) {
      data[write++] = static_cast<char>(byte);
    } else {
      if (kept != nullptr) kept->push_back(code_point);
      data[write++] = kStandIn;
    }
    return true;
  }
  bool raw(unsigned char byte) {
    if (kept != nullptr) kept->push_back(kRawByteBase + byte);
    data[write++] = kStandIn;
    return true;
  }
};

struct Checker {
  bool at_text_start;
  bool multi_byte;
  Utf8Check::Verdict verdict = Utf8Check::Verdict::kOpen;

  void ascii(std::size_t, std::size_t) {}
  bool character(char32_t code_point, std::size_t at) {
    if (at == 0 && at_text_start && code_point == kByteOrderMark) {
      verdict = Utf8Check::Verdict::kUtf8;
      return false;
    }
    multi_byte = true;
    return true;
  }
  bool raw(unsigned char) {
    verdict = Utf8Check::Verdict::kNotUtf8;
    return false;
  }
};

}  // namespace

std::size_t Utf8Decoder::convert(char* data, std::size_t size, bool last, std::size_t& taken) {
  Converter converter{data, kept_, at_text_start_};
  taken = walk(data, size, last, converter);
  byte_order_mark_ = byte_order_mark_ || converter.byte_order_mark;
  if (taken > 0) at_text_start_ = false;
  return converter.write;
}

std::size_t Utf8Check::look(const char* data, std::size_t size, bool last) {
  if (verdict_ != Verdict::kOpen) return size;
  Checker checker{at_text_start_, multi_byte_};
  const std::size_t taken = walk(data, size, last, checker);
  if (taken > 0) at_text_start_ = false;
  multi_byte_ = checker.multi_byte;
  verdict_ = checker.verdict;
  if (last && verdict_ == Verdict::kOpen) {
    verdict_ = multi_byte_ ? Verdict::kUtf8 : Verdict::kNotUtf8;
  }
  return taken;
}

}  // namespace quirlex
