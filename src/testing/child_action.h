// Runs a piece of a test in a forked child process, for faults the test
// process itself must not suffer: a lowered memory limit, or a user that
// file permissions bind (tests often run as root, which they do not bind).
#pragma once

#include <functional>
#include <string>

namespace quirlex::testing {

// Runs `action` in a forked child and returns the text it returned. The child
// ends with _exit, so the test process's exit handlers and leak checks do not
// run a second time. `action` must not use gtest assertions (they would be
// lost with the child): it reports what it saw in its text instead. Throws
// std::runtime_error when the child ends without answering (a crash, a
// signal, an exception).
std::string run_in_child(const std::function<std::string()>& action);

// Gives up root's power to ignore file permissions: as root, the process
// becomes user and group 65534 ("nobody") without supplementary groups; any
// other user stays who it is. Ends the process with status 125 when it
// cannot. Only system calls, so it may run between fork and exec.
void drop_privileges();

// run_in_child, with the child's privileges dropped first.
std::string run_as_unprivileged(const std::function<std::string()>& action);

// Whether file permissions bind a process that dropped its privileges and
// whether such a process reaches the system's temporary folder: false for a
// user whose capabilities override permissions without being root.
bool permissions_bind_unprivileged();

}  // namespace quirlex::testing
