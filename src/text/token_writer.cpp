#include "text/token_writer.h"

#include "text/file_output.h"

namespace quirlex {

void write_tokens(const TokenList& list, const std::string& file_name, std::string_view separator) {
  FileOutput output(file_name);
  for (const WordToken& token : list) {
    output.write(token.text);
    if (!separator.empty()) output.write(separator);
  }
  output.commit();
}

}  // namespace quirlex
