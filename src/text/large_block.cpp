#include "text/large_block.h"

#include <sys/mman.h>

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

}  // namespace quirlex
