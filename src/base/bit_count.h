// The number of set bits of a 64-bit number, inline. Built for processors
// without a popcount instruction (the x86-64 baseline), std::popcount is a
// call into the compiler's library; scanners that count bits in every block
// of a large text take these few operations instead.
#pragma once

#include <bit>
#include <cstdint>

namespace quirlex {

constexpr int count_bits(std::uint64_t x) {
#if defined(__POPCNT__) || !defined(__x86_64__)
  return std::popcount(x);
#else
  x -= (x >> 1) & 0x5555555555555555ULL;
  x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return static_cast<int>((x * 0x0101010101010101ULL) >> 56);
#endif
}

}  // namespace quirlex
