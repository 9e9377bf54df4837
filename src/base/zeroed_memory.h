// A block of zero-filled memory for arrays of plain slots: large blocks from
// allocate_large_block (zero pages handed out lazily, huge pages), small
// ones from calloc.
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
