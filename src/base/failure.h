// The failures that end a running command at their point of failure. The
// command framing catches `Failure` and shows `message()` to the user; the
// window then goes on with whatever the lists hold at that moment.
#pragma once

#include <new>
#include <stdexcept>
#include <string>

namespace quirlex {

class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  std::string message() const { return what(); }
};

// An index outside a list, or a value a routine cannot accept.
class InvalidArgument : public Failure {
 public:
  InvalidArgument() : Failure("Encountered an improper argument.") {}
};

// Storage that could not be allocated, or a size the tables refuse to reach.
class OutOfMemory : public Failure {
 public:
  OutOfMemory() : Failure("Out of memory.") {}
};

// The user asked a long command to stop; it ends where it was, and the
// command's own code decides what stays.
class Stopped : public Failure {
 public:
  Stopped() : Failure("Stopped.") {}
};

// A size or count past what the program's 32-bit counts can hold; refused
// before anything could overflow.
class LimitExceeded : public Failure {
 public:
  using Failure::Failure;
};

// A file that could not be created, written or read after it was opened. The
// text names the file and is chosen from the system's error number, in the
// manner of the platform's file-error messages.
class FileError : public Failure {
 public:
  FileError(const std::string& file_name, int error_number);
  const std::string& file_name() const { return file_name_; }
  int error_number() const { return error_number_; }

  // The message text for `error_number` with `file_name` in place of %1.
  static std::string describe(const std::string& file_name, int error_number);

 private:
  std::string file_name_;
  int error_number_;
};

// Runs `work` and returns its result; exhausted memory and sizes past what a
// container can hold leave it as OutOfMemory, the one failure the user sees
// for both.
template <typename Work>
auto failing_as_out_of_memory(Work&& work) -> decltype(work()) {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    throw OutOfMemory();
  } catch (const std::length_error&) {
    throw OutOfMemory();
  }
}

}  // namespace quirlex
