#include "scramble/scramble.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
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
std::uint64_t draws_of(TokenList& list, std::int32_t begin, std::int32_t end,
                       ShuffleOptions options) {
  std::uint64_t draws = 0;
  list.visit_words(begin, end, [&](std::span<const char> word) {
    const std::size_t length = options.keep_punctuation
                                   ? scrambled_part({word.data(), word.size()}, options).second
                                   : word.size();
    if (length > 3) draws += length - 3;
  });
  return draws;
}

// The reciprocal by which scramble finds the remainder of a draw by `divisor`.
constexpr std::uint32_t reciprocal_of(std::uint32_t divisor) {
  return UINT32_MAX / divisor + 1;
}

// The position, from 1 to `divisor`, that a draw picks.
std::size_t pick(std::uint32_t reciprocal, std::uint32_t divisor, int draw) {
  const std::uint32_t fraction = reciprocal * static_cast<std::uint32_t>(draw);
  return static_cast<std::size_t>((std::uint64_t{fraction} * divisor) >> 32) + 1;
}

// The `kCount` (at most eight) bytes at `p` as a number, byte 0 lowest,
// read in pieces of four, two and one straight into a register: one read
// into a number on the stack, which cannot take the bytes of several
// smaller writes at once, would wait for them to reach the cache.
template <std::size_t kCount>
std::uint64_t load_low(const char* p) {
  if constexpr (std::endian::native != std::endian::little) {
    std::uint64_t value = 0;
    for (std::size_t k = 0; k < kCount; ++k) {
      value |= std::uint64_t{static_cast<std::uint8_t>(p[k])} << (8 * k);
    }
    return value;
  } else if constexpr (kCount >= 4) {
    std::uint32_t four;
    std::memcpy(&four, p, 4);
    return four | load_low<kCount - 4>(p + 4) << 32;
  } else if constexpr (kCount >= 2) {
    std::uint16_t two;
    std::memcpy(&two, p, 2);
    return two | load_low<kCount - 2>(p + 2) << 16;
  } else if constexpr (kCount == 1) {
    return static_cast<std::uint8_t>(*p);
  } else {
    return 0;
  }
}

// Writes the low `kCount` bytes of `value` to `p`, as load_low reads them.
template <std::size_t kCount>
void store_low(char* p, std::uint64_t value) {
  if constexpr (std::endian::native != std::endian::little) {
    for (std::size_t k = 0; k < kCount; ++k) p[k] = static_cast<char>(value >> (8 * k));
  } else if constexpr (kCount >= 4) {
    const auto four = static_cast<std::uint32_t>(value);
    std::memcpy(p, &four, 4);
    store_low<kCount - 4>(p + 4, value >> 32);
  } else if constexpr (kCount >= 2) {
    const auto two = static_cast<std::uint16_t>(value);
    std::memcpy(p, &two, 2);
    store_low<kCount - 2>(p + 2, value >> 16);
  } else if constexpr (kCount == 1) {
    *p = static_cast<char>(value);
  }
}

// Scrambles a word of `kLength` bytes (4 to 10) as scramble does, with its
// interior in a register: swapped in memory, each exchange would wait for
// the stores of the one before, which it may read. Each length has its own
// straight code: a loop of as many turns as the word has draws would end at
// a branch the processor cannot foresee.
template <std::size_t kLength>
void scramble_in_register(char* bytes, RandomGenerator& generator) {
  constexpr std::size_t kInterior = kLength - 2;
  std::uint64_t interior = load_low<kInterior>(bytes + 1);
  constexpr auto kDivisor = static_cast<std::uint32_t>(kInterior);
  constexpr std::uint32_t kReciprocal = reciprocal_of(kDivisor);
  for (std::size_t i = 1; i < kLength - 2; ++i) {
    const std::size_t j = pick(kReciprocal, kDivisor, generator.draw());
    // Byte k of the word is byte k - 1 of the number, lowest first.
    const unsigned at_i = 8 * static_cast<unsigned>(i - 1);
    const unsigned at_j = 8 * static_cast<unsigned>(j - 1);
    const std::uint64_t differ = ((interior >> at_i) ^ (interior >> at_j)) & 0xFF;
    interior ^= (differ << at_i) | (differ << at_j);
  }
  store_low<kInterior>(bytes + 1, interior);
}

