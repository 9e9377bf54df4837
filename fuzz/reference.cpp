#include "reference.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include "text/case_map.h"
#include "text/windows1252.h"

namespace quirlex::fuzz {

void fail(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "\n== invariant broken: %s (%s:%d)\n", condition, file, line);
  std::fflush(stderr);
  std::abort();
}

bool same_bits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

ReferenceSignature reference_signature(std::string_view text) {
  ReferenceSignature result;
  if (text.size() < 2) return result;
  std::string upper(text);
  upper_case(upper);
  double sum = 0.0;
  for (const char c : upper) {
    const int value = static_cast<std::int8_t>(c);
    const unsigned bit = static_cast<unsigned>(value - 65) & 31u;
    result.letter_mask |= 1u << bit;
    const auto term = static_cast<std::int32_t>(1u << bit);
    sum = static_cast<double>(term) * 2.0 + sum;
  }
  const int first = static_cast<std::int8_t>(upper.front());
  const int last = static_cast<std::int8_t>(upper.back());
  const double a = static_cast<double>(last - 64) * 97.85739128934614;
  const double b = static_cast<double>(first - 64) * 47.42342361347548;
  const double x = sum - (a + b);
  result.signature = (static_cast<double>(upper.size()) * x) * 0.8930289363892938;
  return result;
}

bool has_signature_of_text(const TokenList& list, std::int32_t index, bool suppressed) {
  const WordToken token = list.element(index);
  if (suppressed) return token.letter_mask == 0 && same_bits(token.signature, 0.0);
  const ReferenceSignature expected = reference_signature(list.text(index));
  return token.letter_mask == expected.letter_mask &&
         same_bits(token.signature, expected.signature);
}

std::vector<ReferenceToken> reference_tokens(std::string text, bool drop_separators,
                                             bool replace_slash_and_quote, bool upper_case_last) {
  std::vector<ReferenceToken> tokens;
  if (replace_slash_and_quote) {
    for (char& c : text) {
      if (c == '/') c = '@';
      if (c == '"') c = '^';
    }
  }
  bool in_word = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool word = is_word_byte(text[i]);
    if (!word && in_word) {
      tokens.push_back({text.substr(start, i - start), false});
      start = i;
      in_word = false;
    } else if (word && !in_word) {
      if (!drop_separators) tokens.push_back({text.substr(start, i - start), true});
      start = i;
      in_word = true;
    }
  }
  if (start < text.size()) {
    std::string rest = text.substr(start);
    if (upper_case_last) upper_case(rest);
    const bool separator = !is_word_byte(text.back());
    if (!separator || !drop_separators) tokens.push_back({rest, separator});
  }
  return tokens;
}

const char* umlaut_spelling(char c) {
  switch (static_cast<std::uint8_t>(c)) {
    case 0xE4:
      return "ae";
    case 0xF6:
      return "oe";
    case 0xFC:
      return "ue";
    case 0xC4:
      return "Ae";
    case 0xDC:
      return "Ue";
    case 0xDF:
      return "ss";
    case 0xD6:
      return "Oe";
    default:
      return nullptr;
  }
}

std::string reference_transliterate(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\0') break;
    if (const char* spelling = umlaut_spelling(c)) {
      out += spelling;
    } else {
      out += c;
    }
  }
  return out;
}

namespace {

// The code point of the well-formed UTF-8 character at `at` and its length,
// or length 0.
std::pair<char32_t, std::size_t> utf8_character(std::string_view bytes, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
  const std::uint8_t lead = byte(at);
  std::size_t length = 0;
  if (lead < 0x80) return {lead, 1};
  if ((lead & 0xE0) == 0xC0) length = 2;
  if ((lead & 0xF0) == 0xE0) length = 3;
  if ((lead & 0xF8) == 0xF0) length = 4;
  if (length == 0 || at + length > bytes.size()) return {0, 0};
  char32_t value = lead & (0x7F >> length);
  for (std::size_t i = at + 1; i < at + length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return {0, 0};
    value = value * 64 + (byte(i) & 0x3F);
  }
  const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < least[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return {0, 0};
  }
  return {value, length};
}

}  // namespace

