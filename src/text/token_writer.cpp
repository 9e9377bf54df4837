#include "text/token_writer.h"

#include "io/file_output.h"
#include "text/text_encoding.h"

namespace quirlex {
namespace {

// A UTF-8 text without separators is encoded a piece at a time, so that no
// second copy of a large text is made.
constexpr std::size_t kEncodePiece = std::size_t{1} << 20;

}  // namespace

void put_tokens(const TokenList& list, std::string_view separator,
                const std::function<void(std::string_view)>& put) {
  const std::string_view text = list.join();
  if (list.encoding().encoding == Encoding::kWindows1252) {
    if (separator.empty()) {
      put(text);
      return;
    }
    for (std::int32_t i = 0; i < list.size(); ++i) {
      put(list.text(i));
      put(separator);
    }
    return;
  }
  TextEncoder encoder(list.encoding());
  put(encoder.preamble());
  if (separator.empty()) {
    for (std::size_t at = 0; at < text.size(); at += kEncodePiece) {
      put(encoder.encode(text.substr(at, kEncodePiece)));
    }
    return;
  }
  for (std::int32_t i = 0; i < list.size(); ++i) {
    put(encoder.encode(list.text(i)));
    put(encoder.encode(separator));
  }
}

void write_tokens(const TokenList& list, const std::string& file_name, std::string_view separator) {
  FileOutput output(file_name);
  put_tokens(list, separator, [&output](std::string_view bytes) { output.write(bytes); });
  output.commit();
}

}  // namespace quirlex
