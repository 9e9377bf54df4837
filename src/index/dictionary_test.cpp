// Dictionary loading: the lexicon table filled from decoded lexicon words,
// the affix lists split from their files' texts, and the report lines.
#include "index/dictionary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexicon/lexicon_codec.h"
#include "testing/token_lists.h"
#include "text/signature.h"
#include "text/token_list.h"

namespace quirlex {
namespace {

using testing::texts_of;
using Words = std::vector<std::string>;

TokenList words_of(const std::string& lexicon_text) {
  TokenList words;
  read_lexicon_words(lexicon_text, words);
  return words;
}

TEST(FillLexiconTable, FilesEveryWordUnderTheSignatureOfItsDecodedText) {
  SignatureTable<WordToken> table;
  const TokenList words = words_of("HAUS\ndER\ncT\n");
  fill_lexicon_table(words, table);
  EXPECT_EQ(table.entry_count(), 3);
  for (const std::string text : {"HAUS", "HAUSER", "HAUT"}) {
    const WordToken* found = table.find(signature_of(text));
    ASSERT_NE(found, nullptr) << text;
    EXPECT_EQ(words.text(*found), text);
    EXPECT_EQ(found->signature, signature_of(text));
    EXPECT_EQ(found->separator, 0);
  }
  // Scrambled words find their source word.
  const WordToken* found = table.find(signature_of("HSUAER"));
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(words.text(*found), "HAUSER");
}

TEST(FillLexiconTable, SizesTheTableToOnePointTwoTimesTheWordsTruncated) {
  for (const auto& [count, buckets] : std::vector<std::pair<int, std::uint32_t>>{
           {0, 0}, {1, 1}, {4, 4}, {5, 6}, {10, 12}, {11, 13}, {1001, 1201}}) {
    TokenList words;
    words.set_signatures(true);
    for (int i = 0; i < count; ++i) words.append("W" + std::to_string(i));
    SignatureTable<WordToken> table;
    fill_lexicon_table(words, table);
    EXPECT_EQ(table.bucket_count(), buckets) << count << " words";
    EXPECT_EQ(table.find(signature_of("HAUS")), nullptr);
  }
}

TEST(FillLexiconTable, OfWordsWithOneSignatureTheLaterStays) {
  // WEIN and WIEN are anagrams with the same ends; one-letter words have no
  // signature and share 0.0.
  const TokenList words = words_of("WEIN\nWIEN\nA\nHAUS\nB\n");
  SignatureTable<WordToken> table;
  fill_lexicon_table(words, table);
  EXPECT_EQ(table.entry_count(), 3);
  const WordToken* found = table.find(signature_of("WEIN"));
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(words.text(*found), "WIEN");
  found = table.find(0.0);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(words.text(*found), "B");
  EXPECT_EQ(found->letter_mask, 0u);
}

TEST(ReadAffixList, RunsOfWordCharactersAreAffixesTakenAsTheyAre) {
  TokenList list;
  read_affix_list("EN\r\nER 1 UNG\t\tNESS2LY-ISH\nun\n", list);
  EXPECT_EQ(texts_of(list), (Words{"EN", "ER", "UNG", "NESS", "LY", "ISH", "un"}));
  for (std::int32_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list.separator(i), 0);
    EXPECT_EQ(list.element(i).signature, 0.0);
  }
  // Only the tokenizer's last word comes out in capitals.
  read_affix_list("un\nver", list);
  EXPECT_EQ(texts_of(list), (Words{"un", "VER"}));
  for (const std::string text : {"", " 123 \r\n"}) {
    read_affix_list(text, list);
    EXPECT_TRUE(list.is_empty());
  }
}

}  // namespace
}  // namespace quirlex
