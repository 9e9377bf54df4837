#include "unscramble/unscrambler.h"

#include <cstdint>
#include <utility>

#include "text/case_map.h"

namespace quirlex {
namespace {

// A byte of the scrambled word counts as lower-case when, read as a signed
// 8-bit number, it is 'a' (0x61) or more.
bool counts_as_lower(char c) {
  return static_cast<std::int8_t>(c) >= 0x61;
}

// Only a to z change when a single position is made upper-case.
char ascii_upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c;
}

bool same_ends(const std::string& candidate, const std::string& scrambled) {
  return candidate.front() == scrambled.front() && candidate.back() == scrambled.back();
}

void settle(WordToken& token, std::string text) {
  token = WordToken::from_text(std::move(text));
  token.separator = 1;
}

// The candidate a variant code names, or an empty text.
std::string variant_candidate(const Dictionary& dictionary, VariantCode code) {
  const VariantLayout::Parts parts = dictionary.layout.unpack(code);
  std::string text;
  if (parts.prefix) text += dictionary.prefixes.element(*parts.prefix).text;
  text += dictionary.words.element(parts.word).text;
  if (parts.suffix) text += dictionary.suffixes.element(*parts.suffix).text;
  return text;
}

bool try_lexicon(WordToken& token, const Dictionary& dictionary) {
  const WordToken* entry = dictionary.lexicon_table.find(token.signature);
  if (entry == nullptr || entry->text.size() != token.text.size()) return false;
  std::string candidate = capitalise_like(entry->text, token.text);
  if (!same_ends(candidate, token.text)) return false;
  settle(token, std::move(candidate));
  return true;
}

bool try_variants(WordToken& token, const Dictionary& dictionary) {
  const VariantCode* code = dictionary.variant_table.find(token.signature);
  if (code == nullptr || *code == 0xFFFFFFFFu) return false;
  std::string candidate = variant_candidate(dictionary, *code);
  if (candidate.empty() || candidate.size() != token.text.size()) return false;
  lower_case(candidate);
  // Only the first letter takes the scrambled word's case here.
  if (!counts_as_lower(token.text.front())) candidate.front() = ascii_upper(candidate.front());
  if (!same_ends(candidate, token.text)) return false;
  settle(token, std::move(candidate));
  return true;
}

}  // namespace

std::string capitalise_like(std::string candidate, const std::string& scrambled) {
  lower_case(candidate);
  for (std::size_t k = 0; k < candidate.size() && k < scrambled.size(); ++k) {
    if (!counts_as_lower(scrambled[k])) candidate[k] = ascii_upper(candidate[k]);
  }
  return candidate;
}

bool settle_like(WordToken& token, std::string candidate, const std::string& scrambled) {
  candidate = capitalise_like(std::move(candidate), scrambled);
  if (candidate.size() != scrambled.size() || !same_ends(candidate, scrambled)) return false;
  settle(token, std::move(candidate));
  return true;
}

void restore_words(TokenList& scrambled, const Dictionary& dictionary, bool deep_search) {
  // The tables are far larger than any cache: the slots of a word some
  // tokens ahead are requested early, so their loads overlap with the work
  // on the words before it.
  constexpr std::size_t kLookAhead = 16;
  const std::span<WordToken> tokens = scrambled.tokens();
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (i + kLookAhead < tokens.size()) {
      const WordToken& ahead = tokens[i + kLookAhead];
      if (ahead.separator == 0 && ahead.text.size() > 3) {
        dictionary.lexicon_table.prefetch(ahead.signature);
        if (deep_search) dictionary.variant_table.prefetch(ahead.signature);
      }
    }
    WordToken& token = tokens[i];
    if (token.text.size() <= 3) token.separator = 1;
    if (token.separator == 1) continue;
    if (try_lexicon(token, dictionary)) continue;
    if (deep_search) try_variants(token, dictionary);
  }
}

}  // namespace quirlex
