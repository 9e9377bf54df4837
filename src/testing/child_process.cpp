#include "testing/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <stdexcept>

namespace quirlex::testing {
namespace {

// Both ends of a pipe, closed when the object goes away.
struct Pipe {
  Pipe() {
    if (::pipe2(fds.data(), O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  }
  ~Pipe() {
    close_read();
    close_write();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  void close_read() { close_end(0); }
  void close_write() { close_end(1); }
  void close_end(int end) {
    if (fds[end] >= 0) ::close(fds[end]);
    fds[end] = -1;
  }
  std::array<int, 2> fds{-1, -1};
};

// Reads both pipes until the child has closed them, so that neither can
// fill up and block the child while the other is read.
void drain(Pipe& out_pipe, Pipe& err_pipe, ProcessResult& result) {
  std::array<pollfd, 2> polls{{{out_pipe.fds[0], POLLIN, 0}, {err_pipe.fds[0], POLLIN, 0}}};
  std::array<std::string*, 2> sinks{&result.out, &result.err};
  int open_pipes = 2;
  char buffer[65536];
  while (open_pipes > 0) {
    if (::poll(polls.data(), polls.size(), -1) < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("poll failed");
    }
    for (std::size_t i = 0; i < polls.size(); ++i) {
      if (polls[i].fd < 0 || polls[i].revents == 0) continue;
      const ssize_t got = ::read(polls[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        polls[i].fd = -1;
        --open_pipes;
      }
    }
  }
}

}  // namespace

ProcessResult run_process(const std::string& program, const std::vector<std::string>& arguments,
                          const std::function<void()>& prepare) {
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  Pipe out_pipe;
  Pipe err_pipe;
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    // Only async-signal-safe calls from here on.
    const int null_input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (null_input < 0 || ::dup2(null_input, 0) < 0 || ::dup2(out_pipe.fds[1], 1) < 0 ||
        ::dup2(err_pipe.fds[1], 2) < 0) {
      ::_exit(126);
    }
    if (prepare) prepare();
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  out_pipe.close_write();
  err_pipe.close_write();

  ProcessResult result;
  drain(out_pipe, err_pipe, result);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("waitpid failed");
  }
  if (WIFEXITED(status)) {
    result.exit_status = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    result.signal = WTERMSIG(status);
  }
  return result;
}

}  // namespace quirlex::testing
