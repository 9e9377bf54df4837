#include "text/transliteration.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "base/limits.h"
#include "text/word_byte_bits.h"

namespace quirlex {
namespace {

struct Replacement {
  bool present = false;
  char first = 0;
  char second = 0;
};

constexpr std::array<Replacement, 256> make_transliteration() {
  std::array<Replacement, 256> table{};
  table[0xE4] = {true, 'a', 'e'};
  table[0xF6] = {true, 'o', 'e'};
  table[0xFC] = {true, 'u', 'e'};
  table[0xC4] = {true, 'A', 'e'};
  table[0xDC] = {true, 'U', 'e'};
  table[0xDF] = {true, 's', 's'};
  table[0xD6] = {true, 'O', 'e'};
  return table;
}

constexpr std::array<Replacement, 256> kTransliteration = make_transliteration();

constexpr std::array<std::uint8_t, 256> make_umlaut_flags() {
  std::array<std::uint8_t, 256> flags{};
  for (int b = 0; b < 256; ++b) flags[b] = kTransliteration[b].present ? 1 : 0;
  return flags;
}

// 1 for the bytes that are spelled out; summed, it counts them.
constexpr std::array<std::uint8_t, 256> kIsUmlaut = make_umlaut_flags();

// Every byte spelled out lies above 0x7F, so eight bytes without a high bit
// can be passed over at once: most running text is mostly such bytes.
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

std::size_t count_umlauts(const char* data, std::size_t size) {
  std::size_t count = 0;
  std::size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    if ((load8(data + i) & kHighBits) == 0) continue;
    for (std::size_t k = i; k < i + 8; ++k) count += kIsUmlaut[static_cast<std::uint8_t>(data[k])];
  }
  for (; i < size; ++i) count += kIsUmlaut[static_cast<std::uint8_t>(data[i])];
  return count;
}

// The position just after the last byte before `end` that is spelled out, or
// 0 when there is none.
std::size_t after_last_umlaut(const char* data, std::size_t end) {
  for (;;) {
    while (end >= 8 && (load8(data + end - 8) & kHighBits) == 0) end -= 8;
    // The eight bytes before `end` hold a high bit (or are the text's start):
    // look at them one by one, then skip on.
    const std::size_t stop = end >= 8 ? end - 8 : 0;
    for (; end > stop; --end) {
      if (kIsUmlaut[static_cast<std::uint8_t>(data[end - 1])]) return end;
    }
    if (end == 0) return 0;
  }
}

}  // namespace

void transliterate_umlauts(std::string& text) {
  const std::size_t extra = count_umlauts(text.data(), text.size());
  if (extra == 0) return;
  std::size_t from = text.size();
  std::size_t to = from + extra;
  // Lengths are 32-bit counts elsewhere.
  if (to > static_cast<std::size_t>(kCountLimit)) throw limit_failures::spelled_out_too_long();
  text.resize(to);
  // Backwards, so the expansion happens in place in one pass: each run of
  // other bytes moves at once, each umlaut becomes its two letters.
  char* const data = text.data();
  while (from > 0) {
    const std::size_t run_end = from;
    from = after_last_umlaut(data, from);
    to -= run_end - from;
    std::memmove(data + to, data + from, run_end - from);
    if (from == 0) break;
    const Replacement& r = kTransliteration[static_cast<std::uint8_t>(data[--from])];
    data[--to] = r.second;
    data[--to] = r.first;
  }
}

}  // namespace quirlex