// The longest word scramble_in_register takes.
constexpr std::size_t kLongestInRegister = 10;

// What the draws of a word of each length up to kLongestInRegister do to
// the generator.
constexpr std::array<RandomGenerator::Jump, kLongestInRegister + 1> make_jumps() {
  std::array<RandomGenerator::Jump, kLongestInRegister + 1> jumps{};
  for (std::size_t length = 4; length <= kLongestInRegister; ++length) {
    jumps[length] = RandomGenerator::jump_of(length - 3);
  }
  return jumps;
}
constexpr std::array<RandomGenerator::Jump, kLongestInRegister + 1> kJumps = make_jumps();

// The words of a stretch of text taken a batch at a time, sorted by length:
// the start of each word's draws is told by a jump over the draws of the
// words before it, so that all words of one length can then be scrambled
// together by the same straight code. Taken one after the other, each word
// would begin with a branch on its length that the processor guesses wrong
// nearly every time.
class WordBatches {
 public:
  explicit WordBatches(char* text) : text_(text) {}

  // Scrambles `word` as scramble does, from `generator`, which is left where
  // the word's draws leave it; the word may be scrambled only at the next
  // flush.
  void add(std::span<char> word, RandomGenerator& generator) {
    const std::size_t length = word.size();
    if (length > kLongestInRegister) return scramble(word, generator);
    // Shorter words are put with the others too, and never scrambled:
    // sorting them out would be the branch this avoids.
    Batch& batch = batches_[length];
    batch.words[batch.size] = {static_cast<std::uint32_t>(word.data() - text_), generator.state()};
    generator.jump(kJumps[length]);
    if (++batch.size == kBatchSize) flush();
  }

  // Scrambles the words added so far.
  void flush() {
    flush_length<4>();
    flush_length<5>();
    flush_length<6>();
    flush_length<7>();
    flush_length<8>();
    flush_length<9>();
    flush_length<10>();
    for (Batch& batch : batches_) batch.size = 0;
  }

 private:
  // Words of one length at the most before they are scrambled: their bytes
  // are then still in the cache.
  static constexpr std::size_t kBatchSize = 1024;

  struct Word {
    std::uint32_t offset;  // from the text's start
    std::uint32_t state;   // of the generator before the word's draws
  };
  struct Batch {
    std::array<Word, kBatchSize> words;
    std::size_t size = 0;
  };

  template <std::size_t kLength>
  void flush_length() {
    const Batch& batch = batches_[kLength];
    for (std::size_t k = 0; k < batch.size; ++k) {
      RandomGenerator generator(batch.words[k].state);
      scramble_in_register<kLength>(text_ + batch.words[k].offset, generator);
    }
  }

  char* text_;
  std::array<Batch, kLongestInRegister + 1> batches_;
};

void scramble_range(TokenList& list, std::int32_t begin, std::int32_t end,
                    RandomGenerator& generator, ShuffleOptions options) {
  if (begin == end) return;
  // A copy the compiler can keep in a register: the generator itself might,
  // for all it knows, be one of the bytes written.
  RandomGenerator local = generator;
  const auto batches = std::make_unique<WordBatches>(list.mutable_text(begin).data());
  list.visit_words(begin, end, [&](std::span<char> word) {
    if (options.keep_punctuation) {
      const auto [start, length] = scrambled_part({word.data(), word.size()}, options);
      word = word.subspan(start, length);
    }
    batches->add(word, local);
  });
  batches->flush();
  generator = local;
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
  const std::uint32_t reciprocal = reciprocal_of(divisor);
  RandomGenerator local = generator;
  for (std::size_t i = 1; i < length - 2; ++i) {
    std::swap(bytes[i], bytes[pick(reciprocal, divisor, local.draw())]);
  }
  generator = local;
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
