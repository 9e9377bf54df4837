#include "lexicon/corpus_words.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quirlex {
namespace {

#if defined(__SSE2__)

// Folds sixteen bytes in place and returns their word byte bits. Text
// without bytes past 0x7F, most of any running text, needs no table: a to
// z drop by 0x20, slash and quote rise to "@" and "^", all sixteen at once.
std::uint64_t fold16(char* p) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  if (_mm_movemask_epi8(bytes) != 0) {
    for (int k = 0; k < 16; ++k) p[k] = fold_byte(p[k]);
    const __m128i folded = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    // Unsigned: a byte is at least 0x40 where the larger of it and 0x40 is itself.
    return static_cast<std::uint16_t>(_mm_movemask_epi8(
        _mm_cmpeq_epi8(_mm_max_epu8(folded, _mm_set1_epi8(0x40)), folded)));
  }
  // Below 0x80 the signed comparisons are the unsigned ones.
  const __m128i small = _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('a' - 1)),
                                      _mm_cmplt_epi8(bytes, _mm_set1_epi8('z' + 1)));
  const __m128i slash = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('/'));
  const __m128i quote = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('"'));
  __m128i folded = _mm_sub_epi8(bytes, _mm_and_si128(small, _mm_set1_epi8(0x20)));
  folded = _mm_add_epi8(folded, _mm_and_si128(slash, _mm_set1_epi8('@' - '/')));
  folded = _mm_add_epi8(folded, _mm_and_si128(quote, _mm_set1_epi8('^' - '"')));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), folded);
  return static_cast<std::uint16_t>(
      _mm_movemask_epi8(_mm_cmpgt_epi8(folded, _mm_set1_epi8(0x3F))));
}

// The word byte bits of 64 bytes, folded in place.
std::uint64_t fold64(char* p) {
  return fold16(p) | (fold16(p + 16) << 16) | (fold16(p + 32) << 32) | (fold16(p + 48) << 48);
}

#else

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

bool has_byte(std::uint64_t chunk, char c) {
  const std::uint64_t v = chunk ^ (kOnes * static_cast<std::uint8_t>(c));
  return ((v - kOnes) & ~v & kHighBits) != 0;
}

// Folds eight bytes in place and returns their word byte bits. Plain ASCII
// without slash or quote, most of any running text, needs no table: only
// a to z change, by 0x20 each, all eight at once.
std::uint64_t fold8(char* p) {
  std::uint64_t chunk = load8(p);
  if ((chunk & kHighBits) == 0 && !has_byte(chunk, '/') && !has_byte(chunk, '"')) {
    // Bytes below 0x80 do not carry into their neighbours here.
    const std::uint64_t small_letters =
        (chunk + kOnes * (0x80 - 'a')) & ~(chunk + kOnes * (0x80 - 'z' - 1)) & kHighBits;
    chunk -= small_letters >> 2;
    std::memcpy(p, &chunk, 8);
  } else {
    for (int k = 0; k < 8; ++k) p[k] = fold_byte(p[k]);
    chunk = load8(p);
  }
  return word_byte_bits8(chunk);
}

// The word byte bits of 64 bytes, folded in place.
std::uint64_t fold64(char* p) {
  std::uint64_t mask = 0;
  for (int chunk = 0; chunk < 8; ++chunk) mask |= fold8(p + chunk * 8) << (8 * chunk);
  return mask;
}

#endif

}  // namespace

void fold_and_mark(char* text, std::size_t size, std::vector<std::uint64_t>& bits) {
  // A branch per byte would guess wrong at nearly every word's two ends.
  bits.resize(size / 64 + 1);
  const std::size_t full_blocks = size / 64;
  for (std::size_t block = 0; block < full_blocks; ++block) bits[block] = fold64(text + block * 64);
  std::uint64_t mask = 0;
  for (std::size_t at = full_blocks * 64; at < size; ++at) {
    text[at] = fold_byte(text[at]);
    mask |= std::uint64_t{!is_separator_byte(text[at])} << (at % 64);
  }
  bits[full_blocks] = mask;
}

}  // namespace quirlex
