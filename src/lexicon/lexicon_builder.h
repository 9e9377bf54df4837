// Turns a corpus text into the lexicon: its words of four bytes or more,
// upper-cased, each once, in order of first appearance, sorted by bytes, or
// in ascending order of their count in the corpus.
// The words stay in the corpus text and are referred to by position, so a
// corpus of hundreds of megabytes needs little memory beyond its own text.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "text/token_list.h"

namespace quirlex {

class LexiconBuilder {
 public:
  // The shortest word the lexicon keeps, in bytes.
  static constexpr std::size_t kMinWordLength = 4;
  // From this corpus size on, two threads collect the words, one per half.
  static constexpr std::size_t kTwoThreadsFrom = std::size_t{1} << 22;

  // Takes the corpus text as read (umlauts already spelled out).
  explicit LexiconBuilder(std::string corpus_text);

  // Splits the text into words and keeps those of at least four bytes that
  // the lexicon file can store, upper-cased. Slashes become "@" and double
  // quotes "^" first, so neither splits a word. A word met again is dropped
  // at once, and only counted: its first appearance is the one that stays.
  // Large corpora are split in two halves, collected at once on two threads.
  void collect_words();

  // Orders the words by their bytes as unsigned numbers, a word before every
  // longer word it begins. Without it they stay in order of first appearance.
  void sort_words();

  // Orders the words by ascending count, words of equal count as sort_words
  // orders them: of the words that share a signature the most frequent is
  // stored last and wins in the lexicon table, and a word's index is its rank.
  void order_by_frequency();

  std::size_t word_count() const { return words_.size(); }
  std::string_view word(std::size_t index) const {
    return {text_.data() + words_[index].offset, words_[index].length};
  }

  // How often the word at `index` appears in the corpus (any case).
  std::uint32_t count(std::size_t index) const { return words_[index].count; }

  // What for_each_word_in_text passes for a word of fewer than four bytes,
  // and for a longer one the lexicon cannot hold.
  static constexpr std::int64_t kShortWord = -1;
  static constexpr std::int64_t kNotInLexicon = -2;

  // Calls `visit` for every word of the corpus text in order, short ones
  // included, with its index in the present order of the words and its
  // upper-cased bytes. Needs collect_words first; the order may have changed
  // since.
  void for_each_word_in_text(
      const std::function<void(std::int64_t index, std::string_view word)>& visit) const;

  // The front-coded entries of the words in their order, one token each.
  TokenList encode() const;

  // A word by its first appearance in the corpus text, and its count.
  struct WordRef {
    std::uint32_t offset;
    std::uint32_t length;
    std::uint32_t count;
  };

 private:
  std::string text_;
  std::vector<WordRef> words_;
};

}  // namespace quirlex
