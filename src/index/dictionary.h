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
};

// Sizes the table to 1.2 times the number of words and files a copy of
// every word under its signature; of words with one signature the last stays.
void fill_lexicon_table(const TokenList& words, SignatureTable<WordToken>& table);

// Splits the text of an affix file into `list`, one token per run of word
// characters, without signatures. An empty text leaves the list empty.
void read_affix_list(std::string text, TokenList& list);

}  // namespace quirlex
