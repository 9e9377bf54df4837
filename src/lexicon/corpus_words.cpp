#include "lexicon/corpus_words.h"

namespace quirlex {
namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

bool has_byte(std::uint64_t chunk, char c) {
  const std::uint64_t v = chunk ^ (kOnes * static_cast<std::uint8_t>(c));
  return ((v - kOnes) & ~v & kHighBits) != 0;
}

// Folds eight bytes in place and returns their word byte bits. Plain ASCII
// without slash or quote, most of any running text, needs no table: only
// a to z change, by 0x20 each, all eight at once.
std::uint64_t fold_chunk(char* p) {
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

}  // namespace

void fold_and_mark(char* text, std::size_t size, std::vector<std::uint64_t>& bits) {
  // A branch per byte would guess wrong at nearly every word's two ends.
  bits.resize(size / 64 + 1);
  const std::size_t full_blocks = size / 64;
  for (std::size_t block = 0; block < full_blocks; ++block) {
    std::uint64_t mask = 0;
    for (int chunk = 0; chunk < 8; ++chunk) {
      mask |= fold_chunk(text + block * 64 + chunk * 8) << (8 * chunk);
    }
    bits[block] = mask;
  }
  std::uint64_t mask = 0;
  for (std::size_t at = full_blocks * 64; at < size; ++at) {
    text[at] = fold_byte(text[at]);
    mask |= std::uint64_t{!is_separator_byte(text[at])} << (at % 64);
  }
  bits[full_blocks] = mask;
}

}  // namespace quirlex
