// Turns a corpus text into the lexicon: its words of four bytes or more,
// upper-cased, each once, in order of first appearance, sorted by bytes, or
// in ascending order of their count in the corpus. The text comes in pieces
// of any size, so a corpus of any length needs memory only for its distinct
// words and a piece; the results do not depend on how the text is cut into
// pieces nor on the number of threads.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/helper_thread.h"
#include "lexicon/distinct_words.h"
#include "lexicon/frequent_words.h"
#include "lexicon/key_sort.h"
#include "lexicon/piece_joiner.h"
#include "text/token_list.h"

namespace quirlex {

// The order of the lexicon's words.
enum class LexiconOrder {
  kText,    // first appearance in the corpus
  kSorted,  // by unsigned bytes, a word before every longer word it begins
  // By ascending count in the corpus, equal counts as kSorted: of the words
  // that share a signature the most frequent is stored last and so wins in
  // every table, and a word's index is its rank.
  kFrequency,
};

// Fills `piece` with the next piece of a text; false, with `piece` empty,
// once the text has ended.
using TextPieces = std::function<bool(std::string& piece)>;

// The pieces of `text` (which must outlive them), `piece_size` bytes each.
TextPieces pieces_of(std::string_view text, std::size_t piece_size);

class LexiconBuilder {
 public:
  // The shortest word the lexicon keeps, in bytes.
  static constexpr std::size_t kMinWordLength = 4;
  // A stretch of text from this size on is split between two threads.
  static constexpr std::size_t kTwoThreadsFrom = std::size_t{64} << 10;
  // A longer piece is taken in batches of this size.
  static constexpr std::size_t kBatchSize = std::size_t{8} << 20;

  // With `threads` 0, as many threads as the machine has, at most two.
  explicit LexiconBuilder(unsigned threads = 0);

  // Takes the next piece of the corpus text as read (umlauts already
  // spelled out); it may end inside a word. Keeps its words of at least four
  // bytes that the lexicon file can store, upper-cased; slashes become "@"
  // and double quotes "^" first, so neither splits a word. A word met again
  // is only counted: its first appearance is the one that stays. The
  // piece's bytes are folded in place.
  void add_text(std::string& piece);

  // A source has ended: the word it ends with is counted, so that it is not
  // joined to the first word of the next source. Text of the next source
  // appears after all of this one's.
  void end_source();

  // Takes lines of a count file after the text given so far, each as corpus
  // text that appears `times[i]` times in a row: the `size` bytes at `lines`
  // (fewer than 2^32, read as a corpus is) hold one line for each count,
  // each ended by a line feed. A line's words are those add_text would find
  // in it (the count's digits and blanks separate words), each counted that
  // often (none for a count of 0); they first appear in line order. Ends
  // the source before. The bytes are folded in place.
  void add_counted(char* lines, std::size_t size, std::span<const std::uint64_t> times);

  // Before the first piece, when the corpus's size is known: makes room at
  // once for the distinct words a corpus of `bytes` has, about 3 n^(2/3)
  // for n bytes in real text (measured on German and English corpora of 10
  // to 300 MB), a million at the most. Without it the tables grow as the
  // words come, each time in fresh memory.
  void expect_corpus_bytes(std::uint64_t bytes);

  // Before the first word: makes room at once for about `words` distinct
  // words (the lines of a count file, say).
  void expect_words(std::size_t words) { distinct_.expect_words(words); }

  // Before the first piece: from then on a word's bytes that are no letters
  // at its front and back (quote marks, brackets, bars, underscores) are no
  // part of it, as a reader sees words; here and in for_each_word_in_text.
  void trim_word_ends() { trim_ends_ = true; }

  // The text has ended; needed before anything below.
  void finish();

  // The corpus will not be read again (for_each_word_in_text): frees the
  // tables that look its words up, a good part of the memory.
  void forget_lookups() { distinct_.forget_lookups(); }

