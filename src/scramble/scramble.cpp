#include "scramble/scramble.h"

#include <cstdint>
#include <string_view>
#include <utility>

#include "base/helper_thread.h"
#include "text/letters.h"

namespace quirlex {
namespace {

// From this many tokens on, the second half of a text is scrambled on a
// second thread: below it, starting the thread costs more than it saves.
constexpr std::int32_t kTwoThreadsFrom = 1 << 18;

// Where the scrambled part of `word` begins and how long it is: the whole
// word, or from its first to its last letter.
std::pair<std::size_t, std::size_t> scrambled_part(std::string_view word, ShuffleOptions options) {
  if (!options.keep_punctuation) return {0, word.size()};
  std::size_t first = 0;
  while (first < word.size() && !is_letter(word[first])) ++first;
  std::size_t end = word.size();
  while (end > first && !is_letter(word[end - 1])) --end;
  return {first, end - first};
}

// The draws the words of tokens [begin, end) take.
std::uint64_t draws_of(const TokenList& list, std::int32_t begin, std::int32_t end,
                       ShuffleOptions options) {
  std::uint64_t draws = 0;
  for (std::int32_t i = begin; i < end; ++i) {
    if (list.separator(i) != 0) continue;
    const std::size_t length = scrambled_part(list.text(i), options).second;
    if (length > 3) draws += length - 3;
  }
  return draws;
}

void scramble_range(TokenList& list, std::int32_t begin, std::int32_t end,
                    RandomGenerator& generator, ShuffleOptions options) {
  for (std::int32_t i = begin; i < end; ++i) {
    if (list.separator(i) != 0) continue;
    const std::span<char> word = list.mutable_text(i);
    const auto [start, length] = scrambled_part({word.data(), word.size()}, options);
    scramble(word.subspan(start, length), generator);
  }
}

}  // namespace

void scramble(std::span<char> word, RandomGenerator& generator) {
  const std::size_t length = word.size();
  if (length <= 3) return;
  const std::size_t interior = length - 2;
  char* const bytes = word.data();
  if (interior > 32767) {
    // A draw is below the interior's length: it is its own remainder.
    for (std::size_t i = 1; i < length - 2; ++i) {
      std::swap(bytes[i], bytes[static_cast<std::size_t>(generator.draw()) + 1]);
    }
    return;
  }
  // The remainder of a 15-bit draw by a 15-bit length, by multiplication:
  // with the reciprocal in 32 bits it is exact for every such pair, and a
  // division per draw would take most of the time of a large text.
  const auto divisor = static_cast<std::uint32_t>(interior);
  const std::uint32_t reciprocal = UINT32_MAX / divisor + 1;
  for (std::size_t i = 1; i < length - 2; ++i) {
    const std::uint32_t fraction = reciprocal * static_cast<std::uint32_t>(generator.draw());
    const auto j = static_cast<std::size_t>((std::uint64_t{fraction} * divisor) >> 32) + 1;
    std::swap(bytes[i], bytes[j]);
  }
}

void shuffle_in_place(TokenList& list, RandomGenerator& generator, ShuffleOptions options) {
  const std::int32_t count = list.size();
  if (count < kTwoThreadsFrom || !second_thread_helps()) {
    scramble_range(list, 0, count, generator, options);
    return;
  }
  // The second half begins where the first half's draws leave the generator.
  const std::int32_t half = count / 2;
  RandomGenerator second = generator;
  second.discard(draws_of(list, 0, half, options));
  run_both([&] { scramble_range(list, 0, half, generator, options); },
           [&] { scramble_range(list, half, count, second, options); });
  generator = second;
}

void shuffle_tokens(const TokenList& source, TokenList& scrambled, RandomGenerator& generator,
                    ShuffleOptions options) {
  // The scrambled text starts as a copy; its words are then scrambled where
  // they lie, since a scrambled word keeps its length. Separators stay as
  // they are, so the source's kept characters still belong to the scrambled
  // text's stand-ins in order.
  scrambled.assign_copy(source);
  shuffle_in_place(scrambled, generator, options);
}

}  // namespace quirlex
