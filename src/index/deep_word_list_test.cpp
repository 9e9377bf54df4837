// The deep word list: which members are filed under which signature, which
// member wins a shared signature, the progress percentages, the sizing of the
// variant table, very long members, and the counts that are refused.
#include "index/deep_word_list.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <stop_token>
#include <string>
#include <vector>

#include "index/dictionary.h"
#include "testing/token_lists.h"
#include "text/signature.h"
#include "text/token_list.h"

namespace quirlex {
namespace {

using testing::list_of;
using Words = std::vector<std::string>;

// A dictionary as Load Dictionary leaves it before the deep word list is
// built: lexicon words with signatures, the affix lists, field widths set.
Dictionary dictionary_of(const Words& words, const Words& prefixes, const Words& suffixes) {
  Dictionary dictionary;
  dictionary.words = list_of(words);
  dictionary.prefixes = list_of(prefixes);
  dictionary.suffixes = list_of(suffixes);
  dictionary.layout =
      VariantLayout::for_counts(dictionary.prefixes.size(), dictionary.suffixes.size());
  return dictionary;
}

std::vector<int> build(Dictionary& dictionary) {
  std::vector<int> shown;
  build_deep_word_list(dictionary, [&shown](int percentage) { shown.push_back(percentage); });
  return shown;
}

// The code filed under the signature of `text`, or nothing.
std::optional<VariantCode> code_for(const Dictionary& dictionary, const std::string& text) {
  const VariantCode* code = dictionary.variant_table.find(signature_of(text));
  if (code == nullptr) return std::nullopt;
  return *code;
}

TEST(DeepWordList, TwoPrefixesAndThreeSuffixesGiveTwelveMembersPerWord) {
  Dictionary dictionary = dictionary_of({"KIND", "HAUS"}, {"UN", "VER"}, {"EN", "ER", "UNG"});
  dictionary.variant_table.value_for(signature_of("GARTEN")) = 5;  // emptied first
  build(dictionary);
  EXPECT_EQ(dictionary.variant_table.entry_count(), 24);
  EXPECT_EQ(dictionary.variant_table.bucket_count(), 28u);  // 3 x 4 x 2 x 1.2
  const VariantLayout& layout = dictionary.layout;
  EXPECT_EQ(code_for(dictionary, "KIND"), layout.pack(-1, -1, 0));
  EXPECT_EQ(code_for(dictionary, "KINDEN"), layout.pack(-1, 0, 0));
  EXPECT_EQ(code_for(dictionary, "UNKIND"), layout.pack(0, -1, 0));
  EXPECT_EQ(code_for(dictionary, "VERKINDUNG"), layout.pack(1, 2, 0));
  EXPECT_EQ(code_for(dictionary, "UNHAUSER"), layout.pack(0, 1, 1));
  EXPECT_EQ(code_for(dictionary, "VHREAUSUNG"), layout.pack(1, 2, 1));  // scrambled
  EXPECT_EQ(code_for(dictionary, "KINDHAUS"), std::nullopt);
  EXPECT_EQ(code_for(dictionary, "GARTEN"), std::nullopt);
}

TEST(DeepWordList, WithoutAffixesTheMembersAreTheWords) {
  Dictionary dictionary = dictionary_of({"HAUS", "HOF", "TIER"}, {}, {});
  build(dictionary);
  EXPECT_EQ(dictionary.variant_table.entry_count(), 3);
  EXPECT_EQ(dictionary.variant_table.bucket_count(), 3u);  // 3 x 1.2 = 3.6, truncated
  EXPECT_EQ(code_for(dictionary, "HAUS"), 0xC0000000u);
  EXPECT_EQ(code_for(dictionary, "HOF"), 0xC0000001u);
  EXPECT_EQ(code_for(dictionary, "TIER"), 0xC0000002u);
}

TEST(DeepWordList, OfMembersWithOneSignatureTheLastGeneratedStays) {
  const struct {
    Words words, prefixes, suffixes;
    std::string text;
    std::int64_t prefix, suffix, word;
  } cases[] = {
      {{"WEIN", "WIEN"}, {}, {}, "WEIN", -1, -1, 1},
      // ABCDEF and ACBDEF: same length, ends and letters.
      {{"DEF"}, {"ABC", "ACB"}, {}, "ABCDEF", 1, -1, 0},
      {{"ABC"}, {}, {"DEFG", "DFEG"}, "ABCDEFG", -1, 1, 0},
      // AXA + BA and AB + AXA: a prefix without suffix comes after a suffix
      // without prefix.
      {{"AXA"}, {"AB"}, {"BA"}, "AXABA", 0, -1, 0},
      // The word index decides first: word 1 wins alone or with a suffix.
      {{"ABCD", "ABCDXY"}, {}, {"XY"}, "ABCDXY", -1, -1, 1},
      {{"ABCDXY", "ABCD"}, {}, {"XY"}, "ABCDXY", -1, 0, 1},
      // A member under two bytes has no signature and is skipped; with an
      // affix a one-letter word makes members.
      {{"HAUS", "X"}, {}, {}, "HAUS", -1, -1, 0},
      {{"HAUS", "X"}, {"UN"}, {"EN"}, "UNXEN", 0, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Dictionary dictionary = dictionary_of(c.words, c.prefixes, c.suffixes);
    build(dictionary);
    EXPECT_EQ(code_for(dictionary, c.text), dictionary.layout.pack(c.prefix, c.suffix, c.word));
    EXPECT_EQ(dictionary.variant_table.find(0.0), nullptr);
  }
}

// `count` words of distinct signatures: the number i is written in the
// counts of three letters whose terms lie far apart.
Words numbered_words(int count) {
  Words words;
  for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
    words.push_back("Q" + std::string(i % 10, 'A') + std::string(i / 10 % 10, 'E') +
                    std::string(i / 100, 'I') + "Z");
  }
  return words;
}

TEST(DeepWordList, ShowsEachNewPercentageOfTheWordsDone) {
  std::vector<int> even;
  std::vector<int> all;
  for (int p = 0; p < 100; ++p) {
    all.push_back(p);
    if (p % 2 == 0) even.push_back(p);
  }
  const struct {
    int words;
    Words prefixes, suffixes;
    std::vector<int> shown;
  } cases[] = {
      {0, {"UN"}, {"EN"}, {}},
      {3, {"UN"}, {}, {0, 33, 66}},
      {50, {}, {}, even},
      {1000, {}, {"EN"}, all},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words);
    Dictionary dictionary = dictionary_of(numbered_words(c.words), c.prefixes, c.suffixes);
    EXPECT_EQ(build(dictionary), c.shown);
    const auto members =
        c.words * static_cast<int>((c.prefixes.size() + 1) * (c.suffixes.size() + 1));
    EXPECT_EQ(dictionary.variant_table.entry_count(), members);
  }
  Dictionary empty = dictionary_of({}, {"UN"}, {"EN"});
  build(empty);
  EXPECT_EQ(empty.variant_table.bucket_count(), 0u);
}

std::uint64_t key_bits(double signature) {
  return std::bit_cast<std::uint64_t>(signature == 0.0 ? 0.0 : signature);
}

// What the variant table must hold: every member of two bytes or more, in
// generation order (word, then prefix, then suffix, none first), each one
// replacing an earlier member of the same signature.
std::map<std::uint64_t, VariantCode> model_members(const Words& words, const Words& prefixes,
                                                   const Words& suffixes) {
  const VariantLayout layout = VariantLayout::for_counts(
      static_cast<std::int64_t>(prefixes.size()), static_cast<std::int64_t>(suffixes.size()));
  std::map<std::uint64_t, VariantCode> members;
  for (std::size_t w = 0; w < words.size(); ++w) {
    for (int p = -1; p < static_cast<int>(prefixes.size()); ++p) {
      for (int s = -1; s < static_cast<int>(suffixes.size()); ++s) {
        std::string text;
        if (p >= 0) text += prefixes[static_cast<std::size_t>(p)];
        text += words[w];
        if (s >= 0) text += suffixes[static_cast<std::size_t>(s)];
        if (text.size() < 2) continue;
        members[key_bits(signature_of(text))] = layout.pack(p, s, static_cast<std::int64_t>(w));
      }
    }
  }
  return members;
}

// Random texts of word bytes in mixed case.
Words random_texts(std::mt19937& rng, std::size_t count, std::size_t max_length) {
  std::uniform_int_distribution<int> byte(0x40, 0xFF);
  std::uniform_int_distribution<std::size_t> length(1, max_length);
  Words texts;
  for (std::size_t i = 0; i < count; ++i) {
    std::string text(length(rng), '\0');
    for (char& c : text) c = static_cast<char>(byte(rng));
    texts.push_back(text);
  }
  return texts;
}

// The last round has enough members for the two halves of the table to be
// filled at once.
TEST(DeepWordList, MatchesTheMembersBuiltAsTexts) {
  std::mt19937 rng(5150);
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    Words words = random_texts(rng, round < 3 ? 300 : 48000, 12);
    // Anagrams with shared ends, so that signatures collide.
    words.insert(words.end(), {"WEIN", "WIEN", "wien"});
    const Words prefixes = random_texts(rng, 3, 4);
    const Words suffixes = random_texts(rng, 5, 5);
    Dictionary dictionary = dictionary_of(words, prefixes, suffixes);
    build(dictionary);
    const auto members = model_members(words, prefixes, suffixes);
    EXPECT_EQ(dictionary.variant_table.entry_count(), static_cast<std::int32_t>(members.size()));
    for (const auto& [bits, code] : members) {
      const VariantCode* found = dictionary.variant_table.find(std::bit_cast<double>(bits));
      ASSERT_NE(found, nullptr);
      ASSERT_EQ(*found, code);
    }
  }
}

