// Runs a program as a child process, with standard input from /dev/null, and
// collects its standard output and standard error separately together with
// how it ended, so tests can check a program's exact bytes and exit status.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quirlex::testing {

struct ProcessResult {
  int exit_status = -1;  // the status passed to exit, or -1 when a signal ended it
  int signal = 0;        // the signal that ended it, or 0
  std::string out;
  std::string err;
};

// Runs `program` with `arguments` (not including the program name itself).
// `prepare`, when given, runs in the child just before the program starts,
// to set limits or the identity it runs under; it may only make system calls.
// Throws std::runtime_error when the child cannot be started.
ProcessResult run_process(const std::string& program, const std::vector<std::string>& arguments,
                          const std::function<void()>& prepare = {});

}  // namespace quirlex::testing
