#include "base/large_block.h"

#include <sys/mman.h>

#include <cstdint>

namespace quirlex {

void* allocate_large_block(std::size_t bytes) {
  void* block = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
  ::madvise(block, bytes, MADV_HUGEPAGE);  // only advice: fine if refused
  return block;
}

void free_large_block(void* block, std::size_t bytes) {
  ::munmap(block, bytes);
}

void advise_huge_pages(void* data, std::size_t bytes) {
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  // Inward to whole huge pages, so that no memory outside the block is touched.
  const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t last = (begin + bytes) & ~(kHugePage - 1);
  if (first < last) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace quirlex
