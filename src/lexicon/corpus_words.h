// A stretch of corpus text as Create Dictionary reads it: its bytes folded
// to what the lexicon stores (slash "@", double quote "^", everything else
// upper-cased) and its words found 64 bytes at a time, and the hash and
// first eight bytes by which a word is looked up. Callers hand in stretches
// that begin after a separator (or at the text's start) and end before one
// (or at its end), so that every word found is whole.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/hash_mix.h"
#include "text/case_map.h"
#include "text/tokenizer.h"
#include "text/word_byte_bits.h"

namespace quirlex {

namespace fold_tables {

// Upper-casing keeps every byte on its side of 0x40, and "@" and "^" are
// their own capitals, so both can happen in one pass without moving a word
// boundary or changing what either alone would give.
constexpr std::array<char, 256> make_fold() {
  std::array<char, 256> table{};
  for (int b = 0; b < 256; ++b)
    table[b] = static_cast<char>(upper_byte(static_cast<std::uint8_t>(b)));
  table['/'] = '@';
  table['"'] = '^';
  return table;
}

inline constexpr std::array<char, 256> kFold = make_fold();

}  // namespace fold_tables

// A byte as the lexicon stores it.
constexpr char fold_byte(char c) {
  return fold_tables::kFold[static_cast<std::uint8_t>(c)];
}

// Whether a byte, folded, separates words. Slash and quote do not.
constexpr bool separates_words(char c) {
  return is_separator_byte(fold_byte(c));
}

// Folds `size` bytes at `text` in place and marks their word bytes in
// `bits`, one bit per byte (resized to size / 64 + 1 words).
void fold_and_mark(char* text, std::size_t size, std::vector<std::uint64_t>& bits);

// Calls `visit(start, length)` in order for every word of a stretch of
// `size` bytes whose word bytes `bits` marks: all of them, or with
// `long_only` those of at least four bytes.
template <typename Visit>
void for_each_word(const std::vector<std::uint64_t>& bits, std::size_t size, bool long_only,
                   const Visit& visit) {
  const std::size_t blocks = size / 64 + 1;
  // The position of the first byte from `from` on that is no word byte.
  const auto end_of_word = [&](std::size_t from) {
    std::size_t block = from / 64;
    std::uint64_t rest = ~bits[block] >> (from % 64);
    if (rest != 0) return std::min(from + static_cast<std::size_t>(std::countr_zero(rest)), size);
    while (++block < blocks) {
      if (~bits[block] != 0) {
        return std::min(block * 64 + static_cast<std::size_t>(std::countr_zero(~bits[block])),
                        size);
      }
    }
    return size;
  };
  for (std::size_t block = 0; block < blocks; ++block) {
    const std::uint64_t word = bits[block];
    const std::uint64_t before = block > 0 ? bits[block - 1] : 0;
    const std::uint64_t after = block + 1 < blocks ? bits[block + 1] : 0;
    std::uint64_t starts = word & ~((word << 1) | (before >> 63));
    if (long_only) {
      // Set where this byte and the three after it are all word bytes.
      starts &= ((word >> 1) | (after << 63)) & ((word >> 2) | (after << 62)) &
                ((word >> 3) | (after << 61));
    }
    for (; starts != 0; starts &= starts - 1) {
      const std::size_t start = block * 64 + static_cast<std::size_t>(std::countr_zero(starts));
      visit(start, end_of_word(start) - start);
    }
  }
}

// What a word is looked up by: its first sixteen bytes (zero past its end;
// a word byte is never zero, so no shorter word has the same head) and a
// hash of all its bytes and its length. Nearly every word of a corpus fits
// in its head, and is compared by it alone.
using WordHead = std::array<std::uint64_t, 2>;

struct WordKey {
  WordHead head = {0, 0};
  std::uint64_t hash = 0;
};

// Eight bytes from `p`, of which the first `count` are kept (all for a
// count of eight or more) and the rest zero; `readable` bytes from `p` on
// may be read.
inline std::uint64_t load_bytes(const char* p, std::size_t count, std::size_t readable) {
  if (readable >= 8) {
    // Without a branch on the count: word lengths vary too much to guess.
    const std::uint64_t keep =
        count >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * count)) - 1;
    return load8(p) & keep;
  }
  std::uint64_t value = 0;
  std::memcpy(&value, p, std::min<std::size_t>(count, 8));
  return value;
}

// The first sixteen bytes of the `length` bytes (one or more) at `word`,
// zero past its end; `readable` bytes from `word` on may be read.
inline void load_head(const char* word, std::size_t length, std::size_t readable,
                      WordHead& head) {
  if (readable >= 16) {
    // Masked without branches (word lengths vary too much to guess them),
    // from a table: shifts by a variable count take several instructions
    // each on the processors this is built for.
    static constexpr std::array<std::uint64_t, 9> kLowBytes = {
        0,
        0xFF,
        0xFFFF,
        0xFFFFFF,
        0xFFFFFFFF,
        0xFFFFFFFFFFULL,
        0xFFFFFFFFFFFFULL,
        0xFFFFFFFFFFFFFFULL,
        ~std::uint64_t{0},
    };
    head[0] = load8(word) & kLowBytes[std::min<std::size_t>(length, 8)];
    head[1] = load8(word + 8) & kLowBytes[std::min<std::size_t>(std::max<std::size_t>(length, 8), 16) - 8];
  } else {
    char bytes[16] = {};
    std::memcpy(bytes, word, std::min<std::size_t>(length, 16));
    head[0] = load8(bytes);
    head[1] = load8(bytes + 8);
  }
}

// The hash of the word of `length` bytes at `word` whose head is `head`:
// its bytes folded in eight at a time, then mixed. Three multiplications
// for the words of up to sixteen bytes that nearly every corpus word is.
inline std::uint64_t hash_of(const WordHead& head, const char* word,
                             std::size_t length, std::size_t readable) {
  std::uint64_t h = (head[0] ^ (length * 0x9E3779B97F4A7C15ULL)) * 0xFF51AFD7ED558CCDULL;
  h ^= (h >> 29) ^ head[1];
  for (std::size_t at = 16; at < length; at += 8) {
    h *= 0xC4CEB9FE1A85EC53ULL;
    h ^= (h >> 29) ^ load_bytes(word + at, length - at, readable - at);
  }
  return mix_bits(h);
}

// The key of the `length` bytes (one or more) at `word`; `readable` bytes
// from `word` on may be read.
inline WordKey key_of(const char* word, std::size_t length, std::size_t readable) {
  WordKey key;
  load_head(word, length, readable, key.head);
  key.hash = hash_of(key.head, word, length, readable);
  return key;
}

}  // namespace quirlex
