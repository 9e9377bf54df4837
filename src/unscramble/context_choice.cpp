#include "unscramble/context_choice.h"

#include <algorithm>
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
                                      int step) const {
  const auto count = static_cast<std::size_t>(restored.size());
  for (std::size_t distance = 1; distance <= kMaxNeighbourDistance; ++distance) {
    const std::size_t at = position + static_cast<std::size_t>(step) * distance;
    if (at >= count) return -1;  // also below 0, wrapped around
    const std::string_view text = restored.text(static_cast<std::int64_t>(at));
    if (!is_word(text)) continue;
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

}  // namespace quirlex
