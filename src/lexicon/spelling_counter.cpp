#include "lexicon/spelling_counter.h"

#include <algorithm>

#include "lexicon/corpus_words.h"
#include "lexicon/lexicon_builder.h"
#include "text/letters.h"

namespace quirlex {

bool has_inner_capitals(std::string_view letters) {
  std::size_t capitals = 0;
  std::size_t small = 0;
  for (const char c : letters) {
    if (!is_letter(c)) continue;
    if (is_capital_letter(c)) {
      ++capitals;
    } else if (upper_char(c) != c) {
      ++small;
    }
  }
  return capitals > 0 && small > 0 && !(capitals == 1 && is_capital_letter(letters.front()));
}

void SpellingCounter::add(std::string_view piece) {
  std::size_t start = 0;
  if (!carry_.empty()) {
    while (start < piece.size() && !separates_words(piece[start])) ++start;
    carry_.append(piece.substr(0, start));
    if (start == piece.size()) return;
    count_word(carry_);
    carry_.clear();
  }
  std::size_t at = start;
  while (at < piece.size()) {
    while (at < piece.size() && separates_words(piece[at])) ++at;
    const std::size_t begin = at;
    // Most words have no capital after their first byte: only those are
    // looked at further.
    bool inner_capital = false;
    for (; at < piece.size() && !separates_words(piece[at]); ++at) {
      inner_capital |= at > begin && is_capital_letter(piece[at]);
    }
    if (at == piece.size() && begin < at) {
      carry_.assign(piece.substr(begin));
      return;
    }
    if (inner_capital) count_word(piece.substr(begin, at - begin));
  }
}

void SpellingCounter::add_counted(std::string_view text, std::uint64_t times) {
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && separates_words(text[at])) ++at;
    const std::size_t begin = at;
    while (at < text.size() && !separates_words(text[at])) ++at;
    if (begin < at) count_word(text.substr(begin, at - begin), times);
  }
}

void SpellingCounter::count_word(std::string_view word, std::uint64_t times) {
  const LetterCore core = letter_core(word);
  if (core.size() < LexiconBuilder::kMinWordLength || core.size() > kMaxSpellingLength) return;
  const std::string_view letters = word.substr(core.begin, core.size());
  if (!has_inner_capitals(letters)) return;
  // Bytes that are no letters read as the lexicon stores them (a slash as @).
  std::string spelling(letters);
  for (char& c : spelling) {
    if (!is_letter(c)) c = fold_byte(c);
  }
  // A count field holds what a real corpus comes near; more is kept as its largest.
  std::uint32_t& count = counts_[spelling];
  count = static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t{count} + times, UINT32_MAX));
}

std::vector<Spelling> SpellingCounter::finish() {
  if (!carry_.empty()) count_word(carry_);
  carry_.clear();
  std::vector<Spelling> spellings;
  spellings.reserve(counts_.size());
  for (auto& [text, count] : counts_) spellings.push_back({text, count});
  counts_ = {};
  return spellings;
}

}  // namespace quirlex
