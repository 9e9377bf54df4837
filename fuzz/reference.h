// Plain, unoptimised implementations of the program's text rules, written
// apart from the core so that the fuzz targets can compare the core's results
// with them byte for byte and bit for bit; and the check that turns a broken
// invariant into a crash that libFuzzer records.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/token_list.h"

namespace quirlex::fuzz {

// Prints the failed condition with its place and aborts: libFuzzer then
// saves the input as a crash artifact.
[[noreturn]] void fail(const char* condition, const char* file, int line);

#define FUZZ_CHECK(condition)                                                \
  do {                                                                       \
    if (!(condition)) ::quirlex::fuzz::fail(#condition, __FILE__, __LINE__); \
  } while (false)

constexpr bool is_word_byte(char c) {
  return static_cast<std::uint8_t>(c) >= 0x40;
}

// Whether two doubles have the same bit pattern.
bool same_bits(double a, double b);

struct ReferenceSignature {
  std::uint32_t letter_mask = 0;
  double signature = 0.0;
};

// Letter mask and signature of `text` computed step by step in the defined
// order; both 0 for texts shorter than two bytes.
ReferenceSignature reference_signature(std::string_view text);

// Whether token `index` of `list` comes with exactly the letter mask and
// signature of its text (or none at all when `suppressed`).
bool has_signature_of_text(const TokenList& list, std::int32_t index, bool suppressed);

struct ReferenceToken {
  std::string text;
  bool separator = false;
};

// The tokens of a non-empty `text`: alternating runs of bytes below 0x40 and
// of bytes from 0x40 up, an empty separator token first when the text starts
// with a word byte, the last token upper-cased when `upper_case_last`.
std::vector<ReferenceToken> reference_tokens(std::string text, bool drop_separators,
                                             bool replace_slash_and_quote,
                                             bool upper_case_last = true);

// The two-letter spelling of an umlaut byte, or nullptr for any other byte.
const char* umlaut_spelling(char c);

// `text` up to its first NUL byte, with every umlaut byte spelled out.
std::string reference_transliterate(std::string_view text);

struct ReferenceDecoded {
  bool utf8 = false;
  std::string text;            // the Windows-1252 text, stand-ins for the rest
  std::vector<char32_t> kept;  // what the stand-ins stand for, in order
};

// How a reader takes `bytes` (a text without NUL): as UTF-8 when `force_utf8`
// or when they begin with the byte order mark or are well-formed UTF-8 with
// a character beyond ASCII; else as they are. Decoded one character at a
// time: each character Windows-1252 holds becomes its byte, every other one
// and every byte of no UTF-8 becomes a SUB byte, with its code point (or
// 0xDC00 plus the byte) kept; the text's own SUB characters are kept as well.
ReferenceDecoded reference_decode_text(std::string_view bytes, bool force_utf8);

// The words of the lexicon entries, decoded in order.
std::vector<std::string> reference_decode(const std::vector<std::string>& entries);

// The words of a lexicon file's text: its runs of word bytes, decoded.
std::vector<std::string> reference_lexicon_words(const std::string& text);

// The lexicon of a corpus text: its words of four bytes or more that can be
// stored, upper-cased, each once in order of first appearance, or sorted by
// unsigned bytes.
std::vector<std::string> reference_builder_words(std::string corpus, bool sort);

// Whether the lexicon file can hold `word` so that it reads back unchanged.
bool reference_storable(std::string_view word);

// The interior-letter shuffle of one word with the generator state `state`.
void reference_scramble(std::string& word, std::uint32_t& state);

// Whether a Windows-1252 byte is a letter: it has a capital or a small
// partner, or it is one of the letters without one (sharp s, f with hook,
// the ordinal indicators, micro).
bool reference_is_letter(char c);

// Where the letters of `word` begin and end: without the bytes that are no
// letters at its front and back (begin == end for a word without letters).
struct ReferenceCore {
  std::size_t begin = 0;
  std::size_t end = 0;
};
ReferenceCore reference_letter_core(std::string_view word);

// The shuffle with punctuation kept: only the bytes from the word's first
// letter to its last are shuffled, as one word.
void reference_scramble_letters(std::string& word, std::uint32_t& state);

// The accuracy report of restored token texts against source token texts.
std::string reference_accuracy_report(const std::vector<std::string>& source,
                                      const std::vector<std::string>& restored);

// A bigram file's fields as the file states them.
struct ReferenceBigrams {
  std::uint64_t lexicon_hash = 0;
  std::uint32_t word_count = 0;
  std::uint32_t flags = 0;
  std::uint32_t min_count = 0;
  std::vector<std::string> short_words;
  std::vector<std::array<std::uint32_t, 3>> pairs;  // first, second, count
  friend bool operator==(const ReferenceBigrams&, const ReferenceBigrams&) = default;
};

// FNV-1a 64 of `bytes`, from `hash` on.
std::uint64_t reference_fnv1a(std::string_view bytes,
                              std::uint64_t hash = 0xCBF29CE484222325ULL);

// The bigram file in `bytes` read field by field, or nothing when it is not
// a sound file of the lexicon of `lexicon_hash` and `word_count`: the magic
// line; the header; exactly the size the counts give; flags 0, 1 or 2 and
// short words only with 2; the lexicon's hash and word count; the checksum
// of all after the header; short words of one to three upper-cased word
// bytes, padded with zero bytes, strictly ascending; pairs of indices below
// the word count plus the short word count, counted at least once, strictly
// ascending by (first, second).
std::optional<ReferenceBigrams> reference_read_bigrams(std::string_view bytes,
                                                       std::uint64_t lexicon_hash,
                                                       std::uint32_t word_count);

// The bigram file of these fields, as the reader above reads it.
std::string reference_bigram_bytes(const ReferenceBigrams& model);

// The lexicon of the frequency order: the words of `corpus` as
// reference_builder_words finds them, but each word only its letters
// between the bytes that are no letters at its front and back (a reader's
// word: "(Haus)" is HAUS); in ascending order of their count, equal counts
// sorted by unsigned bytes; each with its count.
std::vector<std::pair<std::string, std::uint64_t>> reference_counted_words_by_count(
    const std::string& corpus);
// The same words alone.
std::vector<std::string> reference_words_by_count(const std::string& corpus);

// The bigram model Create Dictionary makes of `corpus` for the lexicon
// `words` (in its order): every two neighbouring words of the folded text,
// each word only its letters between its marks (a word of marks alone is no
// word at all and breaks no pair), words of fewer than four bytes counted as words of their own after the
// lexicon's, a word the lexicon cannot hold breaking the pair; only pairs
// with a word that shares signature, length and first and last byte with
// another lexicon word, seen at least twice; then, for a file of at most
// `max_file_bytes`, the smallest count kept raised above the count of the
// most frequent pair that does not fit; the short words the kept pairs name,
// sorted, renumbered in that order.
ReferenceBigrams reference_bigram_model(const std::string& corpus,
                                        const std::vector<std::string>& words,
                                        std::uint64_t max_file_bytes);

// A letter model file's fields as the file states them.
struct ReferenceLetters {
  std::uint64_t lexicon_hash = 0;
  std::uint32_t word_count = 0;
  std::uint32_t order = 0;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> grams;    // packed symbols, weight bits
  std::vector<std::pair<std::string, std::uint32_t>> spellings;  // text, count
  friend bool operator==(const ReferenceLetters&, const ReferenceLetters&) = default;
};

// Whether spelling `a` comes before `b` in a letter model: by their
// upper-cased texts (unsigned bytes), then the more frequent first, then by
// their texts.
bool reference_spelling_before(const std::pair<std::string, std::uint32_t>& a,
                               const std::pair<std::string, std::uint32_t>& b);

// The letter model file in `bytes` read field by field, or nothing when it
// is not a sound file of the lexicon of `lexicon_hash` and `word_count`: the
// magic line; the header; the order 2 to 6; the lexicon's hash and word
// count; exactly the bytes the counts and the spellings' lengths give; the
// checksum of all after the header; grams strictly ascending, each of at
// most `order` symbols of five bits, its weight a finite float of 1 or more
// (a word weighs 1 + ln of its count); spellings of at least one byte,
// counted at least once, strictly ascending as reference_spelling_before
// orders them, no text twice.
std::optional<ReferenceLetters> reference_read_letters(std::string_view bytes,
                                                       std::uint64_t lexicon_hash,
                                                       std::uint32_t word_count);

// The letter model file of these fields, as the reader above reads it.
std::string reference_letter_bytes(const ReferenceLetters& model);

// The letter model's symbol of a word byte: 1 to 26 for A to Z in either
// case and the accented letters with their base letter (ß as S), 27 for the
// other letters, 28 for @, 29 for _, 30 for ^, 31 for the other word bytes.
std::uint32_t reference_letter_symbol(char c);

// The grams of a letter model of `order` over `words` (upper-cased, with
// their counts): for every symbol of each word and for its end (symbol 0),
// that symbol after up to order - 1 symbols before it, a word's start
// counting as a symbol 0 before its first byte; packed five bits a symbol,
// the first in the highest bits. Each weighs 1 + ln of its word's count;
// equal grams add up.
std::map<std::uint32_t, double> reference_letter_grams(
    const std::vector<std::pair<std::string, std::uint64_t>>& words, int order);

// The spellings Create Dictionary keeps of `corpus` (as read, not folded):
// of every run of bytes that the folding leaves word bytes, its letters
// between its marks, four to 255 of them, when capitals and small letters
// mix other than as one capital first; its bytes that are no letters
// folded; each with how often it appears, in a letter model's order.
std::vector<std::pair<std::string, std::uint32_t>> reference_spellings(const std::string& corpus);

}  // namespace quirlex::fuzz
