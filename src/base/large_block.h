// Memory for arrays of tens or hundreds of megabytes (token lists, hash
// tables): taken straight from the system, zero-filled lazily, and backed
// by huge pages where the system allows, since such arrays otherwise spend
// much of their time on page faults and address translation.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace quirlex {

// Blocks from this size on come from the system directly.
inline constexpr std::size_t kLargeBlockSize = std::size_t{4} << 20;

// A zero-filled block of `bytes`; throws std::bad_alloc when there is none.
void* allocate_large_block(std::size_t bytes);
void free_large_block(void* block, std::size_t bytes);

// Asks for huge pages behind the whole huge pages that lie inside the
// `bytes` at `data`, memory allocated some other way (a large string's
// buffer, before it is first written). Only advice: nothing else changes.
void advise_huge_pages(void* data, std::size_t bytes);

// A standard allocator that takes large arrays from allocate_large_block and
// small ones from operator new.
template <typename T>
struct LargeBlockAllocator {
  using value_type = T;

  LargeBlockAllocator() = default;
  template <typename U>
  LargeBlockAllocator(const LargeBlockAllocator<U>&) {}

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    const std::size_t bytes = n * sizeof(T);
    if (bytes >= kLargeBlockSize) return static_cast<T*>(allocate_large_block(bytes));
    return static_cast<T*>(::operator new(bytes));
  }

  void deallocate(T* block, std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    if (bytes >= kLargeBlockSize) {
      free_large_block(block, bytes);
    } else {
      ::operator delete(block);
    }
  }

  // Elements made without a value are left as the memory has them (large
  // blocks come zero-filled): a container resized before it is filled is
  // then not written twice.
  template <typename U>
  void construct(U* at) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(at)) U;
  }
  template <typename U, typename... Args>
  void construct(U* at, Args&&... args) {
    ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
  }

  template <typename U>
  bool operator==(const LargeBlockAllocator<U>&) const {
    return true;
  }
};

}  // namespace quirlex
