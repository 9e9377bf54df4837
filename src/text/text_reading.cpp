#include "text/text_reading.h"

#include "text/tokenizer.h"

namespace quirlex {

bool read_text_tokens(TextFile& file, const std::string& path, TokenList& tokens,
                      ReadEncoding encoding) {
  if (!file.read(path, {.encoding = encoding})) return false;
  // The tokenizer leaves a list alone for an empty text: its encoding stays.
  if (file.content().empty()) return true;
  TextEncoding text_encoding = file.encoding();
  // A text the user loads keeps the case of every word, its last one too.
  tokenize(file.take_content(), tokens, {.upper_case_last = false});
  tokens.set_encoding(std::move(text_encoding));
  return true;
}

}  // namespace quirlex
