#include "text/text_encoding.h"

#include <cstring>

#include "text/utf8_decoder.h"
#include "text/windows1252.h"

namespace quirlex {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

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
  Utf8Check check;
  check.look(bytes.data(), bytes.size(), true);
  return check.verdict() == Utf8Check::Verdict::kUtf8;
}

TextEncoding decode_text(std::string& text, ReadEncoding choice) {
  TextEncoding result;
  const bool utf8 = choice == ReadEncoding::kUtf8 ||
                    (choice == ReadEncoding::kAuto && is_utf8_text(text));
  if (!utf8) return result;
  result.encoding = Encoding::kUtf8;
  std::vector<char32_t> kept;
  Utf8Decoder decoder(&kept);
  std::size_t taken = 0;
  text.resize(decoder.convert(text.data(), text.size(), true, taken));
  result.byte_order_mark = decoder.byte_order_mark();
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
