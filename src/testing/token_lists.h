// Token lists for tests: a list made from texts, a text split the way Load
// splits it, and the texts of a list, so lists can be built and compared at
// a glance.
#pragma once

#include <string>
#include <vector>

#include "text/token_list.h"
#include "text/tokenizer.h"

namespace quirlex::testing {

// One word token per text, in a list with signatures.
inline TokenList list_of(const std::vector<std::string>& texts) {
  TokenList list;
  list.set_signatures(true);
  for (const std::string& text : texts) list.append(text);
  return list;
}

// The tokens of `text` with separator tokens kept and nothing replaced.
inline TokenList tokens_of(std::string text) {
  TokenList list;
  tokenize(std::move(text), list, {});
  return list;
}

inline std::vector<std::string> texts_of(const TokenList& list) {
  std::vector<std::string> texts;
  for (std::int32_t i = 0; i < list.size(); ++i) texts.emplace_back(list.text(i));
  return texts;
}

}  // namespace quirlex::testing
