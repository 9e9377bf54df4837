// What every subcommand of quirlex-cli shares: the command logic behind a
// console window, messages in the program's name, input checks and output.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "cli/console_window.h"

namespace quirlex::cli {

inline constexpr const char* kProgram = "quirlex-cli";

// One run of the command logic behind a console window.
struct Session {
  Session();
  ConsoleWindow window;
  MainDialog dialog;
};

// Prints "quirlex-cli: TEXT" on standard error.
void say(const std::string& text);

// Whether a command ended without a failure (done, or nothing to do).
bool succeeded(CommandOutcome outcome);

// Checks that every named file can be read, telling the user of the first
// that cannot.
bool all_readable(const std::vector<std::string>& names);

// Writes the joined texts of `tokens` to the file `name` (replacing it only
// when complete), or to standard output for none or "-". Tells the user of
// a failure.
bool write_output(const std::optional<std::string>& name, const TokenList& tokens);

}  // namespace quirlex::cli
