// A block of zero-filled memory for large arrays of plain slots. Big blocks
// come straight from the system, which hands out zero pages lazily, and are
// asked to be backed by huge pages: a table of a gigabyte that is written at
// random places spends most of its time in address translation otherwise.
#pragma once

#include <cstddef>

namespace quirlex {

class ZeroedMemory {
 public:
  ZeroedMemory() = default;
  // Throws std::bad_alloc when the memory cannot be had.
  explicit ZeroedMemory(std::size_t bytes);
  ~ZeroedMemory();
  ZeroedMemory(ZeroedMemory&& other) noexcept;
  ZeroedMemory& operator=(ZeroedMemory&& other) noexcept;
  ZeroedMemory(const ZeroedMemory&) = delete;
  ZeroedMemory& operator=(const ZeroedMemory&) = delete;

  void* data() const { return data_; }

 private:
  void release();

  void* data_ = nullptr;
  std::size_t bytes_ = 0;
  bool mapped_ = false;
};

}  // namespace quirlex