  // Puts the words in `order`; needed before they are read, and may be
  // called again for another order.
  void put_in_order(LexiconOrder order);

  std::size_t word_count() const { return order_.size(); }
  std::string_view word(std::size_t index) const { return words_[order_[index]].bytes; }

  // How often the word at `index` appears in the corpus (any case).
  std::uint64_t count(std::size_t index) const { return words_[order_[index]].count; }

  // What for_each_word_in_text passes for a word of fewer than four bytes,
  // and for a longer one the lexicon cannot hold.
  static constexpr std::int64_t kShortWord = -1;
  static constexpr std::int64_t kNotInLexicon = -2;

  // Reads the corpus text again from `pieces` and calls `visit` for every
  // word in order, short ones included, with its index in the present order
  // of the words and its upper-cased bytes. A word the lexicon lacks (the
  // corpus changed meanwhile) is a Failure.
  void for_each_word_in_text(
      const TextPieces& pieces,
      const std::function<void(std::int64_t index, std::string_view word)>& visit) const;

  // The front-coded entries of the words in their order, one token each.
  TokenList encode() const;

 private:
  // A part of a stretch of text, its words found on one thread.
  struct Half {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::vector<std::uint64_t> word_bits;
    // The occurrences found, by partition: `found_size[p]` of them at
    // `found[p]`, which has room for as many words as a half can hold.
    std::array<std::unique_ptr<DistinctWords::Occurrence[]>, DistinctWords::kPartitions> found;
    std::array<std::size_t, DistinctWords::kPartitions> found_size{};
    std::size_t room = 0;
    // The words found among the frequent ones.
    FrequentWords::Hits hits = FrequentWords::no_hits();
  };

  void count_stretch(char* text, std::size_t size, std::uint64_t position);
  void find_words(char* text, Half& half);
  void count_carried(std::string_view word, std::uint64_t position);
  // Refuses more distinct words than a lexicon can hold.
  void check_word_count() const;
  // Adds the hits of the frequent words to their counts, both partitions at once.
  void flush_hits();

  // The table of frequent words is filled anew each time the text read
  // reaches eight times the length of the last time, from this on.
  static constexpr std::uint64_t kFirstRefill = std::uint64_t{64} << 10;
  // How many words ahead their bytes are fetched where words are taken in an
  // order other than that of their bytes.
  static constexpr std::size_t kFetchAhead = 32;
  // Calls `work(begin, end)` for the two halves of 0 to `n` at once, the
  // second half beginning at `middle` (n / 2 when it is beyond n).
  void in_halves(std::size_t n, std::size_t middle,
                 const std::function<void(std::size_t begin, std::size_t end)>& work) const;
  void order_by_appearance();
  // The order the indices of `keys` give, taken in two halves split at `middle`.
  void take_order(const KeyedIndices& keys, std::size_t middle);
  void sort_words();
  void order_by_frequency();

  // Encoding, a const step, runs on both threads too.
  mutable HelperThread threads_;
  // The word of `length` bytes at `start` without the bytes at its ends
  // that are no letters, when trim_word_ends was asked for.
  void trim(const char* text, std::size_t& start, std::size_t& length) const;

  static constexpr std::size_t kLongWordLength = 255;
  bool trim_ends_ = false;
  PieceJoiner joiner_;
  DistinctWords distinct_;
  FrequentWords frequent_;
  std::uint64_t next_refill_ = kFirstRefill;
  std::unique_ptr<std::array<Half, 2>> halves_;
  // After finish, the words by their number in distinct_ and the first
  // appearance of each.
  struct Word {
    std::string_view bytes;
    std::uint64_t count;
  };
  std::vector<Word, LargeBlockAllocator<Word>> words_;
  std::vector<std::uint64_t, LargeBlockAllocator<std::uint64_t>> first_;
  // The numbers of the words in their present order.
  std::vector<std::uint32_t, LargeBlockAllocator<std::uint32_t>> order_;
};

}  // namespace quirlex
