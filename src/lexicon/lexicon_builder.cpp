#include "lexicon/lexicon_builder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <functional>
#include <future>
#include <system_error>
#include <thread>
#include <utility>

#include "lexicon/lexicon_codec.h"
#include "text/case_map.h"
#include "text/tokenizer.h"
#include "text/word_byte_bits.h"

namespace quirlex {
namespace {

// What the corpus text's bytes become before it is split: slashes "@" and
// double quotes "^" (so neither splits a word), every other byte upper-cased.
// Upper-casing keeps every byte on its side of 0x40, and "@" and "^" are their
// own capitals, so both can happen in one pass without moving a word
// boundary or changing what either alone would give.
constexpr std::array<char, 256> make_fold_table() {
  std::array<char, 256> table{};
  for (int b = 0; b < 256; ++b)
    table[b] = static_cast<char>(upper_byte(static_cast<std::uint8_t>(b)));
  table['/'] = '@';
  table['"'] = '^';
  return table;
}

constexpr std::array<char, 256> kFold = make_fold_table();

// A word's first sixteen bytes, zero beyond its end. Nearly every corpus word
// fits, so most words are compared and hashed by these alone.
struct WordHead {
  std::uint64_t low = 0;
  std::uint64_t high = 0;

  // `size` bytes (one or more) from `word`; `readable` bytes from there may
  // be read.
  static WordHead of(const char* word, std::size_t size, std::size_t readable) {
    WordHead head;
    if (readable >= 16) {
      // Masked without branches: word lengths vary too much to guess them.
      const std::size_t low_bytes = std::min<std::size_t>(size, 8);
      const std::size_t high_bytes = std::min<std::size_t>(size, 16) - low_bytes;
      head.low = load8(word) & (~std::uint64_t{0} >> (64 - 8 * low_bytes));
      head.high = load8(word + 8) & (high_bytes == 8 ? ~std::uint64_t{0}
                                                     : (std::uint64_t{1} << (8 * high_bytes)) - 1);
    } else {
      char bytes[16] = {};
      std::memcpy(bytes, word, std::min<std::size_t>(size, 16));
      head.low = load8(bytes);
      head.high = load8(bytes + 8);
    }
    return head;
  }

  friend bool operator==(const WordHead&, const WordHead&) = default;
};

std::uint32_t hash_word(const WordHead& head, const char* word, std::size_t size) {
  std::uint64_t h = (head.low ^ (size * 0x9E3779B97F4A7C15ULL)) * 0xFF51AFD7ED558CCDULL;
  h ^= (h >> 29) ^ head.high;
  h *= 0xC4CEB9FE1A85EC53ULL;
  for (std::size_t at = 16; at < size; at += 8) {
    std::uint64_t chunk = 0;
    std::memcpy(&chunk, word + at, std::min<std::size_t>(size - at, 8));
    h = (h ^ (h >> 31) ^ chunk) * 0xFF51AFD7ED558CCDULL;
  }
  h ^= h >> 32;
  return static_cast<std::uint32_t>(h);
}

// The distinct words seen so far, in order of first appearance, with the
// number of times each was met: open addressing, each slot with the word's
// length, hash, first sixteen bytes and count, so that a word met again is
// recognised and counted without going back to its first appearance in the
// text (a cache miss far away) unless it is longer than that.
class SeenWords {
 public:
  using WordRef = LexiconBuilder::WordRef;

  explicit SeenWords(const char* text) : text_(text) {}

  // Adds `times` to the count of the `length` bytes at `offset`, recording
  // them as a new word first when they were not seen before; `readable` bytes
  // from `offset` on may be read. Returns the word's index in order of first
  // insertion.
  std::uint32_t insert(std::uint32_t offset, std::uint32_t length, std::size_t readable,
                       std::uint32_t times = 1) {
    if ((words_.size() + 1) * 2 > slots_.size()) grow();
    const char* const word = text_ + offset;
    const WordHead head = WordHead::of(word, length, readable);
    const std::uint32_t hash = hash_word(head, word, length);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
      Slot& s = slots_[slot];
      if (s.length == 0) {
        s = {head, hash, static_cast<std::uint32_t>(words_.size()), length, times};
        words_.push_back({offset, length, 0});
        return s.index;
      }
      if (s.hash == hash && s.length == length && s.head == head &&
          (length <= 16 ||
           std::memcmp(text_ + words_[s.index].offset + 16, word + 16, length - 16) == 0)) {
        s.count += times;
        return s.index;
      }
    }
  }

