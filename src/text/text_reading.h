// The two ways a command reads a file: a text split into tokens, and a
// file's bytes whole. Both tell an unreadable file by their result, so the
// front end can name it to the user.
#pragma once

#include <optional>
#include <string>

#include "text/text_file.h"
#include "text/token_list.h"

namespace quirlex {

// Reads `path` into `file` with umlauts spelled out and splits the text into
// `tokens` (signed, separators kept). Returns false when the file cannot be
// opened or read; `tokens` then stays as it was. The file stays open (see
// TextFile); its content is handed to the tokens.
bool read_text_tokens(TextFile& file, const std::string& path, TokenList& tokens);

// The bytes of `path`, with umlauts spelled out when `transliterate` and
// upper-cased when `upper_case`; nullopt when the file cannot be opened or read.
std::optional<std::string> read_text_file(const std::string& path, bool transliterate,
                                          bool upper_case);

}  // namespace quirlex
