// The bytes of an open file by their offset from its start, for a reader
// that goes forward, may look ahead and may start again. A regular file is
// read wherever asked. A pipe or device only goes forward, so what it gives
// is copied to an unnamed temporary file whenever the reader may want it
// again: all of it for a reader that starts again, and what a look ahead
// reads until the reader has caught up. Offsets are 64-bit: files of any
// size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "io/input_file.h"

namespace quirlex {

class ByteSource {
 public:
  // Takes over `fd`, open for reading (perhaps non-blocking); `name` names
  // the file in failures. `regular`: the file can be read at any offset.
  // `keep_all`: every byte of a pipe is kept, so any offset read once can
  // be read again.
  ByteSource(int fd, std::string name, bool regular, bool keep_all);

  // Reads up to `size` bytes at `offset` into `out` and returns how many: 0
  // only at the file's end. Of a pipe, `offset` must be one that was kept or
  // the next one the pipe gives; `keep` keeps what the pipe gives now. A read
  // error is a FileError naming the file; a temporary file that cannot be
  // made or written one naming the temporary folder.
  std::size_t read(std::int64_t offset, char* out, std::size_t size, bool keep = false);

 private:
  std::size_t read_kept(std::int64_t offset, char* out, std::size_t size);
  std::size_t read_pipe(char* out, std::size_t size);
  void keep_bytes(std::int64_t offset, const char* bytes, std::size_t size);

  FileDescriptor file_;
  std::string name_;
  bool regular_;
  bool keep_all_;
  std::int64_t pipe_at_ = 0;  // the offset of the pipe's next byte
  // The kept bytes of a pipe: those from kept_begin_ to kept_end_, which
  // is always pipe_at_ while they are kept.
  FileDescriptor kept_;
  std::string kept_folder_;
  std::int64_t kept_begin_ = 0;
  std::int64_t kept_end_ = 0;
};

}  // namespace quirlex