  // The words in order of first appearance, each with its count.
  std::vector<WordRef> take_words() {
    for (const Slot& s : slots_) {
      if (s.length != 0) words_[s.index].count = s.count;
    }
    return std::move(words_);
  }

 private:
  struct Slot {
    WordHead head;
    std::uint32_t hash = 0;
    std::uint32_t index = 0;   // in words_
    std::uint32_t length = 0;  // 0: free (words are never empty)
    std::uint32_t count = 0;
  };

  void grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(std::max<std::size_t>(old.size() * 2, 1024), Slot{});
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& s : old) {
      if (s.length == 0) continue;
      std::size_t slot = s.hash & mask;
      while (slots_[slot].length != 0) slot = (slot + 1) & mask;
      slots_[slot] = s;
    }
  }

  const char* text_;
  std::vector<Slot> slots_;
  std::vector<WordRef> words_;
};

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
    for (int k = 0; k < 8; ++k) p[k] = kFold[static_cast<std::uint8_t>(p[k])];
    chunk = load8(p);
  }
  return word_byte_bits8(chunk);
}

// Folds the text in place and records which of its bytes are word bytes, one
// bit each, so that words are found 64 bytes at a time: a branch per byte
// would guess wrong at nearly every word's two ends.
class WordBytes {
 public:
  WordBytes(char* text, std::size_t size) : size_(size), bits_(size / 64 + 1, 0) {
    const std::size_t full_blocks = size / 64;
    for (std::size_t block = 0; block < full_blocks; ++block) {
      std::uint64_t mask = 0;
      for (int chunk = 0; chunk < 8; ++chunk) {
        mask |= fold_chunk(text + block * 64 + chunk * 8) << (8 * chunk);
      }
      bits_[block] = mask;
    }
    std::uint64_t mask = 0;
    for (std::size_t at = full_blocks * 64; at < size; ++at) {
      const char folded = kFold[static_cast<std::uint8_t>(text[at])];
      text[at] = folded;
      mask |= std::uint64_t{!is_separator_byte(folded)} << (at % 64);
    }
    bits_[full_blocks] = mask;
  }

  // Calls `visit(start, size)` for each word of at least four bytes, in order.
  template <typename Visit>
  void for_each_long_word(const Visit& visit) const {
    for (std::size_t block = 0; block < bits_.size(); ++block) {
      const std::uint64_t word = bits_[block];
      const std::uint64_t before = block > 0 ? bits_[block - 1] : 0;
      const std::uint64_t after = block + 1 < bits_.size() ? bits_[block + 1] : 0;
      const std::uint64_t starts = word & ~((word << 1) | (before >> 63));
      // Set where this byte and the three after it are all word bytes.
      const std::uint64_t four = word & ((word >> 1) | (after << 63)) &
                                 ((word >> 2) | (after << 62)) & ((word >> 3) | (after << 61));
      for (std::uint64_t long_starts = starts & four; long_starts != 0;
           long_starts &= long_starts - 1) {
        const std::size_t start =
            block * 64 + static_cast<std::size_t>(std::countr_zero(long_starts));
        visit(start, end_of_word(start) - start);
      }
    }
  }

 private:
  // The position of the first separator after `from`, or the text's size.
  std::size_t end_of_word(std::size_t from) const {
    std::size_t block = from / 64;
    std::uint64_t rest = ~bits_[block] >> (from % 64);
    if (rest != 0) return std::min(from + static_cast<std::size_t>(std::countr_zero(rest)), size_);
    while (++block < bits_.size()) {
      if (~bits_[block] != 0) {
        return std::min(block * 64 + static_cast<std::size_t>(std::countr_zero(~bits_[block])),
                        size_);
      }
    }
    return size_;
  }

  std::size_t size_;
  std::vector<std::uint64_t> bits_;
};