// Past 2^21 bytes a member's letter sum leaves the exact range of a double;
// its signature must still be the one its text has, summed byte by byte.
TEST(DeepWordList, VeryLongMembersGetTheSignatureOfTheirText) {
  const std::string word = std::string((std::size_t{1} << 22) + 1, '@');
  const std::string longest = "@" + word + "AA";
  // Adding up in whole numbers would give this text another signature.
  std::int64_t exact_sum = 0;
  for (const char c : longest) exact_sum += c == '@' ? -(std::int64_t{1} << 32) : 2;
  ASSERT_NE(signature_from_letter_sum(static_cast<double>(exact_sum), '@', 'A', longest.size()),
            signature_of(longest));

  Dictionary dictionary = dictionary_of({word, "HAUS"}, {"@"}, {"AA"});
  build(dictionary);
  EXPECT_EQ(code_for(dictionary, word), dictionary.layout.pack(-1, -1, 0));
  EXPECT_EQ(code_for(dictionary, word + "AA"), dictionary.layout.pack(-1, 0, 0));
  EXPECT_EQ(code_for(dictionary, "@" + word), dictionary.layout.pack(0, -1, 0));
  EXPECT_EQ(code_for(dictionary, longest), dictionary.layout.pack(0, 0, 0));
  EXPECT_EQ(code_for(dictionary, "@HAUSAA"), dictionary.layout.pack(0, 0, 1));
  EXPECT_EQ(dictionary.variant_table.entry_count(), 8);
}

