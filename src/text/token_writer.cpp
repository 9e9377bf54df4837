#include "text/token_writer.h"

#include "io/file_output.h"
#include "text/text_encoding.h"

namespace quirlex {
namespace {

// A UTF-8 text without separators is encoded a piece at a time, so that no
// second copy of a large text is made.
constexpr std::size_t kEncodePiece = std::size_t{1} << 20;

// Tokens with separators are gathered into pieces of about this size: a
// call for each token and each separator would cost more than the copying.
constexpr std::size_t kGatherPiece = std::size_t{64} << 10;

// Gathers bytes and hands them on in pieces of about kGatherPiece.
class Gatherer {
 public:
  explicit Gatherer(const std::function<void(std::string_view)>& put) : put_(put) {
    piece_.reserve(kGatherPiece);
  }
  void add(std::string_view bytes) {
    if (piece_.size() + bytes.size() > kGatherPiece) flush();
    piece_.append(bytes);
  }
  void flush() {
    if (!piece_.empty()) put_(piece_);
    piece_.clear();
  }

 private:
  const std::function<void(std::string_view)>& put_;
  std::string piece_;
};

}  // namespace

void put_tokens(const TokenList& list, std::string_view separator,
                const std::function<void(std::string_view)>& put) {
  const std::string_view text = list.join();
  if (list.encoding().encoding == Encoding::kWindows1252) {
    if (separator.empty()) {
      put(text);
      return;
    }
    Gatherer gatherer(put);
    for (std::int32_t i = 0; i < list.size(); ++i) {
      gatherer.add(list.text(i));
      gatherer.add(separator);
    }
    gatherer.flush();
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
  Gatherer gatherer(put);
  for (std::int32_t i = 0; i < list.size(); ++i) {
    gatherer.add(encoder.encode(list.text(i)));
    gatherer.add(encoder.encode(separator));
  }
  gatherer.flush();
}

void write_tokens(const TokenList& list, const std::string& file_name, std::string_view separator) {
  FileOutput output(file_name);
  put_tokens(list, separator, [&output](std::string_view bytes) { output.write(bytes); });
  output.commit();
}

}  // namespace quirlex
