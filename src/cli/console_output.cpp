#include "cli/console_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "app/command_texts.h"
#include "base/failure.h"
#include "text/token_writer.h"
#include "text/windows1252.h"

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

void say(std::string_view text) {
  std::fprintf(stderr, "%s: %.*s\n", kProgram, static_cast<int>(text.size()), text.data());
}

bool all_readable(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (!can_read(name)) {
      say(name + ": " + texts::kCannotOpen);
      return false;
    }
  }
  return true;
}

std::string for_terminal(std::string_view text) {
  std::string plain;
  plain.reserve(text.size() + 1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    plain.push_back(text[i]);
  }
  if (!plain.empty() && plain.back() != '\n') plain.push_back('\n');
  return windows1252_to_utf8(plain);
}

bool write_output(const std::optional<std::string>& name, const TokenList& tokens,
                  std::string_view separator) {
  if (!name || *name == "-") {
    // An empty piece may have no storage at all: fwrite must not see its null.
    bool written = true;
    put_tokens(tokens, separator, [&written](std::string_view bytes) {
      written = written && (bytes.empty() ||
                            std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size());
    });
    written = written && std::fflush(stdout) == 0;
    if (!written) say(FileError::describe("standard output", errno));
    return written;
  }
  try {
    write_tokens(tokens, *name, separator);
    return true;
  } catch (const FileError& error) {
    say(error.message());
    return false;
  }
}

}  // namespace quirlex::cli
