#include "unscramble/reader_words.h"

#include <algorithm>
#include <vector>

#include "text/case_map.h"
#include "text/letters.h"
#include "text/signature.h"
#include "unscramble/unscrambler.h"

namespace quirlex {
namespace {

// The capitals of a text, upper-cased and sorted.
std::string capitals_of(std::string_view text) {
  std::string capitals;
  for (const char c : text) {
    if (is_letter(c) && is_capital_letter(c)) capitals += upper_char(c);
  }
  std::sort(capitals.begin(), capitals.end());
  return capitals;
}

bool same_upper(char a, char b) {
  return upper_char(a) == upper_char(b);
}

// Whether `candidate` (upper-cased) keeps the ends of the letters `core`
// that stay.
bool keeps_ends(std::string_view candidate, std::string_view core, bool first_stays,
                bool last_stays) {
  return candidate.size() == core.size() && (!first_stays || same_upper(candidate.front(), core.front())) &&
         (!last_stays || same_upper(candidate.back(), core.back())) && same_letters(candidate, core);
}

// The most frequent lexicon word of the letters `core` that keeps the ends
// that stay, or -1.
std::int64_t most_frequent_word(const Dictionary& dictionary, const ReaderWords& reader,
                                std::string_view core, bool first_stays, bool last_stays) {
  const std::span<const std::uint32_t> candidates = reader.by_letters.candidates(core);
  for (auto it = candidates.rbegin(); it != candidates.rend(); ++it) {
    if (keeps_ends(dictionary.words.text(*it), core, first_stays, last_stays)) return *it;
  }
  return -1;
}

// A variant of the letters `core` that keeps the ends that stay, into `out`;
// the free ends tried with each of its letters, in byte order.
bool variant_of(const Dictionary& dictionary, std::string_view core, bool first_stays,
                bool last_stays, std::string& out) {
  std::string firsts(first_stays ? core.substr(0, 1) : core);
  std::string lasts(last_stays ? core.substr(core.size() - 1) : core);
  for (std::string* ends : {&firsts, &lasts}) {
    upper_case(*ends);
    std::sort(ends->begin(), ends->end());
    ends->erase(std::unique(ends->begin(), ends->end()), ends->end());
  }
  const double letter_sum = letter_stats(core).letter_sum;
  for (const char first : firsts) {
    for (const char last : lasts) {
      const double signature = signature_from_letter_sum(letter_sum, first, last, core.size());
      if (variant_text(dictionary, signature, out) && keeps_ends(out, core, true, true) &&
          same_upper(out.front(), first) && same_upper(out.back(), last)) {
        return true;
      }
    }
  }
  return false;
}

// Writes `word` (upper-cased) over the letters of the token at `index`,
// between its marks, with capitals by shape.
bool settle_between_marks(TokenList& list, std::int64_t index, std::string_view word,
                          const LetterCore& core, const ReaderWords& reader) {
  const std::string scrambled(list.text(index));
  const std::string_view letters = std::string_view(scrambled).substr(core.begin, core.size());
  std::string restored = scrambled;
  restored.replace(core.begin, core.size(),
                   capitals_by_shape(word, letters, core.at_front(),
                                     core.at_back(scrambled.size()), spellings_of(reader, word),
                                     &reader));
  return settle_rearrangement(list, index, restored, scrambled);
}

}  // namespace

bool is_plain_word(std::string_view scrambled) {
  if (!is_letter(scrambled.front()) || !is_letter(scrambled.back())) return false;
  // Position by position, every byte but a to z and four more counts as a
  // capital (an underscore, a byte from 0x80 on): such words go by their
  // shape too.
  for (std::size_t k = 1; k < scrambled.size(); ++k) {
    const auto byte = static_cast<std::uint8_t>(scrambled[k]);
    if (byte < 0x61 || byte >= 0x80) return false;
  }
  return true;
}

std::span<const Spelling> spellings_of(const ReaderWords& reader, std::string_view upper) {
  return reader.spellings != nullptr ? reader.spellings->spellings_of(upper)
                                     : std::span<const Spelling>();
}

bool is_lexicon_word(const ReaderWords& reader, std::string_view upper) {
  for (const std::uint32_t index : reader.by_letters.candidates(upper)) {
    if (reader.words.text(index) == upper) return true;
  }
  return false;
}

std::string capitals_by_shape(std::string_view candidate, std::string_view scrambled,
                              bool first_stays, bool last_stays,
                              std::span<const Spelling> spellings, const ReaderWords* reader) {
  const std::string capitals = capitals_of(scrambled);
  std::string out(candidate);
  lower_case(out);
  if (capitals.empty()) return out;
  for (const Spelling& spelling : spellings) {
    if (spelling.text.size() == out.size() && capitals_of(spelling.text) == capitals &&
        (!first_stays || spelling.text.front() == scrambled.front()) &&
        (!last_stays || spelling.text.back() == scrambled.back())) {
      return spelling.text;
    }
  }
  // Two words joined, each beginning with one of the two capitals.
  if (reader != nullptr && capitals.size() == 2 && is_capital_letter(scrambled.front()) &&
      scrambled.size() == out.size()) {
    const char inner = capitals[0] == upper_char(scrambled.front()) ? capitals[1] : capitals[0];
    std::string upper(candidate);
    upper_case(upper);
    for (std::size_t at = 1; at < upper.size(); ++at) {
      if (upper[at] != inner || (last_stays && at == upper.size() - 1)) continue;
      const std::string_view whole(upper);
      if (is_lexicon_word(*reader, whole.substr(0, at)) && is_lexicon_word(*reader, whole.substr(at))) {
        out.front() = upper_char(out.front());
        out[at] = upper_char(out[at]);
        return out;
      }
    }
  }
  const auto letters = static_cast<std::size_t>(std::count_if(scrambled.begin(), scrambled.end(), is_letter));
  if (capitals.size() == letters) {
    upper_case(out);
    return out;
  }
  // A single capital moves to the first letter, unless an end that stays
  // says otherwise.
  if (capitals.size() == 1 && (!first_stays || is_capital_letter(scrambled.front())) &&
      !(last_stays && is_capital_letter(scrambled.back()))) {
    const auto first = std::find_if(out.begin(), out.end(), is_letter);
    if (first != out.end()) *first = upper_char(*first);
    return out;
  }
  // Other mixtures: the capitals stay where they are, letters only.
  for (std::size_t k = 0; k < out.size() && k < scrambled.size(); ++k) {
    if (is_letter(scrambled[k]) && is_capital_letter(scrambled[k])) out[k] = upper_char(out[k]);
  }
  return out;
}

RestoredFrom restore_as_reader(TokenList& list, std::int64_t index, const Dictionary& dictionary,
                               const ReaderWords& reader, bool deep_search, std::string& scratch) {
  const std::string_view scrambled = list.text(index);
  const LetterCore core = letter_core(scrambled);
  if (core.size() < 4) return RestoredFrom::kNothing;
  const std::string_view letters = scrambled.substr(core.begin, core.size());
  const bool first_stays = core.at_front();
  const bool last_stays = core.at_back(scrambled.size());
  const std::int64_t word = most_frequent_word(dictionary, reader, letters, first_stays, last_stays);
  if (word >= 0) {
    scratch.assign(dictionary.words.text(word));
  } else if (!deep_search || !variant_of(dictionary, letters, first_stays, last_stays, scratch)) {
    return RestoredFrom::kNothing;
  }
  upper_case(scratch);
  if (!settle_between_marks(list, index, scratch, core, reader)) return RestoredFrom::kNothing;
  return word >= 0 ? RestoredFrom::kLexicon : RestoredFrom::kVariants;
}

bool restore_from_all_words(TokenList& list, std::int64_t index, const Dictionary& dictionary,
                            const ReaderWords& reader) {
  const std::string_view scrambled = list.text(index);
  const std::int64_t word = most_frequent_word(dictionary, reader, scrambled, true, true);
  return word >= 0 && settle_like(list, index, dictionary.words.text(word), scrambled);
}

}  // namespace quirlex
