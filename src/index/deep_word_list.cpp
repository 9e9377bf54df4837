#include "index/deep_word_list.h"

#include <array>
#include <vector>

#include "text/format.h"
#include "text/signature.h"

namespace quirlex {
namespace {

// What a member's signature needs of one of its parts.
struct PartStats {
  std::int64_t letter_sum = 0;
  std::size_t length = 0;
  char first = 0;
  char last = 0;
};

PartStats stats_of(const std::string& text) {
  PartStats stats;
  stats.length = text.size();
  if (text.empty()) return stats;
  for (const char c : text)
    stats.letter_sum += signature_tables::kLetterTerm[static_cast<std::uint8_t>(c)];
  stats.first = text.front();
  stats.last = text.back();
  return stats;
}

std::vector<PartStats> stats_of_all(const TokenList& list) {
  std::vector<PartStats> stats;
  stats.reserve(static_cast<std::size_t>(list.size()));
  for (const WordToken& token : list) stats.push_back(stats_of(token.text));
  return stats;
}

// A member whose letter sum could exceed 2^53: its signature is computed from
// its text, so the sum rounds exactly as it would when added byte by byte.
double signature_from_text(const TokenList& prefixes, const TokenList& words,
                           const TokenList& suffixes, int prefix, std::int32_t word, int suffix) {
  std::string text;
  if (prefix >= 0) text += prefixes.element(prefix).text;
  text += words.element(word).text;
  if (suffix >= 0) text += suffixes.element(suffix).text;
  return signature_of(text);
}

struct Member {
  double signature;
  VariantCode code;
};

// Stores members in generation order, each a fixed number of members after
// its slot was requested from memory: the table is far larger than any cache,
// and so the loads of many members overlap instead of waiting one by one.
class PipelinedStore {
 public:
  explicit PipelinedStore(SignatureTable<VariantCode>& table) : table_(table) {}

  void add(const Member& member) {
    table_.prefetch(member.signature);
    if (count_ == kDistance) {
      const Member& oldest = window_[head_];
      table_.value_for(oldest.signature) = oldest.code;
    } else {
      ++count_;
    }
    window_[head_] = member;
    head_ = (head_ + 1) % kDistance;
  }

  // Stores every member still in flight, oldest first.
  void flush() {
    std::size_t index = (head_ + kDistance - count_) % kDistance;
    for (; count_ > 0; --count_) {
      table_.value_for(window_[index].signature) = window_[index].code;
      index = (index + 1) % kDistance;
    }
    head_ = 0;
  }

 private:
  static constexpr std::size_t kDistance = 16;
  SignatureTable<VariantCode>& table_;
  std::array<Member, kDistance> window_{};
  std::size_t head_ = 0;
  std::size_t count_ = 0;
};

}  // namespace

std::string deep_word_list_refusal(std::int64_t prefixes, std::int64_t suffixes, std::int64_t words,
                                   const VariantLayout& layout) {
  // Three list sizes can multiply past 64 bits; such a product is too many
  // all the same and is named by its factors.
  std::int64_t members = 0;
  const bool overflow = __builtin_mul_overflow(prefixes + 1, suffixes + 1, &members) ||
                        __builtin_mul_overflow(members, words, &members);
  if (overflow || members > kMaxDeepMembers) {
    const std::string count = overflow
                                  ? std::to_string(prefixes + 1) + " x " +
                                        std::to_string(suffixes + 1) + " x " + std::to_string(words)
                                  : std::to_string(members);
    return "Deep Search refused: " + std::to_string(words) + " words with " +
           std::to_string(prefixes) + " prefixes and " + std::to_string(suffixes) +
           " suffixes make " + count +
           " variants, more than the 2147483647 that can be indexed. Shorter prefix or suffix "
           "lists make it possible.\r\n";
  }
  if (!layout.fits_words(words)) {
    return "Deep Search refused: " + std::to_string(words) + " words do not fit the " +
           std::to_string(layout.word_bits) + " bits a variant code keeps for the word beside " +
           std::to_string(prefixes) + " prefixes and " + std::to_string(suffixes) +
           " suffixes. Shorter prefix or suffix lists make it possible.\r\n";
  }
  return {};
}

void build_deep_word_list(Dictionary& dictionary, const PercentageCallback& on_percentage) {
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
  table.set_bucket_count(static_cast<std::uint64_t>(static_cast<double>(members) * 1.2));

  const std::vector<PartStats> prefix_stats = stats_of_all(prefixes);
  const std::vector<PartStats> suffix_stats = stats_of_all(suffixes);
  const PartStats none;

  PipelinedStore store(table);

  int shown = -1;
  for (std::int32_t w = 0; w < word_count; ++w) {
    const int percentage = static_cast<int>(std::int64_t{100} * w / word_count);
    if (percentage != shown) {
      shown = percentage;
      on_percentage(percentage);
    }
    const PartStats word = stats_of(words.element(w).text);
    for (int p = -1; p < prefix_count; ++p) {
      const PartStats& prefix = p < 0 ? none : prefix_stats[static_cast<std::size_t>(p)];
      for (int s = -1; s < suffix_count; ++s) {
        const PartStats& suffix = s < 0 ? none : suffix_stats[static_cast<std::size_t>(s)];
        const std::size_t length = prefix.length + word.length + suffix.length;
        if (length < 2) continue;
        double signature;
        if (length <= kExactLetterSumLength) {
          const char first = prefix.length != 0 ? prefix.first
                             : word.length != 0 ? word.first
                                                : suffix.first;
          const char last = suffix.length != 0 ? suffix.last
                            : word.length != 0 ? word.last
                                               : prefix.last;
          const double sum =
              static_cast<double>(prefix.letter_sum + word.letter_sum + suffix.letter_sum);
          signature = signature_from_letter_sum(sum, first, last, length);
        } else {
          signature = signature_from_text(prefixes, words, suffixes, p, w, s);
        }
        store.add({signature, layout.pack(p, s, w)});
      }
    }
  }
  store.flush();
}

}  // namespace quirlex
