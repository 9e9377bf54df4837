#include "unscramble/unknown_words.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "text/case_map.h"
#include "text/letters.h"
#include "unscramble/compound_search.h"
#include "unscramble/letter_search.h"
#include "unscramble/unscrambler.h"

namespace quirlex {
namespace {

constexpr std::size_t kMinLetters = 4;
struct Occurrence {
  std::int64_t index;
  LetterCore core;
};

struct UnknownWord {
  std::string letters;  // upper-cased, as first met
  bool first_stays = true;
  bool last_stays = true;
  std::vector<Occurrence> occurrences;
};

// The key of an unknown word: its ends that stay and its letters that move,
// upper-cased, the latter sorted.
std::string key_of(std::string_view upper, bool first_stays, bool last_stays) {
  std::string key;
  key += first_stays ? upper.front() : '\0';
  key += last_stays ? upper.back() : '\0';
  const std::size_t from = first_stays ? 1 : 0;
  const std::size_t to = last_stays ? upper.size() - 1 : upper.size();
  std::string moving(upper.substr(from, to - from));
  std::sort(moving.begin(), moving.end());
  return key + moving;
}

// Writes `word` (upper-cased) over the letters of each occurrence, between
// its marks, with its own capitals by shape; returns how many it settled.
std::int64_t write_everywhere(TokenList& list, const UnknownWord& unknown, std::string_view word,
                              const ReaderWords& reader) {
  std::int64_t settled = 0;
  for (const Occurrence& o : unknown.occurrences) {
    const std::string scrambled(list.text(o.index));
    std::string restored = scrambled;
    restored.replace(o.core.begin, o.core.size(),
                     capitals_by_shape(word, std::string_view(scrambled).substr(o.core.begin, o.core.size()),
                                       unknown.first_stays, unknown.last_stays,
                                       spellings_of(reader, word), &reader));
    if (settle_rearrangement(list, o.index, restored, scrambled)) ++settled;
  }
  return settled;
}

}  // namespace

UnknownWordsResult restore_unknown_words(TokenList& scrambled, const Dictionary& dictionary,
                                         const LetterModel& model, const ReaderWords& reader,
                                         const CompoundIndex* compounds,
                                         const CompoundWeighing& weighing,
                                         std::vector<UnknownWordChoice>* choices) {
  // The unknown words in order of first appearance.
  std::vector<UnknownWord> unknown;
  std::unordered_map<std::string, std::size_t> by_key;
  for (std::int32_t i = 0; i < scrambled.size(); ++i) {
    if (scrambled.separator(i) == 1) continue;
    const std::string_view text = scrambled.text(i);
    const LetterCore core = letter_core(text);
    if (core.size() < kMinLetters || core.size() > LetterSearch::kMaxLetters) continue;
    std::string upper(text.substr(core.begin, core.size()));
    upper_case(upper);
    const bool first_stays = core.at_front();
    const bool last_stays = core.at_back(text.size());
    const auto [found, added] = by_key.try_emplace(key_of(upper, first_stays, last_stays), unknown.size());
    if (added) unknown.push_back({std::move(upper), first_stays, last_stays, {}});
    unknown[found->second].occurrences.push_back({i, core});
  }

  UnknownWordsResult result;
  LetterSearch search(model);
  for (const UnknownWord& word : unknown) {
    const LetterSearch::Order best = search.best_order(word.letters, word.first_stays, word.last_stays);
    UnknownWordChoice choice;
    choice.model = best.text;
    choice.model_score = best.score;
    choice.occurrences = static_cast<std::int64_t>(word.occurrences.size());
    choice.first_position = word.occurrences.front().index;
    std::optional<Compound> compound;
    if (compounds != nullptr && word.first_stays && word.last_stays) {
      compound = compound_of(word.letters, dictionary, *compounds);
    }
    if (compound) {
      std::string upper = compound->text;
      upper_case(upper);
      choice.compound = upper;
      choice.compound_score = search.score(upper);
      choice.took_compound = choice.compound_score + weighing.margin >= choice.model_score;
    }
    if (choice.took_compound) {
      for (const Occurrence& o : word.occurrences) {
        const std::string text(scrambled.text(o.index));
        const std::string written = capitals_by_shape(choice.compound, text, true, true, {}, &reader);
        if (settle_rearrangement(scrambled, o.index, written, text)) {
          ++result.compounds;
        }
      }
    } else {
      if (compound) result.declined += choice.occurrences;
      result.restored += write_everywhere(scrambled, word, best.text, reader);
    }
    if (choices != nullptr) choices->push_back(std::move(choice));
  }
  return result;
}

}  // namespace quirlex
