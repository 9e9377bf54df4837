#include "unscramble/unscrambler.h"

#include <array>
#include <cstdint>
#include <utility>

#include "base/helper_thread.h"
#include "text/case_map.h"
#include "text/letters.h"
#include "text/signature.h"
#include "unscramble/reader_words.h"

namespace quirlex {
namespace {

// From this many tokens on, a text is restored in two halves at once.
constexpr std::int32_t kTwoThreadsFrom = 1 << 17;

// A byte of the scrambled word counts as lower-case when, read as a signed
// 8-bit number, it is 'a' (0x61) or more.
bool counts_as_lower(char c) {
  return static_cast<std::int8_t>(c) >= 0x61;
}

// Only a to z change when a single position is made upper-case.
char ascii_upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c;
}

bool same_ends(std::string_view candidate, std::string_view scrambled) {
  return candidate.front() == scrambled.front() && candidate.back() == scrambled.back();
}

// A candidate's byte at a position, lower-cased and then given the capital
// the scrambled word has there.
char capital_like(char candidate, char scrambled) {
  const char lower = lower_char(candidate);
  return counts_as_lower(scrambled) ? lower : ascii_upper(lower);
}

// Writes `candidate` into `out` with the capitals of `scrambled`; past the
// scrambled word's end it is only lower-cased.
void capitalise_into(std::string& out, std::string_view candidate, std::string_view scrambled) {
  out.resize(candidate.size());
  for (std::size_t k = 0; k < candidate.size(); ++k) {
    out[k] = k < scrambled.size() ? capital_like(candidate[k], scrambled[k])
                                  : lower_char(candidate[k]);
  }
}

// Writes `candidate` over token `i` and settles it, when it has the
// scrambled word's length, first and last byte and is a rearrangement of
// its letters (a signature can be shared by words of other letters).
bool settle_if_it_fits(TokenList& list, std::int64_t i, std::string_view candidate,
                       std::string_view scrambled) {
  if (candidate.size() != scrambled.size() || !same_ends(candidate, scrambled) ||
      !same_letters(candidate, scrambled)) {
    return false;
  }
  list.overwrite(i, candidate);
  list.set_separator(i, 1);
  return true;
}

// Restores the words of one stretch of a text, with a candidate buffer of
// its own (so two stretches can be restored at once).
class Restorer {
 public:
  Restorer(TokenList& list, const Dictionary& dictionary, bool deep_search,
           const ReaderWords* reader)
      : list_(list), dictionary_(dictionary), deep_search_(deep_search), reader_(reader) {}

  void restore(std::int32_t begin, std::int32_t end) {
    // The tables are far larger than any cache, so a word's look-ups are
    // started well before its turn, in two steps that overlap with the work
    // on the words before it: kAhead tokens ahead its signature is made and
    // its lexicon table slot requested; kAhead / 2 tokens ahead the lexicon
    // table is read and the bytes of its word requested, and only a word it
    // cannot restore has its variant table slot requested (most words of a
    // text are lexicon words).
    constexpr std::int32_t kAhead = 16;
    struct Ahead {
      double signature = 0.0;
      const WordToken* entry = nullptr;
    };
    std::array<Ahead, kAhead> ahead{};
    const auto at = [&ahead](std::int32_t i) -> Ahead& {
      return ahead[static_cast<std::size_t>(i % kAhead)];
    };
    const auto is_looked_up = [this](std::int32_t i) {
      return list_.separator(i) == 0 && list_.text(i).size() > 3;
    };
    const auto request = [&](std::int32_t i) {
      if (!is_looked_up(i)) return;
      const double signature = list_.signature(i);
      dictionary_.lexicon_table.prefetch(signature);
      at(i) = {signature, nullptr};
    };
    const auto read_lexicon = [&](std::int32_t i) {
      if (!is_looked_up(i)) return;
      Ahead& word = at(i);
      word.entry = dictionary_.lexicon_table.find(word.signature);
      if (word.entry != nullptr && word.entry->length == list_.text(i).size()) {
        __builtin_prefetch(dictionary_.words.join().data() + word.entry->offset);
      } else if (deep_search_) {
        dictionary_.variant_table.prefetch(word.signature);
      }
    };
    for (std::int32_t i = begin; i < end && i < begin + kAhead; ++i) request(i);
    for (std::int32_t i = begin; i < end && i < begin + kAhead / 2; ++i) read_lexicon(i);
    for (std::int32_t i = begin; i < end; ++i) {
      // Taken before the word kAhead tokens on takes its place.
      const Ahead word = at(i);
      if (i + kAhead < end) request(i + kAhead);
      if (i + kAhead / 2 < end) read_lexicon(i + kAhead / 2);
      const std::string_view scrambled = list_.text(i);
      if (scrambled.size() <= 3) list_.set_separator(i, 1);
      if (list_.separator(i) == 1) continue;
      if (reader_ != nullptr && !is_plain_word(scrambled)) {
        switch (restore_as_reader(list_, i, dictionary_, *reader_, deep_search_, candidate_)) {
          case RestoredFrom::kLexicon: ++restored_.lexicon; break;
          case RestoredFrom::kVariants: ++restored_.variants; break;
          case RestoredFrom::kNothing: break;
        }
        continue;
      }
      if (try_lexicon(i, scrambled, word.entry)) {
        ++restored_.lexicon;
        continue;
      }
      // The table's word was no rearrangement: another word of those
      // letters may be.
      if (reader_ != nullptr && word.entry != nullptr &&
          restore_from_all_words(list_, i, dictionary_, *reader_)) {
        ++restored_.lexicon;
        continue;
      }
      if (deep_search_ && try_variants(i, scrambled, word.signature)) ++restored_.variants;
    }
  }

