// Writes a file so that nothing is lost on failure: the bytes go to a
// temporary file in the target's folder, which replaces the target only once
// everything was written. Devices and pipes (which cannot be replaced) are
// written directly. Every failure is a FileError naming the target.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace quirlex {

class FileOutput {
 public:
  // Creates the output for `file_name`; throws FileError when it cannot.
  explicit FileOutput(std::string file_name);
  ~FileOutput();
  FileOutput(const FileOutput&) = delete;
  FileOutput& operator=(const FileOutput&) = delete;

  void write(std::string_view bytes) {
    // Most pieces are one token's few bytes: copied here, without a call.
    if (bytes.size() <= kBufferSize - used_) {
      std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
      used_ += bytes.size();
    } else {
      write_past_buffer(bytes);
    }
  }
  // Writes out everything and closes the file, but leaves the target as it
  // was: files that must replace their predecessors together are each
  // finished first, then committed, so that a failure in any of them
  // replaces none. Nothing may be written afterwards.
  void finish();
  // Finishes the file, if that was not done, and puts it in place. Without
  // commit the target stays as it was.
  void commit();

 private:
  static constexpr std::size_t kBufferSize = std::size_t{1} << 20;

  void write_past_buffer(std::string_view bytes);
  void flush();
  void write_through(std::string_view bytes);
  [[noreturn]] void fail(int error_number);

  std::string file_name_;  // as given, for the messages
  std::string path_;       // the file to write: file_name_ with symbolic links followed
  std::string temp_name_;  // empty when writing the target directly
  int fd_ = -1;
  bool finished_ = false;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
};

}  // namespace quirlex
