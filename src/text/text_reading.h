// The two ways a command reads a file: a text split into tokens, and a
// file's bytes whole. Both tell an unreadable file by their result, so the
// front end can name it to the user.
#pragma once

#include <optional>
#include <string>

#include "text/text_encoding.h"
#include "text/text_file.h"
#include "text/token_list.h"

namespace quirlex {

// Reads `path` into `file` with umlauts spelled out and splits the text into
// `tokens` (signed, separators kept), which take the file's encoding for
// writing back. Returns false when the file cannot be opened or read;
// `tokens` then stays as it was, and so does a list given an empty text. The
// file stays open (see TextFile); its content is handed to the tokens.
bool read_text_tokens(TextFile& file, const std::string& path, TokenList& tokens,
                      ReadEncoding encoding = ReadEncoding::kAuto);

// The text of `path`, with umlauts spelled out when `transliterate` and
// upper-cased when `upper_case`, converted to Windows-1252 by `encoding`
// (a lexicon file is read as bytes; the stand-ins of a UTF-8 text only
// separate, so texts read this way never write them back); nullopt when the
// file cannot be opened or read.
std::optional<std::string> read_text_file(const std::string& path, bool transliterate,
                                          bool upper_case,
                                          ReadEncoding encoding = ReadEncoding::kWindows1252);

}  // namespace quirlex
