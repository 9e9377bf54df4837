#include "cli/console_output.h"

#include <cstdio>

#include "app/command_texts.h"
#include "base/failure.h"
#include "io/input_file.h"
#include "io/standard_output.h"
#include "text/token_writer.h"
#include "text/windows1252.h"

namespace quirlex::cli {

void say(std::string_view text) {
  std::fprintf(stderr, "%s: %.*s\n", kProgram, static_cast<int>(text.size()), text.data());
}

bool all_readable(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (!is_readable_file(name)) {
      say(name + ": " + texts::kCannotOpen);
      return false;
    }
  }
  return true;
}

std::string for_terminal(std::string_view text) {
  std::string plain;
  plain.reserve(text.size() + 1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    plain.push_back(text[i]);
  }
  if (!plain.empty() && plain.back() != '\n') plain.push_back('\n');
  return windows1252_to_utf8(plain);
}

bool write_output(const std::optional<std::string>& name, const TokenList& tokens,
                  std::string_view separator) {
  try {
    if (!name || *name == "-") {
      put_tokens(tokens, separator, [](std::string_view bytes) { write_standard_output(bytes); });
      flush_standard_output();
    } else {
      write_tokens(tokens, *name, separator);
    }
    return true;
  } catch (const FileError& error) {
    say(error.message());
    return false;
  }
}

}  // namespace quirlex::cli
