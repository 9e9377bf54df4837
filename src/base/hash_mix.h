// The hashing every table and file of the program shares. mix_bits spreads
// every bit of a 64-bit key over all bits of the result (the finalizer of
// MurmurHash3), so that keys alike in most bits, or differing only in their
// high ones, land far apart; a table takes its slot from the result's top
// bits. fnv1a is FNV-1a 64 over bytes, what the program's files name a
// lexicon by and check their contents with: it must never change.
#pragma once

#include <cstdint>
#include <string_view>

namespace quirlex {

constexpr std::uint64_t mix_bits(std::uint64_t x) {
  x ^= x >> 33;
  x *= 0xFF51AFD7ED558CCDULL;
  x ^= x >> 33;
  x *= 0xC4CEB9FE1A85EC53ULL;
  x ^= x >> 33;
  return x;
}

inline constexpr std::uint64_t kFnv1aStart = 0xCBF29CE484222325ULL;

// The FNV-1a 64 hash of bytes that follow those `hash` was made of.
constexpr std::uint64_t fnv1a(std::uint64_t hash, std::string_view bytes) {
  for (const char c : bytes) hash = (hash ^ static_cast<std::uint8_t>(c)) * 0x100000001B3ULL;
  return hash;
}

}  // namespace quirlex
