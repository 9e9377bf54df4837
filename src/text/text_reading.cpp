#include "text/text_reading.h"

#include "text/tokenizer.h"

namespace quirlex {

bool read_text_tokens(TextFile& file, const std::string& path, TokenList& tokens,
                      ReadEncoding encoding) {
  if (!file.read(path, true, false, encoding)) return false;
  // The tokenizer leaves a list alone for an empty text: its encoding stays.
  if (file.content().empty()) return true;
  TextEncoding text_encoding = file.encoding();
  tokenize(file.take_content(), tokens, {});
  tokens.set_encoding(std::move(text_encoding));
  return true;
}

std::optional<std::string> read_text_file(const std::string& path, bool transliterate,
                                          bool upper_case, ReadEncoding encoding) {
  TextFile file;
  if (!file.read(path, transliterate, upper_case, encoding)) return std::nullopt;
  return file.take_content();
}

}  // namespace quirlex
