// Fuzzes the lexicon file format end to end: words are front-coded, written
// one entry per line and read back, and must come back exactly.
//
// The first input byte chooses the options: bit 0 sorts and de-duplicates the
// derived word list as the builder does, bit 1 sorts the builder's words,
// the other six give the size of the pieces the builder is handed (0: the
// text in one piece). The rest is used twice: split on line feeds into a
// word list (upper-cased, words of four bytes or more that the file can
// store), and as the corpus of a LexiconBuilder, whose words must also be
// those a plain re-implementation of the builder finds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lexicon/lexicon_builder.h"
#include "lexicon/lexicon_codec.h"
#include "reference.h"
#include "text/case_map.h"
#include "text/signature.h"

namespace {

std::size_t common_beginning(const std::string& a, const std::string& b) {
  std::size_t n = 0;
  while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
  return n;
}

// Checks the entry of `word` that follows `previous`.
void check_entry(const std::string& previous, const std::string& word, const std::string& entry) {
  FUZZ_CHECK(!entry.empty());
  for (const char c : entry) FUZZ_CHECK(quirlex::fuzz::is_word_byte(c));
  const std::size_t shared = common_beginning(previous, word);
  if (shared < 2) {
    FUZZ_CHECK(entry == word);
  } else if (shared <= quirlex::kMaxSharedCount) {
    FUZZ_CHECK(static_cast<std::uint8_t>(entry[0]) == 0x60 + shared);
    FUZZ_CHECK(entry.substr(1) == word.substr(shared));
  } else {
    // Past what a marker can count: stored whole or with the largest count.
    const bool whole = entry == word;
    const bool largest = static_cast<std::uint8_t>(entry[0]) == 0x7F &&
                         entry.substr(1) == word.substr(quirlex::kMaxSharedCount);
    FUZZ_CHECK(whole || largest);
  }
}

// Writes the entries as the lexicon file holds them, reads them back and
// compares the words.
void check_read_back(const std::vector<std::string>& entries,
                     const std::vector<std::string>& words) {
  std::string file;
  for (const std::string& entry : entries) file += entry + "\n";
  quirlex::TokenList read;
  quirlex::read_lexicon_words(file, read);
  FUZZ_CHECK(static_cast<std::size_t>(read.size()) == words.size());
  for (std::size_t i = 0; i < words.size(); ++i) {
    const auto index = static_cast<std::int32_t>(i);
    FUZZ_CHECK(read.text(index) == words[i]);
    FUZZ_CHECK(quirlex::fuzz::has_signature_of_text(read, index, false));
  }
}

void check_word_list(const std::string& text, bool sort) {
  std::vector<std::string> words;
  std::size_t from = 0;
  while (from <= text.size()) {
    std::size_t to = text.find('\n', from);
    if (to == std::string::npos) to = text.size();
    std::string word = text.substr(from, to - from);
    from = to + 1;
    quirlex::upper_case(word);
    if (word.size() < 4 || !quirlex::is_storable_word(word)) continue;
    FUZZ_CHECK(quirlex::fuzz::reference_storable(word));
    words.push_back(word);
  }
  if (sort) {
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
  }

  quirlex::LexiconEncoder encoder;
  std::vector<std::string> entries;
  std::string previous;
  for (const std::string& word : words) {
    entries.push_back(encoder.encode(word));
    check_entry(previous, word, entries.back());
    previous = word;
  }
  check_read_back(entries, words);
}

void check_builder(const std::string& text, bool sort, std::size_t piece_size) {
  // One thread: a fuzz input never reaches the size split between two.
  quirlex::LexiconBuilder builder(1);
  const quirlex::TextPieces pieces = quirlex::pieces_of(text, piece_size);
  for (std::string piece; pieces(piece);) builder.add_text(piece);
  builder.finish();
  builder.put_in_order(sort ? quirlex::LexiconOrder::kSorted : quirlex::LexiconOrder::kText);
  const std::vector<std::string> expected = quirlex::fuzz::reference_builder_words(text, sort);
  FUZZ_CHECK(builder.word_count() == expected.size());
  std::vector<std::string> words;
  for (std::size_t i = 0; i < builder.word_count(); ++i) {
    words.emplace_back(builder.word(i));
    FUZZ_CHECK(words.back() == expected[i]);
  }

  const quirlex::TokenList encoded = builder.encode();
  FUZZ_CHECK(static_cast<std::size_t>(encoded.size()) == words.size());
  std::vector<std::string> entries;
  std::string previous;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const auto index = static_cast<std::int32_t>(i);
    FUZZ_CHECK(encoded.separator(index) == 0);
    const std::string entry(encoded.text(index));
    check_entry(previous, words[i], entry);
    entries.push_back(entry);
    previous = words[i];
  }
  check_read_back(entries, words);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  check_word_list(text, (data[0] & 1) != 0);
  const std::size_t piece_size = data[0] >> 2;
  check_builder(text, (data[0] & 2) != 0, piece_size == 0 ? SIZE_MAX : piece_size);
  return 0;
}
