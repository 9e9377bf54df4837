// Writes a token list: each token's text followed by a separator, in the
// list's encoding, to a file or to any other place that takes bytes.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "text/token_list.h"

namespace quirlex {

// Calls `put` with the bytes of every token's text, each followed by
// `separator`, from the first token to the last, in the list's encoding (a
// UTF-8 list with its byte order mark, if its file had one, and its kept
// characters). Without a separator the pieces are the list's buffer itself,
// in large pieces. A piece is valid only during its call.
void put_tokens(const TokenList& list, std::string_view separator,
                const std::function<void(std::string_view)>& put);

// Writes what put_tokens gives as the whole new content of `file_name`.
// Throws FileError when the file cannot be created or written; the earlier
// file then stays as it was.
void write_tokens(const TokenList& list, const std::string& file_name, std::string_view separator);

}  // namespace quirlex
