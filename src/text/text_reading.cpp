#include "text/text_reading.h"

#include "text/tokenizer.h"

namespace quirlex {

bool read_text_tokens(TextFile& file, const std::string& path, TokenList& tokens) {
  if (!file.read(path, true, false)) return false;
  tokenize(file.take_content(), tokens, {});
  return true;
}

std::optional<std::string> read_text_file(const std::string& path, bool transliterate,
                                          bool upper_case) {
  TextFile file;
  if (!file.read(path, transliterate, upper_case)) return std::nullopt;
  return file.take_content();
}

}  // namespace quirlex
