// The lexicon file's front coding: the entries the encoder makes, the words
// the decoder reads back (also from odd or damaged files), and the round trip
// of random word lists through the file's bytes.
#include "lexicon/lexicon_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "base/failure.h"
#include "testing/token_lists.h"
#include "text/case_map.h"
#include "text/signature.h"
#include "text/token_list.h"

namespace quirlex {
namespace {

using testing::texts_of;
using Words = std::vector<std::string>;

Words encode_all(const Words& words) {
  LexiconEncoder encoder;
  Words entries;
  for (const std::string& word : words) entries.push_back(encoder.encode(word));
  return entries;
}

Words decode_all(const Words& entries) {
  LexiconDecoder decoder;
  Words words;
  for (const std::string& entry : entries) words.emplace_back(decoder.decode(entry));
  return words;
}

Words read_words(const std::string& text) {
  TokenList words;
  read_lexicon_words(text, words);
  return texts_of(words);
}

TEST(LexiconEncoder, FrontCodesWordsThatShareTwoBytesOrMore) {
  const std::string q30(30, 'Q');
  const std::string q31(31, 'Q');
  const std::string x40(40, 'X');
  const struct {
    Words words, entries;
  } cases[] = {
      {{"HAUS", "HAUSTIER", "HAUSTUER", "HOF"}, {"HAUS", "dTIER", "eUER", "HOF"}},
      {{"HAUS", "HAT"}, {"HAUS", "bT"}},
      {{"\xC9TAGE", "`QUOTE"}, {"\xC9TAGE", "`QUOTE"}},
      // A word that begins its predecessor is one marker byte.
      {{"HAUSTIER", "HAUS", "HA"}, {"HAUSTIER", "d", "b"}},
      {{"HAUS", "HAus"}, {"HAUS", "bus"}},  // bytes compare without case folding
      {{q30 + "A", q30 + "B"}, {q30 + "A", "\x7E" + std::string("B")}},
      {{q31 + "A", q31 + "B"}, {q31 + "A", "\x7F" + std::string("B")}},
      // No marker holds a count above 31.
      {{x40, x40 + "Y"}, {x40, "\x7F" + std::string(9, 'X') + "Y"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words.back());
    EXPECT_EQ(encode_all(c.words), c.entries);
    EXPECT_EQ(decode_all(c.entries), c.words);
  }
}

TEST(LexiconEncoder, RefusesWordsTheFileCannotHold) {
  LexiconEncoder encoder;
  EXPECT_EQ(encoder.encode("HAUS"), "HAUS");
  for (const std::string& word :
       {std::string(), std::string("HA US"), std::string("HAUT1"), std::string("\nHAUS"),
        std::string("HA\0US", 5), std::string("aUTO"), std::string("zEBRA"), std::string("{ABC"),
        std::string("~ABC"), std::string("\x7F") + "ABC"}) {
    EXPECT_THROW(encoder.encode(word), InvalidArgument) << word;
  }
  EXPECT_EQ(encoder.encode("HAUT"), "cT") << "a refused word is not the previous word";
}

TEST(LexiconDecoder, RebuildsTheWordsOfEntries) {
  const struct {
    Words entries, words;
  } cases[] = {
      {{"HAUS", "dER", "cT"}, {"HAUS", "HAUSER", "HAUT"}},
      {{"HAUSTIER", "d"}, {"HAUSTIER", "HAUS"}},  // a marker without rest
      {{"HOF", "gX"}, {"HOF", "HOFX"}},           // a count beyond the previous word
      {{"HOF", "\x7F"}, {"HOF", "HOF"}},
      {{"HAUS", "aOF"}, {"HAUS", "HOF"}},
      {{"dTIER", "dX"}, {"dTIER", "dTIEX"}},  // a front-coded first record is taken unchanged
      {{"A", "bCD"}, {"A", "bCD"}},           // so is one after a word of one byte
      {{"HAUS", "\xC9TAGE", "\xFF" + std::string("ABC")},
       {"HAUS", "\xC9TAGE", "\xFF" + std::string("ABC")}},
      // The previous word is the decoded word, not the entry.
      {{"HAUS", "dTIER", "fT"}, {"HAUS", "HAUSTIER", "HAUSTIT"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entries.back());
    EXPECT_EQ(decode_all(c.entries), c.words);
  }
}

TEST(ReadLexiconWords, AnySeparatorRunSeparatesEntriesAndEachWordGetsItsSignature) {
  for (const std::string text :
       {"HAUS\ndER\ncT\n", "HAUS\r\ndER\r\ncT\r\n", "\n\nHAUS\n\n\ndER\n\ncT\n\n",
        "HAUS dER \t cT ", "HAUS0dER;;cT."}) {
    SCOPED_TRACE(text);
    TokenList words;
    read_lexicon_words(text, words);
    ASSERT_EQ(texts_of(words), (Words{"HAUS", "HAUSER", "HAUT"}));
    for (std::int32_t i = 0; i < words.size(); ++i) {
      EXPECT_EQ(words.separator(i), 0);
      EXPECT_EQ(words.element(i).signature, signature_of(words.text(i))) << words.text(i);
    }
  }
}

TEST(ReadLexiconWords, LastEntryWithoutLineFeedIsUpperCased) {
  EXPECT_EQ(read_words("HAUS\ndx"), (Words{"HAUS", "DX"}));
  EXPECT_EQ(read_words("HAUS\ndx\n"), (Words{"HAUS", "HAUSx"}));
}

TEST(ReadLexiconWords, TextWithoutEntriesEmptiesTheList) {
  TokenList words;
  for (const std::string text : {"", "\r\n \n"}) {
    read_lexicon_words("OLD\nWORDS\n", words);
    read_lexicon_words(text, words);
    EXPECT_TRUE(words.is_empty());
  }
}

// The maximal runs of bytes of 0x40 and up in `text`.
std::size_t entry_count(const std::string& text) {
  std::size_t count = 0;
  bool in_entry = false;
  for (const char c : text) {
    const bool word_byte = static_cast<std::uint8_t>(c) >= 0x40;
    if (word_byte && !in_entry) ++count;
    in_entry = word_byte;
  }
  return count;
}

TEST(ReadLexiconWords, ArbitraryBytesGiveOneWordPerEntry) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<std::size_t> length(0, 300);
  for (int round = 0; round < 2000; ++round) {
    std::string text(length(rng), '\0');
    // Separators, markers, other word bytes below 0x80 and high bytes.
    for (char& c : text) {
      const int value = byte(rng);
      c = static_cast<char>(value < 40    ? value
                            : value < 110 ? 0x61 + value % 31
                            : value < 180 ? 0x40 + value % 0x21
                                          : value);
    }
    TokenList words;
    ASSERT_NO_THROW(read_lexicon_words(text, words));
    ASSERT_EQ(static_cast<std::size_t>(words.size()), entry_count(text));
    for (std::int32_t i = 0; i < words.size(); ++i) {
      const std::string_view word = words.text(i);
      ASSERT_FALSE(word.empty());
      for (const char c : word) ASSERT_GE(static_cast<std::uint8_t>(c), 0x40);
      if (word.size() >= 2) {
        EXPECT_EQ(words.element(i).signature, signature_of(word));
      }
    }
  }
}

// Random upper-cased words that the lexicon builder could make: bytes 0x40
// to 0xFF, none beginning with a byte the decoder takes for a marker. Most
// begin with a part of an earlier word, so they share beginnings of every
// length with it, also of 32 bytes and more; some are beginnings of it.
Words random_lexicon(std::mt19937& rng, std::size_t count) {
  const auto below = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
  };
  Words words;
  while (words.size() < count) {
    // A beginning of an earlier word and up to 8 new bytes, or a fresh word
    // of up to 120 bytes.
    std::string word = words.empty() || below(4) == 0 ? "" : words[below(words.size())];
    word.resize(below(word.size() + 1));
    const std::size_t added = word.empty() ? 1 + below(120) : below(9);
    for (std::size_t i = 0; i < added; ++i) word += static_cast<char>(0x40 + below(0xC0));
    upper_case(word);
    const auto first = static_cast<std::uint8_t>(word.front());
    if (first < 0x7B || first > 0x7F) words.push_back(word);
  }
  return words;
}

// Encodes `words`, makes the lexicon file's bytes of the entries and reads
// them back.
void expect_round_trip(const Words& words) {
  const Words entries = encode_all(words);
  std::string file;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& entry = entries[i];
    file += entry + "\n";
    const auto first = static_cast<std::uint8_t>(entry.front());
    if (first >= 0x61 && first <= 0x7F) {
      EXPECT_GE(first, 0x62) << "marker 'a' is never written";
    } else {
      EXPECT_EQ(entry, words[i]);
    }
  }
  const Words read = read_words(file);
  ASSERT_EQ(read.size(), words.size());
  for (std::size_t i = 0; i < words.size(); ++i) {
    ASSERT_EQ(read[i], words[i]) << "word " << i << ", entry " << entries[i];
  }
}

TEST(LexiconRoundTrip, RandomWordListsComeBackUnchanged) {
  std::mt19937 rng(20240612);
  for (int round = 0; round < 40; ++round) {
    Words words = random_lexicon(rng, 300);
    SCOPED_TRACE("round " + std::to_string(round));
    expect_round_trip(words);
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    expect_round_trip(words);
  }
}

TEST(LexiconRoundTrip, LongCommonBeginningsComeBackUnchanged) {
  const std::string stem = "ABCDEFGHIJKLMNOPQRSTUVWXYZ@[\\]^_`\xC0\xC1\xC2" + std::string(80, 'Z');
  Words words = {stem.substr(0, 31), stem.substr(0, 32), stem.substr(0, 33), stem,
                 stem + "A",         stem + "B",         stem.substr(0, 99), stem + "\xFF",
                 stem.substr(0, 2)};
  expect_round_trip(words);
  std::sort(words.begin(), words.end());
  expect_round_trip(words);
}

}  // namespace
}  // namespace quirlex
