// Reading a file whole into memory, as it was at one moment: a file that
// another program writes meanwhile is read again until it holds still, so
// it is never taken half-written. For files small enough to hold: texts,
// lexicons and model files.
#pragma once

#include <cstdint>
#include <string>

namespace quirlex {

struct WholeFileRead {
  enum class Outcome {
    kRead,
    kCannotOpen,  // missing, not readable, or locked by a writer
    kCannotRead,  // a folder, a read error, or a file that never held still
    kTooLong,     // more than the bytes asked for at the most
  };
  Outcome outcome = Outcome::kRead;
  // The system's error number of kCannotOpen and kCannotRead.
  int error_number = 0;
};

// Reads the file open at `fd` (as open_for_reading gives it) from its start
// to its end into `bytes`, or with `up_to_nul` only to its first NUL byte
// (nothing after it is read, and it is not kept). A regular file longer
// than `max_length` is refused by its length, before it is read; anything
// else once it reads past it. `bytes` has room for an eighth more than it
// holds, so that a caller may lengthen it in place. On failure `bytes` holds
// nothing of use.
WholeFileRead read_whole_file(int fd, std::uint64_t max_length, bool up_to_nul,
                              std::string& bytes);

// Opens `path` with open_for_reading, reads it whole as above and closes it.
WholeFileRead read_whole_file(const std::string& path, std::uint64_t max_length,
                              std::string& bytes);

}  // namespace quirlex
