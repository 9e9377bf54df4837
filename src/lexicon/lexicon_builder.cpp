#include "lexicon/lexicon_builder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/failure.h"
#include "base/limits.h"
#include "lexicon/lexicon_codec.h"
#include "text/letters.h"

namespace quirlex {
namespace {

bool wants_helper(unsigned threads) {
  return threads == 0 ? second_thread_helps() : threads >= 2;
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

void LexiconBuilder::expect_corpus_bytes(std::uint64_t bytes) {
  constexpr double kMostWords = 1e6;
  const double words = std::min(3.0 * std::pow(static_cast<double>(bytes), 2.0 / 3.0), kMostWords);
  distinct_.expect_words(static_cast<std::size_t>(words));
}

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

void LexiconBuilder::trim(const char* text, std::size_t& start, std::size_t& length) const {
  if (!trim_ends_) return;
  const LetterCore core = letter_core(std::string_view(text + start, length));
  start += core.begin;
  // DistinctWords measures a word of 255 bytes or more to the separator
  // after it: such a word keeps its back.
  length = core.size() < kLongWordLength ? core.size() : length - core.begin;
}

void LexiconBuilder::count_carried(std::string_view word, std::uint64_t position) {
  std::size_t start = 0;
  std::size_t length = word.size();
  trim(word.data(), start, length);
  word = word.substr(start, length);
  if (word.size() < kMinWordLength || is_marker_byte(word.front())) return;
  distinct_.count_one(word.data(), word.size(), word.size(), position);
}

void LexiconBuilder::find_words(char* text, Half& half) {
  char* const begin = text + half.begin;
  const std::size_t size = half.end - half.begin;
  fold_and_mark(begin, size, half.word_bits);
  // A word of four bytes or more and the separator after it take five
  // bytes, so there is room for every word in either partition.
  const std::size_t most = size / 5 + 1;
  if (half.room < most) {
    for (auto& found : half.found) found = std::make_unique_for_overwrite<DistinctWords::Occurrence[]>(most);
    half.room = most;
  }
  // The ends of both lists in registers: stored through the half after each
  // word, each would wait for the store before.
  DistinctWords::Occurrence* ends[2] = {half.found[0].get(), half.found[1].get()};
  const auto offset_base = static_cast<std::uint32_t>(half.begin);
  std::uint64_t* const hits = half.hits.data();
  for_each_word(half.word_bits, size, true, [&](std::size_t start, std::size_t length) {
    trim(begin, start, length);
    if (length < kMinWordLength) return;
    const char* const word = begin + start;
    // A word that begins like a marker would read back as front-coded, so
    // the lexicon cannot hold it.
    if (is_marker_byte(*word)) return;
    // Reads stay inside the half: the other thread may be folding the next.
    const WordKey key = key_of(word, length, size - start);
    const std::uint32_t tag = DistinctWords::tag_of(key, length);
    const std::size_t slot = FrequentWords::slot_of(key);
    const unsigned hit = frequent_.holds(slot, key.head, tag);
    hits[slot] += hit;
    // Written whether or not it was a hit, and kept only when it was not.
    const std::size_t partition = DistinctWords::partition_of(key);
    *ends[partition] = {tag, offset_base + static_cast<std::uint32_t>(start)};
    ends[partition] += 1 - hit;
  });
  for (std::size_t p = 0; p < DistinctWords::kPartitions; ++p) {
    half.found_size[p] = static_cast<std::size_t>(ends[p] - half.found[p].get());
  }
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
      distinct_.count(partition, {h.found[partition].get(), h.found_size[partition]}, text, size,
                      position);
      h.found_size[partition] = 0;
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
  if (position + size >= next_refill_) {
    flush_hits();
    frequent_.refill(distinct_);
    next_refill_ = std::max(next_refill_, position + size) * 8;
  }
  check_word_count();
}

void LexiconBuilder::check_word_count() const {
  if (distinct_.size() > static_cast<std::size_t>(TokenList::kMaxSize)) {
    throw limit_failures::too_many_distinct_words();
  }
}

void LexiconBuilder::end_source() {
  joiner_.finish(
      [this](std::string_view word, std::uint64_t position) { count_carried(word, position); });
}

void LexiconBuilder::add_counted(char* lines, std::size_t size,
                                 std::span<const std::uint64_t> times) {
  end_source();
  if (size > UINT32_MAX) throw InvalidArgument();
  std::vector<std::uint64_t> bits;
  fold_and_mark(lines, size, bits);
  std::array<std::vector<DistinctWords::Counted>, DistinctWords::kPartitions> words;
  std::size_t line = 0;
  const char* const text = lines;
  const char* line_end = static_cast<const char*>(std::memchr(text, '\n', size));
  for_each_word(bits, size, true, [&](std::size_t start, std::size_t length) {
    trim(text, start, length);
    if (length < kMinWordLength) return;
    while (line_end != nullptr && line_end < text + start) {
      ++line;
      line_end = static_cast<const char*>(
          std::memchr(line_end + 1, '\n', size - static_cast<std::size_t>(line_end + 1 - text)));
    }
    if (line >= times.size()) throw InvalidArgument();
    if (times[line] == 0 || is_marker_byte(text[start])) return;
    const WordKey key = key_of(text + start, length, size - start);
    words[DistinctWords::partition_of(key)].push_back(
        {DistinctWords::tag_of(key, length), static_cast<std::uint32_t>(start), length,
         times[line]});
  });
  // Each partition on a thread of its own, as count_stretch does.
  const auto count_partition = [&](std::size_t partition) {
    distinct_.count_times(partition, words[partition], text, size, joiner_.position());
  };
  if (threads_.has_helper() && size >= kTwoThreadsFrom) {
    threads_.run([&](int half) { count_partition(static_cast<std::size_t>(half)); });
  } else {
    count_partition(0);
    count_partition(1);
  }
  joiner_.skip(size);
  check_word_count();
}

void LexiconBuilder::flush_hits() {
  std::array<Half, 2>& halves = *halves_;
  threads_.run([&](int half) {
    frequent_.flush(static_cast<std::size_t>(half), halves[0].hits, halves[1].hits, distinct_);
  });
}

void LexiconBuilder::finish() {
  end_source();
  flush_hits();
  halves_.reset();
  const std::size_t n = distinct_.size();
  words_.resize(n);
  first_.resize(n);
  // Each partition on its own thread, the second's numbers after the first's.
  threads_.run([&](int half) {
    const auto partition = static_cast<std::size_t>(half);
    const auto first_number = static_cast<std::uint32_t>(half == 0 ? 0 : distinct_.size(0));
    distinct_.number_words(partition, first_number,
                           [&](std::uint32_t number, const DistinctWords::Word& word) {
                             words_[number] = {word.bytes, word.count};
                             first_[number] = word.first;
                           });
  });
}

void LexiconBuilder::for_each_word_in_text(
    const TextPieces& pieces,
    const std::function<void(std::int64_t index, std::string_view word)>& visit) const {
  // A word's index is its rank in the present order.
  std::vector<std::uint32_t, LargeBlockAllocator<std::uint32_t>> rank(order_.size());
  for (std::size_t i = 0; i < order_.size(); ++i) rank[order_[i]] = static_cast<std::uint32_t>(i);
  const auto visit_word = [&](const char* word, std::size_t length, std::size_t readable) {
    std::size_t start = 0;
    trim(word, start, length);
    // Nothing but bytes that are no letters: no word at all.
    if (length == 0) return;
    word += start;
    readable -= start;
    const std::string_view bytes(word, length);
    if (length < kMinWordLength) return visit(kShortWord, bytes);
    if (is_marker_byte(*word)) return visit(kNotInLexicon, bytes);
    const std::int64_t number = distinct_.find(word, length, readable);
    if (number < 0) {
      throw Failure("The corpus changed while it was read; create the dictionary again.");
    }
    visit(rank[static_cast<std::size_t>(number)], bytes);
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
  // In two halves at once: an entry depends only on its word and the one
  // before. Each half's entries go to a buffer of its own, and then into the
  // list in order.
  struct Entries {
    std::string bytes;
    std::vector<std::uint32_t> lengths;
  };
  std::array<Entries, 2> halves;
  const std::size_t middle = order_.size() / 2;
  in_halves(order_.size(), middle, [&](std::size_t begin, std::size_t end) {
    Entries& half = halves[begin == 0 && end == middle ? 0 : 1];
    half.lengths.reserve(end - begin);
    for (std::size_t i = begin; i < end; ++i) {
      // Neither the words nor their bytes lie in the order of the lexicon:
      // a word is fetched, and later its bytes.
      if (i + 2 * kFetchAhead < end) __builtin_prefetch(&words_[order_[i + 2 * kFetchAhead]]);
      if (i + kFetchAhead < end) __builtin_prefetch(word(i + kFetchAhead).data());
      const std::size_t before = half.bytes.size();
      LexiconEncoder::append(i > 0 ? word(i - 1) : std::string_view(), word(i), half.bytes);
      half.lengths.push_back(static_cast<std::uint32_t>(half.bytes.size() - before));
    }
  });
  entries.reserve_for(static_cast<std::int64_t>(order_.size()), -1,
                      static_cast<std::int64_t>(halves[0].bytes.size() + halves[1].bytes.size()));
  for (const Entries& half : halves) {
    std::size_t at = 0;
    for (const std::size_t length : half.lengths) {
      entries.append(std::string_view(half.bytes).substr(at, length));
      at += length;
    }
  }
  return entries;
}

}  // namespace quirlex
