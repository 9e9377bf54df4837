// The lexicon file's front coding: the entries the encoder makes, the words
// the decoder reads back (also from odd or damaged files), and the round trip
// of random word lists through a written file.
#include "lexicon/lexicon_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "testing/temp_dir.h"
#include "text/case_map.h"
#include "text/failure.h"
#include "text/signature.h"
#include "text/token_list.h"
#include "text/token_writer.h"

namespace quirlex {
namespace {

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
  for (const std::string& entry : entries) words.push_back(decoder.decode(entry));
  return words;
}

Words texts_of(const TokenList& list) {
  Words texts;
  for (const WordToken& token : list) texts.push_back(token.text);
  return texts;
}

Words read_words(const std::string& text) {
  TokenList words;
  read_lexicon_words(text, words);
  return texts_of(words);
}

// The bytes of the lexicon file the encoder's entries make.
std::string written_file(const Words& entries, const testing::TempDir& dir) {
  TokenList list;
  for (const std::string& entry : entries) list.append(WordToken{.text = entry});
  const std::string path = dir.file("Lexikon.dic");
  write_tokens(list, path, "\n");
  return testing::get_file(path);
}

TEST(LexiconEncoder, FrontCodesWordsThatShareTwoBytesOrMore) {
  const Words entries = encode_all({"HAUS", "HAUSTIER", "HAUSTUER", "HOF"});
  EXPECT_EQ(entries, (Words{"HAUS", "dTIER", "eUER", "HOF"}));
  testing::TempDir dir;
  const std::string file = written_file(entries, dir);
  EXPECT_EQ(file, "HAUS\ndTIER\neUER\nHOF\n");
  EXPECT_EQ(file.size(), 20u);
}

TEST(LexiconEncoder, OneSharedByteIsWrittenWholeTwoWithMarkerB) {
  EXPECT_EQ(encode_all({"HAUS", "HOF"}), (Words{"HAUS", "HOF"}));
  EXPECT_EQ(encode_all({"HAUS", "HAT"}), (Words{"HAUS", "bT"}));
}

TEST(LexiconEncoder, FirstWordIsWrittenWhole) {
  EXPECT_EQ(encode_all({"\xC9TAGE"}), (Words{"\xC9TAGE"}));
  EXPECT_EQ(encode_all({"`QUOTE"}), (Words{"`QUOTE"}));
}

TEST(LexiconEncoder, WordThatBeginsItsPredecessorIsOneMarkerByte) {
  const Words entries = encode_all({"HAUSTIER", "HAUS", "HA"});
  EXPECT_EQ(entries, (Words{"HAUSTIER", "d", "b"}));
  EXPECT_EQ(decode_all(entries), (Words{"HAUSTIER", "HAUS", "HA"}));
}

TEST(LexiconEncoder, ComparesBytesWithoutCaseFolding) {
  EXPECT_EQ(encode_all({"HAUS", "HAus"}), (Words{"HAUS", "bus"}));
}

TEST(LexiconEncoder, LongSharedBeginningsAreCodedWithCount31) {
  const std::string stem(40, 'X');
  EXPECT_EQ(encode_all({stem, stem + "Y"}), (Words{stem, "\x7F" + std::string(9, 'X') + "Y"}));
  const std::string thirty_one(31, 'Q');
  EXPECT_EQ(encode_all({thirty_one + "A", thirty_one + "B"}), (Words{thirty_one + "A",
                                                                     "\x7F"
                                                                     "B"}));
  const std::string thirty(30, 'Q');
  EXPECT_EQ(encode_all({thirty + "A", thirty + "B"}), (Words{thirty + "A",
                                                             "\x7E"
                                                             "B"}));
}

TEST(LexiconEncoder, RefusesWordsTheFileCannotHold) {
  for (const std::string& word :
       {std::string(), std::string("HA US"), std::string("HAUS1"), std::string("\nHAUS"),
        std::string("HA\0US", 5), std::string("aUTO"), std::string("zEBRA"), std::string("{ABC"),
        std::string("~ABC"),
        std::string("\x7F"
                    "ABC")}) {
    LexiconEncoder encoder;
    EXPECT_THROW(encoder.encode(word), InvalidArgument) << word;
  }
}

TEST(LexiconEncoder, RefusedWordDoesNotBecomeThePreviousWord) {
  LexiconEncoder encoder;
  EXPECT_EQ(encoder.encode("HAUS"), "HAUS");
  EXPECT_THROW(encoder.encode("HAUT1"), InvalidArgument);
  EXPECT_EQ(encoder.encode("HAUT"), "cT");
}

TEST(LexiconDecoder, RebuildsFrontCodedWords) {
  EXPECT_EQ(decode_all({"HAUS", "dER", "cT"}), (Words{"HAUS", "HAUSER", "HAUT"}));
}

TEST(LexiconDecoder, MarkerWithoutRestGivesTheBeginningOfThePreviousWord) {
  EXPECT_EQ(decode_all({"HAUSTIER", "d"}), (Words{"HAUSTIER", "HAUS"}));
}

TEST(LexiconDecoder, CountBeyondThePreviousWordTakesItWhole) {
  EXPECT_EQ(decode_all({"HOF", "gX"}), (Words{"HOF", "HOFX"}));
  EXPECT_EQ(decode_all({"HOF", "\x7F"}), (Words{"HOF", "HOF"}));
}

TEST(LexiconDecoder, MarkerAUsesOneByte) {
  EXPECT_EQ(decode_all({"HAUS", "aOF"}), (Words{"HAUS", "HOF"}));
}

TEST(LexiconDecoder, FrontCodedFirstRecordIsTakenUnchanged) {
  EXPECT_EQ(decode_all({"dTIER", "dX"}), (Words{"dTIER", "dTIEX"}));
}

TEST(LexiconDecoder, PreviousWordOfOneByteLeavesTheMarkerInPlace) {
  EXPECT_EQ(decode_all({"A", "bCD"}), (Words{"A", "bCD"}));
}

TEST(LexiconDecoder, EntryBeginningWithAHighByteIsAWholeWord) {
  EXPECT_EQ(decode_all({"HAUS", "\xC9TAGE",
                        "\xFF"
                        "ABC"}),
            (Words{"HAUS", "\xC9TAGE",
                   "\xFF"
                   "ABC"}));
}

TEST(LexiconDecoder, PreviousWordIsTheDecodedWordNotTheEntry) {
  EXPECT_EQ(decode_all({"HAUS", "dTIER", "fT"}), (Words{"HAUS", "HAUSTIER", "HAUSTIT"}));
}

TEST(ReadLexiconWords, DecodesEntriesAndGivesEachWordItsOwnSignature) {
  TokenList words;
  read_lexicon_words("HAUS\ndER\ncT\n", words);
  ASSERT_EQ(texts_of(words), (Words{"HAUS", "HAUSER", "HAUT"}));
  for (const WordToken& word : words) {
    EXPECT_EQ(word.separator, 0);
    EXPECT_EQ(word.keep, 1);
    EXPECT_EQ(word.signature, signature_of(word.text)) << word.text;
    EXPECT_NE(word.letter_mask, 0u);
  }
  EXPECT_FALSE(signature_suppressed());
}

TEST(ReadLexiconWords, AnyRunOfSeparatorBytesSeparatesEntries) {
  const Words expected = {"HAUS", "HAUSER", "HAUT"};
  EXPECT_EQ(read_words("HAUS\r\ndER\r\ncT\r\n"), expected);
  EXPECT_EQ(read_words("\n\nHAUS\n\n\ndER\n\ncT\n\n"), expected);
  EXPECT_EQ(read_words("HAUS dER \t cT "), expected);
  EXPECT_EQ(read_words("HAUS0dER;;cT."), expected);
}

TEST(ReadLexiconWords, LastEntryWithoutLineFeedIsUpperCased) {
  EXPECT_EQ(read_words("HAUS\ndx"), (Words{"HAUS", "DX"}));
  EXPECT_EQ(read_words("HAUS\ndx\n"), (Words{"HAUS", "HAUSx"}));
}

TEST(ReadLexiconWords, EmptyTextGivesNoWordsAndEmptiesTheList) {
  TokenList words;
  read_lexicon_words("OLD\nWORDS\n", words);
  ASSERT_EQ(words.size(), 2);
  read_lexicon_words("", words);
  EXPECT_TRUE(words.is_empty());
  read_lexicon_words("\r\n \n", words);
  EXPECT_TRUE(words.is_empty());
}

TEST(ReadLexiconWords, ShortWordsKeepNoSignature) {
  TokenList words;
  read_lexicon_words("A\nHAUS\n", words);
  ASSERT_EQ(words.size(), 2);
  EXPECT_EQ(words.element(0).signature, 0.0);
  EXPECT_EQ(words.element(0).letter_mask, 0u);
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
    for (const WordToken& word : words) {
      ASSERT_FALSE(word.text.empty());
      for (const char c : word.text) ASSERT_GE(static_cast<std::uint8_t>(c), 0x40);
      if (word.text.size() >= 2) {
        EXPECT_EQ(word.signature, signature_of(word.text));
      }
    }
  }
}

