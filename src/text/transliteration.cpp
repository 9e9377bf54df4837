#include "text/transliteration.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "base/bit_count.h"
#include "base/limits.h"
#include "text/word_byte_bits.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quirlex {
namespace {

struct Replacement {
  bool present = false;
  char first = 0;
  char second = 0;
};

constexpr std::array<Replacement, 256> make_transliteration() {
  std::array<Replacement, 256> table{};
  table[0xE4] = {true, 'a', 'e'};
  table[0xF6] = {true, 'o', 'e'};
  table[0xFC] = {true, 'u', 'e'};
  table[0xC4] = {true, 'A', 'e'};
  table[0xDC] = {true, 'U', 'e'};
  table[0xDF] = {true, 's', 's'};
  table[0xD6] = {true, 'O', 'e'};
  return table;
}

constexpr std::array<Replacement, 256> kTransliteration = make_transliteration();

constexpr std::array<std::uint8_t, 256> make_umlaut_flags() {
  std::array<std::uint8_t, 256> flags{};
  for (int b = 0; b < 256; ++b) flags[b] = kTransliteration[b].present ? 1 : 0;
  return flags;
}

// 1 for the bytes that are spelled out; summed, it counts them.
constexpr std::array<std::uint8_t, 256> kIsUmlaut = make_umlaut_flags();

// Every byte spelled out lies above 0x7F, so bytes without a high bit can
// be passed over many at once: most running text is mostly such bytes.
#if defined(__SSE2__)

constexpr std::size_t kSpelledOutCount = 7;

// The bytes that are spelled out.
constexpr std::array<char, kSpelledOutCount> make_spelled_out() {
  std::array<char, kSpelledOutCount> bytes{};
  std::size_t n = 0;
  for (int b = 0; b < 256; ++b) {
    if (kTransliteration[b].present) bytes[n++] = static_cast<char>(b);
  }
  return bytes;
}

constexpr std::array<char, kSpelledOutCount> kSpelledOut = make_spelled_out();

// Bit k set when byte k of the sixteen at `p` is spelled out.
unsigned umlaut_bits16(const char* p) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  if (_mm_movemask_epi8(bytes) == 0) return 0;
  __m128i found = _mm_setzero_si128();
  for (const char b : kSpelledOut)
    found = _mm_or_si128(found, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(b)));
  return static_cast<unsigned>(_mm_movemask_epi8(found));
}

constexpr std::size_t kBlock = 16;

#else

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// Bit k set when byte k of the eight at `p` is spelled out.
unsigned umlaut_bits8(const char* p) {
  if ((load8(p) & kHighBits) == 0) return 0;
  unsigned bits = 0;
  for (unsigned k = 0; k < 8; ++k)
    bits |= unsigned{kIsUmlaut[static_cast<std::uint8_t>(p[k])]} << k;
  return bits;
}

constexpr std::size_t kBlock = 8;

#endif

unsigned umlaut_bits(const char* p) {
#if defined(__SSE2__)
  return umlaut_bits16(p);
#else
  return umlaut_bits8(p);
#endif
}

std::size_t count_umlauts(const char* data, std::size_t size) {
  std::size_t count = 0;
  std::size_t i = 0;
  for (; i + kBlock <= size; i += kBlock) {
    count += static_cast<std::size_t>(count_bits(umlaut_bits(data + i)));
  }
  for (; i < size; ++i) count += kIsUmlaut[static_cast<std::uint8_t>(data[i])];
  return count;
}

// The position just after the last byte before `end` that is spelled out, or
// 0 when there is none.
std::size_t after_last_umlaut(const char* data, std::size_t end) {
  for (; end >= kBlock; end -= kBlock) {
    const unsigned bits = umlaut_bits(data + end - kBlock);
    if (bits != 0) return end - kBlock + static_cast<std::size_t>(std::bit_width(bits));
  }
  for (; end > 0; --end) {
    if (kIsUmlaut[static_cast<std::uint8_t>(data[end - 1])]) return end;
  }
  return 0;
}

}  // namespace

void transliterate_umlauts(std::string& text) {
  const std::size_t extra = count_umlauts(text.data(), text.size());
  if (extra == 0) return;
  std::size_t from = text.size();
  std::size_t to = from + extra;
  // Lengths are 32-bit counts elsewhere.
  if (to > static_cast<std::size_t>(kCountLimit)) throw limit_failures::spelled_out_too_long();
  text.resize(to);
  // Backwards, so the expansion happens in place in one pass: each run of
  // other bytes moves at once, each umlaut becomes its two letters.
  char* const data = text.data();
  while (from > 0) {
    const std::size_t run_end = from;
    from = after_last_umlaut(data, from);
    to -= run_end - from;
    std::memmove(data + to, data + from, run_end - from);
    if (from == 0) break;
    const Replacement& r = kTransliteration[static_cast<std::uint8_t>(data[--from])];
    data[--to] = r.second;
    data[--to] = r.first;
  }
}

}  // namespace quirlex
