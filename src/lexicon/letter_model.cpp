#include "lexicon/letter_model.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <tuple>
#include <utility>

#include "base/failure.h"
#include "lexicon/bigram_model.h"

namespace quirlex {
namespace {

constexpr int kSymbolBits = 5;

std::uint64_t mix_history(std::uint64_t key) {
  key = (key ^ (key >> 31)) * 0x7FB5D329728EA185ULL;
  key = (key ^ (key >> 27)) * 0x81DADEF4BC2DD44DULL;
  return key ^ (key >> 33);
}

std::string upper_copy(std::string_view text) {
  std::string upper(text);
  upper_case(upper);
  return upper;
}

// Sums the weights of equal keys; sorts first.
void merge_grams(std::vector<LetterGram>& grams) {
  std::sort(grams.begin(), grams.end(),
            [](const LetterGram& a, const LetterGram& b) { return a.key < b.key; });
  std::size_t out = 0;
  for (std::size_t i = 0; i < grams.size(); ++i) {
    if (out > 0 && grams[out - 1].key == grams[i].key) {
      grams[out - 1].weight += grams[i].weight;
    } else {
      grams[out++] = grams[i];
    }
  }
  grams.resize(out);
}

}  // namespace

int letter_gram_length(std::uint32_t key, int order) {
  int zeros = 0;
  while (zeros < order && ((key >> (kSymbolBits * (order - 1 - zeros))) & 31u) == 0) ++zeros;
  return zeros >= 2 ? order - zeros + 1 : order;
}

std::uint32_t pack_letter_gram(std::span<const std::uint8_t> symbols, int order) {
  if (symbols.empty() || static_cast<int>(symbols.size()) > order) throw InvalidArgument();
  std::uint32_t key = 0;
  for (const std::uint8_t s : symbols) key = (key << kSymbolBits) | (s & 31u);
  return key;
}

LetterModel LetterModel::count(const LexiconBuilder& builder, std::vector<Spelling> spellings,
                               int order) {
  std::vector<LetterGram> grams;
  std::vector<std::uint8_t> symbols;
  for (std::size_t i = 0; i < builder.word_count(); ++i) {
    const std::string_view word = builder.word(i);
    const auto weight = static_cast<float>(1.0 + std::log(static_cast<double>(builder.count(i))));
    symbols.assign(1, 0);
    for (const char c : word) symbols.push_back(letter_symbol(c));
    symbols.push_back(0);
    // One gram per symbol predicted: the symbols before it back to the word's
    // start, at most order - 1 of them.
    for (std::size_t j = 1; j < symbols.size(); ++j) {
      const std::size_t begin = j + 1 >= static_cast<std::size_t>(order) ? j + 1 - order : 0;
      grams.push_back({pack_letter_gram(std::span(symbols).subspan(begin, j + 1 - begin), order),
                       weight});
    }
    // Merged as they come, so that a large lexicon needs room only for its
    // distinct grams and one batch.
    if (grams.size() > (std::size_t{1} << 24)) merge_grams(grams);
  }
  merge_grams(grams);
  return LetterModel(lexicon_hash(builder), static_cast<std::uint32_t>(builder.word_count()),
                     order, std::move(grams), std::move(spellings));
}

LetterModel::LetterModel(std::uint64_t lexicon_hash, std::uint32_t word_count, int order,
                         std::vector<LetterGram> grams, std::vector<Spelling> spellings)
    : lexicon_hash_(lexicon_hash),
      word_count_(word_count),
      order_(order),
      grams_(std::move(grams)),
      spellings_(std::move(spellings)) {
  if (order < kMinOrder || order > kMaxOrder) throw InvalidArgument();
  merge_grams(grams_);
  std::erase_if(spellings_, [](const Spelling& s) { return s.text.size() > kMaxSpellingLength; });
  // By upper-cased text, the most frequent first.
  std::vector<std::pair<std::string, Spelling>> keyed;
  keyed.reserve(spellings_.size());
  for (Spelling& s : spellings_) {
    std::string upper = upper_copy(s.text);
    keyed.emplace_back(std::move(upper), std::move(s));
  }
  std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    return std::tie(a.first, b.second.count, a.second.text) <
           std::tie(b.first, a.second.count, b.second.text);
  });
  spellings_.clear();
  for (auto& [upper, s] : keyed) {
    spelling_uppers_.push_back(std::move(upper));
    spellings_.push_back(std::move(s));
  }
  build_levels();
}

