#include "base/zeroed_memory.h"

#include <cstdlib>
#include <new>
#include <utility>

#include "base/large_block.h"

namespace quirlex {

ZeroedMemory::ZeroedMemory(std::size_t bytes) : bytes_(bytes) {
  if (bytes == 0) return;
  if (bytes >= kLargeBlockSize) {
    data_ = allocate_large_block(bytes);
    mapped_ = true;
    return;
  }
  data_ = std::calloc(bytes, 1);
  if (data_ == nullptr) throw std::bad_alloc();
}

ZeroedMemory::~ZeroedMemory() {
  release();
}

ZeroedMemory::ZeroedMemory(ZeroedMemory&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      bytes_(std::exchange(other.bytes_, 0)),
      mapped_(std::exchange(other.mapped_, false)) {}

ZeroedMemory& ZeroedMemory::operator=(ZeroedMemory&& other) noexcept {
  if (this != &other) {
    release();
    data_ = std::exchange(other.data_, nullptr);
    bytes_ = std::exchange(other.bytes_, 0);
    mapped_ = std::exchange(other.mapped_, false);
  }
  return *this;
}

void ZeroedMemory::release() {
  if (data_ == nullptr) return;
  if (mapped_) {
    free_large_block(data_, bytes_);
  } else {
    std::free(data_);
  }
  data_ = nullptr;
}

}  // namespace quirlex
