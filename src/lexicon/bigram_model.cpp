#include "lexicon/bigram_model.h"

#include <algorithm>
#include <functional>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "base/hash_mix.h"
#include "base/open_table.h"
#include "lexicon/bigram_file.h"
#include "lexicon/lexicon_builder.h"
#include "text/signature.h"

namespace quirlex {
namespace {

// Which words of the builder share signature, length and first and last byte
// with another: only these can be restored wrongly for want of context.
std::vector<bool> tie_words(const LexiconBuilder& builder) {
  struct Key {
    double signature;
    std::uint32_t length;
    std::uint8_t first, last;
    std::uint32_t index;
    auto tied() const { return std::tie(signature, length, first, last); }
  };
  std::vector<Key> keys;
  keys.reserve(builder.word_count());
  for (std::size_t i = 0; i < builder.word_count(); ++i) {
    const std::string_view w = builder.word(i);
    keys.push_back({signature_of(w), static_cast<std::uint32_t>(w.size()),
                    static_cast<std::uint8_t>(w.front()), static_cast<std::uint8_t>(w.back()),
                    static_cast<std::uint32_t>(i)});
  }
  std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
    return std::tie(a.signature, a.length, a.first, a.last, a.index) <
           std::tie(b.signature, b.length, b.first, b.last, b.index);
  });
  std::vector<bool> tie(builder.word_count(), false);
  for (std::size_t k = 0; k + 1 < keys.size(); ++k) {
    if (keys[k].tied() == keys[k + 1].tied()) tie[keys[k].index] = tie[keys[k + 1].index] = true;
  }
  return tie;
}

// Counts of word pairs by open addressing: a corpus has millions of distinct
// pairs, too many for a node per pair. Counts are 64-bit: a pair of a corpus
// of many gigabytes can be seen more than four billion times.
class PairCounts {
 public:
  void add(std::uint32_t first, std::uint32_t second) {
    // At most half the slots in use.
    if ((slots_.used() + 1) * 2 > slots_.capacity()) {
      slots_.rebuild(std::max<std::uint64_t>(slots_.capacity() * 2, 1024));
    }
    const std::uint64_t key = (std::uint64_t{first} << 32) | second;
    Slot& s = slots_.slot_of(key);
    if (s.count == 0) {
      s.pair = key;
      slots_.filled();
    }
    ++s.count;
  }

  // The pairs counted at least `min_count` (one or more) times, unordered; a
  // count past what the file's field holds as the largest it holds.
  std::vector<BigramPair> at_least(std::uint32_t min_count) const {
    std::vector<BigramPair> pairs;
    for (const Slot& s : slots_.slots()) {
      if (s.count >= min_count) {
        pairs.push_back({static_cast<std::uint32_t>(s.pair >> 32),
                         static_cast<std::uint32_t>(s.pair),
                         static_cast<std::uint32_t>(std::min<std::uint64_t>(s.count, UINT32_MAX))});
      }
    }
    return pairs;
  }

 private:
  struct Slot {
    std::uint64_t pair;   // first << 32 | second
    std::uint64_t count;  // 0: free
    bool used() const { return count != 0; }
    std::uint64_t key() const { return pair; }
  };

  OpenTable<Slot> slots_;
};

// The lexicon hash so far, with the next word.
std::uint64_t hash_word(std::uint64_t hash, std::string_view word) {
  return fnv1a(fnv1a(hash, word), "\n");
}

}  // namespace

std::uint64_t lexicon_hash(const LexiconBuilder& builder) {
  std::uint64_t hash = kFnv1aStart;
  for (std::size_t i = 0; i < builder.word_count(); ++i) hash = hash_word(hash, builder.word(i));
  return hash;
}

std::uint64_t lexicon_hash(const TokenList& words) {
  std::uint64_t hash = kFnv1aStart;
  for (std::int32_t i = 0; i < words.size(); ++i) hash = hash_word(hash, words.text(i));
  return hash;
}

BigramModel::BigramModel(std::uint64_t lexicon_hash, std::uint32_t word_count, ShortWords rule,
                         std::vector<BigramPair> pairs, std::vector<std::string> short_words,
                         std::uint32_t min_count)
    : lexicon_hash_(lexicon_hash),
      word_count_(word_count),
      rule_(rule),
      min_count_(min_count),
      short_words_(std::move(short_words)),
      pairs_(std::move(pairs)) {
  if (!std::is_sorted(pairs_.begin(), pairs_.end(), pair_before)) {
    std::sort(pairs_.begin(), pairs_.end(), pair_before);
  }
}

