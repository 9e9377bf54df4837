#include "io/standard_output.h"

#include <cerrno>
#include <cstdio>

#include "base/failure.h"

namespace quirlex {
namespace {

constexpr const char* kName = "standard output";

}  // namespace

void write_standard_output(std::string_view bytes) {
  // An empty piece may have no storage at all: fwrite must not see its null.
  if (bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) {
    throw FileError(kName, errno);
  }
}

void flush_standard_output() {
  if (std::fflush(stdout) != 0) throw FileError(kName, errno);
}

}  // namespace quirlex
