#include "testing/child_action.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <stdexcept>

#include "testing/temp_dir.h"

namespace quirlex::testing {
namespace {

constexpr uid_t kNobody = 65534;

void write_all(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) ::_exit(124);
    done += static_cast<std::size_t>(put);
  }
}

}  // namespace

std::string run_in_child(const std::function<std::string()>& action) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    ::close(fds[0]);
    int status = 0;
    std::string answer;
    try {
      answer = action();
    } catch (const std::exception& error) {
      answer = std::string("exception: ") + error.what();
      status = 123;
    }
    write_all(fds[1], answer);
    ::_exit(status);
  }
  ::close(fds[1]);
  std::string answer;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(fds[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    answer.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fds[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("waitpid failed");
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error("the child process " +
                             (WIFSIGNALED(status)
                                  ? "ended by signal " + std::to_string(WTERMSIG(status))
                                  : "exited with status " + std::to_string(WEXITSTATUS(status))) +
                             (answer.empty() ? "" : ": " + answer));
  }
  return answer;
}

void drop_privileges() {
  if (::geteuid() != 0) return;
  if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
    ::_exit(125);
  }
}

std::string run_as_unprivileged(const std::function<std::string()>& action) {
  return run_in_child([&] {
    drop_privileges();
    return action();
  });
}

bool permissions_bind_unprivileged() {
  static const bool bind = [] {
    const TempDir dir;
    const std::string open_file = dir.file("open.txt");
    const std::string closed_file = dir.file("closed.txt");
    put_file(open_file, "");
    put_file(closed_file, "");
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(open_file.c_str(), 0644);
    ::chmod(closed_file.c_str(), 0);
    const auto opens = [](const std::string& path) {
      const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
      if (fd >= 0) ::close(fd);
      return fd >= 0;
    };
    return run_as_unprivileged([&] {
             return opens(open_file) && !opens(closed_file) ? "bind" : "ignored";
           }) == "bind";
  }();
  return bind;
}

}  // namespace quirlex::testing
