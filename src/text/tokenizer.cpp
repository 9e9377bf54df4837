#include "text/tokenizer.h"

#include <algorithm>
#include <utility>

#include "text/case_map.h"

namespace quirlex {
namespace {

constexpr std::int32_t kTokenizerGrowStep = 1000;

WordToken make_token(std::string text, bool is_separator) {
  WordToken token = WordToken::from_text(std::move(text));
  token.separator = is_separator ? 1 : 0;
  return token;
}

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

void tokenize(std::string text, TokenList& list, TokenizeOptions options) {
  if (text.empty()) return;
  list.make_empty();
  list.set_size(0, kTokenizerGrowStep);
  if (options.replace_slash_and_quote) {
    replace_all(text, "/", "@");
    replace_all(text, "\"", "^");
  }
  const std::size_t length = text.size();
  bool in_word = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const bool separator = is_separator_byte(text[i]);
    if (separator && in_word) {
      list.append(make_token(text.substr(start, i - start), false));
      start = i;
      in_word = false;
    } else if (!separator && !in_word) {
      if (!options.drop_separators) list.append(make_token(text.substr(start, i - start), true));
      start = i;
      in_word = true;
    }
  }
  if (start < length) {
    const bool last_is_separator = is_separator_byte(text[length - 1]);
    if (last_is_separator && options.drop_separators) return;
    std::string rest = text.substr(start);
    upper_case(rest);
    list.append(make_token(std::move(rest), last_is_separator));
  }
}

}  // namespace quirlex
