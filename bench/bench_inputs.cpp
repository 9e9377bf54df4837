#include "bench_inputs.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

#include "lexicon/lexicon_codec.h"
#include "text/case_map.h"
#include "text/signature.h"
#include "text/windows1252.h"

namespace quirlex::bench {
namespace {

constexpr std::array<const char*, 2> kWordListFiles = {"/usr/share/dict/ngerman",
                                                       "/usr/share/dict/american-english"};

// The Windows-1252 form of one UTF-8 line, or nothing when a character has
// none (or the line is not valid UTF-8).
std::optional<std::string> utf8_to_windows1252(std::string_view line) {
  std::string out;
  out.reserve(line.size());
  for (std::size_t i = 0; i < line.size();) {
    const auto lead = static_cast<std::uint8_t>(line[i]);
    char32_t code = 0;
    std::size_t extra = 0;
    if (lead < 0x80) {
      code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      code = lead & 0x1F;
      extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      code = lead & 0x0F;
      extra = 2;
    } else {
      return std::nullopt;
    }
    if (i + extra >= line.size() && extra != 0) return std::nullopt;
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<std::uint8_t>(line[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      code = (code << 6) | (next & 0x3F);
    }
    i += extra + 1;
    const std::optional<std::uint8_t> byte = unicode_to_windows1252(code);
    if (!byte) return std::nullopt;
    out.push_back(static_cast<char>(*byte));
  }
  return out;
}

// Made-up words with German-like letter frequencies, for machines without
// the word lists.
std::vector<std::string> made_up_words() {
  static constexpr std::string_view kLetters =
      "eeeeeeennnnniiiiiissssrrrraaaattttdddhhhuuulllcccgggmmoobbwwffkkzpvj\xE4\xF6\xFC";
  SplitMix64 random(7);
  std::vector<std::string> words;
  for (int i = 0; i < 200000; ++i) {
    const std::size_t length = 3 + random.below(12);
    std::string word;
    for (std::size_t k = 0; k < length; ++k)
      word.push_back(kLetters[random.below(kLetters.size())]);
    if (random.below(3) == 0) word[0] = upper_char(word[0]);
    words.push_back(std::move(word));
  }
  return words;
}

std::vector<std::string> load_dictionary_words() {
  std::vector<std::string> words;
  for (const char* file_name : kWordListFiles) {
    std::ifstream file(file_name);
    std::string line;
    while (std::getline(file, line)) {
      if (line.empty()) continue;
      if (std::optional<std::string> word = utf8_to_windows1252(line))
        words.push_back(std::move(*word));
    }
  }
  if (words.size() < 100000) return made_up_words();
  return words;
}

// Frequent short words of German and English running text.
constexpr std::array<std::string_view, 64> kFrequentWords = {
    "der",  "die",    "und", "in",  "den",  "von",   "zu",   "das",  "mit",  "sich", "des",
    "auf",  "f\xFCr", "ist", "im",  "dem",  "nicht", "ein",  "eine", "als",  "auch", "es",
    "an",   "werden", "aus", "er",  "hat",  "dass",  "sie",  "nach", "wird", "bei",  "the",
    "of",   "and",    "to",  "a",   "in",   "is",    "you",  "that", "it",   "he",   "was",
    "for",  "on",     "are", "as",  "with", "his",   "they", "at",   "be",   "this", "have",
    "from", "or",     "one", "had", "by",   "word",  "but",  "what", "some"};

}  // namespace

const std::vector<std::string>& dictionary_words() {
  static const std::vector<std::string> words = load_dictionary_words();
  return words;
}

const std::vector<std::string>& lexicon_words() {
  static const std::vector<std::string> lexicon = [] {
    std::vector<std::string> words;
    for (const std::string& word : dictionary_words()) {
      if (word.size() < 4) continue;
      std::string upper = word;
      upper_case(upper);
      // Words with an apostrophe or a digit would have been split apart.
      if (is_storable_word(upper)) words.push_back(std::move(upper));
    }
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    return words;
  }();
  return lexicon;
}

std::vector<std::string> lexicon_sample(std::size_t count) {
  const std::vector<std::string>& lexicon = lexicon_words();
  std::vector<std::string> sample;
  count = std::min(count, lexicon.size());
  sample.reserve(count);
  for (std::size_t i = 0; i < count; ++i) sample.push_back(lexicon[i * lexicon.size() / count]);
  return sample;
}

std::string running_text(std::size_t bytes) {
  const std::vector<std::string>& words = dictionary_words();
  SplitMix64 random(bytes);
  std::string text;
  text.reserve(bytes + 64);
  std::size_t line_length = 0;
  while (text.size() < bytes) {
    const std::size_t sentence_words = 4 + random.below(16);
    for (std::size_t k = 0; k < sentence_words; ++k) {
      std::string word = random.below(100) < 55
                             ? std::string(kFrequentWords[random.below(kFrequentWords.size())])
                             : words[random.below(words.size())];
      if (k == 0) word[0] = upper_char(word[0]);
      text += word;
      line_length += word.size();
      if (k + 1 == sentence_words) {
        static constexpr std::string_view kEnds = "...?!";
        text.push_back(kEnds[random.below(kEnds.size())]);
      } else if (random.below(10) == 0) {
        text.push_back(',');
      }
      if (line_length > 70) {
        text += random.below(8) == 0 ? "\r\n\r\n" : "\r\n";
        line_length = 0;
      } else {
        text.push_back(' ');
        ++line_length;
      }
    }
  }
  return text;
}

std::vector<std::string> suffixes(std::size_t count) {
  static constexpr std::array<const char*, 40> kSuffixes = {
      "S",    "ES",   "ED",   "ING",  "ER",   "EN",   "E",      "ERN",   "UNG",   "LICH",
      "LY",   "NESS", "MENT", "ERS",  "EST",  "HEIT", "KEIT",   "UNGEN", "IST",   "ISMUS",
      "ABLE", "FUL",  "LESS", "TION", "IONS", "EM",   "ES",     "ET",    "TE",    "TEN",
      "ISCH", "BAR",  "SAM",  "CHEN", "LEIN", "NIS",  "SCHAFT", "TUM",   "IEREN", "IERT"};
  std::vector<std::string> list;
  for (std::size_t i = 0; i < count; ++i) list.emplace_back(kSuffixes[i % kSuffixes.size()]);
  return list;
}

std::vector<std::string> prefixes(std::size_t count) {
  static constexpr std::array<const char*, 12> kPrefixes = {
      "UN", "RE", "VOR", "BE", "GE", "VER", "ZER", "PRE", "DIS", "AUS", "EIN", "MIS"};
  std::vector<std::string> list;
  for (std::size_t i = 0; i < count; ++i) list.emplace_back(kPrefixes[i % kPrefixes.size()]);
  return list;
}

TokenList word_tokens(const std::vector<std::string>& texts) {
  TokenList list;
  list.reserve_for(static_cast<std::int64_t>(texts.size()));
  list.set_signatures(true);
  for (const std::string& text : texts) list.append(text);
  return list;
}

Dictionary make_dictionary(std::size_t words, std::size_t prefix_count, std::size_t suffix_count) {
  Dictionary dictionary;
  dictionary.words = word_tokens(lexicon_sample(words));
  dictionary.prefixes = word_tokens(prefixes(prefix_count));
  dictionary.suffixes = word_tokens(suffixes(suffix_count));
  fill_lexicon_table(dictionary.words, dictionary.lexicon_table);
  dictionary.layout =
      VariantLayout::for_counts(dictionary.prefixes.size(), dictionary.suffixes.size());
  return dictionary;
}

namespace {

// Calls `use` with the text of `count` members in generation order. Family 0
// is what the benchmarks file: 3 prefixes and 10 suffixes, each optional.
// Family 1 is for misses: 5 other prefixes and 10 other suffixes, both always
// present, so its members are other strings than family 0's.
template <typename Use>
void for_each_member(std::size_t count, std::size_t offset, int family, const Use& use) {
  const std::vector<std::string>& lexicon = lexicon_words();
  const std::vector<std::string> all_prefixes = prefixes(8);
  const std::vector<std::string> all_suffixes = suffixes(20);
  const std::vector<std::string> prefix_list =
      family == 0 ? std::vector<std::string>(all_prefixes.begin(), all_prefixes.begin() + 3)
                  : std::vector<std::string>(all_prefixes.begin() + 3, all_prefixes.end());
  const std::vector<std::string> suffix_list =
      family == 0 ? std::vector<std::string>(all_suffixes.begin(), all_suffixes.begin() + 10)
                  : std::vector<std::string>(all_suffixes.begin() + 10, all_suffixes.end());
  const std::size_t first_affix = family == 0 ? 0 : 1;
  // A step that shares no factor with the lexicon size visits every word
  // before it comes back to one.
  std::size_t step = 7;
  while (lexicon.size() % step == 0) step += 2;
  std::size_t made = 0;
  std::string member;
  for (std::size_t w = offset; made < count; w += step) {
    const std::string& word = lexicon[w % lexicon.size()];
    for (std::size_t p = first_affix; p <= prefix_list.size() && made < count; ++p) {
      for (std::size_t s = first_affix; s <= suffix_list.size() && made < count; ++s) {
        member.clear();
        if (p > 0) member += prefix_list[p - 1];
        member += word;
        if (s > 0) member += suffix_list[s - 1];
        use(member);
        ++made;
      }
    }
  }
}

template <typename T>
void shuffle(std::vector<T>& items, std::uint64_t seed) {
  SplitMix64 random(seed);
  for (std::size_t i = items.size(); i > 1; --i) std::swap(items[i - 1], items[random.below(i)]);
}

}  // namespace

std::vector<std::string> member_texts(std::size_t count) {
  std::vector<std::string> members;
  members.reserve(count);
  for_each_member(count, 0, 0, [&](const std::string& member) { members.push_back(member); });
  shuffle(members, count);
  return members;
}

std::vector<double> member_signatures(std::size_t count, bool others) {
  std::vector<double> keys;
  keys.reserve(count);
  for_each_member(count, others ? 3 : 0, others ? 1 : 0,
                  [&](const std::string& member) { keys.push_back(signature_of(member)); });
  shuffle(keys, count * 2 + others);
  return keys;
}

}  // namespace quirlex::bench
