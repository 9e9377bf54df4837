// Fuzzes the lexicon file decoder on arbitrary bytes: it never fails, gives
// one non-empty word per entry (run of bytes from 0x40 up), decodes exactly as
// a plain re-implementation of the front coding does, and gives every word
// the letter mask and signature of its text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "lexicon/lexicon_codec.h"
#include "reference.h"
#include "text/signature.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  std::size_t entries = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (quirlex::fuzz::is_word_byte(text[i]) &&
        (i == 0 || !quirlex::fuzz::is_word_byte(text[i - 1]))) {
      ++entries;
    }
  }

  // Whatever the list held before is replaced.
  quirlex::TokenList words;
  words.append("EARLIER");
  quirlex::read_lexicon_words(text, words);

  FUZZ_CHECK(static_cast<std::size_t>(words.size()) == entries);
  const auto expected = quirlex::fuzz::reference_lexicon_words(text);
  FUZZ_CHECK(expected.size() == entries);
  for (std::size_t i = 0; i < entries; ++i) {
    const auto index = static_cast<std::int32_t>(i);
    FUZZ_CHECK(!words.text(index).empty());
    FUZZ_CHECK(words.text(index) == expected[i]);
    FUZZ_CHECK(words.separator(index) == 0);
    FUZZ_CHECK(quirlex::fuzz::has_signature_of_text(words, index, false));
  }
  return 0;
}
