// How a command reads a text it works on: split into tokens. An unreadable
// file is told by the result, so the front end can name it to the user.
#pragma once

#include <string>

#include "text/text_encoding.h"
#include "text/text_file.h"
#include "text/token_list.h"

namespace quirlex {

// Reads `path` into `file` with umlauts spelled out and splits the text into
// `tokens` (signed, separators kept, every word in its own case), which take
// the file's encoding for
// writing back. Returns false when the file cannot be opened or read;
// `tokens` then stays as it was, and so does a list given an empty text. The
// file stays open (see TextFile); its content is handed to the tokens.
bool read_text_tokens(TextFile& file, const std::string& path, TokenList& tokens,
                      ReadEncoding encoding = ReadEncoding::kAuto);

}  // namespace quirlex
