// FrequentWords in front of DistinctWords, against a plain map of counts:
// rounds of words counted as the builder's two threads count them (a hit in
// the table goes to that thread's hits, any other word to DistinctWords),
// flushed partition by partition, the table refilled after each round. The
// counts must be the plain ones whatever the table holds, and each refill
// must hold the most frequent words it can.
#include "lexicon/frequent_words.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace quirlex {
namespace {

WordKey key_of(const std::string& word) {
  return quirlex::key_of(word.data(), word.size(), word.size());
}

std::uint32_t tag_of(const std::string& word) {
  return DistinctWords::tag_of(key_of(word), word.size());
}

bool is_held(const FrequentWords& frequent, const std::string& word) {
  const WordKey key = key_of(word);
  return frequent.holds(FrequentWords::slot_of(key), key.head, tag_of(word)) == 1;
}

// After a refill: only words of at most sixteen bytes met more than once,
// each among the kWords most frequent; a word left out lost its slot to one
// met at least as often, or was not among the most frequent.
void expect_most_frequent_held(const FrequentWords& frequent,
                               const std::map<std::string, std::uint64_t>& counts) {
  std::vector<std::uint64_t> eligible;
  for (const auto& [word, count] : counts) {
    if (word.size() <= 16 && count > 1) eligible.push_back(count);
  }
  std::sort(eligible.begin(), eligible.end(), std::greater<>());
  const auto at_least = [&](std::uint64_t count) {
    return static_cast<std::size_t>(
        std::upper_bound(eligible.begin(), eligible.end(), count, std::greater<>()) -
        eligible.begin());
  };
  std::map<std::size_t, std::uint64_t> holder_count;
  std::size_t held = 0;
  for (const auto& [word, count] : counts) {
    if (!is_held(frequent, word)) continue;
    ++held;
    EXPECT_TRUE(word.size() <= 16 && count > 1) << word;
    // Fewer than kWords others are met more often.
    EXPECT_LE(at_least(count + 1), FrequentWords::kWords - 1) << word;
    const std::size_t slot = FrequentWords::slot_of(key_of(word));
    EXPECT_EQ(holder_count.count(slot), 0u) << "two words in one slot";
    holder_count[slot] = count;
  }
  EXPECT_LE(held, FrequentWords::kWords);
  for (const auto& [word, count] : counts) {
    if (word.size() > 16 || count <= 1 || is_held(frequent, word)) continue;
    const auto holder = holder_count.find(FrequentWords::slot_of(key_of(word)));
    const bool slot_taken = holder != holder_count.end() && holder->second >= count;
    // Itself and kWords others at least as often.
    const bool crowded_out = at_least(count) > FrequentWords::kWords;
    EXPECT_TRUE(slot_taken || crowded_out) << word << " met " << count << " times is not held";
  }
}

std::string random_word(std::mt19937& random, std::size_t length) {
  std::uniform_int_distribution<int> letter('A', 'Z');
  std::string word(length, ' ');
  for (char& c : word) c = static_cast<char>(letter(random));
  return word;
}

TEST(FrequentWords, CountsStayThePlainOnesAndEachRefillHoldsTheMostFrequent) {
  std::mt19937 random(31);
  // Each round: how many new words, their lengths and how often each is met
  // at most; every round meets the earlier rounds' words again too, fewer
  // times. Round 2 offers more words than the table holds, round 3 new
  // words more frequent than all before, which must take the table over.
  const struct {
    std::size_t new_words, min_length, max_length;
    int most_times;
  } rounds[] = {
      {300, 4, 16, 40}, {200, 17, 40, 60},  // too long for the table, however frequent
      {9000, 4, 12, 8}, {500, 4, 16, 400}, {0, 4, 4, 1},
  };
  DistinctWords distinct;
  FrequentWords frequent;
  std::map<std::string, std::uint64_t> counts;
  std::vector<std::string> vocabulary;
  std::uint64_t position = 0;
  for (std::size_t r = 0; r < std::size(rounds); ++r) {
    SCOPED_TRACE("round " + std::to_string(r));
    const auto& round = rounds[r];
    std::vector<std::string> text;
    for (const std::string& word : vocabulary) {
      if (random() % 3 == 0) text.push_back(word);
    }
    for (std::size_t k = 0; k < round.new_words; ++k) {
      std::uniform_int_distribution<std::size_t> length(round.min_length, round.max_length);
      const std::string word = random_word(random, length(random));
      vocabulary.push_back(word);
      std::uniform_int_distribution<int> times(1, round.most_times);
      for (int t = times(random); t > 0; --t) text.push_back(word);
    }
    std::shuffle(text.begin(), text.end(), random);
    std::array<FrequentWords::Hits, 2> hits{FrequentWords::no_hits(), FrequentWords::no_hits()};
    for (std::size_t k = 0; k < text.size(); ++k) {
      const std::string& word = text[k];
      ++counts[word];
      const WordKey key = key_of(word);
      const std::size_t slot = FrequentWords::slot_of(key);
      if (frequent.holds(slot, key.head, tag_of(word)) == 1) {
        hits[k % 2][slot] += 1;
      } else {
        distinct.count_one(word.data(), word.size(), word.size(), position++);
      }
    }
    if (r == 3) {
      // A word met more often than 32 bits count.
      for (const std::string& word : vocabulary) {
        const WordKey key = key_of(word);
        const std::size_t slot = FrequentWords::slot_of(key);
        if (frequent.holds(slot, key.head, tag_of(word)) == 0) continue;
        hits[1][slot] += std::uint64_t{1} << 32;
        counts[word] += std::uint64_t{1} << 32;
        break;
      }
    }
    for (std::size_t p = 0; p < DistinctWords::kPartitions; ++p) {
      frequent.flush(p, hits[0], hits[1], distinct);
    }
    for (const FrequentWords::Hits& h : hits) {
      EXPECT_EQ(std::count(h.begin(), h.end(), 0u), static_cast<std::ptrdiff_t>(h.size()))
          << "hits left after both partitions were flushed";
    }
    frequent.refill(distinct);
    expect_most_frequent_held(frequent, counts);
  }
  std::map<std::string, std::uint64_t> numbered;
  for (std::size_t p = 0; p < DistinctWords::kPartitions; ++p) {
    distinct.number_words(p, 0, [&](std::uint32_t, const DistinctWords::Word& word) {
      numbered[std::string(word.bytes)] = word.count;
    });
  }
  EXPECT_EQ(numbered, counts);
}

}  // namespace
}  // namespace quirlex
