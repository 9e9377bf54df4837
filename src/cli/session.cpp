#include "cli/session.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "base/failure.h"
#include "text/token_writer.h"

namespace quirlex::cli {
namespace {

bool can_read(const std::string& name) {
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info {};
  const bool ok = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
  ::close(fd);
  return ok;
}

}  // namespace

Session::Session() : window(kProgram, stderr), dialog(window) {
  dialog.initialize();
}

void say(const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", kProgram, text.c_str());
}

bool succeeded(CommandOutcome outcome) {
  return outcome == CommandOutcome::kDone || outcome == CommandOutcome::kNothing;
}

bool all_readable(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (!can_read(name)) {
      say(name + ": " + MainDialog::kCannotOpenMessage);
      return false;
    }
  }
  return true;
}

bool write_output(const std::optional<std::string>& name, const TokenList& tokens) {
  if (!name || *name == "-") {
    bool written = true;
    for (const WordToken& token : tokens) {
      written = written &&
                std::fwrite(token.text.data(), 1, token.text.size(), stdout) == token.text.size();
    }
    written = written && std::fflush(stdout) == 0;
    if (!written) say(FileError::describe("standard output", errno));
    return written;
  }
  try {
    write_tokens(tokens, *name, "");
    return true;
  } catch (const FileError& error) {
    say(error.message());
    return false;
  }
}

}  // namespace quirlex::cli
