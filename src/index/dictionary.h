// The dictionary that Translate works with: the lexicon word list and the
// lexicon table filled from a lexicon file, and with Deep Search the prefix
// and suffix lists and the variant table of the deep word list.
#pragma once

#include <cstdint>
#include <string>

#include "index/signature_table.h"
#include "index/variant_code.h"
#include "text/token_list.h"
#include "text/word_token.h"

namespace quirlex {

struct Dictionary {
  TokenList words;  // the lexicon word list; its positions are the word indices of variant codes
  TokenList prefixes;
  TokenList suffixes;
  SignatureTable<WordToken> lexicon_table;
  SignatureTable<VariantCode> variant_table;
  VariantLayout layout;
  // The sizes of the three lists the variant table's codes were made for:
  // while they stay, every code names entries that exist.
  struct ListSizes {
    std::int32_t words = 0, prefixes = 0, suffixes = 0;
    friend bool operator==(const ListSizes&, const ListSizes&) = default;
  };
  ListSizes variant_sizes;
  ListSizes list_sizes() const { return {words.size(), prefixes.size(), suffixes.size()}; }
};

// Sizes the table for the number of words and files every word's
// token (a view into `words`, which must outlive the table's use) under its
// signature; of words with one signature the last stays.
void fill_lexicon_table(const TokenList& words, SignatureTable<WordToken>& table);

// Splits the text of an affix file into `list`, one token per run of word
// characters, without signatures. An empty text leaves the list empty.
void read_affix_list(std::string text, TokenList& list);

}  // namespace quirlex
