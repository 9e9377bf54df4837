// Tells word bytes (0x40 and up) from separators eight or sixty-four bytes
// at a time, one bit per byte, so that scanners find token boundaries with a
// few bit operations instead of a branch per byte that guesses wrong at
// nearly every boundary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quirlex {

// Eight bytes as one number, byte 0 lowest.
inline std::uint64_t load8(const char* p) {
  std::uint64_t chunk;
  std::memcpy(&chunk, p, 8);
  return chunk;
}

// Bit k set when byte k of `chunk` (byte 0 lowest) is a word byte.
inline std::uint64_t word_byte_bits8(std::uint64_t chunk) {
  // A word byte has bit 7 or bit 6 set; the multiplication gathers the eight
  // flags, at bit 0 of each byte, into the top byte.
  const std::uint64_t flags = ((chunk >> 7) | (chunk >> 6)) & 0x0101010101010101ULL;
  return (flags * 0x0102040810204080ULL) >> 56;
}

// Bit k set when byte k of the 64 bytes at `p` is a word byte: sixteen
// bytes at a time where the processor can, which is what makes a scan of a
// large text cost a fraction of an instruction per byte.
inline std::uint64_t word_byte_bits64(const char* p) {
#if defined(__SSE2__)
  const __m128i floor = _mm_set1_epi8(0x40);
  std::uint64_t bits = 0;
  for (int k = 0; k < 4; ++k) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    // Unsigned: a byte is at least 0x40 where the larger of it and 0x40 is itself.
    const __m128i word = _mm_cmpeq_epi8(_mm_max_epu8(bytes, floor), bytes);
    bits |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(word))} << (16 * k);
  }
  return bits;
#else
  std::uint64_t bits = 0;
  for (int at = 0; at < 64; at += 8) bits |= word_byte_bits8(load8(p + at)) << at;
  return bits;
#endif
}

// Bit k set when byte k of the `count` (at most 64) bytes at `p` is a word
// byte; bits from `count` on are clear.
inline std::uint64_t word_byte_bits(const char* p, std::size_t count) {
  if (count == 64) return word_byte_bits64(p);
  std::uint64_t bits = 0;
  std::size_t at = 0;
  for (; at + 8 <= count; at += 8) bits |= word_byte_bits8(load8(p + at)) << at;
  for (; at < count; ++at) bits |= std::uint64_t{static_cast<std::uint8_t>(p[at]) >= 0x40} << at;
  return bits;
}

}  // namespace quirlex
