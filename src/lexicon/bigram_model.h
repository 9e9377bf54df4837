// The bigram model of a corpus: how often two lexicon words follow each other
// in it, keyed by their indices in the lexicon. Only pairs that can settle a
// choice are kept: at least one of the two words shares its signature, length
// and first and last byte with another lexicon word (a tie), and the pair is
// not rare. The model belongs to one lexicon: its file names the lexicon by a
// hash of its word list and is refused for any other.
//
// Words of fewer than four bytes are not in the lexicon; when they are
// counted as words of their own (they tell "the three" from "there is"), each
// has the index after the lexicon's words that its place in the model's list
// of short words gives. Its file is lexicon/bigram_file.h.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/lexicon_builder.h"
#include "text/token_list.h"

namespace quirlex {

// FNV-1a 64 of the lexicon's words in order, each followed by a line feed:
// the same for a lexicon as built and as read back from its file.
std::uint64_t lexicon_hash(const TokenList& words);
// The same of the builder's words in their present order, as the lexicon
// file will read back.
std::uint64_t lexicon_hash(const LexiconBuilder& builder);

struct BigramPair {
  std::uint32_t first = 0;
  std::uint32_t second = 0;
  std::uint32_t count = 0;
  friend bool operator==(const BigramPair&, const BigramPair&) = default;
};

// The order of a model's pairs: by the first word, then by the second.
inline bool pair_before(const BigramPair& a, const BigramPair& b) {
  return a.first != b.first ? a.first < b.first : a.second < b.second;
}

// How the words of fewer than four bytes between two lexicon words are
// treated when pairs are counted, and so when neighbours are found.
enum class ShortWords {
  kSkipped,     // the words on either side still make a pair
  kBreakPairs,  // no pair across them
  kCounted,     // each is a word of the model's own
};

// The rule Create Dictionary counts by (the figures of bench/quality chose it).
inline constexpr ShortWords kBigramShortWords = ShortWords::kCounted;

class BigramModel {
 public:
  // The smallest count a pair keeps; raised until the file fits its budget.
  static constexpr std::uint32_t kMinCount = 2;

  BigramModel() = default;

  // Counts the pairs of `builder`'s corpus (collected, in its final order),
  // whose text `pieces` gives once more. The file is kept at most
  // `max_file_bytes` long by raising the smallest count kept; a pair seen
  // more often than a count field holds keeps the largest it holds.
  static BigramModel count(const LexiconBuilder& builder, const TextPieces& pieces,
                           ShortWords rule, std::uint64_t max_file_bytes);

  // How often `second` follows `first`, 0 for a pair the model lacks.
  std::uint32_t count(std::uint32_t first, std::uint32_t second) const;

  // The index of a short word (upper-cased) in the model, or -1.
  std::int64_t short_word_index(std::string_view upper) const;

  std::span<const BigramPair> pairs() const { return pairs_; }
  std::span<const std::string> short_words() const { return short_words_; }
  ShortWords rule() const { return rule_; }
  std::uint32_t min_count() const { return min_count_; }
  std::uint64_t lexicon_hash_value() const { return lexicon_hash_; }
  std::uint32_t word_count() const { return word_count_; }

  // A model of these pairs (sorted here, unless they come sorted), as its
  // file holds it or as tests make it. `short_words` (sorted, each of one to
  // three word bytes) only with kCounted.
  BigramModel(std::uint64_t lexicon_hash, std::uint32_t word_count, ShortWords rule,
              std::vector<BigramPair> pairs, std::vector<std::string> short_words = {},
              std::uint32_t min_count = kMinCount);

 private:
  std::uint64_t lexicon_hash_ = 0;
  std::uint32_t word_count_ = 0;
  ShortWords rule_ = ShortWords::kSkipped;
  std::uint32_t min_count_ = kMinCount;
  std::vector<std::string> short_words_;
  std::vector<BigramPair> pairs_;
};

}  // namespace quirlex
