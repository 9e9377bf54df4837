#include "index/zeroed_memory.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>
#include <utility>

namespace quirlex {
namespace {

constexpr std::size_t kMapThreshold = std::size_t{4} << 20;

}  // namespace

ZeroedMemory::ZeroedMemory(std::size_t bytes) : bytes_(bytes) {
  if (bytes == 0) return;
  if (bytes >= kMapThreshold) {
    void* block =
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) throw std::bad_alloc();
    ::madvise(block, bytes, MADV_HUGEPAGE);  // only advice: fine if refused
    data_ = block;
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
    ::munmap(data_, bytes_);
  } else {
    std::free(data_);
  }
  data_ = nullptr;
}

}  // namespace quirlex
