// Reading a model file beside a lexicon (the bigram file, the letter model
// file) whole, with the messages every model file gives when it cannot be
// read. A model's own format checks its bytes afterwards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quirlex {

// No model of a lexicon this program can load comes near this size.
inline constexpr std::uint64_t kMostModelFileBytes = std::uint64_t{1} << 32;

// Model files hold their numbers little-endian, `size` bytes each.
inline void put_number(std::string& out, std::uint64_t value, int size) {
  for (int k = 0; k < size; ++k) out += static_cast<char>((value >> (8 * k)) & 0xFF);
}
// The number of `size` bytes at `at` of `in`, which must hold them.
inline std::uint64_t get_number(std::string_view in, std::size_t at, int size) {
  std::uint64_t value = 0;
  for (int k = 0; k < size; ++k) {
    value |= std::uint64_t{static_cast<std::uint8_t>(in[at + static_cast<std::size_t>(k)])} << (8 * k);
  }
  return value;
}

// Reads the file at `path` into `bytes`; nothing when it was read, else the
// problem ("cannot open the KIND file (reason)", "cannot read the KIND file
// (reason)", "the KIND file is damaged" for one past kMostModelFileBytes).
std::optional<std::string> read_model_file(const std::string& path, const char* kind,
                                           std::string& bytes);

// The same, throwing Error(path, problem) for a file that cannot be read.
template <typename Error>
std::string model_file_bytes(const std::string& path, const char* kind) {
  std::string bytes;
  if (const auto problem = read_model_file(path, kind, bytes)) throw Error(path, *problem);
  return bytes;
}

}  // namespace quirlex
