#include "lexicon/lexicon_builder.h"

#include <algorithm>
#include <numeric>
#include <thread>
#include <utility>

#include "base/failure.h"
#include "lexicon/key_sort.h"
#include "lexicon/lexicon_codec.h"

namespace quirlex {
namespace {

bool wants_helper(unsigned threads) {
  if (threads == 0) threads = std::thread::hardware_concurrency();
  return threads >= 2;
}

// The first eight bytes of a word as a number whose order is theirs as
// unsigned bytes, zero past the word's end (below every word byte).
std::uint64_t order_key(std::string_view word) {
  std::uint64_t key = 0;
  for (std::size_t k = 0; k < 8; ++k) {
    key = (key << 8) | (k < word.size() ? static_cast<std::uint8_t>(word[k]) : 0u);
  }
  return key;
}

}  // namespace

TextPieces pieces_of(std::string_view text, std::size_t piece_size) {
  return [text, piece_size, at = std::size_t{0}](std::string& piece) mutable {
    const std::size_t size = std::min(piece_size, text.size() - at);
    piece.assign(text.substr(at, size));
    at += size;
    return size > 0;
  };
}

LexiconBuilder::LexiconBuilder(unsigned threads)
    : threads_(wants_helper(threads)), halves_(std::make_unique<std::array<Half, 2>>()) {}

void LexiconBuilder::add_text(std::string& piece) {
  for (std::size_t at = 0; at < piece.size(); at += kBatchSize) {
    joiner_.add(
        piece.data() + at, std::min(kBatchSize, piece.size() - at),
        [this](std::string_view word, std::uint64_t position) { count_carried(word, position); },
        [this](char* text, std::size_t size, std::uint64_t position) {
          count_stretch(text, size, position);
        });
  }
}

void LexiconBuilder::count_carried(std::string_view word, std::uint64_t position) {
  if (word.size() < kMinWordLength || is_marker_byte(word.front())) return;
  distinct_.count_one(word.data(), word.size(), word.size(), position);
}

void LexiconBuilder::find_words(char* text, Half& half) {
  char* const begin = text + half.begin;
  const std::size_t size = half.end - half.begin;
  fold_and_mark(begin, size, half.word_bits);
  for_each_word(half.word_bits, size, true, [&](std::size_t start, std::size_t length) {
    const char* const word = begin + start;
    // A word that begins like a marker would read back as front-coded, so
    // the lexicon cannot hold it.
    if (is_marker_byte(*word)) return;
    // Reads stay inside the half: the other thread may be folding the next.
    const WordKey key = key_of(word, length, size - start);
    half.found[DistinctWords::partition_of(key)].push_back(
        {key.head, DistinctWords::tag_of(key, length),
         static_cast<std::uint32_t>(half.begin + start)});
  });
}

void LexiconBuilder::count_stretch(char* text, std::size_t size, std::uint64_t position) {
  // Two halves, split at a separator, whose words are found at once; then
  // each thread counts the words of its partition, the first half's before
  // the second's, so that every partition sees its words in text order
  // whatever the threads. Small stretches are not worth a second thread.
  std::size_t split = size;
  if (threads_.has_helper() && size >= kTwoThreadsFrom) {
    split = size / 2;
    while (split < size && !separates_words(text[split])) ++split;
  }
  std::array<Half, 2>& halves = *halves_;
  halves[0].begin = 0;
  halves[0].end = halves[1].begin = split;
  halves[1].end = size;
  const auto count_partition = [&](std::size_t partition) {
    for (Half& h : halves) {
      distinct_.count(partition, h.found[partition], text, size, position);
      h.found[partition].clear();
    }
  };
  static_assert(DistinctWords::kPartitions == 2, "one partition for each thread");
  if (split == size) {
    find_words(text, halves[0]);
    count_partition(0);
    count_partition(1);
  } else {
    threads_.run([&](int half) { find_words(text, halves[static_cast<std::size_t>(half)]); });
    threads_.run([&](int half) { count_partition(static_cast<std::size_t>(half)); });
  }
  if (distinct_.size() > static_cast<std::size_t>(TokenList::kMaxSize)) {
    throw LimitExceeded("The corpus has too many distinct words: a lexicon can hold at most " +
                        std::to_string(TokenList::kMaxSize) + ".");
  }
}

void LexiconBuilder::finish() {
  joiner_.finish(
      [this](std::string_view word, std::uint64_t position) { count_carried(word, position); });
  halves_.reset();
  distinct_.number_words();
  // Ids in order of first appearance.
  std::vector<KeyedIndex> by_first(distinct_.size());
  distinct_.for_each([&](std::size_t handle, const DistinctWords::Word& word) {
    by_first[handle] = {word.first, static_cast<std::uint32_t>(handle)};
  });
  sort_by_key(by_first);
  id_of_handle_.resize(by_first.size());
  for (std::size_t id = 0; id < by_first.size(); ++id) {
    id_of_handle_[by_first[id].index] = static_cast<std::uint32_t>(id);
  }
  by_first = {};
  bytes_.resize(id_of_handle_.size());
  counts_.resize(id_of_handle_.size());
  distinct_.for_each([&](std::size_t handle, const DistinctWords::Word& word) {
    bytes_[id_of_handle_[handle]] = word.bytes;
    counts_[id_of_handle_[handle]] = word.count;
  });
  order_.resize(bytes_.size());
  std::iota(order_.begin(), order_.end(), 0u);
}

void LexiconBuilder::sort_words() {
  // By the first eight bytes, then the few words that share them by the rest.
  std::vector<KeyedIndex> keys(bytes_.size());
  for (std::size_t id = 0; id < bytes_.size(); ++id) {
    keys[id] = {order_key(bytes_[id]), static_cast<std::uint32_t>(id)};
  }
  sort_by_key(keys);
  for (auto run = keys.begin(); run != keys.end();) {
    const auto run_end = std::find_if(run, keys.end(), [&](const KeyedIndex& k) {
      return k.key != run->key;
    });
    // Equal keys: both words are at least eight bytes long (no two words
    // shorter share all their bytes), and string_view compares as unsigned.
    if (run_end - run > 1) {
      std::sort(run, run_end, [&](const KeyedIndex& a, const KeyedIndex& b) {
        return bytes_[a.index].substr(8) < bytes_[b.index].substr(8);
      });
    }
    run = run_end;
  }
  for (std::size_t i = 0; i < keys.size(); ++i) order_[i] = keys[i].index;
}

void LexiconBuilder::order_by_frequency() {
  sort_words();
  // A sort that keeps the order of equal keys: equal counts stay sorted.
  std::vector<KeyedIndex> keys(order_.size());
  for (std::size_t i = 0; i < order_.size(); ++i) keys[i] = {counts_[order_[i]], order_[i]};
  sort_by_key(keys);
  for (std::size_t i = 0; i < keys.size(); ++i) order_[i] = keys[i].index;
}

void LexiconBuilder::for_each_word_in_text(
    const TextPieces& pieces,
    const std::function<void(std::int64_t index, std::string_view word)>& visit) const {
  // A word's index is its rank in the present order.
  std::vector<std::uint32_t> rank(order_.size());
  for (std::size_t i = 0; i < order_.size(); ++i) rank[order_[i]] = static_cast<std::uint32_t>(i);
  const auto visit_word = [&](const char* word, std::size_t length, std::size_t readable) {
    const std::string_view bytes(word, length);
    if (length < kMinWordLength) return visit(kShortWord, bytes);
    if (is_marker_byte(*word)) return visit(kNotInLexicon, bytes);
    const std::int64_t handle = distinct_.find(word, length, readable);
    if (handle < 0) {
      throw Failure("The corpus changed while it was read; create the dictionary again.");
    }
    visit(rank[id_of_handle_[static_cast<std::size_t>(handle)]], bytes);
  };
  const auto carried = [&](std::string_view word, std::uint64_t) {
    visit_word(word.data(), word.size(), word.size());
  };
  PieceJoiner joiner;
  std::vector<std::uint64_t> bits;
  std::string piece;
  while (pieces(piece)) {
    for (std::size_t at = 0; at < piece.size(); at += kBatchSize) {
      joiner.add(piece.data() + at, std::min(kBatchSize, piece.size() - at), carried,
                 [&](char* text, std::size_t size, std::uint64_t) {
                   fold_and_mark(text, size, bits);
                   for_each_word(bits, size, false, [&](std::size_t start, std::size_t length) {
                     visit_word(text + start, length, size - start);
                   });
                 });
    }
  }
  joiner.finish(carried);
}

TokenList LexiconBuilder::encode() const {
  TokenList entries;
  entries.set_size(static_cast<std::int64_t>(order_.size()));
  LexiconEncoder encoder;
  auto out = entries.tokens().begin();
  for (std::size_t i = 0; i < order_.size(); ++i) (out++)->text = encoder.encode(word(i));
  return entries;
}

}  // namespace quirlex