// Random upper-cased words that the lexicon builder could make: bytes 0x40
// to 0xFF, none beginning with a byte the decoder takes for a marker. Some
// share long beginnings (32 bytes and more) with others.
Words random_lexicon(std::mt19937& rng, std::size_t count) {
  std::uniform_int_distribution<int> byte(0x40, 0xFF);
  std::uniform_int_distribution<std::size_t> length(4, 40);
  std::uniform_int_distribution<int> kind(0, 9);
  const auto random_bytes = [&](std::size_t n) {
    std::string text(n, '\0');
    for (char& c : text) c = static_cast<char>(byte(rng));
    upper_case(text);
    return text;
  };
  Words words;
  while (words.size() < count) {
    const int k = kind(rng);
    if (k < 6 || words.empty()) {
      words.push_back(random_bytes(length(rng)));
    } else if (k < 8) {
      // A long stem and several words on it.
      const std::string stem =
          random_bytes(std::uniform_int_distribution<std::size_t>(32, 120)(rng));
      words.push_back(stem);
      for (int i = 0; i < 4; ++i) {
        words.push_back(stem + random_bytes(std::uniform_int_distribution<std::size_t>(0, 8)(rng)));
      }
    } else {
      // A beginning of an earlier word, or an earlier word made longer.
      const std::string& earlier =
          words[std::uniform_int_distribution<std::size_t>(0, words.size() - 1)(rng)];
      const std::size_t cut = std::uniform_int_distribution<std::size_t>(1, earlier.size())(rng);
      words.push_back(k == 8 ? earlier.substr(0, cut) : earlier + random_bytes(cut % 5 + 1));
    }
  }
  std::erase_if(words, [](const std::string& word) {
    const auto first = static_cast<std::uint8_t>(word.front());
    return first >= 0x7B && first <= 0x7F;
  });
  return words;
}