// Where a second thread takes over collecting words: the first separator from
// the middle on. The text's size means one thread does it all: for texts too
// small to gain from it, on a single processor, or without such a separator.
std::size_t split_point(const char* text, std::size_t size) {
  if (size < LexiconBuilder::kTwoThreadsFrom || std::thread::hardware_concurrency() < 2) {
    return size;
  }
  for (std::size_t at = size / 2; at < size; ++at) {
    if (is_separator_byte(kFold[static_cast<std::uint8_t>(text[at])])) return at;
  }
  return size;
}

}  // namespace

LexiconBuilder::LexiconBuilder(std::string corpus_text) : text_(std::move(corpus_text)) {}

void LexiconBuilder::collect_words() {
  words_.clear();
  char* const data = text_.data();
  const std::size_t text_length = text_.size();
  // The words of a stretch of the text that begins and ends at a separator or
  // at the text's ends.
  const auto collect = [data](std::size_t begin, std::size_t end) {
    SeenWords seen(data);
    const WordBytes word_bytes(data + begin, end - begin);
    word_bytes.for_each_long_word([&](std::size_t at, std::size_t size) {
      const std::size_t start = begin + at;
      // Its bytes are all word bytes; one that begins like a marker would read
      // back as front-coded, so the lexicon cannot hold it.
      if (is_marker_byte(data[start])) return;
      // Reads stay inside the stretch: another thread may be folding the next.
      seen.insert(static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(size),
                  end - start);
    });
    return seen;
  };

  const std::size_t split = split_point(data, text_length);
  if (split == text_length) {
    words_ = collect(0, text_length).take_words();
    return;
  }
  // The second half on a thread of its own; without one, after the first.
  std::future<SeenWords> second_half;
  try {
    second_half = std::async(std::launch::async, collect, split, text_length);
  } catch (const std::system_error&) {
  }
  SeenWords first = collect(0, split);
  SeenWords second = second_half.valid() ? second_half.get() : collect(split, text_length);
  // A word of the second half is new only if the first half lacks it too;
  // either way its count there adds to the first half's.
  for (const WordRef& word : second.take_words()) {
    first.insert(word.offset, word.length, text_length - word.offset, word.count);
  }
  words_ = first.take_words();
}

namespace {

// Unsigned bytes, a word before every longer word it begins.
bool bytes_before(const char* data, const LexiconBuilder::WordRef& a,
                  const LexiconBuilder::WordRef& b) {
  const int order = std::memcmp(data + a.offset, data + b.offset, std::min(a.length, b.length));
  return order != 0 ? order < 0 : a.length < b.length;
}

}  // namespace

void LexiconBuilder::sort_words() {
  const char* const data = text_.data();
  std::sort(words_.begin(), words_.end(), [data](const WordRef& a, const WordRef& b) {
    return bytes_before(data, a, b);
  });
}

void LexiconBuilder::order_by_frequency() {
  const char* const data = text_.data();
  std::sort(words_.begin(), words_.end(), [data](const WordRef& a, const WordRef& b) {
    return a.count != b.count ? a.count < b.count : bytes_before(data, a, b);
  });
}

void LexiconBuilder::for_each_word_in_text(
    const std::function<void(std::int64_t index, std::string_view word)>& visit) const {
  // The words in their present order, so that the index of a word met again
  // is its index in the lexicon. The text was folded by collect_words.
  const char* const data = text_.data();
  const std::size_t size = text_.size();
  SeenWords lexicon(data);
  for (const WordRef& word : words_) lexicon.insert(word.offset, word.length, size - word.offset);
  std::size_t at = 0;
  while (at < size) {
    if (is_separator_byte(data[at])) {
      ++at;
      continue;
    }
    const std::size_t start = at;
    while (at < size && !is_separator_byte(data[at])) ++at;
    const std::size_t length = at - start;
    const std::string_view word(data + start, length);
    if (length < kMinWordLength) {
      visit(kShortWord, word);
    } else if (is_marker_byte(data[start])) {
      visit(kNotInLexicon, word);
    } else {
      visit(lexicon.insert(static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(length),
                           size - start, 0),
            word);
    }
  }
}

TokenList LexiconBuilder::encode() const {
  TokenList entries;
  entries.reserve_for(static_cast<std::int64_t>(words_.size()));
  LexiconEncoder encoder;
  for (std::size_t i = 0; i < words_.size(); ++i) entries.append(encoder.encode(word(i)));
  return entries;
}

}  // namespace quirlex
