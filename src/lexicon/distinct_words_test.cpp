// DistinctWords against a plain map of word to count and first position:
// words that fit their head and words that do not, heads shared by words
// that differ only past them or in length, lengths around the length byte's
// limit, tables and byte stores that grow, both partitions, counted one
// word at a time or a stretch at a time, and counts past 32 bits.
#include "lexicon/distinct_words.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quirlex {
namespace {

struct Counted {
  std::uint64_t count = 0;
  std::uint64_t first = 0;
};
using Model = std::map<std::string, Counted>;

WordKey key_of(const std::string& word) {
  return quirlex::key_of(word.data(), word.size(), word.size());
}

std::size_t partition_of(const std::string& word) {
  return DistinctWords::partition_of(key_of(word));
}

// Counts `words`, one stretch of text after the other (each word followed
// by a space), as the builder does: each partition's occurrences of a
// stretch in text order, or every word on its own with `one_by_one`.
Model count_all(DistinctWords& distinct, const std::vector<std::vector<std::string>>& stretches,
                bool one_by_one) {
  Model model;
  std::uint64_t position = 0;
  for (const std::vector<std::string>& stretch : stretches) {
    std::string text;
    std::vector<DistinctWords::Occurrence> found[DistinctWords::kPartitions];
    for (const std::string& word : stretch) {
      const auto offset = static_cast<std::uint32_t>(text.size());
      Counted& counted = model[word];
      if (counted.count++ == 0) counted.first = position + offset;
      const WordKey key = key_of(word);
      found[DistinctWords::partition_of(key)].push_back(
          {DistinctWords::tag_of(key, word.size()), offset});
      text += word + ' ';
    }
    if (one_by_one) {
      std::size_t at = 0;
      for (const std::string& word : stretch) {
        distinct.count_one(text.data() + at, word.size(), text.size() - at, position + at);
        at += word.size() + 1;
      }
    } else {
      for (std::size_t p = 0; p < DistinctWords::kPartitions; ++p) {
        distinct.count(p, found[p], text.data(), text.size(), position);
      }
    }
    position += text.size();
  }
  return model;
}

struct Numbered {
  std::string bytes;
  std::uint64_t count = 0;
  std::uint64_t first = 0;
  bool seen = false;
};

// Every word as number_words gives it, by number.
std::vector<Numbered> number_all(DistinctWords& distinct) {
  std::vector<Numbered> numbered(distinct.size());
  for (std::size_t p = 0; p < DistinctWords::kPartitions; ++p) {
    const auto first_number = static_cast<std::uint32_t>(p == 0 ? 0 : distinct.size(0));
    distinct.number_words(p, first_number,
                          [&](std::uint32_t number, const DistinctWords::Word& word) {
                            ASSERT_LT(number, numbered.size());
                            Numbered& n = numbered[number];
                            ASSERT_FALSE(n.seen) << "number " << number << " given twice";
                            n = {std::string(word.bytes), word.count, word.first, true};
                          });
  }
  return numbered;
}

// The numbered words are the model's, the first partition's numbers before
// the second's, each partition's in order of first appearance; every word
// is found under its number, and `absent` words not at all.
void expect_model(DistinctWords& distinct, const Model& model,
                  const std::vector<std::string>& absent) {
  ASSERT_EQ(distinct.size(), model.size());
  const std::vector<Numbered> numbered = number_all(distinct);
  std::map<std::string, std::size_t> number_of;
  for (std::size_t number = 0; number < numbered.size(); ++number) {
    const Numbered& n = numbered[number];
    ASSERT_TRUE(n.seen) << "no word numbered " << number;
    const auto expected = model.find(n.bytes);
    ASSERT_NE(expected, model.end()) << n.bytes;
    EXPECT_EQ(n.count, expected->second.count) << n.bytes;
    EXPECT_EQ(n.first, expected->second.first) << n.bytes;
    EXPECT_EQ(partition_of(n.bytes), number < distinct.size(0) ? 0u : 1u) << n.bytes;
    if (number > 0 && number != distinct.size(0)) {
      EXPECT_LT(numbered[number - 1].first, n.first) << n.bytes;
    }
    number_of[n.bytes] = number;
  }
  for (const auto& [word, counted] : model) {
    EXPECT_EQ(distinct.find(word.data(), word.size(), word.size()),
              static_cast<std::int64_t>(number_of.at(word)))
        << word;
  }
  for (const std::string& word : absent) {
    if (model.count(word) != 0) continue;
    EXPECT_EQ(distinct.find(word.data(), word.size(), word.size()), -1) << word;
  }
  // Forgetting the look-ups keeps the words' bytes.
  std::vector<std::string_view> views;
  distinct.number_words(
      0, 0, [&](std::uint32_t, const DistinctWords::Word& w) { views.push_back(w.bytes); });
  const std::vector<std::string> copies(views.begin(), views.end());
  distinct.forget_lookups();
  EXPECT_EQ(distinct.size(), model.size());
  EXPECT_EQ(std::vector<std::string>(views.begin(), views.end()), copies);
}

std::string random_word(std::mt19937& random, std::size_t length, char low = 'A', char high = 'Z') {
  std::uniform_int_distribution<int> letter(low, high);
  std::string word(length, ' ');
  for (char& c : word) c = static_cast<char>(letter(random));
  return word;
}

// The distinct words of `candidates` (all with the same first eight bytes)
// that share partition and tag with another of them: only their bytes tell
// them apart. Found by trying, whatever the hash: among tens of thousands of
// candidates some always do.
std::vector<std::string> sharing_tags(const std::vector<std::string>& candidates) {
  std::map<std::pair<std::size_t, std::uint32_t>, std::set<std::string>> by_tag;
  for (const std::string& word : candidates) {
    const WordKey key = key_of(word);
    by_tag[{DistinctWords::partition_of(key), DistinctWords::tag_of(key, word.size())}].insert(word);
  }
  std::vector<std::string> sharing;
  for (const auto& [tag, words] : by_tag) {
    if (words.size() > 1) sharing.insert(sharing.end(), words.begin(), words.end());
  }
  EXPECT_GE(sharing.size(), 2u) << "no two candidates share a tag";
  return sharing;
}

struct WordSet {
  const char* name;
  std::vector<std::string> vocabulary;
};

std::vector<WordSet> word_sets() {
  std::mt19937 random(7);
  std::vector<WordSet> sets;
  WordSet short_words{"words of one to sixteen bytes", {}};
  for (std::size_t length = 1; length <= 16; ++length) {
    for (int k = 0; k < 6; ++k)
      short_words.vocabulary.push_back(random_word(random, length, 'A', 'D'));
  }
  sets.push_back(short_words);

  WordSet long_words{"words past sixteen bytes", {}};
  for (std::size_t length = 17; length <= 64; length += 3) {
    for (int k = 0; k < 4; ++k) long_words.vocabulary.push_back(random_word(random, length));
  }
  sets.push_back(long_words);

  // One head of sixteen bytes (or eight) for all: only the tail, or the
  // length, tells them apart. Among many such words some share their
  // partition and tag as well, and only their bytes past the head differ.
  WordSet shared{"equal heads with different tails", {}};
  const std::string head = "DONAUDAMPFSCHIFF";
  std::vector<std::string> candidates;
  for (int k = 0; k < 40000; ++k) candidates.push_back(head + random_word(random, 4, 'A', 'Z'));
  shared.vocabulary = sharing_tags(candidates);
  shared.vocabulary.insert(shared.vocabulary.end(), candidates.begin(), candidates.begin() + 2000);
  for (std::size_t length = 9; length <= 40; ++length) {
    shared.vocabulary.push_back(head.substr(0, 8) + std::string(length - 8, 'X'));
    shared.vocabulary.push_back(head.substr(0, 8) + std::string(length - 9, 'X') + "Y");
  }
  sets.push_back(shared);

  // The length byte holds up to 255: longer words share it and differ in
  // length or in their last bytes only; again some share partition and tag.
  WordSet very_long{"lengths around the length byte's limit", {}};
  const std::string run(1100, 'W');
  for (const std::size_t length : {250, 254, 255, 256, 257, 300, 511, 512, 1000}) {
    very_long.vocabulary.push_back(run.substr(0, length));
    very_long.vocabulary.push_back(run.substr(0, length - 1) + "E");
  }
  candidates.clear();
  for (int k = 0; k < 30000; ++k) {
    std::uniform_int_distribution<std::size_t> length(255, 262);
    candidates.push_back(run.substr(0, length(random) - 3) + random_word(random, 3, 'A', 'Z'));
  }
  const std::vector<std::string> long_sharing = sharing_tags(candidates);
  very_long.vocabulary.insert(very_long.vocabulary.end(), long_sharing.begin(), long_sharing.end());
  sets.push_back(very_long);

  // Far past the first table's slots and the first bytes' room.
  WordSet many{"many words", {}};
  std::set<std::string> distinct;
  while (distinct.size() < 10000) {
    std::uniform_int_distribution<std::size_t> length(4, 24);
    distinct.insert(random_word(random, length(random)));
  }
  many.vocabulary.assign(distinct.begin(), distinct.end());
  sets.push_back(many);
  return sets;
}

TEST(DistinctWords, CountsAndNumbersEveryWordAsAPlainMapDoes) {
  for (const WordSet& set : word_sets()) {
    // Stretches of random words of the set, some met often, most rarely,
    // and one with every word; the words are shuffled, so first appearances
    // are not in set order.
    std::mt19937 random(99);
    const std::set<std::string> words(set.vocabulary.begin(), set.vocabulary.end());
    std::vector<std::string> vocabulary(words.begin(), words.end());
    std::shuffle(vocabulary.begin(), vocabulary.end(), random);
    std::geometric_distribution<std::size_t> rank(8.0 / static_cast<double>(vocabulary.size()));
    std::vector<std::vector<std::string>> stretches(5);
    for (std::vector<std::string>& stretch : stretches) {
      for (std::size_t k = 0; k < 2 * vocabulary.size(); ++k) {
        stretch.push_back(vocabulary[std::min(rank(random), vocabulary.size() - 1)]);
      }
    }
    stretches[2].clear();
    stretches[3].insert(stretches[3].begin() + static_cast<std::ptrdiff_t>(stretches[3].size() / 2),
                        vocabulary.begin(), vocabulary.end());
    // Words never counted: the set's words cut short, grown or changed in their last byte.
    std::vector<std::string> absent;
    for (const std::string& word : vocabulary) {
      absent.push_back(word + "Q");
      absent.push_back(word.substr(0, word.size() - 1) + "@");
      if (word.size() > 1) absent.push_back(word.substr(0, word.size() - 1));
    }
    for (const bool one_by_one : {false, true}) {
      for (const std::size_t expected_words : {std::size_t{0}, vocabulary.size()}) {
        SCOPED_TRACE(std::string(set.name) + (one_by_one ? ", one by one" : ", by stretches") +
                     ", room made for " + std::to_string(expected_words));
        DistinctWords distinct;
        if (expected_words != 0) distinct.expect_words(expected_words);
        const Model model = count_all(distinct, stretches, one_by_one);
        expect_model(distinct, model, absent);
      }
    }
  }
}

// The most frequent words of a partition are its words of at most sixteen
// bytes met more than once, the most frequent first; counts added to them
// (the frequent words' hits) may pass 32 bits.
TEST(DistinctWords, MostFrequentAndAddedCounts) {
  std::mt19937 random(5);
  std::vector<std::vector<std::string>> stretches(1);
  for (int k = 0; k < 3000; ++k) {
    std::uniform_int_distribution<std::size_t> length(4, 20);
    const std::string word = random_word(random, length(random), 'A', 'F');
    std::uniform_int_distribution<int> times(1, 6);
    for (int t = times(random); t > 0; --t) stretches[0].push_back(word);
  }
  std::shuffle(stretches[0].begin(), stretches[0].end(), random);
  DistinctWords distinct;
  Model model = count_all(distinct, stretches, false);

  // Some words met again many times over, as a flush of hits adds them.
  std::size_t added = 0;
  for (auto& [word, counted] : model) {
    if (word.size() > 16 || added++ % 7 != 0) continue;
    const std::uint64_t times = (std::uint64_t{1} << 32) + added;
    const WordKey key = key_of(word);
    distinct.add(DistinctWords::partition_of(key), key.head,
                 DistinctWords::tag_of(key, word.size()), times);
    counted.count += times;
  }

  std::map<std::pair<WordHead, std::uint32_t>, std::string> word_of;
  for (const auto& [word, counted] : model) {
    const WordKey key = key_of(word);
    word_of[{key.head, DistinctWords::tag_of(key, word.size())}] = word;
  }
  for (std::size_t p = 0; p < DistinctWords::kPartitions; ++p) {
    std::vector<std::uint64_t> eligible;
    for (const auto& [word, counted] : model) {
      if (word.size() <= 16 && counted.count > 1 && partition_of(word) == p) {
        eligible.push_back(counted.count);
      }
    }
    std::sort(eligible.begin(), eligible.end(), std::greater<>());
    for (const std::size_t n :
         {std::size_t{0}, std::size_t{1}, std::size_t{50}, eligible.size() - 1, eligible.size(),
          eligible.size() + 10}) {
      SCOPED_TRACE("partition " + std::to_string(p) + ", " + std::to_string(n) + " wanted");
      const std::vector<DistinctWords::Known> known = distinct.most_frequent(p, n);
      ASSERT_EQ(known.size(), std::min(n, eligible.size()));
      std::vector<std::uint64_t> counts;
      std::set<std::string> words;
      for (const DistinctWords::Known& k : known) {
        const auto found = word_of.find({k.head, k.tag});
        ASSERT_NE(found, word_of.end());
        EXPECT_TRUE(words.insert(found->second).second) << found->second;
        EXPECT_EQ(k.count, model.at(found->second).count) << found->second;
        EXPECT_EQ(partition_of(found->second), p) << found->second;
        counts.push_back(k.count);
      }
      // The counts of the most frequent, whichever of equal counts were taken.
      std::sort(counts.begin(), counts.end(), std::greater<>());
      EXPECT_TRUE(std::equal(counts.begin(), counts.end(), eligible.begin()));
    }
  }
  expect_model(distinct, model, {});
}

}  // namespace
}  // namespace quirlex