BigramModel BigramModel::count(const LexiconBuilder& builder, const TextPieces& pieces,
                               ShortWords rule, std::uint64_t max_file_bytes) {
  const std::vector<bool> tie = tie_words(builder);
  const auto word_count = static_cast<std::uint32_t>(builder.word_count());
  const auto is_tie = [&](std::int64_t index) { return index < word_count && tie[index]; };
  // Counted short words take indices after the lexicon's in order of
  // appearance first; the model's list of them is sorted at the end. A
  // short word is its length and bytes packed in a number (no word byte is
  // zero), looked up without a string compared.
  std::unordered_map<std::uint32_t, std::uint32_t> short_ids;
  std::vector<std::string> short_texts;
  PairCounts counts;
  std::int64_t previous = -1;
  builder.for_each_word_in_text(pieces, [&](std::int64_t index, std::string_view word) {
    if (index == LexiconBuilder::kShortWord) {
      if (rule == ShortWords::kSkipped) return;
      if (rule == ShortWords::kBreakPairs) {
        previous = -1;
        return;
      }
      std::uint32_t packed = 0;
      for (const char c : word) packed = (packed << 8) | static_cast<std::uint8_t>(c);
      const auto [found, added] = short_ids.try_emplace(
          packed, word_count + static_cast<std::uint32_t>(short_texts.size()));
      if (added) short_texts.emplace_back(word);
      index = found->second;
    }
    if (index >= 0 && previous >= 0 && (is_tie(previous) || is_tie(index))) {
      counts.add(static_cast<std::uint32_t>(previous), static_cast<std::uint32_t>(index));
    }
    previous = index;
  });

  BigramModel model;
  model.lexicon_hash_ = lexicon_hash(builder);
  model.word_count_ = static_cast<std::uint32_t>(builder.word_count());
  model.rule_ = rule;
  model.pairs_ = counts.at_least(kMinCount);
  // Each short word kept costs its four bytes as well: counted as a third of
  // a record, a bound no worse than that (a record names at most one).
  const std::uint64_t room =
      max_file_bytes > kBigramHeaderSize
          ? (max_file_bytes - kBigramHeaderSize) / (kBigramRecordSize + kBigramShortWordSize)
          : 0;
  if (model.pairs_.size() > room) {
    // The most frequent pairs that fit, and no pair of a count some pair
    // left out has: the smallest count kept is one above the first left out.
    std::vector<std::uint32_t> values;
    values.reserve(model.pairs_.size());
    for (const BigramPair& p : model.pairs_) values.push_back(p.count);
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(room),
                     values.end(), std::greater<>());
    model.min_count_ = values[room] + 1;
    std::erase_if(model.pairs_, [&](const BigramPair& p) { return p.count < model.min_count_; });
  }
  // The short words the kept pairs name, sorted, and the pairs renumbered.
  std::vector<std::uint32_t> kept;
  for (const BigramPair& p : model.pairs_) {
    for (const std::uint32_t index : {p.first, p.second}) {
      if (index >= word_count) kept.push_back(index);
    }
  }
  std::sort(kept.begin(), kept.end(), [&](std::uint32_t a, std::uint32_t b) {
    return short_texts[a - word_count] < short_texts[b - word_count];
  });
  kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
  std::vector<std::uint32_t> renumbered(short_texts.size());
  for (std::size_t k = 0; k < kept.size(); ++k) {
    renumbered[kept[k] - word_count] = word_count + static_cast<std::uint32_t>(k);
    model.short_words_.emplace_back(short_texts[kept[k] - word_count]);
  }
  for (BigramPair& p : model.pairs_) {
    if (p.first >= word_count) p.first = renumbered[p.first - word_count];
    if (p.second >= word_count) p.second = renumbered[p.second - word_count];
  }
  std::sort(model.pairs_.begin(), model.pairs_.end(), pair_before);
  return model;
}

std::int64_t BigramModel::short_word_index(std::string_view upper) const {
  const auto found = std::lower_bound(short_words_.begin(), short_words_.end(), upper);
  return found != short_words_.end() && *found == upper
             ? word_count_ + (found - short_words_.begin())
             : -1;
}

std::uint32_t BigramModel::count(std::uint32_t first, std::uint32_t second) const {
  const BigramPair key{first, second, 0};
  const auto found = std::lower_bound(pairs_.begin(), pairs_.end(), key, pair_before);
  return found != pairs_.end() && found->first == first && found->second == second ? found->count
                                                                                    : 0;
}

}  // namespace quirlex