Words without_repeats(const Words& words) {
  Words unique;
  for (const std::string& word : words) {
    if (std::find(unique.begin(), unique.end(), word) == unique.end()) unique.push_back(word);
  }
  return unique;
}

// Encodes `words`, writes the entries as the lexicon file and reads it back.
void expect_round_trip(const Words& words, const testing::TempDir& dir) {
  const Words entries = encode_all(words);
  const std::string file = written_file(entries, dir);
  std::size_t expected_size = 0;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& entry = entries[i];
    expected_size += entry.size() + 1;
    const auto first = static_cast<std::uint8_t>(entry.front());
    if (first >= 0x61 && first <= 0x7F) {
      EXPECT_GE(first, 0x62) << "marker 'a' is never written";
    } else {
      EXPECT_EQ(entry, words[i]);
    }
  }
  EXPECT_EQ(file.size(), expected_size);
  const Words read = read_words(file);
  ASSERT_EQ(read.size(), words.size());
  for (std::size_t i = 0; i < words.size(); ++i) {
    ASSERT_EQ(read[i], words[i]) << "word " << i << ", entry " << entries[i];
  }
}

TEST(LexiconRoundTrip, RandomWordListsComeBackUnchanged) {
  testing::TempDir dir;
  std::mt19937 rng(20240612);
  for (int round = 0; round < 40; ++round) {
    const Words words = random_lexicon(rng, 300);
    const Words unique = without_repeats(words);
    Words sorted = unique;
    std::sort(sorted.begin(), sorted.end());
    SCOPED_TRACE("round " + std::to_string(round));
    expect_round_trip(words, dir);
    expect_round_trip(unique, dir);
    expect_round_trip(sorted, dir);
  }
}

TEST(LexiconRoundTrip, LongCommonBeginningsComeBackUnchanged) {
  testing::TempDir dir;
  const std::string stem = "ABCDEFGHIJKLMNOPQRSTUVWXYZ@[\\]^_`\xC0\xC1\xC2" + std::string(80, 'Z');
  ASSERT_GE(stem.size(), 100u);
  const Words words = {stem.substr(0, 31), stem.substr(0, 32), stem.substr(0, 33), stem,
                       stem + "A",         stem + "B",         stem.substr(0, 99), stem + "\xFF",
                       stem.substr(0, 2)};
  expect_round_trip(words, dir);
  Words sorted = words;
  std::sort(sorted.begin(), sorted.end());
  expect_round_trip(sorted, dir);
}

}  // namespace
}  // namespace quirlex
