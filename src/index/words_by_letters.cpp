#include "index/words_by_letters.h"

#include <algorithm>
#include <array>
#include <bit>
#include <utility>

#include "text/case_map.h"

namespace quirlex {
namespace {

constexpr std::uint64_t scramble_bits(std::uint64_t z) {
  z = (z ^ (z >> 33)) * 0xFF51AFD7ED558CCDULL;
  z = (z ^ (z >> 33)) * 0xC4CEB9FE1A85EC53ULL;
  return z ^ (z >> 33);
}

// A random-looking number per byte, the same for a byte and its capital:
// the sum of a word's numbers does not depend on their order.
constexpr std::array<std::uint64_t, 256> make_byte_numbers() {
  std::array<std::uint64_t, 256> numbers{};
  for (int b = 0; b < 256; ++b) {
    numbers[b] = scramble_bits(0x2545F4914F6CDD1DULL * (upper_byte(static_cast<std::uint8_t>(b)) + 1u));
  }
  return numbers;
}

constexpr std::array<std::uint64_t, 256> kByteNumbers = make_byte_numbers();

}  // namespace

std::uint64_t WordsByLetters::key_of(std::string_view text) {
  std::uint64_t sum = text.size() * 0x9E3779B97F4A7C15ULL;
  for (const char c : text) sum += kByteNumbers[static_cast<std::uint8_t>(c)];
  // Never 0, which marks a free slot.
  return scramble_bits(sum) | 1u;
}

WordsByLetters::WordsByLetters(const TokenList& words) {
  std::vector<std::pair<std::uint64_t, std::uint32_t>> keyed;
  keyed.reserve(static_cast<std::size_t>(words.size()));
  for (std::int32_t i = 0; i < words.size(); ++i) {
    keyed.emplace_back(key_of(words.text(i)), static_cast<std::uint32_t>(i));
  }
  std::sort(keyed.begin(), keyed.end());
  members_.reserve(keyed.size());
  std::vector<Group> groups;
  for (std::size_t k = 0; k < keyed.size(); ++k) {
    if (k == 0 || keyed[k].first != keyed[k - 1].first) {
      groups.push_back({keyed[k].first, static_cast<std::uint32_t>(k), 0});
    }
    ++groups.back().size;
    members_.push_back(keyed[k].second);
  }
  const std::size_t slots = std::bit_ceil(std::max<std::size_t>(groups.size() + groups.size() / 2, 8));
  slots_.assign(slots, Group{});
  for (const Group& group : groups) {
    std::size_t slot = group.key & (slots - 1);
    while (slots_[slot].key != 0) slot = (slot + 1) & (slots - 1);
    slots_[slot] = group;
  }
}

std::span<const std::uint32_t> WordsByLetters::candidates(std::string_view text) const {
  if (slots_.empty()) return {};
  const std::uint64_t key = key_of(text);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = key & mask; slots_[slot].key != 0; slot = (slot + 1) & mask) {
    if (slots_[slot].key == key) return std::span(members_).subspan(slots_[slot].start, slots_[slot].size);
  }
  return {};
}

std::size_t WordsByLetters::memory_bytes() const {
  return members_.capacity() * sizeof(std::uint32_t) + slots_.capacity() * sizeof(Group);
}

}  // namespace quirlex
