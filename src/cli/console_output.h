// What every subcommand of quirlex-cli shares: messages in the program's
// name, the check of its inputs, and its outputs.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/token_list.h"

namespace quirlex::cli {

inline constexpr const char* kProgram = "quirlex-cli";

// Prints "quirlex-cli: TEXT" on standard error.
void say(std::string_view text);

// Checks that every named file can be read, telling the user of the first
// that cannot.
bool all_readable(const std::vector<std::string>& names);

// Text for a terminal: UTF-8, line feeds only, ending in a line feed (an
// empty text stays empty).
std::string for_terminal(std::string_view text);

// Writes the texts of `tokens`, each followed by `separator`, in the list's
// encoding to the file
// `name` (replacing it only when complete), or to standard output for none
// or "-". Tells the user of a failure.
bool write_output(const std::optional<std::string>& name, const TokenList& tokens,
                  std::string_view separator = "");

}  // namespace quirlex::cli
