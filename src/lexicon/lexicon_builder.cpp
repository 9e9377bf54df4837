#include "lexicon/lexicon_builder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "lexicon/lexicon_codec.h"
#include "text/case_map.h"
#include "text/tokenizer.h"

namespace quirlex {
namespace {

// Eight bytes at a time: corpus words are short, so most take one step.
std::uint32_t hash_bytes(std::string_view bytes) {
  std::uint64_t h = bytes.size() * 0x9E3779B97F4A7C15ULL;
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  for (; left >= 8; p += 8, left -= 8) {
    std::uint64_t chunk;
    std::memcpy(&chunk, p, 8);
    h = (h ^ chunk) * 0xFF51AFD7ED558CCDULL;
    h ^= h >> 29;
  }
  if (left > 0) {
    std::uint64_t chunk = 0;
    std::memcpy(&chunk, p, left);
    h = (h ^ chunk) * 0xFF51AFD7ED558CCDULL;
  }
  h ^= h >> 32;
  h *= 0xC4CEB9FE1A85EC53ULL;
  return static_cast<std::uint32_t>(h >> 32);
}

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

// Whether the `size` bytes at `a` and at `b` are the same, for short words:
// eight bytes at a time, the last chunk overlapping the one before.
bool same_bytes(const char* a, const char* b, std::size_t size) {
  if (size < 8) return std::memcmp(a, b, size) == 0;
  std::uint64_t x;
  std::uint64_t y;
  for (std::size_t at = 0; at + 8 < size; at += 8) {
    std::memcpy(&x, a + at, 8);
    std::memcpy(&y, b + at, 8);
    if (x != y) return false;
  }
  std::memcpy(&x, a + size - 8, 8);
  std::memcpy(&y, b + size - 8, 8);
  return x == y;
}

// The set of words seen so far, as positions in the text: open addressing,
// each slot with the word's hash and length so that nearly every mismatch is
// told without touching the text.
class SeenWords {
 public:
  explicit SeenWords(const char* text) : text_(text) {}

  // Returns true when the word at `offset` was not seen before, and records it.
  bool insert(std::uint32_t offset, std::uint32_t length, std::uint32_t hash) {
    if ((used_ + 1) * 2 > slots_.size()) grow();
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
      Slot& s = slots_[slot];
      if (s.length == 0) {
        s = {hash, offset, length};
        ++used_;
        return true;
      }
      if (s.hash == hash && s.length == length &&
          same_bytes(text_ + s.offset, text_ + offset, length)) {
        return false;
      }
    }
  }

 private:
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;  // 0: free (words are never empty)
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
  std::size_t used_ = 0;
};

}  // namespace

LexiconBuilder::LexiconBuilder(std::string corpus_text) : text_(std::move(corpus_text)) {}

void LexiconBuilder::collect_words() {
  words_.clear();
  char* const data = text_.data();
  SeenWords seen(data);
  const std::size_t text_length = text_.size();
  std::size_t i = 0;
  while (i < text_length) {
    // Separators other than the slash and the quote fold to themselves.
    while (i < text_length && is_separator_byte(kFold[static_cast<std::uint8_t>(data[i])])) ++i;
    const std::size_t start = i;
    while (i < text_length) {
      const char folded = kFold[static_cast<std::uint8_t>(data[i])];
      if (is_separator_byte(folded)) break;
      data[i++] = folded;
    }
    const std::size_t size = i - start;
    if (size < kMinWordLength) continue;
    // Its bytes are all word bytes; one that begins like a marker would read
    // back as front-coded, so the lexicon cannot hold it.
    if (is_marker_byte(data[start])) continue;
    const auto offset = static_cast<std::uint32_t>(start);
    const auto length = static_cast<std::uint32_t>(size);
    if (seen.insert(offset, length, hash_bytes({data + start, size}))) {
      words_.push_back({offset, length});
    }
  }
}

void LexiconBuilder::sort_words() {
  const char* const data = text_.data();
  std::sort(words_.begin(), words_.end(), [data](const WordRef& a, const WordRef& b) {
    const int order = std::memcmp(data + a.offset, data + b.offset, std::min(a.length, b.length));
    return order != 0 ? order < 0 : a.length < b.length;
  });
}

TokenList LexiconBuilder::encode() const {
  TokenList entries;
  entries.set_size(static_cast<std::int64_t>(words_.size()));
  LexiconEncoder encoder;
  auto out = entries.tokens().begin();
  for (std::size_t i = 0; i < words_.size(); ++i) (out++)->text = encoder.encode(word(i));
  return entries;
}

}  // namespace quirlex
