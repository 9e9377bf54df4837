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
#include <string>
#include <vector>

#include "index/dictionary.h"
#include "text/case_map.h"
#include "text/signature.h"
#include "text/token_list.h"

namespace quirlex {
namespace {

using Words = std::vector<std::string>;

TokenList list_of(const Words& texts, bool with_signatures) {
  TokenList list;
  for (const std::string& text : texts) {
    WordToken token{.text = text};
    if (with_signatures)
      token.compute_signature();
    list.append(token);
  }
  return list;
}

// A dictionary as Load Dictionary leaves it before the deep word list is
// built: lexicon words with signatures, affixes without, field widths set.
Dictionary dictionary_of(const Words& words, const Words& prefixes, const Words& suffixes) {
  Dictionary dictionary;
  dictionary.words = list_of(words, true);
  dictionary.prefixes = list_of(prefixes, false);
  dictionary.suffixes = list_of(suffixes, false);
  dictionary.layout =
      VariantLayout::for_counts(dictionary.prefixes.size(), dictionary.suffixes.size());
  return dictionary;
}

std::vector<int> build_and_collect_percentages(Dictionary& dictionary) {
  std::vector<int> shown;
  build_deep_word_list(dictionary, [&shown](int percentage) { shown.push_back(percentage); });
  return shown;
}

void build(Dictionary& dictionary) {
  build_deep_word_list(dictionary, [](int) {});
}

// The code filed under the signature of `text`, or nothing.
std::optional<VariantCode> code_for(const Dictionary& dictionary, const std::string& text) {
  VariantCode code = 0;
  if (!dictionary.variant_table.look_up(signature_of(text), code))
    return std::nullopt;
  return code;
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
        if (p >= 0)
          text += prefixes[static_cast<std::size_t>(p)];
        text += words[w];
        if (s >= 0)
          text += suffixes[static_cast<std::size_t>(s)];
        if (text.size() < 2)
          continue;
        members[key_bits(signature_of(text))] = layout.pack(p, s, static_cast<std::int64_t>(w));
      }
    }
  }
  return members;
}

void expect_matches_model(const Dictionary& dictionary,
                          const std::map<std::uint64_t, VariantCode>& members) {
  EXPECT_EQ(dictionary.variant_table.entry_count(), static_cast<std::int32_t>(members.size()));
  for (const auto& [bits, code] : members) {
    VariantCode found = 0;
    ASSERT_TRUE(dictionary.variant_table.look_up(std::bit_cast<double>(bits), found));
    ASSERT_EQ(found, code);
  }
}

TEST(DeepWordList, TwoPrefixesAndThreeSuffixesGiveTwelveMembersPerWord) {
  Dictionary dictionary = dictionary_of({"KIND", "HAUS"}, {"UN", "VER"}, {"EN", "ER", "UNG"});
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
}

TEST(DeepWordList, WordWithSuffixIsFoundByTheSignatureOfItsText) {
  Dictionary dictionary = dictionary_of({"HAUS", "KIND", "ZEIT"}, {}, {"LICH", "NESS"});
  build(dictionary);
  EXPECT_EQ(code_for(dictionary, "KINDNESS"), dictionary.layout.pack(-1, 1, 1));
  EXPECT_EQ(code_for(dictionary, "Kdinenss"), dictionary.layout.pack(-1, 1, 1));
}

TEST(DeepWordList, WithoutAffixesTheMembersAreTheWords) {
  Dictionary dictionary = dictionary_of({"HAUS", "HOF", "TIER"}, {}, {});
  build(dictionary);
  EXPECT_EQ(dictionary.variant_table.entry_count(), 3);
  EXPECT_EQ(dictionary.variant_table.bucket_count(), 3u);  // 3 x 1.2 = 3.6, truncated
  EXPECT_EQ(code_for(dictionary, "HAUS"), 0xC0000000u);
  EXPECT_EQ(code_for(dictionary, "HOF"), 0xC0000001u);
  EXPECT_EQ(code_for(dictionary, "TIER"), 0xC0000002u);
  EXPECT_EQ(code_for(dictionary, "GARTEN"), std::nullopt);
}

