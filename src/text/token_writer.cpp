#include "text/token_writer.h"

#include "text/file_output.h"
#include "text/text_encoding.h"

namespace quirlex {

void write_tokens(const TokenList& list, const std::string& file_name, std::string_view separator) {
  FileOutput output(file_name);
  if (list.encoding().encoding == Encoding::kWindows1252) {
    for (const WordToken& token : list) {
      output.write(token.text);
      if (!separator.empty()) output.write(separator);
    }
  } else {
    TextEncoder encoder(list.encoding());
    output.write(encoder.preamble());
    for (const WordToken& token : list) {
      output.write(encoder.encode(token.text));
      if (!separator.empty()) output.write(encoder.encode(separator));
    }
  }
  output.commit();
}

}  // namespace quirlex