  const RestoredWords& restored() const { return restored_; }

 private:
  // The lexicon table's word (`entry`, or none) is capitalised straight over
  // the scrambled word's bytes, once its ends are known to fit: most words
  // of a text are restored here, so no copy of the candidate is made.
  bool try_lexicon(std::int32_t i, std::string_view scrambled, const WordToken* entry) {
    if (entry == nullptr || entry->length != scrambled.size()) return false;
    const std::string_view word = dictionary_.words.text(*entry);
    if (capital_like(word.front(), scrambled.front()) != scrambled.front() ||
        capital_like(word.back(), scrambled.back()) != scrambled.back() ||
        !same_letters(word, scrambled)) {
      return false;
    }
    const std::span<char> out = list_.mutable_text(i);
    for (std::size_t k = 0; k < out.size(); ++k) out[k] = capital_like(word[k], out[k]);
    list_.set_separator(i, 1);
    return true;
  }

  bool try_variants(std::int32_t i, std::string_view scrambled, double signature) {
    if (!variant_text(dictionary_, signature, candidate_)) return false;
    if (candidate_.empty() || candidate_.size() != scrambled.size()) return false;
    lower_case(candidate_);
    // Only the first letter takes the scrambled word's case here.
    if (!counts_as_lower(scrambled.front())) candidate_.front() = ascii_upper(candidate_.front());
    return settle_if_it_fits(list_, i, candidate_, scrambled);
  }

  TokenList& list_;
  const Dictionary& dictionary_;
  const bool deep_search_;
  const ReaderWords* reader_;
  std::string candidate_;
  RestoredWords restored_;
};

}  // namespace

bool variant_text(const Dictionary& dictionary, double signature, std::string& out) {
  const VariantCode* code = dictionary.variant_table.find(signature);
  if (code == nullptr || *code == 0xFFFFFFFFu) return false;
  const VariantLayout::Parts parts = dictionary.layout.unpack(*code);
  out.clear();
  if (parts.prefix) out += dictionary.prefixes.text(*parts.prefix);
  out += dictionary.words.text(parts.word);
  if (parts.suffix) out += dictionary.suffixes.text(*parts.suffix);
  return true;
}

bool settle_rearrangement(TokenList& list, std::int64_t index, std::string_view candidate,
                          std::string_view scrambled) {
  return settle_if_it_fits(list, index, candidate, scrambled);
}

std::string capitalise_like(std::string_view candidate, std::string_view scrambled) {
  std::string out;
  capitalise_into(out, candidate, scrambled);
  return out;
}

bool settle_like(TokenList& list, std::int64_t index, std::string_view candidate,
                 std::string_view scrambled) {
  return settle_if_it_fits(list, index, capitalise_like(candidate, scrambled), scrambled);
}

RestoredWords restore_words(TokenList& scrambled, const Dictionary& dictionary, bool deep_search,
                            const ReaderWords* reader) {
  const std::int32_t count = scrambled.size();
  Restorer first(scrambled, dictionary, deep_search, reader);
  // A variant code that names no entry ends the command at its word, with
  // the words before it restored and none after: only where no code can do
  // that is the text restored in two halves.
  const bool codes_fit = !deep_search || dictionary.variant_table.entry_count() == 0 ||
                         dictionary.variant_sizes == dictionary.list_sizes();
  if (count < kTwoThreadsFrom || !codes_fit || !second_thread_helps()) {
    first.restore(0, count);
    return first.restored();
  }
  // The second half begins after a settled token (a separator): the first
  // half never writes a token that is settled already, so neither half
  // writes what the other reads.
  std::int32_t half = count / 2;
  while (half < count && scrambled.separator(half - 1) != 1) ++half;
  Restorer second(scrambled, dictionary, deep_search, reader);
  run_both([&] { first.restore(0, half); }, [&] { second.restore(half, count); });
  return {first.restored().lexicon + second.restored().lexicon,
          first.restored().variants + second.restored().variants};
}

}  // namespace quirlex