TEST(DeepWordList, EmptiesTheVariantTableFirst) {
  Dictionary dictionary = dictionary_of({"HAUS"}, {}, {});
  dictionary.variant_table.value_for(signature_of("GARTEN")) = 5;
  build(dictionary);
  EXPECT_EQ(dictionary.variant_table.entry_count(), 1);
  EXPECT_EQ(code_for(dictionary, "GARTEN"), std::nullopt);
}

TEST(DeepWordList, EmptyLexiconShowsNoPercentageAndSizesZeroBuckets) {
  Dictionary dictionary = dictionary_of({}, {"UN"}, {"EN"});
  EXPECT_TRUE(build_and_collect_percentages(dictionary).empty());
  EXPECT_EQ(dictionary.variant_table.bucket_count(), 0u);
  EXPECT_EQ(dictionary.variant_table.entry_count(), 0);
  EXPECT_EQ(code_for(dictionary, "UNEN"), std::nullopt);
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

TEST(DeepWordList, PercentagesForFiftyWordsAreTheEvenNumbers) {
  Dictionary dictionary = dictionary_of(numbered_words(50), {}, {});
  std::vector<int> expected;
  for (int p = 0; p < 100; p += 2)
    expected.push_back(p);
  EXPECT_EQ(build_and_collect_percentages(dictionary), expected);
}

TEST(DeepWordList, PercentagesForThreeWords) {
  Dictionary dictionary = dictionary_of(numbered_words(3), {"UN"}, {});
  EXPECT_EQ(build_and_collect_percentages(dictionary), (std::vector<int>{0, 33, 66}));
}

TEST(DeepWordList, PercentagesForAThousandWordsAreEachShownOnce) {
  Dictionary dictionary = dictionary_of(numbered_words(1000), {}, {"EN"});
  std::vector<int> expected;
  for (int p = 0; p < 100; ++p)
    expected.push_back(p);
  EXPECT_EQ(build_and_collect_percentages(dictionary), expected);
  EXPECT_EQ(dictionary.variant_table.entry_count(), 2000);
}

TEST(DeepWordList, OneLetterMemberIsSkipped) {
  Dictionary dictionary = dictionary_of({"HAUS", "X"}, {}, {});
  build(dictionary);
  EXPECT_EQ(dictionary.variant_table.entry_count(), 1);
  EXPECT_EQ(code_for(dictionary, "HAUS"), dictionary.layout.pack(-1, -1, 0));
  VariantCode code = 0;
  EXPECT_FALSE(dictionary.variant_table.look_up(0.0, code));
}

TEST(DeepWordList, OneLetterWordWithAffixesMakesMembers) {
  Dictionary dictionary = dictionary_of({"HAUS", "X"}, {"UN"}, {"EN"});
  build(dictionary);
  EXPECT_EQ(dictionary.variant_table.entry_count(), 4 + 3);
  EXPECT_EQ(code_for(dictionary, "XEN"), dictionary.layout.pack(-1, 0, 1));
  EXPECT_EQ(code_for(dictionary, "UNX"), dictionary.layout.pack(0, -1, 1));
  EXPECT_EQ(code_for(dictionary, "UNXEN"), dictionary.layout.pack(0, 0, 1));
}

TEST(DeepWordList, LaterWordWinsASharedSignature) {
  Dictionary dictionary = dictionary_of({"WEIN", "WIEN"}, {}, {});
  build(dictionary);
  EXPECT_EQ(dictionary.variant_table.entry_count(), 1);
  EXPECT_EQ(code_for(dictionary, "WEIN"), dictionary.layout.pack(-1, -1, 1));
}

TEST(DeepWordList, LaterPrefixWinsASharedSignature) {
  // ABCDEF and ACBDEF: same length, ends and letters.
  Dictionary dictionary = dictionary_of({"DEF"}, {"ABC", "ACB"}, {});
  build(dictionary);
  EXPECT_EQ(code_for(dictionary, "ABCDEF"), dictionary.layout.pack(1, -1, 0));
}

TEST(DeepWordList, LaterSuffixWinsASharedSignature) {
  Dictionary dictionary = dictionary_of({"ABC"}, {}, {"DEFG", "DFEG"});
  build(dictionary);
  EXPECT_EQ(code_for(dictionary, "ABCDEFG"), dictionary.layout.pack(-1, 1, 0));
}

TEST(DeepWordList, PrefixOrderComesBeforeSuffixOrder) {
  // AXA + BA and AB + AXA are anagrams with the same ends: the member with a
  // prefix and no suffix is made after the one with no prefix and a suffix.
  Dictionary dictionary = dictionary_of({"AXA"}, {"AB"}, {"BA"});
  build(dictionary);
  ASSERT_EQ(signature_of("AXABA"), signature_of("ABAXA"));
  EXPECT_EQ(code_for(dictionary, "AXABA"), dictionary.layout.pack(0, -1, 0));
}

TEST(DeepWordList, WordOrderComesBeforeAffixOrder) {
  // Word 0 with a suffix and word 1 alone are the same text: word 1 wins.
  Dictionary later_alone = dictionary_of({"ABCD", "ABCDXY"}, {}, {"XY"});
  build(later_alone);
  EXPECT_EQ(code_for(later_alone, "ABCDXY"), later_alone.layout.pack(-1, -1, 1));
  // Word 0 alone and word 1 with a suffix: word 1 wins again.
  Dictionary later_affixed = dictionary_of({"ABCDXY", "ABCD"}, {}, {"XY"});
  build(later_affixed);
  EXPECT_EQ(code_for(later_affixed, "ABCDXY"), later_affixed.layout.pack(-1, 0, 1));
}

// Random texts of word bytes in mixed case.
Words random_texts(std::mt19937& rng, std::size_t count, std::size_t min_length,
                   std::size_t max_length) {
  std::uniform_int_distribution<int> byte(0x40, 0xFF);
  std::uniform_int_distribution<std::size_t> length(min_length, max_length);
  Words texts;
  for (std::size_t i = 0; i < count; ++i) {
    std::string text(length(rng), '\0');
    for (char& c : text)
      c = static_cast<char>(byte(rng));
    texts.push_back(text);
  }
  return texts;
}

TEST(DeepWordList, MatchesTheMembersBuiltAsTexts) {
  std::mt19937 rng(5150);
  for (int round = 0; round < 3; ++round) {
    Words words = random_texts(rng, 300, 1, 12);
    // Some anagram pairs with shared ends, so that signatures collide.
    words.push_back("WEIN");
    words.push_back("WIEN");
    words.push_back("wien");
    const Words prefixes = random_texts(rng, 3, 1, 4);
    const Words suffixes = random_texts(rng, 5, 1, 5);
    Dictionary dictionary = dictionary_of(words, prefixes, suffixes);
    build(dictionary);
    SCOPED_TRACE("round " + std::to_string(round));
    expect_matches_model(dictionary, model_members(words, prefixes, suffixes));
  }
}

TEST(DeepWordList, VeryLongMembersGetTheSignatureOfTheirText) {
  // Past 2^21 bytes a member's letter sum leaves the exact range of a double;
  // its signature must still be the one its text has, summed byte by byte.
  const std::string word = std::string((std::size_t{1} << 22) + 1, '@');
  const Words prefixes = {"@"};
  const Words suffixes = {"AA"};
  const std::string longest = prefixes[0] + word + suffixes[0];
  // Check that this text is one where adding up in whole numbers would give
  // another signature.
  std::int64_t exact_sum = 0;
  for (const char c : longest)
    exact_sum += signature_tables::kLetterTerm[static_cast<std::uint8_t>(c)];
  ASSERT_NE(signature_from_letter_sum(static_cast<double>(exact_sum), '@', 'A', longest.size()),
            signature_of(longest));

  Dictionary dictionary = dictionary_of({word, "HAUS"}, prefixes, suffixes);
  build(dictionary);
  EXPECT_EQ(code_for(dictionary, word), dictionary.layout.pack(-1, -1, 0));
  EXPECT_EQ(code_for(dictionary, word + "AA"), dictionary.layout.pack(-1, 0, 0));
  EXPECT_EQ(code_for(dictionary, "@" + word), dictionary.layout.pack(0, -1, 0));
  EXPECT_EQ(code_for(dictionary, longest), dictionary.layout.pack(0, 0, 0));
  EXPECT_EQ(code_for(dictionary, "@HAUSAA"), dictionary.layout.pack(0, 0, 1));
  EXPECT_EQ(dictionary.variant_table.entry_count(), 8);
}

TEST(DeepWordListRefusal, NoRefusalRightBelowTheLimits) {
  EXPECT_EQ(deep_word_list_refusal(0, 0, 0, VariantLayout::for_counts(0, 0)), "");
  EXPECT_EQ(deep_word_list_refusal(2, 3, 100000, VariantLayout::for_counts(2, 3)), "");
  // 2 x 1 x (2^30 - 1) = 2^31 - 2 members, word index in 30 bits.
  EXPECT_EQ(deep_word_list_refusal(1, 0, (1 << 30) - 1, VariantLayout::for_counts(1, 0)), "");
  EXPECT_EQ(deep_word_list_refusal(0, 0, (1 << 30) - 1, VariantLayout::for_counts(0, 0)), "");
  // 4 x 1 x (2^29 - 1) = 2^31 - 4 members, word index in 29 bits.
  EXPECT_EQ(deep_word_list_refusal(3, 0, (1 << 29) - 1, VariantLayout::for_counts(3, 0)), "");
  EXPECT_EQ(deep_word_list_refusal(16384, 16384, 3, VariantLayout::for_counts(16384, 16384)), "");
}

TEST(DeepWordListRefusal, TooManyMembersAreRefused) {
  const std::string refusal =
      deep_word_list_refusal(1, 0, std::int64_t{1} << 30, VariantLayout::for_counts(1, 0));
  EXPECT_NE(refusal, "");
  EXPECT_NE(refusal.find("2147483648"), std::string::npos) << refusal;
  EXPECT_NE(refusal.find("1073741824"), std::string::npos) << refusal;
  // 3 x 3 x 238609295 = 2147483655: just past the limit.
  EXPECT_NE(deep_word_list_refusal(2, 2, 238609295, VariantLayout::for_counts(2, 2)), "");
  EXPECT_NE(deep_word_list_refusal(100000, 100000, 1, VariantLayout::for_counts(100000, 100000)),
            "");
}

TEST(DeepWordListRefusal, WordsThatDoNotFitTheirFieldAreRefused) {
  // Fewer than 2^31 members, but more words than the word field can name.
  const std::string refusal =
      deep_word_list_refusal(0, 0, std::int64_t{1} << 30, VariantLayout::for_counts(0, 0));
  EXPECT_NE(refusal, "");
  EXPECT_NE(refusal.find("1073741824"), std::string::npos) << refusal;
  EXPECT_NE(deep_word_list_refusal(16384, 16384, 4, VariantLayout::for_counts(16384, 16384)), "");
  // 5 x 1 x 2^28 members, but the word field has 28 bits.
  EXPECT_NE(deep_word_list_refusal(4, 0, 1 << 28, VariantLayout::for_counts(4, 0)), "");
  EXPECT_EQ(deep_word_list_refusal(4, 0, (1 << 28) - 1, VariantLayout::for_counts(4, 0)), "");
}

TEST(DeepWordListRefusal, CountsAsLargeAsListsCanHoldAreRefused) {
  constexpr std::int64_t kMax = INT32_MAX;
  const VariantLayout layout = VariantLayout::for_counts(kMax, kMax);
  EXPECT_NE(deep_word_list_refusal(kMax, kMax, kMax, layout), "");
  EXPECT_NE(deep_word_list_refusal(kMax, kMax, 1, layout), "");
}

}  // namespace
}  // namespace quirlex
