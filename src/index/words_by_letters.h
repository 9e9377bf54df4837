// Every lexicon word filed under its letters: the multiset of its bytes,
// upper-cased, and its length. Unlike the lexicon table, which keeps one
// word per signature, it keeps all of them, so that a word that merely
// shares a signature never hides the right one, and a word whose first and
// last byte are not known (a quote mark stands before it) can be found by
// its letters alone. Built from a word list, which must outlive it; words
// are named by their index in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "text/token_list.h"

namespace quirlex {

class WordsByLetters {
 public:
  WordsByLetters() = default;
  explicit WordsByLetters(const TokenList& words);

  // The indices, ascending, of the words whose letters may be those of
  // `text`: all that are, and rarely one whose letters only share their
  // key (the caller compares the letters).
  std::span<const std::uint32_t> candidates(std::string_view text) const;

  // The bytes it occupies.
  std::size_t memory_bytes() const;

 private:
  static std::uint64_t key_of(std::string_view text);

  struct Group {
    std::uint64_t key = 0;  // 0 marks a free slot (no key is 0, see key_of)
    std::uint32_t start = 0;
    std::uint32_t size = 0;
  };
  std::vector<std::uint32_t> members_;  // grouped by key, ascending within a group
  std::vector<Group> slots_;            // open addressing over a power of two of slots
};

}  // namespace quirlex
