#include "text/tokenizer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "base/failure.h"
#include "text/case_map.h"
#include "text/word_byte_bits.h"

namespace quirlex {
namespace {

constexpr std::int32_t kTokenizerGrowStep = 1000;

}  // namespace

void replace_all(std::string& text, std::string_view old_text, std::string_view new_text) {
  if (old_text.empty()) return;
  if (old_text.size() == 1 && new_text.size() == 1) {
    std::replace(text.begin(), text.end(), old_text[0], new_text[0]);
    return;
  }
  std::string result;
  std::size_t from = 0;
  for (std::size_t at = text.find(old_text); at != std::string::npos;
       at = text.find(old_text, from)) {
    result.append(text, from, at - from);
    result.append(new_text);
    from = at + old_text.size();
  }
  if (from == 0) return;
  result.append(text, from, std::string::npos);
  text = std::move(result);
}

namespace {

// Calls `emit(start, end, is_separator)` for every token of `text` in order:
// runs of separator bytes and runs of word bytes, with an empty separator
// token first when the text starts with a word byte. A token ends where a
// byte's kind differs from the byte before it (before the text: separator).
template <typename Emit>
void for_each_token(const std::string& text, const Emit& emit) {
  const std::size_t length = text.size();
  std::size_t start = 0;
  std::uint64_t before = 0;  // the kind of the byte before the block, at bit 63
  for (std::size_t block = 0; block < length; block += 64) {
    const std::uint64_t word =
        word_byte_bits(text.data() + block, std::min<std::size_t>(length - block, 64));
    for (std::uint64_t changes = word ^ ((word << 1) | (before >> 63)); changes != 0;
         changes &= changes - 1) {
      const std::size_t end = block + static_cast<std::size_t>(std::countr_zero(changes));
      // The run that ends here is of the other kind than the byte at `end`.
      emit(start, end, !is_separator_byte(text[end]));
      start = end;
    }
    before = word;  // only a full block has a block after it
  }
  if (start < length) emit(start, length, is_separator_byte(text[length - 1]));
}

}  // namespace

void tokenize(std::string text, TokenList& list, TokenizeOptions options) {
  if (text.empty()) return;
  if (text.size() > static_cast<std::size_t>(TokenList::kMaxBytes)) {
    throw LimitExceeded(
        "The text is too large: a list can hold at most 2147483647 bytes of text.");
  }
  if (options.replace_slash_and_quote) {
    replace_all(text, "/", "@");
    replace_all(text, "\"", "^");
  }
  // Counted first, so that the token slots are allocated once at their final
  // number.
  std::int64_t count = 0;
  for_each_token(text, [&](std::size_t, std::size_t, bool separator) {
    count += !(separator && options.drop_separators);
  });
  list.reserve_for(count, kTokenizerGrowStep);

  // The tokens are made over the text itself. Without separators the words
  // move together to the front, so the text stays the tokens' joined texts.
  TokenList::Ends& ends = list.ends_;
  char* const data = text.data();
  std::size_t used = 0;
  std::size_t last_start = 0;
  for_each_token(text, [&](std::size_t start, std::size_t end, bool separator) {
    if (separator && options.drop_separators) return;
    const std::size_t length = end - start;
    if (used != start) std::memmove(data + used, data + start, length);
    last_start = used;
    used += length;
    ends.push_back(TokenList::pack(used, separator ? 1 : 0));
  });
  // The last token of a text is stored in capitals (unless it was a
  // separator left out).
  const bool last_kept = !(options.drop_separators && is_separator_byte(text.back()));
  if (!ends.empty() && last_kept) upper_case({data + last_start, used - last_start});
  text.resize(used);
  list.text_ = std::move(text);
  list.signatures_ = options.signatures;
}

}  // namespace quirlex