ReferenceDecoded reference_decode_text(std::string_view bytes, bool force_utf8) {
  ReferenceDecoded out;
  const bool mark = bytes.substr(0, 3) == "\xEF\xBB\xBF";
  bool valid = true;
  bool beyond_ascii = false;
  for (std::size_t at = 0; at < bytes.size() && valid;) {
    const auto [value, length] = utf8_character(bytes, at);
    valid = length > 0;
    beyond_ascii = beyond_ascii || length > 1;
    at += length;
  }
  out.utf8 = force_utf8 || mark || (valid && beyond_ascii);
  if (!out.utf8) {
    out.text = bytes;
    return out;
  }
  for (std::size_t at = mark ? 3 : 0; at < bytes.size();) {
    const auto [value, length] = utf8_character(bytes, at);
    if (length == 0) {
      out.text += '\x1A';
      out.kept.push_back(0xDC00 + static_cast<std::uint8_t>(bytes[at]));
      ++at;
      continue;
    }
    at += length;
    int byte = 1;
    while (byte < 256 && windows1252_to_unicode(static_cast<std::uint8_t>(byte)) != value) ++byte;
    if (byte < 256 && byte != 0x1A) {
      out.text += static_cast<char>(byte);
    } else {
      out.text += '\x1A';
      out.kept.push_back(value);
    }
  }
  return out;
}

std::vector<std::string> reference_decode(const std::vector<std::string>& entries) {
  std::vector<std::string> words;
  std::string previous;
  for (const std::string& entry : entries) {
    const auto first = static_cast<std::uint8_t>(entry.empty() ? 0 : entry[0]);
    std::string word;
    if (first < 0x61 || first > 0x7F || previous.size() < 2) {
      word = entry;
    } else {
      const std::size_t shared = first - 0x60u;
      word = previous.substr(0, std::min(shared, previous.size())) + entry.substr(1);
    }
    words.push_back(word);
    previous = word;
  }
  return words;
}

std::vector<std::string> reference_lexicon_words(const std::string& text) {
  std::vector<std::string> entries;
  if (text.empty()) return entries;
  for (ReferenceToken& token : reference_tokens(text, true, false)) {
    entries.push_back(std::move(token.text));
  }
  return reference_decode(entries);
}

bool reference_storable(std::string_view word) {
  if (word.empty()) return false;
  const auto first = static_cast<std::uint8_t>(word.front());
  if (first >= 0x61 && first <= 0x7F) return false;
  return std::all_of(word.begin(), word.end(), is_word_byte);
}

std::vector<std::string> reference_builder_words(std::string corpus, bool sort) {
  std::vector<std::string> words;
  std::unordered_set<std::string> seen;
  if (corpus.empty()) return words;
  for (ReferenceToken& token : reference_tokens(std::move(corpus), false, true)) {
    if (token.separator || token.text.size() < 4) continue;
    upper_case(token.text);
    if (!reference_storable(token.text)) continue;
    if (seen.insert(token.text).second) words.push_back(token.text);
  }
  if (sort) {
    std::sort(words.begin(), words.end(), [](const std::string& a, const std::string& b) {
      const int order = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
      return order != 0 ? order < 0 : a.size() < b.size();
    });
  }
  return words;
}

void reference_scramble(std::string& word, std::uint32_t& state) {
  const std::size_t n = word.size();
  if (n <= 3) return;
  for (std::size_t i = 1; i < n - 2; ++i) {
    state = state * 214013u + 2531011u;
    const std::size_t r = (state >> 16) & 0x7FFFu;
    std::swap(word[i], word[r % (n - 2) + 1]);
  }
}

bool reference_is_letter(char c) {
  std::string upper(1, c);
  std::string lower(1, c);
  upper_case(upper);
  lower_case(lower);
  return upper[0] != c || lower[0] != c || static_cast<std::uint8_t>(c) == 0xDF;
}

void reference_scramble_letters(std::string& word, std::uint32_t& state) {
  std::size_t first = 0;
  while (first < word.size() && !reference_is_letter(word[first])) ++first;
  std::size_t last = word.size();
  while (last > first && !reference_is_letter(word[last - 1])) --last;
  std::string letters = word.substr(first, last - first);
  reference_scramble(letters, state);
  word.replace(first, letters.size(), letters);
}

std::string reference_accuracy_report(const std::vector<std::string>& source,
                                      const std::vector<std::string>& restored) {
  std::int64_t correct = 0;
  std::int64_t wrong = 0;
  for (std::size_t j = 0; j < source.size() && j + 1 < restored.size(); ++j) {
    (source[j] == restored[j] ? correct : wrong) += static_cast<std::int64_t>(source[j].size());
  }
  const std::int64_t total = correct + wrong;
  const auto percentage = static_cast<float>(total == 0 ? 0 : correct * 100 / total);
  char report[200];
  std::snprintf(report, sizeof report,
                "%lld of %lld Characters recognized correctly\r\nTranslated %.1f percent of the "
                "text\r\n\r\n",
                static_cast<long long>(correct), static_cast<long long>(total),
                static_cast<double>(percentage));
  return report;
}

}  // namespace quirlex::fuzz
