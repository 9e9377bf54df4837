#include "unscramble/compound_search.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "text/case_map.h"
#include "text/signature.h"
#include "unscramble/unscrambler.h"

namespace quirlex {
namespace {

// How many of each upper-cased byte a scrambled word has left to give.
class LetterCounts {
 public:
  explicit LetterCounts(std::string_view word) {
    for (const char c : word) ++counts_[upper_byte(static_cast<std::uint8_t>(c))];
  }

  // Takes the letters of `part` (already upper-cased); false, with nothing
  // taken, when some letter is not there often enough.
  bool take(std::string_view part) {
    for (std::size_t k = 0; k < part.size(); ++k) {
      if (--counts_[static_cast<std::uint8_t>(part[k])] < 0) {
        give_back(part.substr(0, k + 1));
        return false;
      }
    }
    return true;
  }
  void give_back(std::string_view part) {
    for (const char c : part) ++counts_[static_cast<std::uint8_t>(c)];
  }
  bool has(char upper) const { return counts_[static_cast<std::uint8_t>(upper)] > 0; }

 private:
  std::array<int, 256> counts_{};
};

std::string upper_copy(std::string_view text) {
  std::string upper(text);
  upper_case(upper);
  return upper;
}

struct Pair {
  std::int64_t first = -1;
  std::int64_t second = -1;
  bool linked = false;
  std::int64_t rank() const { return std::min(first, second); }
};

// The best pair for `word`, or one with first == -1.
Pair find_pair(std::string_view word, const Dictionary& dictionary, const CompoundIndex& index) {
  const std::size_t n = word.size();
  const auto first_byte = upper_byte(static_cast<std::uint8_t>(word.front()));
  const auto last_byte = upper_byte(static_cast<std::uint8_t>(word.back()));
  std::uint32_t mask = 0;
  for (const char c : word) mask |= signature_tables::kLetterBit[static_cast<std::uint8_t>(c)];
  const std::uint64_t word_key = CompoundIndex::letters_key(word);
  LetterCounts counts(word);
  Pair best;

  // The second part of `length` bytes that takes exactly what is left.
  const auto second_part = [&](std::uint64_t key, std::size_t length) -> std::int64_t {
    const std::int64_t found = index.find_second_part(key, length, last_byte);
    if (found < 0) return -1;
    const std::string upper = upper_copy(dictionary.words.text(found));
    if (upper.size() != length || static_cast<std::uint8_t>(upper.back()) != last_byte) return -1;
    if (!counts.take(upper)) return -1;
    counts.give_back(upper);
    return found;
  };

  index.for_each_first_part(
      first_byte, n - CompoundIndex::kMinPartLength, mask,
      [&](std::uint32_t first, std::string_view letters) {
        // Words come from the highest index down: none after this one in its
        // run can make a pair whose rarer part ranks above the best.
        if (static_cast<std::int64_t>(first) <= best.rank()) return false;
        if (!counts.take(letters)) return true;
        if (!counts.has(static_cast<char>(last_byte))) {
          counts.give_back(letters);
          return true;
        }
        const std::uint64_t rest = word_key - CompoundIndex::letters_key(letters);
        const std::size_t rest_length = n - letters.size();
        const auto consider = [&](std::int64_t second, bool linked) {
          const Pair pair{first, second, linked};
          if (second >= 0 && pair.rank() > best.rank()) best = pair;
        };
        consider(second_part(rest, rest_length), false);
        if (counts.has('S') && counts.take("S")) {
          consider(second_part(rest - CompoundIndex::letter_key('S'), rest_length - 1), true);
          counts.give_back("S");
        }
        counts.give_back(letters);
        return true;
      });
  return best;
}

}  // namespace

std::optional<Compound> compound_of(std::string_view word, const Dictionary& dictionary,
                                    const CompoundIndex& index) {
  if (word.size() < kMinCompoundLength) return std::nullopt;
  const Pair pair = find_pair(word, dictionary, index);
  if (pair.first < 0) return std::nullopt;
  Compound compound;
  compound.text = dictionary.words.text(pair.first);
  if (pair.linked) compound.text += 'S';
  compound.second_start = compound.text.size();
  compound.text += dictionary.words.text(pair.second);
  compound.first = pair.first;
  compound.second = pair.second;
  return compound;
}

std::int64_t restore_compounds(TokenList& scrambled, const Dictionary& dictionary,
                               const CompoundIndex& index) {
  std::int64_t restored = 0;
  for (std::int32_t i = 0; i < scrambled.size(); ++i) {
    const std::string_view word = scrambled.text(i);
    if (scrambled.separator(i) == 1) continue;
    const std::optional<Compound> compound = compound_of(word, dictionary, index);
    if (compound && settle_like(scrambled, i, compound->text, word)) ++restored;
  }
  return restored;
}

}  // namespace quirlex
