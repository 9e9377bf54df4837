// Fuzzes the tokenizer with every option: the first input byte chooses drop
// separators (bit 0), replace slash and quote (bit 1), tokens without
// signatures (bit 2) and the last token in its own case (bit 3); the rest is
// the text. The tokens must be the text's runs exactly as a plain
// re-implementation finds them, alternate between separator and word, hold
// only bytes of their class, join back to the text with its last run
// upper-cased (unless bit 3 keeps it), and carry the signature of their text
// (none when not asked for).
#include <cstddef>
#include <cstdint>
#include <string>

#include "reference.h"
#include "text/case_map.h"
#include "text/signature.h"
#include "text/tokenizer.h"

using quirlex::fuzz::is_word_byte;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  const bool suppressed = (flags & 4) != 0;
  const quirlex::TokenizeOptions options{.drop_separators = (flags & 1) != 0,
                                         .replace_slash_and_quote = (flags & 2) != 0,
                                         .signatures = !suppressed,
                                         .upper_case_last = (flags & 8) == 0};
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

  // A list with earlier content: an empty text must leave it as it is.
  quirlex::TokenList list;
  list.append("EARLIER");
  const quirlex::TokenList earlier = list;

  quirlex::tokenize(text, list, options);

  if (text.empty()) {
    FUZZ_CHECK(list == earlier);
    return 0;
  }
  FUZZ_CHECK(list.is_empty() || list.capacity() >= 1000);

  const auto expected = quirlex::fuzz::reference_tokens(
      text, options.drop_separators, options.replace_slash_and_quote, options.upper_case_last);
  FUZZ_CHECK(static_cast<std::size_t>(list.size()) == expected.size());
  // Every token is a view into the list's buffer: together they cover it,
  // in order, without a gap.
  std::size_t covered = 0;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto index = static_cast<std::int32_t>(i);
    const quirlex::WordToken token = list.element(index);
    FUZZ_CHECK(token.offset == covered);
    covered += token.length;
    FUZZ_CHECK(list.text(index) == expected[i].text);
    FUZZ_CHECK(token.separator == (expected[i].separator ? 1 : 0));
    FUZZ_CHECK(quirlex::fuzz::has_signature_of_text(list, index, suppressed));
  }
  FUZZ_CHECK(covered == list.join().size());

  for (std::size_t i = 0; i < expected.size(); ++i) {
    const quirlex::WordToken token = list.element(static_cast<std::int32_t>(i));
    const std::string_view token_text = list.text(token);
    if (options.drop_separators) {
      FUZZ_CHECK(token.separator == 0);
    } else {
      // Separator first, then alternating.
      FUZZ_CHECK(token.separator == (i % 2 == 0 ? 1 : 0));
    }
    if (token.separator == 0) {
      FUZZ_CHECK(!token_text.empty());
      for (const char c : token_text) FUZZ_CHECK(is_word_byte(c));
    } else {
      FUZZ_CHECK(!token_text.empty() || i == 0);
      for (const char c : token_text) FUZZ_CHECK(!is_word_byte(c));
    }
  }

  if (!options.drop_separators) {
    // Joined, the list gives back the text with its last run upper-cased
    // when asked.
    std::string rebuilt = text;
    if (options.replace_slash_and_quote) {
      quirlex::replace_all(rebuilt, "/", "@");
      quirlex::replace_all(rebuilt, "\"", "^");
    }
    const bool ends_in_word = is_word_byte(rebuilt.back());
    std::size_t last_run = rebuilt.size();
    while (last_run > 0 && is_word_byte(rebuilt[last_run - 1]) == ends_in_word) --last_run;
    std::string tail = rebuilt.substr(last_run);
    if (options.upper_case_last) quirlex::upper_case(tail);
    rebuilt.replace(last_run, std::string::npos, tail);
    FUZZ_CHECK(list.join() == rebuilt);
  }
  return 0;
}
