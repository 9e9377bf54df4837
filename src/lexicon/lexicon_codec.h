// The lexicon file's front coding. A word that shares n >= 2 leading bytes
// with the word before it is stored as the marker byte 0x60 + n followed by
// the rest of the word; any other word is stored whole. Each entry ends with
// one line feed in the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "text/token_list.h"

namespace quirlex {

// The largest shared count a marker can carry: 0x60 + 31 = 0x7F.
inline constexpr std::size_t kMaxSharedCount = 31;

// Whether an entry beginning with `c` reads as front-coded (0x61 to 0x7F).
inline bool is_marker_byte(char c) {
  const auto byte = static_cast<std::uint8_t>(c);
  return byte >= 0x61 && byte <= 0x7F;
}

// Whether `word` can be stored so that it reads back unchanged: it is not
// empty, every byte is a word byte (0x40 and up), and it does not begin with
// a byte the decoder takes for a marker (0x61 to 0x7F).
bool is_storable_word(std::string_view word);

// Turns words, in lexicon order, into entries. Keeps the previous word.
class LexiconEncoder {
 public:
  // The entry of `word`. A word that is not storable is an invalid argument.
  std::string encode(std::string_view word);

  // The same for `word` after `previous`, appended to `entries`: for
  // encoders that keep the words elsewhere, or encode parts of a list at
  // once.
  static void append(std::string_view previous, std::string_view word, std::string& entries);

 private:
  std::string previous_;
};

// Turns entries, in file order, into words. Keeps the previous word.
class LexiconDecoder {
 public:
  // The word of `entry`; never fails. Valid until the next call.
  std::string_view decode(std::string_view entry);

 private:
  std::string previous_;
};

// Splits the text of a lexicon file into its entries (runs of bytes of 0x40
// and up) and decodes them into `words`, a list with signatures. The words
// replace whatever the list held.
void read_lexicon_words(std::string text, TokenList& words);

}  // namespace quirlex
