// The memory floor of filing a deep word list: one random 16-byte write per
// member into a zeroed array as large as the variant table for that many
// members (1.2 slots per member, 12 bytes a slot). No real table can file its
// members with less memory traffic, so the benchmark suite reports the
// variant table's time against this program's.
//
// Usage: memory-floor MEMBERS
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

constexpr std::uint64_t kSlotBytes = 12;
constexpr std::uint64_t kWriteBytes = 16;

std::uint64_t split_mix(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t members = 0;
  const std::string_view arg = argc == 2 ? argv[1] : "";
  const auto [end, error] = std::from_chars(arg.data(), arg.data() + arg.size(), members);
  if (argc != 2 || error != std::errc() || end != arg.data() + arg.size() || members == 0 ||
      members > (std::uint64_t{1} << 31)) {
    std::fprintf(stderr, "usage: memory-floor MEMBERS (1 to 2147483648)\n");
    return 2;
  }
  const auto slots = static_cast<std::uint64_t>(static_cast<double>(members) * 1.2);
  // Zeroed memory from calloc, as the variant table gets it: the pages are
  // handed out on first touch, and that cost belongs to the floor too.
  auto* const table = static_cast<unsigned char*>(std::calloc(slots * kSlotBytes + kWriteBytes, 1));
  if (table == nullptr) {
    std::fprintf(stderr, "memory-floor: out of memory\n");
    return 1;
  }
  std::uint64_t state = members;
  for (std::uint64_t i = 0; i < members; ++i) {
    const std::uint64_t random = split_mix(state);
    // The high 32 bits scaled to the slot count (slots stay below 2^32).
    const std::uint64_t slot = ((random >> 32) * slots) >> 32;
    const std::uint64_t payload[2] = {random, i};
    std::memcpy(table + slot * kSlotBytes, payload, kWriteBytes);
  }
  // Read a sample back so the writes cannot be left out.
  std::uint64_t check = 0;
  for (std::uint64_t slot = 0; slot < slots; slot += 4099) check += table[slot * kSlotBytes];
  std::printf("memory-floor: %llu members, %llu bytes, check %llu\n",
              static_cast<unsigned long long>(members),
              static_cast<unsigned long long>(slots * kSlotBytes),
              static_cast<unsigned long long>(check));
  std::free(table);
  return 0;
}
