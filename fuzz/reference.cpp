#include "reference.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <tuple>
#include <utility>

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

namespace {

// A folded word as the frequency order reads it: its letters between its
// marks. A core of 255 bytes or more keeps its back (no file a fuzz target
// makes comes near that after its umlauts are spelled out, but a word of
// them could).
std::string trimmed(const std::string& word) {
  const ReferenceCore core = reference_letter_core(word);
  const std::size_t size = core.end - core.begin;
  return word.substr(core.begin, size < 255 ? size : std::string::npos);
}

// Unsigned bytes, a word before every longer word it begins.
bool byte_order(const std::string& a, const std::string& b) {
  const int order = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
  return order != 0 ? order < 0 : a.size() < b.size();
}

// The lexicon's words of `corpus` in order of first appearance, each with
// how often it appears; with `trim`, each word only its letters between
// its marks.
std::vector<std::pair<std::string, std::uint64_t>> counted_builder_words(std::string corpus,
                                                                         bool trim) {
  std::vector<std::pair<std::string, std::uint64_t>> words;
  std::map<std::string, std::size_t> index;
  if (corpus.empty()) return words;
  for (ReferenceToken& token : reference_tokens(std::move(corpus), false, true)) {
    if (token.separator) continue;
    upper_case(token.text);
    if (trim) token.text = trimmed(token.text);
    if (token.text.size() < 4) continue;
    if (!reference_storable(token.text)) continue;
    const auto [at, added] = index.try_emplace(token.text, words.size());
    if (added) words.emplace_back(token.text, 0);
    ++words[at->second].second;
  }
  return words;
}

}  // namespace

std::vector<std::string> reference_builder_words(std::string corpus, bool sort) {
  std::vector<std::string> words;
  for (auto& [word, count] : counted_builder_words(std::move(corpus), false)) {
    words.push_back(word);
  }
  if (sort) std::sort(words.begin(), words.end(), byte_order);
  return words;
}

std::vector<std::pair<std::string, std::uint64_t>> reference_counted_words_by_count(
    const std::string& corpus) {
  auto counted = counted_builder_words(corpus, true);
  std::sort(counted.begin(), counted.end(), [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second < b.second : byte_order(a.first, b.first);
  });
  return counted;
}

std::vector<std::string> reference_words_by_count(const std::string& corpus) {
  std::vector<std::string> words;
  for (auto& [word, count] : reference_counted_words_by_count(corpus)) words.push_back(word);
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
  return upper[0] != c || lower[0] != c ||
         std::string_view("\xDF\x83\xAA\xB5\xBA").find(c) != std::string_view::npos;
}

