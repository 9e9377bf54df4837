// Counts how a corpus writes the words it spells with capitals inside
// (TrueType, GnuPG, LibreOffice): the lexicon keeps only upper-cased words,
// so these spellings are counted from the corpus as read, before it is
// folded. A word's bytes that are no letters at its front and back are no
// part of it, as the frequency-ordered lexicon reads words.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lexicon/letter_model.h"

namespace quirlex {

// Whether a word's letters mix capitals and small letters other than as a
// capital first letter before small ones.
bool has_inner_capitals(std::string_view letters);

class SpellingCounter {
 public:
  // Takes the next piece of the corpus as read (umlauts already spelled
  // out, not yet folded); it may end inside a word.
  void add(std::string_view piece);

  // Takes the text of a count file's line (not folded), whose words appear
  // `times` times.
  void add_counted(std::string_view text, std::uint64_t times);

  // The text has ended: every spelling counted, in no particular order.
  std::vector<Spelling> finish();

 private:
  void count_word(std::string_view word, std::uint64_t times = 1);

  std::string carry_;  // the start of a word that the last piece cut
  std::unordered_map<std::string, std::uint32_t> counts_;
};

}  // namespace quirlex
