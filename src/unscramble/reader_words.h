// Words as a reader sees them, for the best-restoring steps. A word's bytes
// that are no letters at its front and back (quote marks, brackets, bars,
// underscores: the tokenizer counts them as word bytes) are no part of it:
// they stay where they are, and the letters between them are looked up, so
// that "„pAkete“" becomes "„Pakete“". Since such a mark stood first or last
// when the word was scrambled, the letters beside it moved too: only an end
// of the letters that is the word's own end stays.
//
// Capitals go by the word's shape, not by their positions: one capital
// among the letters goes to the first letter, all capitals stay all
// capitals, a word the corpus writes with capitals inside gets the corpus's
// most frequent spelling whose capitals are the scrambled word's, a word of
// two capitals that is two lexicon words joined gets them at the start of
// each (FreeDesktop, MailingLists), and other mixtures keep their capitals
// at their positions.
//
// Every word of the lexicon that has the scrambled word's letters is a
// candidate, the most frequent first (the lexicon is in frequency order),
// not only the one the lexicon table keeps for a signature.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "index/dictionary.h"
#include "index/words_by_letters.h"
#include "lexicon/letter_model.h"
#include "text/token_list.h"

namespace quirlex {

struct ReaderWords {
  const WordsByLetters& by_letters;  // of the dictionary's words
  const TokenList& words;            // the dictionary's words
  const LetterModel* spellings = nullptr;  // the corpus's spellings, if known
};

// Whether a scrambled word needs nothing of the above: a letter at both
// ends and no capital but perhaps the first byte.
bool is_plain_word(std::string_view scrambled);

// `candidate` (as long as `scrambled`) with the capitals of `scrambled` by
// its shape; `spellings` are those of the candidate's word, and `reader`,
// when given, tells lexicon words. With `first_stays` (`last_stays`), the
// first (last) letter is the scrambled word's own and keeps its case.
std::string capitals_by_shape(std::string_view candidate, std::string_view scrambled,
                              bool first_stays, bool last_stays,
                              std::span<const Spelling> spellings,
                              const ReaderWords* reader = nullptr);

// Whether `upper` is a word of the reader's lexicon.
bool is_lexicon_word(const ReaderWords& reader, std::string_view upper);

// The spellings the model knows of `upper` (a lexicon word), or none.
std::span<const Spelling> spellings_of(const ReaderWords& reader, std::string_view upper);

// For the unsettled word at `index`: the most frequent lexicon word of its
// letters that keeps the ends that stay, or with Deep Search a variant of
// them, written with capitals by shape between the marks, and settled.
// `scratch` is room for candidates. Returns where the word settled came
// from, or kNothing when it was not settled.
enum class RestoredFrom { kNothing, kLexicon, kVariants };
RestoredFrom restore_as_reader(TokenList& list, std::int64_t index, const Dictionary& dictionary,
                               const ReaderWords& reader, bool deep_search, std::string& scratch);

// The same for a plain word from the lexicon only.
bool restore_from_all_words(TokenList& list, std::int64_t index, const Dictionary& dictionary,
                            const ReaderWords& reader);

}  // namespace quirlex