void LetterModel::build_levels() {
  levels_.assign(static_cast<std::size_t>(order_), Level{});
  // Each gram as read goes to the level of its length, its key holding just
  // its own symbols.
  std::vector<std::vector<std::pair<std::uint32_t, float>>> raw(levels_.size());
  for (const LetterGram& g : grams_) {
    const int length = letter_gram_length(g.key, order_);
    raw[static_cast<std::size_t>(length - 1)].emplace_back(g.key, g.weight);
  }
  for (int l = order_ - 1; l >= 0; --l) {
    auto& entries = raw[static_cast<std::size_t>(l)];
    if (l + 1 < order_) {
      // A gram of a lower level counts the different symbols seen before it
      // (its continuation count); one that begins at a word's start has no
      // symbol before it and keeps its weight.
      const Level& above = levels_[static_cast<std::size_t>(l + 1)];
      const std::uint32_t suffix_mask = (std::uint32_t{1} << (kSymbolBits * (l + 1))) - 1;
      std::vector<std::uint32_t> suffixes;
      suffixes.reserve(above.keys.size());
      for (const std::uint32_t key : above.keys) suffixes.push_back(key & suffix_mask);
      std::sort(suffixes.begin(), suffixes.end());
      for (std::size_t i = 0; i < suffixes.size();) {
        std::size_t j = i;
        while (j < suffixes.size() && suffixes[j] == suffixes[i]) ++j;
        entries.emplace_back(suffixes[i], static_cast<float>(j - i));
        i = j;
      }
    }
    std::sort(entries.begin(), entries.end());
    Level& level = levels_[static_cast<std::size_t>(l)];
    level.keys.reserve(entries.size());
    level.values.reserve(entries.size());
    for (const auto& [key, value] : entries) {
      level.keys.push_back(key);
      level.values.push_back(value);
    }
    entries = {};
    // Nodes: runs of equal history (the key without its last symbol).
    for (std::size_t i = 0; i < level.keys.size();) {
      Node node;
      node.begin = static_cast<std::uint32_t>(i);
      const std::uint32_t history = level.keys[i] >> kSymbolBits;
      for (; i < level.keys.size() && (level.keys[i] >> kSymbolBits) == history; ++i) {
        node.total += level.values[i];
        ++node.followers;
      }
      level.nodes.push_back(node);
    }
    const std::size_t slots = std::bit_ceil(std::max<std::size_t>(level.nodes.size() * 2, 4));
    level.slot_keys.assign(slots, 0);
    level.slot_nodes.assign(slots, 0);
    for (std::size_t n = 0; n < level.nodes.size(); ++n) {
      const std::uint64_t key = std::uint64_t{level.keys[level.nodes[n].begin] >> kSymbolBits} + 1;
      for (std::size_t slot = mix_history(key) & (slots - 1);; slot = (slot + 1) & (slots - 1)) {
        if (level.slot_keys[slot] == 0) {
          level.slot_keys[slot] = key;
          level.slot_nodes[slot] = static_cast<std::uint32_t>(n);
          break;
        }
      }
    }
  }
}

const LetterModel::Node* LetterModel::Level::find(std::uint64_t history) const {
  if (nodes.empty()) return nullptr;
  const std::uint64_t key = history + 1;
  const std::size_t mask = slot_keys.size() - 1;
  for (std::size_t slot = mix_history(key) & mask;; slot = (slot + 1) & mask) {
    if (slot_keys[slot] == key) return &nodes[slot_nodes[slot]];
    if (slot_keys[slot] == 0) return nullptr;
  }
}

void LetterModel::log_probabilities(std::span<const std::uint8_t> history,
                                    std::array<float, kLetterSymbols>& out) const {
  std::array<float, kLetterSymbols> p;
  p.fill(1.0f / kLetterSymbols);
  const std::size_t most = std::min<std::size_t>(history.size(), static_cast<std::size_t>(order_ - 1));
  std::uint64_t packed = 0;
  for (std::size_t l = 0; l <= most && l < levels_.size(); ++l) {
    // The nearest l symbols.
    if (l > 0) {
      packed |= std::uint64_t{history[history.size() - l] & 31u} << (kSymbolBits * (l - 1));
    }
    const Level& level = levels_[l];
    const Node* node = level.find(packed);
    if (node == nullptr || node->total <= 0.0f) continue;
    const float scale = 1.0f / node->total;
    const float lower = kDiscount * static_cast<float>(node->followers) * scale;
    for (float& value : p) value *= lower;
    for (std::uint32_t k = node->begin; k < node->begin + node->followers; ++k) {
      p[level.keys[k] & 31u] += std::max(level.values[k] - kDiscount, 0.0f) * scale;
    }
  }
  for (int s = 0; s < kLetterSymbols; ++s) out[static_cast<std::size_t>(s)] = std::log(p[static_cast<std::size_t>(s)]);
}

std::span<const Spelling> LetterModel::spellings_of(std::string_view upper) const {
  const auto [first, last] =
      std::equal_range(spelling_uppers_.begin(), spelling_uppers_.end(), upper,
                       [](std::string_view a, std::string_view b) { return a < b; });
  return std::span(spellings_).subspan(static_cast<std::size_t>(first - spelling_uppers_.begin()),
                                       static_cast<std::size_t>(last - first));
}

std::size_t LetterModel::memory_bytes() const {
  std::size_t bytes = grams_.capacity() * sizeof(LetterGram);
  for (const Spelling& s : spellings_) bytes += 2 * (sizeof(Spelling) + s.text.capacity());
  for (const Level& level : levels_) {
    bytes += level.keys.capacity() * 4 + level.values.capacity() * 4 +
             level.nodes.capacity() * sizeof(Node) + level.slot_keys.capacity() * 8 +
             level.slot_nodes.capacity() * 4;
  }
  return bytes;
}

}  // namespace quirlex
