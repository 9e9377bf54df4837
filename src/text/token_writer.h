// Writes a token list to a file: each token's text followed by a separator,
// in the list's encoding.
#pragma once

#include <string>
#include <string_view>

#include "text/token_list.h"

namespace quirlex {

// Writes every token's text, then `separator`, from the first token to the
// last, as the whole new content of `file_name`, in the list's encoding (a
// UTF-8 list with its byte order mark, if its file had one, and its kept
// characters). Throws FileError when the file cannot be created or
// written; the earlier file then stays as it was.
void write_tokens(const TokenList& list, const std::string& file_name, std::string_view separator);

}  // namespace quirlex
