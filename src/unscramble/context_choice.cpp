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

std::string upper_copy(const std::string& text) {
  std::string upper = text;
  for (char& c : upper) c = upper_char(c);
  return upper;
}

bool is_word(const WordToken& token) {
  return !token.text.empty() && !is_separator_byte(token.text.front());
}

}  // namespace

ContextChoice::ContextChoice(const Dictionary& dictionary, const BigramModel& model)
    : dictionary_(dictionary), model_(model) {
  // Short words have no signature to be looked up by.
  for (const BigramPair& pair : model.pairs()) {
    for (const std::uint32_t index : {pair.first, pair.second}) {
      if (index < model.word_count()) members_.push_back(index);
    }
  }
  const auto signature = [&](std::uint32_t index) {
    return dictionary.words.element(index).signature;
  };
  std::sort(members_.begin(), members_.end(), [&](std::uint32_t a, std::uint32_t b) {
    return signature(a) != signature(b) ? signature(a) < signature(b) : a < b;
  });
  members_.erase(std::unique(members_.begin(), members_.end()), members_.end());
  groups_.set_bucket_count(static_cast<std::uint64_t>(static_cast<double>(members_.size()) * 1.2));
  for (std::size_t k = 0; k < members_.size(); ++k) {
    Group& group = groups_.value_for(signature(members_[k]));
    if (group.size == 0) group.start = static_cast<std::uint32_t>(k);
    ++group.size;
  }
}

std::vector<PendingChoice> ContextChoice::pending(const TokenList& scrambled) const {
  std::vector<PendingChoice> found;
  const std::span<const WordToken> tokens = scrambled.tokens();
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const WordToken& token = tokens[i];
    if (token.separator == 1 || token.text.size() < 4) continue;
    if (groups_.find(token.signature) != nullptr) found.push_back({i, token.text});
  }
  return found;
}

std::int64_t ContextChoice::index_of(const WordToken& token) const {
  const Group* group = groups_.find(token.signature);
  if (group == nullptr) return -1;
  const std::string upper = upper_copy(token.text);
  for (std::uint32_t k = group->start; k < group->start + group->size; ++k) {
    if (dictionary_.words.element(members_[k]).text == upper) return members_[k];
  }
  return -1;
}

std::int64_t ContextChoice::neighbour(const TokenList& restored, std::size_t position,
                                      int step) const {
  const std::span<const WordToken> tokens = restored.tokens();
  for (std::size_t distance = 1; distance <= kMaxNeighbourDistance; ++distance) {
    const std::size_t at = position + static_cast<std::size_t>(step) * distance;
    if (at >= tokens.size()) return -1;  // also below 0, wrapped around
    const WordToken& token = tokens[at];
    if (!is_word(token)) continue;
    if (token.text.size() >= LexiconBuilder::kMinWordLength) return index_of(token);
    switch (model_.rule()) {
      case ShortWords::kSkipped:
        break;
      case ShortWords::kBreakPairs:
        return -1;
      case ShortWords::kCounted:
        return model_.short_word_index(upper_copy(token.text));
    }
  }
  return -1;
}

std::int64_t ContextChoice::choose(TokenList& restored,
                                   const std::vector<PendingChoice>& pending) const {
  std::int64_t changed = 0;
  for (const PendingChoice& word : pending) {
    WordToken& token = restored.element(static_cast<std::int64_t>(word.position));
    // Only what the lexicon table restored: its word is the default choice.
    const WordToken* table_word = dictionary_.lexicon_table.find(token.signature);
    if (token.separator != 1 || table_word == nullptr ||
        upper_copy(token.text) != table_word->text) {
      continue;
    }
    const Group* group = groups_.find(token.signature);
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
    const std::string& table_text = table_word->text;
    std::uint64_t best_score = score(index_of(token));
    std::int64_t best = -1;
    for (std::uint32_t k = group->start; k < group->start + group->size; ++k) {
      const std::uint32_t candidate = members_[k];
      const std::string& text = dictionary_.words.element(candidate).text;
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
    if (settle_like(token, dictionary_.words.element(best).text, word.scrambled)) ++changed;
  }
  return changed;
}

}  // namespace quirlex