ReferenceCore reference_letter_core(std::string_view word) {
  ReferenceCore core{0, word.size()};
  while (core.begin < word.size() && !reference_is_letter(word[core.begin])) ++core.begin;
  while (core.end > core.begin && !reference_is_letter(word[core.end - 1])) --core.end;
  return core;
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

std::uint64_t reference_fnv1a(std::string_view bytes, std::uint64_t hash) {
  for (const char c : bytes) hash = (hash ^ static_cast<std::uint8_t>(c)) * 0x100000001B3ULL;
  return hash;
}

namespace {

constexpr std::string_view kBigramMagic = "QUIRLEX BIGRAMS 1\n";
constexpr std::size_t kBigramHeader = 18 + 8 + 5 * 4 + 8;

// The little-endian number of `size` bytes at `at`.
std::uint64_t number_at(std::string_view bytes, std::size_t at, std::size_t size) {
  std::uint64_t value = 0;
  for (std::size_t k = size; k > 0; --k) {
    value = value * 256 + static_cast<std::uint8_t>(bytes[at + k - 1]);
  }
  return value;
}

void append_number(std::string& out, std::uint64_t value, std::size_t size) {
  for (std::size_t k = 0; k < size; ++k, value /= 256) out += static_cast<char>(value % 256);
}

// The fields of a model file, read one after another from its front, after
// its magic line. A field past the end reads as 0 and leaves the file short.
class Fields {
 public:
  Fields(std::string_view bytes, std::string_view magic) : bytes_(bytes), at_(magic.size()) {}
  std::uint64_t next(std::size_t size) {
    if (bytes_.size() - at_ < size) {
      short_ = true;
      return 0;
    }
    at_ += size;
    return number_at(bytes_, at_ - size, size);
  }
  std::string_view take(std::size_t size) {
    if (bytes_.size() - at_ < size) {
      short_ = true;
      return {};
    }
    at_ += size;
    return bytes_.substr(at_ - size, size);
  }
  std::size_t left() const { return bytes_.size() - at_; }
  // Whether a field was missing.
  bool short_of_bytes() const { return short_; }

 private:
  std::string_view bytes_;
  std::size_t at_;
  bool short_ = false;
};

}  // namespace

std::optional<ReferenceBigrams> reference_read_bigrams(std::string_view bytes,
                                                       std::uint64_t lexicon_hash,
                                                       std::uint32_t word_count) {
  if (bytes.size() < kBigramHeader || bytes.substr(0, kBigramMagic.size()) != kBigramMagic) {
    return std::nullopt;
  }
  ReferenceBigrams model;
  Fields fields(bytes, kBigramMagic);
  const auto next = [&fields](std::size_t size) { return fields.next(size); };
  model.lexicon_hash = next(8);
  model.word_count = static_cast<std::uint32_t>(next(4));
  model.flags = static_cast<std::uint32_t>(next(4));
  model.min_count = static_cast<std::uint32_t>(next(4));
  const std::uint64_t short_count = next(4);
  const std::uint64_t pair_count = next(4);
  const std::uint64_t checksum = next(8);
  if (bytes.size() != kBigramHeader + 4 * short_count + 12 * pair_count) return std::nullopt;
  if (model.flags > 2 || (short_count != 0 && model.flags != 2)) return std::nullopt;
  if (model.lexicon_hash != lexicon_hash || model.word_count != word_count) return std::nullopt;
  if (reference_fnv1a(bytes.substr(kBigramHeader)) != checksum) return std::nullopt;
  for (std::uint64_t k = 0; k < short_count; ++k) {
    const std::string_view field = fields.take(4);
    std::size_t length = 0;
    while (length < 4 && field[length] != '\0') ++length;
    if (length == 0 || length == 4) return std::nullopt;
    for (std::size_t i = length; i < 4; ++i) {
      if (field[i] != '\0') return std::nullopt;
    }
    const std::string word(field.substr(0, length));
    for (const char c : word) {
      if (!is_word_byte(c) || upper_char(c) != c) return std::nullopt;
    }
    if (!model.short_words.empty() && !byte_order(model.short_words.back(), word)) {
      return std::nullopt;
    }
    model.short_words.push_back(word);
  }
  const std::uint64_t index_limit = std::uint64_t{word_count} + short_count;
  for (std::uint64_t r = 0; r < pair_count; ++r) {
    const auto first = static_cast<std::uint32_t>(next(4));
    const auto second = static_cast<std::uint32_t>(next(4));
    const auto count = static_cast<std::uint32_t>(next(4));
    if (first >= index_limit || second >= index_limit || count == 0) return std::nullopt;
    if (!model.pairs.empty() &&
        std::tie(model.pairs.back()[0], model.pairs.back()[1]) >= std::tie(first, second)) {
      return std::nullopt;
    }
    model.pairs.push_back({first, second, count});
  }
  return model;
}

std::string reference_bigram_bytes(const ReferenceBigrams& model) {
  std::string body;
  for (const std::string& word : model.short_words) {
    body += word;
    body.append(4 - word.size(), '\0');
  }
  for (const auto& pair : model.pairs) {
    for (const std::uint32_t field : pair) append_number(body, field, 4);
  }
  std::string file(kBigramMagic);
  append_number(file, model.lexicon_hash, 8);
  append_number(file, model.word_count, 4);
  append_number(file, model.flags, 4);
  append_number(file, model.min_count, 4);
  append_number(file, model.short_words.size(), 4);
  append_number(file, model.pairs.size(), 4);
  append_number(file, reference_fnv1a(body), 8);
  return file + body;
}

ReferenceBigrams reference_bigram_model(const std::string& corpus,
                                        const std::vector<std::string>& words,
                                        std::uint64_t max_file_bytes) {
  const auto word_count = static_cast<std::int64_t>(words.size());
  ReferenceBigrams model;
  model.lexicon_hash = 0xCBF29CE484222325ULL;
  for (const std::string& word : words) {
    model.lexicon_hash = reference_fnv1a(word + "\n", model.lexicon_hash);
  }
  model.word_count = static_cast<std::uint32_t>(word_count);
  model.flags = 2;
  model.min_count = 2;

  // Words that another lexicon word could be taken for.
  std::map<std::tuple<double, std::size_t, char, char>, int> looks;
  const auto look_of = [](const std::string& w) {
    return std::tuple(reference_signature(w).signature, w.size(), w.front(), w.back());
  };
  for (const std::string& word : words) ++looks[look_of(word)];
  std::map<std::string, std::int64_t> index_of;
  for (std::int64_t i = 0; i < word_count; ++i) index_of[words[static_cast<std::size_t>(i)]] = i;
  const auto is_tie = [&](std::int64_t index) {
    return index < word_count && looks[look_of(words[static_cast<std::size_t>(index)])] > 1;
  };

  // The folded text's words in order: short ones numbered as they come.
  std::vector<std::string> short_texts;
  std::map<std::string, std::int64_t> short_index;
  std::map<std::pair<std::int64_t, std::int64_t>, std::uint64_t> counts;
  std::int64_t previous = -1;
  std::string word;
  const auto end_word = [&] {
    word = trimmed(word);
    if (word.empty()) return;
    std::int64_t index = -2;  // a word the lexicon cannot hold
    if (word.size() < 4) {
      const auto [at, added] =
          short_index.try_emplace(word, word_count + static_cast<std::int64_t>(short_texts.size()));
      if (added) short_texts.push_back(word);
      index = at->second;
    } else if (const auto found = index_of.find(word); found != index_of.end()) {
      index = found->second;
    }
    if (index >= 0 && previous >= 0 && (is_tie(previous) || is_tie(index))) {
      ++counts[{previous, index}];
    }
    previous = index;
    word.clear();
  };
  for (char c : corpus) {
    c = c == '/' ? '@' : c == '"' ? '^' : upper_char(c);
    if (is_word_byte(c)) {
      word += c;
    } else {
      end_word();
    }
  }
  end_word();

  std::vector<std::uint64_t> kept_counts;
  for (const auto& [pair, count] : counts) {
    if (count >= 2) kept_counts.push_back(count);
  }
  const std::uint64_t room =
      max_file_bytes > kBigramHeader ? (max_file_bytes - kBigramHeader) / 16 : 0;
  if (kept_counts.size() > room) {
    std::sort(kept_counts.begin(), kept_counts.end(), std::greater<>());
    model.min_count = static_cast<std::uint32_t>(kept_counts[room] + 1);
  }
  std::map<std::string, std::int64_t> kept_short;  // text: old index
  for (const auto& [pair, count] : counts) {
    if (count < model.min_count) continue;
    for (const std::int64_t index : {pair.first, pair.second}) {
      if (index < word_count) continue;
      kept_short[short_texts[static_cast<std::size_t>(index - word_count)]] = index;
    }
  }
  std::map<std::int64_t, std::int64_t> renumbered;
  for (const auto& [text, index] : kept_short) {
    renumbered[index] = word_count + static_cast<std::int64_t>(model.short_words.size());
    model.short_words.push_back(text);
  }
  const auto final_index = [&](std::int64_t index) {
    return static_cast<std::uint32_t>(index < word_count ? index : renumbered.at(index));
  };
  for (const auto& [pair, count] : counts) {
    if (count < model.min_count) continue;
    model.pairs.push_back({final_index(pair.first), final_index(pair.second),
                           static_cast<std::uint32_t>(count)});
  }
  std::sort(model.pairs.begin(), model.pairs.end());
  return model;
}

namespace {

constexpr std::string_view kLettersMagic = "QUIRLEX LETTERS 1\n";
constexpr std::size_t kLettersHeader = 18 + 8 + 4 * 4 + 8;

std::string upper_copy(std::string text) {
  upper_case(text);
  return text;
}

}  // namespace

bool reference_spelling_before(const std::pair<std::string, std::uint32_t>& a,
                               const std::pair<std::string, std::uint32_t>& b) {
  const std::string upper_a = upper_copy(a.first);
  const std::string upper_b = upper_copy(b.first);
  if (upper_a != upper_b) return byte_order(upper_a, upper_b);
  if (a.second != b.second) return a.second > b.second;
  return byte_order(a.first, b.first);
}

std::optional<ReferenceLetters> reference_read_letters(std::string_view bytes,
                                                       std::uint64_t lexicon_hash,
                                                       std::uint32_t word_count) {
  if (bytes.size() < kLettersHeader || bytes.substr(0, kLettersMagic.size()) != kLettersMagic) {
    return std::nullopt;
  }
  ReferenceLetters model;
  Fields fields(bytes, kLettersMagic);
  const auto next = [&fields](std::size_t size) { return fields.next(size); };
  model.lexicon_hash = next(8);
  model.word_count = static_cast<std::uint32_t>(next(4));
  model.order = static_cast<std::uint32_t>(next(4));
  const std::uint64_t gram_count = next(4);
  const std::uint64_t spelling_count = next(4);
  const std::uint64_t checksum = next(8);
  if (model.order < 2 || model.order > 6) return std::nullopt;
  if (model.lexicon_hash != lexicon_hash || model.word_count != word_count) return std::nullopt;
  if (fields.left() < 8 * gram_count) return std::nullopt;
  for (std::uint64_t g = 0; g < gram_count; ++g) {
    const auto key = static_cast<std::uint32_t>(next(4));
    const auto weight_bits = static_cast<std::uint32_t>(next(4));
    float weight = 0.0f;
    std::memcpy(&weight, &weight_bits, sizeof weight);
    if (std::uint64_t{key} >= (std::uint64_t{1} << (5 * model.order))) return std::nullopt;
    if (!(weight >= 1.0f && weight <= std::numeric_limits<float>::max())) return std::nullopt;
    if (!model.grams.empty() && model.grams.back().first >= key) return std::nullopt;
    model.grams.emplace_back(key, weight_bits);
  }
  std::set<std::string> texts;
  for (std::uint64_t k = 0; k < spelling_count; ++k) {
    std::string text(fields.take(next(1)));
    const auto count = static_cast<std::uint32_t>(next(4));
    if (fields.short_of_bytes() || text.empty() || count == 0) return std::nullopt;
    if (!texts.insert(text).second) return std::nullopt;
    std::pair<std::string, std::uint32_t> spelling(std::move(text), count);
    if (!model.spellings.empty() && !reference_spelling_before(model.spellings.back(), spelling)) {
      return std::nullopt;
    }
    model.spellings.push_back(std::move(spelling));
  }
  if (fields.left() != 0) return std::nullopt;
  if (reference_fnv1a(bytes.substr(kLettersHeader)) != checksum) return std::nullopt;
  return model;
}

std::string reference_letter_bytes(const ReferenceLetters& model) {
  std::string body;
  for (const auto& [key, weight_bits] : model.grams) {
    append_number(body, key, 4);
    append_number(body, weight_bits, 4);
  }
  for (const auto& [text, count] : model.spellings) {
    append_number(body, text.size(), 1);
    body += text;
    append_number(body, count, 4);
  }
  std::string file(kLettersMagic);
  append_number(file, model.lexicon_hash, 8);
  append_number(file, model.word_count, 4);
  append_number(file, model.order, 4);
  append_number(file, model.grams.size(), 4);
  append_number(file, model.spellings.size(), 4);
  append_number(file, reference_fnv1a(body), 8);
  return file + body;
}

std::uint32_t reference_letter_symbol(char c) {
  std::string upper(1, c);
  upper_case(upper);
  // Accented letters, upper-cased, and the letter they go with.
  static const std::pair<std::string_view, char> kBases[] = {
      {"\xC0\xC1\xC2\xC3\xC4\xC5", 'A'}, {"\xC7", 'C'}, {"\xC8\xC9\xCA\xCB", 'E'},
      {"\xCC\xCD\xCE\xCF", 'I'}, {"\xD0", 'D'}, {"\xD1", 'N'},
      {"\xD2\xD3\xD4\xD5\xD6\xD8", 'O'}, {"\xD9\xDA\xDB\xDC", 'U'}, {"\xDD\x9F", 'Y'},
      {"\x8A\xDF", 'S'}, {"\x8E", 'Z'}};
  for (const auto& [accented, base] : kBases) {
    if (accented.find(upper[0]) != std::string_view::npos) upper[0] = base;
  }
  if (upper[0] >= 'A' && upper[0] <= 'Z') return static_cast<std::uint32_t>(upper[0] - 'A' + 1);
  if (reference_is_letter(c)) return 27;
  switch (upper[0]) {
    case '@':
      return 28;
    case '_':
      return 29;
    case '^':
      return 30;
    default:
      return 31;
  }
}

std::map<std::uint32_t, double> reference_letter_grams(
    const std::vector<std::pair<std::string, std::uint64_t>>& words, int order) {
  std::map<std::uint32_t, double> grams;
  for (const auto& [word, count] : words) {
    const auto weight =
        static_cast<double>(static_cast<float>(1.0 + std::log(static_cast<double>(count))));
    std::vector<std::uint32_t> symbols{0};
    for (const char c : word) symbols.push_back(reference_letter_symbol(c));
    symbols.push_back(0);
    for (std::size_t j = 1; j < symbols.size(); ++j) {
      const std::size_t from = j + 1 > static_cast<std::size_t>(order) ? j + 1 - order : 0;
      std::uint32_t key = 0;
      for (std::size_t k = from; k <= j; ++k) key = key * 32 + symbols[k];
      grams[key] += weight;
    }
  }
  return grams;
}

std::vector<std::pair<std::string, std::uint32_t>> reference_spellings(const std::string& corpus) {
  std::map<std::string, std::uint32_t> counts;
  const auto stays_word_byte = [](char c) { return is_word_byte(c) || c == '/' || c == '"'; };
  for (std::size_t at = 0; at < corpus.size();) {
    if (!stays_word_byte(corpus[at])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < corpus.size() && stays_word_byte(corpus[end])) ++end;
    const std::string word = corpus.substr(at, end - at);
    at = end;
    const ReferenceCore core = reference_letter_core(word);
    std::string letters = word.substr(core.begin, core.end - core.begin);
    if (letters.size() < 4 || letters.size() > 255) continue;
    std::size_t capitals = 0;
    std::size_t small = 0;
    for (char& c : letters) {
      if (!reference_is_letter(c)) {
        c = c == '/' ? '@' : c == '"' ? '^' : upper_char(c);
      } else if (lower_char(c) != c) {
        ++capitals;
      } else if (upper_char(c) != c) {
        ++small;
      }
    }
    const bool one_capital_first = capitals == 1 && lower_char(letters.front()) != letters.front();
    if (capitals > 0 && small > 0 && !one_capital_first) ++counts[letters];
  }
  std::vector<std::pair<std::string, std::uint32_t>> spellings(counts.begin(), counts.end());
  std::sort(spellings.begin(), spellings.end(), reference_spelling_before);
  return spellings;
}

}  // namespace quirlex::fuzz
