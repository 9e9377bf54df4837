#include "index/deep_word_list.h"

#include <vector>

#include "base/helper_thread.h"
#include "base/limits.h"
#include "index/parallel_fill.h"
#include "text/signature.h"

namespace quirlex {
namespace {

// What a member's signature needs of one of its parts.
struct PartStats {
  std::int64_t letter_sum = 0;
  std::size_t length = 0;
  double first_term = 0.0;
  double last_term = 0.0;
};

PartStats stats_of(std::string_view text) {
  PartStats stats;
  stats.length = text.size();
  if (text.empty()) return stats;
  for (const char c : text) {
    stats.letter_sum += signature_tables::kLetterTerm[static_cast<std::uint8_t>(c)];
  }
  stats.first_term = first_letter_term(text.front());
  stats.last_term = last_letter_term(text.back());
  return stats;
}

// One prefix-suffix combination (either may be absent), with everything its
// members share: the letter sum and length of the affixes, the letter terms
// the affixes fix (a prefix fixes the first letter, a suffix the last), and
// the code's prefix and suffix fields. A member then costs a few additions.
struct AffixPair {
  int prefix = -1;
  int suffix = -1;
  std::int64_t letter_sum = 0;
  std::size_t length = 0;
  bool fixes_first = false;
  bool fixes_last = false;
  double first_term = 0.0;
  double last_term = 0.0;
  VariantCode code = 0;
};

// The pairs in generation order: prefix -1 to P - 1, within it suffix -1 to S - 1.
std::vector<AffixPair> affix_pairs(const TokenList& prefixes, const TokenList& suffixes,
                                   const VariantLayout& layout) {
  std::vector<AffixPair> pairs;
  for (int p = -1; p < prefixes.size(); ++p) {
    const PartStats prefix = p < 0 ? PartStats{} : stats_of(prefixes.text(p));
    for (int s = -1; s < suffixes.size(); ++s) {
      const PartStats suffix = s < 0 ? PartStats{} : stats_of(suffixes.text(s));
      AffixPair pair;
      pair.prefix = p;
      pair.suffix = s;
      pair.letter_sum = prefix.letter_sum + suffix.letter_sum;
      pair.length = prefix.length + suffix.length;
      pair.fixes_first = prefix.length != 0;
      pair.fixes_last = suffix.length != 0;
      pair.first_term = prefix.first_term;
      pair.last_term = suffix.last_term;
      pair.code = layout.pack(p, s, 0);
      pairs.push_back(pair);
    }
  }
  return pairs;
}

// A member whose letter sum could exceed 2^53: its signature is computed from
// its text, so the sum rounds exactly as it would when added byte by byte.
double signature_from_text(const TokenList& prefixes, const TokenList& words,
                           const TokenList& suffixes, int prefix, std::int32_t word, int suffix) {
  std::string text;
  if (prefix >= 0) text += prefixes.text(prefix);
  text += words.text(word);
  if (suffix >= 0) text += suffixes.text(suffix);
  return signature_of(text);
}

// From this many members on, the two halves of the variant table are filled
// at once: below it a second thread costs more than it saves.
constexpr std::int64_t kTwoThreadsFrom = std::int64_t{1} << 20;

}  // namespace

DeepSearchOutcome deep_word_list_check(std::int64_t prefixes, std::int64_t suffixes,
                                       std::int64_t words, const VariantLayout& layout) {
  // Three list sizes can multiply past 64 bits; such a product is too many
  // all the same.
  std::int64_t members = 0;
  const bool overflow = __builtin_mul_overflow(prefixes + 1, suffixes + 1, &members) ||
                        __builtin_mul_overflow(members, words, &members);
  if (overflow || members > kCountLimit) return DeepSearchOutcome::kTooManyMembers;
  if (!layout.fits_words(words)) return DeepSearchOutcome::kWordsDoNotFit;
  return DeepSearchOutcome::kBuilt;
}

bool build_deep_word_list(Dictionary& dictionary, const PercentageCallback& on_percentage,
                          std::stop_token stop) {
  const TokenList& prefixes = dictionary.prefixes;
  const TokenList& words = dictionary.words;
  const TokenList& suffixes = dictionary.suffixes;
  const VariantLayout& layout = dictionary.layout;
  SignatureTable<VariantCode>& table = dictionary.variant_table;

  const std::int32_t word_count = words.size();
  const std::int32_t prefix_count = prefixes.size();
  const std::int32_t suffix_count = suffixes.size();
  const std::int64_t members = std::int64_t{prefix_count + 1} * (suffix_count + 1) * word_count;
  table.make_empty();
  table.size_for(static_cast<std::uint64_t>(members));

  const std::vector<AffixPair> pairs = affix_pairs(prefixes, suffixes, layout);
  const VariantCode word_mask =
      layout.word_bits >= 32 ? ~VariantCode{0} : (VariantCode{1} << layout.word_bits) - 1;

  // Every member in generation order, to `store`; the first part reports
  // the percentage. Both parts go through all members (making one costs a
  // few additions; storing it, a miss in a table far larger than any cache).
  const auto generate = [&](const auto& store, int part) {
    int shown = -1;
    for (std::int32_t w = 0; w < word_count; ++w) {
      const int percentage = static_cast<int>(std::int64_t{100} * w / word_count);
      if (part == 0 && percentage != shown) {
        shown = percentage;
        on_percentage(percentage);
      }
      if ((w & 1023) == 0 && stop.stop_requested()) return false;
      const PartStats word = stats_of(words.text(w));
      const VariantCode word_field = static_cast<VariantCode>(w) & word_mask;
      for (const AffixPair& pair : pairs) {
        const std::size_t length = pair.length + word.length;
        if (length < 2) continue;
        double signature;
        if (length <= kExactLetterSumLength && word.length != 0) {
          const double first_term = pair.fixes_first ? pair.first_term : word.first_term;
          const double last_term = pair.fixes_last ? pair.last_term : word.last_term;
          const auto sum = static_cast<double>(pair.letter_sum + word.letter_sum);
          signature = signature_from_terms(sum, first_term, last_term, length);
        } else {
          signature = signature_from_text(prefixes, words, suffixes, pair.prefix, w, pair.suffix);
        }
        store(signature, pair.code | word_field);
      }
    }
    return true;
  };
  const int parts = members >= kTwoThreadsFrom && second_thread_helps() ? 2 : 1;
  if (!store_all(table, parts, generate)) {
    table.make_empty();
    return false;
  }
  dictionary.variant_sizes = dictionary.list_sizes();
  return true;
}

}  // namespace quirlex
