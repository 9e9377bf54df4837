// The letter model of a corpus: how likely each letter is after the few
// letters before it within a word, learnt from the lexicon's words, so that
// a word no lexicon holds can still be put back in its most plausible order.
// It is a character n-gram model with interpolated Kneser-Ney smoothing over
// the words of four bytes or more, each word weighed by 1 + ln of its count
// in the corpus: names and rare words count nearly as much as frequent ones,
// since they are what the model is for. Bytes are upper-cased and fall into
// 31 classes (A to Z, an accented letter with its base letter, other
// letters, and four kinds of other word bytes).
//
// The model also keeps the corpus's spellings of the words it writes with
// capitals inside (TrueType, GnuPG), which the upper-cased lexicon cannot.
//
// A model belongs to one lexicon: its file names the lexicon by its hash and
// word count (see letter_model_file.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/lexicon_builder.h"
#include "text/case_map.h"
#include "text/letters.h"

namespace quirlex {

// Symbol 0 stands before a word's first byte and after its last; the word
// bytes have 1 to 31.
inline constexpr int kLetterSymbols = 32;

namespace letter_symbol_tables {

// The base letter of an accented letter of Windows-1252 (upper-cased), or 0.
constexpr char base_letter(std::uint8_t upper) {
  constexpr const char* kFromC0 = "AAAAAA\0CEEEEIIIIDNOOOOO\0OUUUUY\0S";
  if (upper >= 0xC0 && upper <= 0xDF) return kFromC0[upper - 0xC0];
  return upper == 0x8A ? 'S' : upper == 0x8E ? 'Z' : upper == 0x9F ? 'Y' : '\0';
}

constexpr std::array<std::uint8_t, 256> make_symbols() {
  std::array<std::uint8_t, 256> table{};
  for (int b = 0x40; b < 256; ++b) {
    std::uint8_t upper = upper_byte(static_cast<std::uint8_t>(b));
    // Accented letters go with their base letter: too few words have them
    // to learn each of them apart.
    if (base_letter(upper) != '\0') upper = static_cast<std::uint8_t>(base_letter(upper));
    if (upper >= 'A' && upper <= 'Z') {
      table[b] = static_cast<std::uint8_t>(upper - 'A' + 1);
    } else if (is_letter(static_cast<char>(b))) {
      table[b] = 27;
    } else {
      table[b] = upper == '@' ? 28 : upper == '_' ? 29 : upper == '^' ? 30 : 31;
    }
  }
  return table;
}

inline constexpr std::array<std::uint8_t, 256> kSymbols = make_symbols();

}  // namespace letter_symbol_tables

// The symbol of a word byte (a byte below 0x40 has 0).
constexpr std::uint8_t letter_symbol(char byte) {
  return letter_symbol_tables::kSymbols[static_cast<std::uint8_t>(byte)];
}

// A gram: up to `order` symbols, the last one the symbol predicted after
// the others, packed five bits each, the first in the highest bits. A gram
// that begins at a word's start is shorter than the order and begins with
// symbol 0; packed, it has two or more leading zero symbols, which tell its
// length (a gram of full length has at most one).
struct LetterGram {
  std::uint32_t key = 0;
  float weight = 0.0f;
  friend bool operator==(const LetterGram&, const LetterGram&) = default;
};

// One way the corpus writes a word with capitals inside, and how often.
// Longer spellings than kMaxSpellingLength bytes are not kept.
inline constexpr std::size_t kMaxSpellingLength = 255;
struct Spelling {
  std::string text;  // as the corpus writes it; upper-cased, it is a lexicon word
  std::uint32_t count = 0;
  friend bool operator==(const Spelling&, const Spelling&) = default;
};

class LetterModel {
 public:
  static constexpr int kMinOrder = 2;
  static constexpr int kMaxOrder = 6;
  // Five letters: the figures of bench/quality chose it.
  static constexpr int kDefaultOrder = 5;
  // The Kneser-Ney discount; all counts here are 1 or more.
  static constexpr float kDiscount = 0.9f;

  LetterModel() = default;

  // The model of `builder`'s words (collected, in their final order) with
  // their counts, and the spellings found in its corpus.
  static LetterModel count(const LexiconBuilder& builder, std::vector<Spelling> spellings,
                           int order = kDefaultOrder);

  // A model of these grams (sorted here) and spellings (sorted here, those
  // too long left out): from a file, or for tests.
  LetterModel(std::uint64_t lexicon_hash, std::uint32_t word_count, int order,
              std::vector<LetterGram> grams, std::vector<Spelling> spellings);

  LetterModel(LetterModel&&) noexcept = default;
  LetterModel& operator=(LetterModel&&) noexcept = default;

  int order() const { return order_; }
  std::uint64_t lexicon_hash_value() const { return lexicon_hash_; }
  std::uint32_t word_count() const { return word_count_; }
  std::span<const LetterGram> grams() const { return grams_; }
  std::span<const Spelling> spellings() const { return spellings_; }

  // The natural logarithm of the probability of each symbol after
  // `history`: the symbols before it, the nearest last, beginning with
  // symbol 0 when the history reaches the word's start. Only the last
  // order - 1 symbols count.
  void log_probabilities(std::span<const std::uint8_t> history,
                         std::array<float, kLetterSymbols>& out) const;

  // The spellings of `upper` (a lexicon word), most frequent first.
  std::span<const Spelling> spellings_of(std::string_view upper) const;

  // The bytes the model occupies in memory.
  std::size_t memory_bytes() const;

 private:
  // The grams of one length, and for each history (the gram without its
  // last symbol) the sum of their values, how many there are and where
  // they begin.
  struct Node {
    float total = 0.0f;
    std::uint32_t followers = 0;
    std::uint32_t begin = 0;
  };
  struct Level {
    std::vector<std::uint32_t> keys;  // packed grams, ascending
    std::vector<float> values;        // the weight, or the continuation count
    std::vector<Node> nodes;
    // Open addressing over a power of two of slots: a history's packed
    // symbols plus one (0 marks a free slot) and its node.
    std::vector<std::uint64_t> slot_keys;
    std::vector<std::uint32_t> slot_nodes;
    const Node* find(std::uint64_t history) const;
  };

  void build_levels();

  std::uint64_t lexicon_hash_ = 0;
  std::uint32_t word_count_ = 0;
  int order_ = kDefaultOrder;
  std::vector<LetterGram> grams_;
  std::vector<Spelling> spellings_;  // by upper-cased text, then most frequent first
  std::vector<std::string> spelling_uppers_;  // their upper-cased texts
  std::vector<Level> levels_;        // levels_[l] holds the grams of l + 1 symbols
};

// The length of a packed gram of a model of `order`.
int letter_gram_length(std::uint32_t key, int order);

// Packs `symbols` (at most six) as a gram of a model of `order`.
std::uint32_t pack_letter_gram(std::span<const std::uint8_t> symbols, int order);

}  // namespace quirlex
