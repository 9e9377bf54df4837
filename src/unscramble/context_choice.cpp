#include "unscramble/context_choice.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "lexicon/lexicon_builder.h"
#include "text/case_map.h"
#include "text/tokenizer.h"
#include "unscramble/unscrambler.h"

namespace quirlex {
namespace {

// A neighbour further than this many tokens away is no context; the bound
// also keeps a text of endless short words from being scanned again and again.
constexpr std::size_t kMaxNeighbourDistance = 64;

std::string upper_copy(std::string_view text) {
  std::string upper(text);
  upper_case(upper);
  return upper;
}

bool is_word(std::string_view text) {
  return !text.empty() && !is_separator_byte(text.front());
}

}  // namespace

ContextChoice::ContextChoice(const Dictionary& dictionary, const BigramModel& model)
    : dictionary_(dictionary), model_(model) {
  // Short words have no signature to be looked up by.
  std::vector<std::uint32_t> indices;
  for (const BigramPair& pair : model.pairs()) {
    for (const std::uint32_t index : {pair.first, pair.second}) {
      if (index < model.word_count()) indices.push_back(index);
    }
  }
  std::sort(indices.begin(), indices.end());
  indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
  // Each signature computed once, then grouped.
  std::vector<std::pair<double, std::uint32_t>> keyed;
  keyed.reserve(indices.size());
  for (const std::uint32_t index : indices) keyed.emplace_back(dictionary.words.signature(index), index);
  std::sort(keyed.begin(), keyed.end());
  members_.reserve(keyed.size());
  for (const auto& [signature, index] : keyed) members_.push_back(index);
  std::vector<std::uint64_t> before(model.word_count() + model.short_words().size(), 0);
  seen_.assign(before.size(), 0);
  for (const BigramPair& pair : model.pairs()) {
    if (pair.first < seen_.size()) seen_[pair.first] += pair.count;
    if (pair.second < before.size()) before[pair.second] += pair.count;
  }
  for (std::size_t i = 0; i < seen_.size(); ++i) {
    seen_[i] = std::max(seen_[i], before[i]);
    seen_total_ += static_cast<double>(seen_[i]);
  }
  groups_.size_for(members_.size());
  for (std::size_t k = 0; k < members_.size(); ++k) {
    Group& group = groups_.value_for(keyed[k].first);
    if (group.size == 0) group.start = static_cast<std::uint32_t>(k);
    ++group.size;
  }
}

std::vector<PendingChoice> ContextChoice::pending(const TokenList& scrambled) const {
  std::vector<PendingChoice> found;
  for (std::int32_t i = 0; i < scrambled.size(); ++i) {
    const std::string_view text = scrambled.text(i);
    if (scrambled.separator(i) == 1 || text.size() < 4) continue;
    if (groups_.find(scrambled.signature(i)) != nullptr) {
      found.push_back({static_cast<std::size_t>(i), std::string(text)});
    }
  }
  return found;
}

std::int64_t ContextChoice::index_of(const TokenList& restored, std::size_t position) const {
  const auto at = static_cast<std::int64_t>(position);
  const Group* group = groups_.find(restored.signature(at));
  if (group == nullptr) return -1;
  const std::string upper = upper_copy(restored.text(at));
  for (std::uint32_t k = group->start; k < group->start + group->size; ++k) {
    if (dictionary_.words.text(members_[k]) == upper) return members_[k];
  }
  return -1;
}

std::int64_t ContextChoice::neighbour(const TokenList& restored, std::size_t position,
                                      int step, std::size_t* where) const {
  const auto count = static_cast<std::size_t>(restored.size());
  for (std::size_t distance = 1; distance <= kMaxNeighbourDistance; ++distance) {
    const std::size_t at = position + static_cast<std::size_t>(step) * distance;
    if (at >= count) return -1;  // also below 0, wrapped around
    const std::string_view text = restored.text(static_cast<std::int64_t>(at));
    if (!is_word(text)) continue;
    if (where != nullptr) *where = at;
    if (text.size() >= LexiconBuilder::kMinWordLength) return index_of(restored, at);
    switch (model_.rule()) {
      case ShortWords::kSkipped:
        break;
      case ShortWords::kBreakPairs:
        return -1;
      case ShortWords::kCounted:
        return model_.short_word_index(upper_copy(text));
    }
  }
  return -1;
}

std::int64_t ContextChoice::choose(TokenList& restored,
                                   const std::vector<PendingChoice>& pending) const {
  std::int64_t changed = 0;
  for (const PendingChoice& word : pending) {
    const auto at = static_cast<std::int64_t>(word.position);
    const double signature = restored.signature(at);
    // Only what the lexicon table restored: its word is the default choice.
    const WordToken* table_word = dictionary_.lexicon_table.find(signature);
    if (restored.separator(at) != 1 || table_word == nullptr ||
        upper_copy(restored.text(at)) != dictionary_.words.text(*table_word)) {
      continue;
    }
    const Group* group = groups_.find(signature);
    if (group == nullptr) continue;
    const std::int64_t before = neighbour(restored, word.position, -1);
    const std::int64_t after = neighbour(restored, word.position, +1);
    if (before < 0 && after < 0) continue;
    const auto score = [&](std::int64_t index) -> std::uint64_t {
      if (index < 0) return 0;
      const auto i = static_cast<std::uint32_t>(index);
      return (before >= 0 ? model_.count(static_cast<std::uint32_t>(before), i) : 0) +
             (after >= 0 ? model_.count(i, static_cast<std::uint32_t>(after)) : 0);
    };
    const std::string_view table_text = dictionary_.words.text(*table_word);
    std::uint64_t best_score = score(index_of(restored, word.position));
    std::int64_t best = -1;
    for (std::uint32_t k = group->start; k < group->start + group->size; ++k) {
      const std::uint32_t candidate = members_[k];
      const std::string_view text = dictionary_.words.text(candidate);
      if (text == table_text || text.size() != table_text.size() ||
          text.front() != table_text.front() || text.back() != table_text.back()) {
        continue;
      }
      // An equal score keeps the table's word; between other candidates the
      // later one wins (members are in ascending index order: in a lexicon in
      // frequency order, the more frequent).
      const std::uint64_t s = score(candidate);
      if (s > best_score || (s == best_score && best >= 0)) {
        best_score = s;
        best = candidate;
      }
    }
    if (best < 0) continue;
    if (settle_like(restored, at, dictionary_.words.text(best), word.scrambled)) ++changed;
  }
  return changed;
}

std::vector<std::uint32_t> ContextChoice::ties_of(const TokenList& restored,
                                                  std::size_t position) const {
  const auto at = static_cast<std::int64_t>(position);
  const double signature = restored.signature(at);
  const WordToken* table_word = dictionary_.lexicon_table.find(signature);
  if (restored.separator(at) != 1 || table_word == nullptr ||
      upper_copy(restored.text(at)) != dictionary_.words.text(*table_word)) {
    return {};
  }
  const Group* group = groups_.find(signature);
  const std::int64_t own = index_of(restored, position);
  if (group == nullptr || own < 0) return {};
  const std::string_view table_text = dictionary_.words.text(*table_word);
  std::vector<std::uint32_t> ties{static_cast<std::uint32_t>(own)};
  for (std::uint32_t k = group->start; k < group->start + group->size; ++k) {
    const std::string_view text = dictionary_.words.text(members_[k]);
    if (members_[k] != own && text.size() == table_text.size() &&
        text.front() == table_text.front() && text.back() == table_text.back()) {
      ties.push_back(members_[k]);
    }
  }
  if (ties.size() == 1) ties.clear();
  return ties;
}

double ContextChoice::follows(std::int64_t first, std::int64_t second) const {
  // The share of all words that `second` is, for a word without a word
  // before it and for a pair the model lacks.
  constexpr double kUnseenWeight = 100.0;
  const auto seen = [this](std::int64_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < seen_.size()
               ? static_cast<double>(seen_[static_cast<std::size_t>(index)])
               : 0.0;
  };
  const double share = (seen(second) + 1.0) / (seen_total_ + 1.0);
  if (second < 0) return 0.0;
  if (first < 0) return std::log(share);
  const double pair = static_cast<double>(
      model_.count(static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(second)));
  return std::log((pair + kUnseenWeight * share) / (seen(first) + kUnseenWeight));
}

std::int64_t ContextChoice::choose_by_both_neighbours(
    TokenList& restored, const std::vector<PendingChoice>& pending) const {
  struct Item {
    const PendingChoice* word;
    std::vector<std::uint32_t> ties;
    std::int64_t before = -1;  // the fixed word before it, when it is not the item before
    std::int64_t after = -1;
    bool follows_previous = false;  // the item before is its neighbour
  };
  std::vector<Item> items;
  std::size_t previous_position = SIZE_MAX;
  for (const PendingChoice& word : pending) {
    std::vector<std::uint32_t> ties = ties_of(restored, word.position);
    if (ties.empty()) continue;
    Item item{&word, std::move(ties)};
    std::size_t left_at = SIZE_MAX;
    item.before = neighbour(restored, word.position, -1, &left_at);
    item.follows_previous = !items.empty() && left_at == previous_position;
    item.after = neighbour(restored, word.position, +1);
    items.push_back(std::move(item));
    previous_position = word.position;
  }
  std::int64_t changed = 0;
  // Each run of items that neighbour each other, by the best chain (Viterbi).
  for (std::size_t begin = 0; begin < items.size();) {
    std::size_t end = begin + 1;
    while (end < items.size() && items[end].follows_previous) ++end;
    std::vector<std::vector<double>> best(end - begin);
    std::vector<std::vector<std::size_t>> from(end - begin);
    for (std::size_t i = begin; i < end; ++i) {
      const Item& item = items[i];
      const std::size_t r = i - begin;
      best[r].assign(item.ties.size(), 0.0);
      from[r].assign(item.ties.size(), 0);
      for (std::size_t t = 0; t < item.ties.size(); ++t) {
        const std::int64_t word = item.ties[t];
        double score;
        if (r == 0) {
          score = follows(item.before, word);
        } else {
          score = -HUGE_VAL;
          const Item& prior = items[i - 1];
          for (std::size_t p = 0; p < prior.ties.size(); ++p) {
            const double s = best[r - 1][p] + follows(prior.ties[p], word);
            if (s > score) {
              score = s;
              from[r][t] = p;
            }
          }
        }
        best[r][t] = score;
      }
    }
    // The last item's word before the fixed word after it.
    const Item& last = items[end - 1];
    std::vector<double>& final_scores = best.back();
    for (std::size_t t = 0; t < last.ties.size(); ++t) final_scores[t] += follows(last.ties[t], last.after);
    // An equal score keeps the table's word (each item's first tie).
    std::size_t pick = 0;
    for (std::size_t t = 1; t < final_scores.size(); ++t) {
      if (final_scores[t] > final_scores[pick]) pick = t;
    }
    for (std::size_t i = end; i-- > begin;) {
      const Item& item = items[i];
      if (pick != 0 &&
          settle_like(restored, static_cast<std::int64_t>(item.word->position),
                      dictionary_.words.text(item.ties[pick]), item.word->scrambled)) {
        ++changed;
      }
      pick = from[i - begin][pick];
    }
    begin = end;
  }
  return changed;
}

}  // namespace quirlex
