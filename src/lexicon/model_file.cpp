#include "lexicon/model_file.h"

#include <cstring>

#include "io/whole_file.h"

namespace quirlex {

std::optional<std::string> read_model_file(const std::string& path, const char* kind,
                                           std::string& bytes) {
  const WholeFileRead read = read_whole_file(path, kMostModelFileBytes, bytes);
  const std::string file = std::string(kind) + " file";
  switch (read.outcome) {
    case WholeFileRead::Outcome::kRead:
      return std::nullopt;
    case WholeFileRead::Outcome::kCannotOpen:
      return "cannot open the " + file + " (" + std::strerror(read.error_number) + ")";
    case WholeFileRead::Outcome::kCannotRead:
      return "cannot read the " + file + " (" + std::strerror(read.error_number) + ")";
    case WholeFileRead::Outcome::kTooLong:
      break;
  }
  return "the " + file + " is damaged";
}

}  // namespace quirlex
