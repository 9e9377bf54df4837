#include "lexicon/lexicon_builder.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "lexicon/lexicon_codec.h"
#include "text/case_map.h"
#include "text/tokenizer.h"

namespace quirlex {
namespace {

std::uint32_t hash_bytes(std::string_view bytes) {
  std::uint64_t h = 0xCBF29CE484222325ULL;
  for (const char c : bytes) {
    h ^= static_cast<std::uint8_t>(c);
    h *= 0x100000001B3ULL;
  }
  return static_cast<std::uint32_t>(h ^ (h >> 32));
}

// The set of words seen so far: open addressing over indices into the word
// list, each slot with the word's hash so most mismatches need no compare.
class SeenWords {
 public:
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t index_plus_one = 0;  // 0: free
  };

  // Returns true when `word` (with hash `hash`) was not seen before, and
  // records it as the word at `index`.
  template <typename WordAt>
  bool insert(std::string_view word, std::uint32_t hash, std::uint32_t index,
              const WordAt& word_at) {
    if ((used_ + 1) * 2 > slots_.size()) grow();
    std::size_t slot = hash & (slots_.size() - 1);
    for (;;) {
      Slot& s = slots_[slot];
      if (s.index_plus_one == 0) {
        s = {hash, index + 1};
        ++used_;
        return true;
      }
      if (s.hash == hash && word_at(s.index_plus_one - 1) == word) return false;
      slot = (slot + 1) & (slots_.size() - 1);
    }
  }

 private:
  void grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(std::max<std::size_t>(old.size() * 2, 1024), Slot{});
    for (const Slot& s : old) {
      if (s.index_plus_one == 0) continue;
      std::size_t slot = s.hash & (slots_.size() - 1);
      while (slots_[slot].index_plus_one != 0) slot = (slot + 1) & (slots_.size() - 1);
      slots_[slot] = s;
    }
  }

  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

}  // namespace

LexiconBuilder::LexiconBuilder(std::string corpus_text) : text_(std::move(corpus_text)) {
  replace_all(text_, "/", "@");
  replace_all(text_, "\"", "^");
}

void LexiconBuilder::collect_words() {
  words_.clear();
  // Upper-casing keeps every byte on its side of 0x40, so the whole text can
  // be upper-cased at once without moving a word boundary.
  upper_case(text_);
  SeenWords seen;
  const auto word_at = [this](std::uint32_t index) { return word(index); };
  const char* const data = text_.data();
  const std::size_t length = text_.size();
  std::size_t i = 0;
  while (i < length) {
    while (i < length && is_separator_byte(data[i])) ++i;
    const std::size_t start = i;
    while (i < length && !is_separator_byte(data[i])) ++i;
    const std::size_t size = i - start;
    if (size < kMinWordLength) continue;
    const std::string_view candidate(data + start, size);
    if (!is_storable_word(candidate)) continue;
    const auto index = static_cast<std::uint32_t>(words_.size());
    if (seen.insert(candidate, hash_bytes(candidate), index, word_at)) {
      words_.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(size)});
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
