// Dictionary loading: the lexicon table filled from decoded lexicon words,
// the affix lists split from their files' texts, and the report lines.
#include "index/dictionary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexicon/lexicon_codec.h"
#include "testing/temp_dir.h"
#include "text/signature.h"
#include "text/text_file.h"
#include "text/token_list.h"

namespace quirlex {
namespace {

using Words = std::vector<std::string>;

Words texts_of(const TokenList& list) {
  Words texts;
  for (const WordToken& token : list)
    texts.push_back(token.text);
  return texts;
}

TokenList words_of(const std::string& lexicon_text) {
  TokenList words;
  read_lexicon_words(lexicon_text, words);
  return words;
}

// A list of `n` default tokens, standing in for an affix list of that size.
TokenList list_of_size(std::int64_t n) {
  TokenList list;
  list.set_size(n);
  return list;
}

TEST(FillLexiconTable, FilesEveryWordUnderTheSignatureOfItsDecodedText) {
  const TokenList words = words_of("HAUS\ndER\ncT\n");
  SignatureTable<WordToken> table;
  fill_lexicon_table(words, table);
  EXPECT_EQ(table.entry_count(), 3);
  for (const std::string text : {"HAUS", "HAUSER", "HAUT"}) {
    WordToken found;
    ASSERT_TRUE(table.look_up(signature_of(text), found)) << text;
    EXPECT_EQ(found.text, text);
    EXPECT_EQ(found.signature, signature_of(text));
    EXPECT_EQ(found.separator, 0);
  }
  // Scrambled words find their source word.
  WordToken found;
  ASSERT_TRUE(table.look_up(signature_of("HSUAER"), found));
  EXPECT_EQ(found.text, "HAUSER");
}

TEST(FillLexiconTable, SizesTheTableToOnePointTwoTimesTheWordsTruncated) {
  const std::vector<std::pair<int, std::uint32_t>> cases = {
      {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 6}, {10, 12}, {11, 13}, {100, 120}, {1001, 1201}};
  for (const auto& [count, buckets] : cases) {
    TokenList words;
    for (int i = 0; i < count; ++i)
      words.append(WordToken::from_text("W" + std::to_string(i) + "X"));
    SignatureTable<WordToken> table;
    fill_lexicon_table(words, table);
    EXPECT_EQ(table.bucket_count(), buckets) << count << " words";
  }
}

TEST(FillLexiconTable, EmptyLexiconGivesZeroBucketsAndFindsNothing) {
  SignatureTable<WordToken> table;
  fill_lexicon_table(TokenList(), table);
  EXPECT_EQ(table.bucket_count(), 0u);
  EXPECT_EQ(table.entry_count(), 0);
  EXPECT_EQ(table.find(0.0), nullptr);
  EXPECT_EQ(table.find(signature_of("HAUS")), nullptr);
}

TEST(FillLexiconTable, LaterWordWithTheSameSignatureStays) {
  const TokenList words = words_of("WEIN\nWIEN\n");
  ASSERT_EQ(texts_of(words), (Words{"WEIN", "WIEN"}));
  SignatureTable<WordToken> table;
  fill_lexicon_table(words, table);
  EXPECT_EQ(table.entry_count(), 1);
  WordToken found;
  ASSERT_TRUE(table.look_up(signature_of("WEIN"), found));
  EXPECT_EQ(found.text, "WIEN");
}

TEST(FillLexiconTable, OneLetterWordsShareSignatureZero) {
  const TokenList words = words_of("A\nHAUS\nB\n");
  SignatureTable<WordToken> table;
  fill_lexicon_table(words, table);
  EXPECT_EQ(table.entry_count(), 2);
  WordToken found;
  ASSERT_TRUE(table.look_up(0.0, found));
  EXPECT_EQ(found.text, "B");
}

TEST(FillLexiconTable, SmallLexiconAnswersLookupsOfOtherWords) {
  // One to four words fill every bucket of their table.
  for (const std::string lexicon :
       {"HAUS\n", "HAUS\nHOF\n", "HAUS\nHOF\nTIER\n", "HAUS\nHOF\nTIER\nBAUM\n"}) {
    SignatureTable<WordToken> table;
    fill_lexicon_table(words_of(lexicon), table);
    EXPECT_EQ(table.find(signature_of("GARTEN")), nullptr) << lexicon;
    EXPECT_EQ(table.find(-1.0), nullptr) << lexicon;
  }
}

TEST(ReadAffixList, RunsOfWordCharactersAreAffixesAndAllElseSeparates) {
  TokenList list;
  read_affix_list("EN\r\nER 1 UNG\t\tNESS2LY-ISH\n", list);
  EXPECT_EQ(texts_of(list), (Words{"EN", "ER", "UNG", "NESS", "LY", "ISH"}));
  for (const WordToken& affix : list) {
    EXPECT_EQ(affix.separator, 0);
    EXPECT_EQ(affix.signature, 0.0);
    EXPECT_EQ(affix.letter_mask, 0u);
  }
  EXPECT_FALSE(signature_suppressed());
}

TEST(ReadAffixList, TakesTheTextsCaseAsItIs) {
  // Upper-casing is the reader's; only the tokenizer's last word comes out
  // in capitals.
  TokenList list;
  read_affix_list("un\nver\n", list);
  EXPECT_EQ(texts_of(list), (Words{"un", "ver"}));
  read_affix_list("un\nver", list);
  EXPECT_EQ(texts_of(list), (Words{"un", "VER"}));
}

TEST(ReadAffixList, FileReadUpperCasedWithUmlautsKept) {
  testing::TempDir dir;
  const std::string path = dir.file("Suffix_en.txt");
  testing::put_file(path, "ness\r\nlich\r\n\xE4r\r\nbar\r\n");
  TextFile file;
  ASSERT_TRUE(file.read(path, false, true));
  TokenList list;
  read_affix_list(file.take_content(), list);
  EXPECT_EQ(texts_of(list), (Words{"NESS", "LICH", "\xC4R", "BAR"}));
}

TEST(ReadAffixList, EmptyTextEmptiesTheList) {
  TokenList list;
  read_affix_list("UN VER", list);
  ASSERT_EQ(list.size(), 2);
  read_affix_list("", list);
  EXPECT_TRUE(list.is_empty());
  read_affix_list("UN VER", list);
  read_affix_list(" 123 \r\n", list);
  EXPECT_TRUE(list.is_empty());
}

const std::string kHead = "Creating the hashtables!\r\nREADY!\r\n\r\n";

TEST(DictionaryReport, EmptyDictionaryGivesTheTwoLinesOnly) {
  const Dictionary dictionary;
  EXPECT_EQ(dictionary_report(dictionary, ""), kHead);
}

TEST(DictionaryReport, CountsTheLexiconTablesEntries) {
  Dictionary dictionary;
  dictionary.words = words_of("HAUS\nHOF\nTIER\n");
  fill_lexicon_table(dictionary.words, dictionary.lexicon_table);
  EXPECT_EQ(dictionary_report(dictionary, ""), kHead + "3 Words are read into the lexicon\r\n");
}

TEST(DictionaryReport, WordsOfOneSignatureAreCountedOnce) {
  Dictionary dictionary;
  dictionary.words = words_of("HAUS\nWEIN\nWIEN\n");
  fill_lexicon_table(dictionary.words, dictionary.lexicon_table);
  EXPECT_EQ(dictionary_report(dictionary, ""), kHead + "2 Words are read into the lexicon\r\n");
}

TEST(DictionaryReport, AffixLinesAndTheVariantCount) {
  Dictionary dictionary;
  dictionary.words = words_of("HAUS\nHOF\nTIER\n");
  fill_lexicon_table(dictionary.words, dictionary.lexicon_table);
  read_affix_list("UN VER\n", dictionary.prefixes);
  read_affix_list("EN ER UNG NESS\n", dictionary.suffixes);
  EXPECT_EQ(dictionary_report(dictionary, ""),
            kHead +
                "3 Words are read into the lexicon\r\nRead 2 Prefixes\r\nRead 4 Suffixes\r\n"
                "\r\nCreated 24 words including all variants");

  dictionary.prefixes.make_empty();
  EXPECT_EQ(dictionary_report(dictionary, ""),
            kHead +
                "3 Words are read into the lexicon\r\nRead 4 Suffixes\r\n"
                "\r\nCreated 12 words including all variants");
}

TEST(DictionaryReport, VariantCountMustExceedTheWordCount) {
  // Two words, one entry: 1 x 1 x 2 = 2 variants is not more than 2 words.
  Dictionary dictionary;
  dictionary.words = words_of("WEIN\nWIEN\n");
  fill_lexicon_table(dictionary.words, dictionary.lexicon_table);
  read_affix_list("UN\n", dictionary.prefixes);
  read_affix_list("EN ER\n", dictionary.suffixes);
  EXPECT_EQ(dictionary_report(dictionary, ""),
            kHead + "1 Words are read into the lexicon\r\nRead 1 Prefixes\r\nRead 2 Suffixes\r\n");
  read_affix_list("EN ER UNG\n", dictionary.suffixes);
  EXPECT_EQ(dictionary_report(dictionary, ""),
            kHead +
                "1 Words are read into the lexicon\r\nRead 1 Prefixes\r\nRead 3 Suffixes\r\n"
                "\r\nCreated 3 words including all variants");
}

TEST(DictionaryReport, VariantCountIsAWrappingThirtyTwoBitProduct) {
  Dictionary dictionary;
  dictionary.words = words_of("HAUS\nHOF\nTIER\n");
  fill_lexicon_table(dictionary.words, dictionary.lexicon_table);
  // 3 x 65536 x 65536 wraps to 0: no variant line.
  dictionary.prefixes = list_of_size(65536);
  dictionary.suffixes = list_of_size(65536);
  const std::string lines =
      "3 Words are read into the lexicon\r\nRead 65536 Prefixes\r\nRead 65536 Suffixes\r\n";
  EXPECT_EQ(dictionary_report(dictionary, ""), kHead + lines);
  // 3 x 65536 x 65537 wraps to 196608.
  dictionary.suffixes = list_of_size(65537);
  EXPECT_EQ(
      dictionary_report(dictionary, ""),
      kHead +
          "3 Words are read into the lexicon\r\nRead 65536 Prefixes\r\nRead 65537 Suffixes\r\n"
          "\r\nCreated 196608 words including all variants");
  // 3 x 65536 x 16384 = 0xC0000000: above the word count as an unsigned
  // number, shown as the signed number it is.
  dictionary.suffixes = list_of_size(16384);
  EXPECT_EQ(
      dictionary_report(dictionary, ""),
      kHead +
          "3 Words are read into the lexicon\r\nRead 65536 Prefixes\r\nRead 16384 Suffixes\r\n"
          "\r\nCreated -1073741824 words including all variants");
}

TEST(DictionaryReport, RefusalTakesThePlaceOfTheVariantCount) {
  Dictionary dictionary;
  dictionary.words = words_of("HAUS\nHOF\nTIER\n");
  fill_lexicon_table(dictionary.words, dictionary.lexicon_table);
  read_affix_list("UN VER\n", dictionary.prefixes);
  read_affix_list("EN ER UNG NESS\n", dictionary.suffixes);
  EXPECT_EQ(dictionary_report(dictionary, "Deep Search refused.\r\n"),
            kHead +
                "3 Words are read into the lexicon\r\nRead 2 Prefixes\r\nRead 4 Suffixes\r\n"
                "\r\nDeep Search refused.\r\n");
}

}  // namespace
}  // namespace quirlex
