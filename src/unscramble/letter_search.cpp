#include "unscramble/letter_search.h"

#include <algorithm>
#include <unordered_set>

namespace quirlex {
namespace {

constexpr int kLengthShift = 40;
constexpr std::uint64_t kPackedMask = (std::uint64_t{1} << kLengthShift) - 1;

}  // namespace

LetterSearch::LetterSearch(const LetterModel& model, int beam) : model_(model), beam_(beam) {}

LetterSearch::History LetterSearch::start() const {
  // The boundary symbol 0 alone.
  return std::uint64_t{1} << kLengthShift;
}

LetterSearch::History LetterSearch::extend(History history, std::uint8_t symbol) const {
  const auto most = static_cast<std::uint64_t>(model_.order() - 1);
  const std::uint64_t length = std::min(most, (history >> kLengthShift) + 1);
  const std::uint64_t packed =
      (((history & kPackedMask) << 5) | symbol) & ((std::uint64_t{1} << (5 * most)) - 1);
  return (length << kLengthShift) | packed;
}

const std::array<float, kLetterSymbols>& LetterSearch::row(History history) {
  const auto [found, added] = row_of_.try_emplace(history, static_cast<std::uint32_t>(rows_.size()));
  if (added) {
    const auto length = static_cast<std::size_t>(history >> kLengthShift);
    std::array<std::uint8_t, 8> symbols{};
    for (std::size_t k = 0; k < length; ++k) {
      symbols[length - 1 - k] = static_cast<std::uint8_t>((history >> (5 * k)) & 31u);
    }
    rows_.emplace_back();
    model_.log_probabilities(std::span(symbols.data(), length), rows_.back());
  }
  return rows_[found->second];
}

double LetterSearch::score(std::string_view word) {
  double total = 0.0;
  History history = start();
  for (const char c : word) {
    const std::uint8_t symbol = letter_symbol(c);
    total += row(history)[symbol];
    history = extend(history, symbol);
  }
  return total + row(history)[0];
}

LetterSearch::Order LetterSearch::best_order(std::string_view word, bool first_stays,
                                             bool last_stays) {
  if (word.size() > kMaxLetters || word.empty()) return {std::string(word), score(word)};
  if (word.size() == 1) first_stays = last_stays = true;
  const std::size_t from = first_stays ? 1 : 0;
  const std::size_t to = last_stays ? word.size() - 1 : word.size();
  // The bytes that move, sorted by their upper-cased value so that equal
  // letters stand together: of equal letters only the first unused one is
  // placed next, so every order is made once.
  std::vector<char> pool(word.begin() + static_cast<std::ptrdiff_t>(from),
                         word.begin() + static_cast<std::ptrdiff_t>(to));
  std::sort(pool.begin(), pool.end(),
            [](char a, char b) { return upper_char(a) < upper_char(b) || (upper_char(a) == upper_char(b) && a < b); });

  // Orders as chains of placed bytes: each state names its last link.
  struct Link {
    std::int32_t before;
    char byte;
  };
  std::vector<Link> links;
  struct State {
    double score;
    std::uint64_t used;
    History history;
    std::int32_t link;
  };
  State first{0.0, 0, start(), -1};
  if (first_stays) {
    const std::uint8_t symbol = letter_symbol(word.front());
    first.score = row(first.history)[symbol];
    first.history = extend(first.history, symbol);
  }
  std::vector<State> states{first};
  std::vector<State> next;
  for (std::size_t step = 0; step < pool.size(); ++step) {
    next.clear();
    for (const State& state : states) {
      const std::array<float, kLetterSymbols>& probabilities = row(state.history);
      for (std::size_t k = 0; k < pool.size(); ++k) {
        if ((state.used >> k & 1u) != 0) continue;
        // Only the first unused one of equal bytes.
        if (k > 0 && pool[k - 1] == pool[k] && (state.used >> (k - 1) & 1u) == 0) continue;
        const std::uint8_t symbol = letter_symbol(pool[k]);
        links.push_back({state.link, pool[k]});
        next.push_back({state.score + probabilities[symbol], state.used | (std::uint64_t{1} << k),
                        extend(state.history, symbol), static_cast<std::int32_t>(links.size() - 1)});
      }
    }
    std::sort(next.begin(), next.end(), [](const State& a, const State& b) { return a.score > b.score; });
    // Two states that used the same bytes and end alike have the same
    // future: the better one stays.
    states.clear();
    std::unordered_set<std::uint64_t> seen;
    for (const State& state : next) {
      if (static_cast<int>(states.size()) == beam_) break;
      if (!seen.insert(state.used * 0x9E3779B97F4A7C15ULL ^ state.history).second) continue;
      states.push_back(state);
    }
  }
  // The last byte where it stays, then the word's end.
  const State* best = nullptr;
  double best_score = 0.0;
  for (State& state : states) {
    if (last_stays) {
      const std::uint8_t symbol = letter_symbol(word.back());
      state.score += row(state.history)[symbol];
      state.history = extend(state.history, symbol);
    }
    state.score += row(state.history)[0];
    if (best == nullptr || state.score > best_score) {
      best = &state;
      best_score = state.score;
    }
  }
  Order order;
  order.score = best_score;
  order.text.resize(word.size());
  std::size_t at = to;
  for (std::int32_t link = best->link; link >= 0; link = links[static_cast<std::size_t>(link)].before) {
    order.text[--at] = links[static_cast<std::size_t>(link)].byte;
  }
  if (first_stays) order.text.front() = word.front();
  if (last_stays) order.text.back() = word.back();
  return order;
}

}  // namespace quirlex
