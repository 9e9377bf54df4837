#include "base/limits.h"

namespace quirlex::limit_failures {
namespace {

const std::string& limit() {
  static const std::string text = std::to_string(kCountLimit);
  return text;
}

}  // namespace

LimitExceeded too_many_tokens() {
  return LimitExceeded("The text is too large: a list can hold at most " + limit() + " tokens.");
}

LimitExceeded too_many_text_bytes() {
  return LimitExceeded("The text is too large: a list can hold at most " + limit() +
                       " bytes of text.");
}

LimitExceeded spelled_out_too_long() {
  return LimitExceeded("The text is too large: with its umlauts spelled out it exceeds " +
                       limit() + " bytes.");
}

LimitExceeded file_too_long(const std::string& file_name) {
  return LimitExceeded("The file " + file_name + " is too large: texts of at most " + limit() +
                       " bytes can be read.");
}

LimitExceeded too_many_distinct_words() {
  return LimitExceeded("The corpus has too many distinct words: a lexicon can hold at most " +
                       limit() + ".");
}

}  // namespace quirlex::limit_failures
