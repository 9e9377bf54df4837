// The subcommands of quirlex-cli. Each calls the same core commands as the
// window's buttons, with the files named on the command line.
#pragma once

#include <string>
#include <vector>

namespace quirlex::cli {

// Exit statuses.
inline constexpr int kSuccess = 0;
inline constexpr int kFileFailure = 1;  // a file could not be read or written
inline constexpr int kUsageError = 2;

// Runs the program for the words after the program name.
int run_program(const std::vector<std::string>& words);

}  // namespace quirlex::cli