TEST(DeepWordListCheck, RefusesTooManyMembersAndWordsBeyondTheirField) {
  constexpr std::int64_t kMax = INT32_MAX;
  using enum DeepSearchOutcome;
  const struct {
    std::int64_t prefixes, suffixes, words;
    DeepSearchOutcome outcome;
  } cases[] = {
      {0, 0, 0, kBuilt},
      {2, 3, 100000, kBuilt},
      {1, 0, (1 << 30) - 1, kBuilt},  // 2^31 - 2 members, word index in 30 bits
      {0, 0, (1 << 30) - 1, kBuilt},
      {3, 0, (1 << 29) - 1, kBuilt},  // 2^31 - 4 members, word index in 29 bits
      {16384, 16384, 3, kBuilt},
      {4, 0, (1 << 28) - 1, kBuilt},
      {1, 0, std::int64_t{1} << 30, kTooManyMembers},  // 2^31 members
      {2, 2, 238609295, kTooManyMembers},              // 3 x 3 x 238609295 = 2^31 + 7
      {100000, 100000, 1, kTooManyMembers},
      // Fewer than 2^31 members, but more words than the word field names.
      {0, 0, std::int64_t{1} << 30, kWordsDoNotFit},
      {16384, 16384, 4, kWordsDoNotFit},
      {4, 0, 1 << 28, kWordsDoNotFit},
      // Counts as large as lists can hold overflow even 64 bits.
      {kMax, kMax, kMax, kTooManyMembers},
      {kMax, kMax, 1, kTooManyMembers},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.prefixes << " x " << c.suffixes << " x " << c.words);
    EXPECT_EQ(deep_word_list_check(c.prefixes, c.suffixes, c.words,
                                   VariantLayout::for_counts(c.prefixes, c.suffixes)),
              c.outcome);
  }
}

TEST(DeepWordList, StopRequestLeavesTheVariantTableEmpty) {
  Dictionary dictionary;
  for (int k = 0; k < 5000; ++k) {
    dictionary.words.append("WORT" + std::to_string(k));
  }
  dictionary.words.set_signatures(true);
  dictionary.suffixes.append("EN");
  dictionary.layout = VariantLayout::for_counts(0, 1);
  std::stop_source stop;
  int last = -1;
  const bool built = build_deep_word_list(
      dictionary,
      [&](int percentage) {
        last = percentage;
        if (percentage == 30) stop.request_stop();
      },
      stop.get_token());
  EXPECT_FALSE(built);
  EXPECT_LT(last, 99);
  EXPECT_EQ(dictionary.variant_table.entry_count(), 0);
  EXPECT_EQ(dictionary.variant_table.find(signature_of("WORT0")), nullptr);
}

}  // namespace
}  // namespace quirlex
