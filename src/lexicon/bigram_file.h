// The bigram file of a lexicon: its model (lexicon/bigram_model.h) beside
// the lexicon file, written whole or not at all and refused, with a message
// that names it, when it is not one of ours, truncated, damaged or made from
// another lexicon.
//
// The bytes (all numbers little-endian): the line "QUIRLEX BIGRAMS 1\n", the
// lexicon hash (u64), the lexicon's word count N (u32), flags (u32; bit 0:
// short words break pairs, bit 1: short words are counted), the smallest
// count kept (u32), the short word count S (u32), the pair count (u32), the
// FNV-1a 64 hash of all that follows (u64); then S short words of four bytes
// each (upper-cased, padded with zero bytes, ascending), index N + k for the
// k-th; then one record per pair: first, second, count (u32 each), in
// ascending order of (first, second).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/failure.h"
#include "lexicon/bigram_model.h"

namespace quirlex {

inline constexpr std::string_view kBigramMagic = "QUIRLEX BIGRAMS 1\n";
inline constexpr std::size_t kBigramHeaderSize = kBigramMagic.size() + 8 + 4 + 4 + 4 + 4 + 4 + 8;
inline constexpr std::size_t kBigramRecordSize = 12;
inline constexpr std::size_t kBigramShortWordSize = 4;

// The length of the model's file.
inline std::uint64_t bigram_file_size(const BigramModel& model) {
  return kBigramHeaderSize + kBigramShortWordSize * model.short_words().size() +
         kBigramRecordSize * model.pairs().size();
}

// A bigram file that cannot be used: missing, not one of ours, truncated,
// damaged or made from another lexicon. The text names the file.
class BigramFileError : public Failure {
 public:
  BigramFileError(const std::string& file_name, const std::string& problem)
      : Failure(file_name + ": " + problem) {}
};

// The bigram file of a lexicon file: beside it, its name with ".bigrams".
inline std::string bigram_path(const std::string& lexicon_path) {
  return lexicon_path + ".bigrams";
}

// The bytes of the model's file.
std::string bigram_file_bytes(const BigramModel& model);

// The model in a file's bytes, checked against the lexicon it must belong
// to; a BigramFileError naming `file_name` when it is not usable.
BigramModel parse_bigram_file(std::string_view bytes, std::uint64_t lexicon_hash,
                              std::uint32_t word_count, const std::string& file_name);

// Reads and checks the bigram file at `path` (BigramFileError when missing or
// unusable), and writes one, replacing an earlier one only once it is
// complete (a FileError when it cannot be written).
BigramModel read_bigram_file(const std::string& path, std::uint64_t lexicon_hash,
                             std::uint32_t word_count);
void write_bigram_file(const std::string& path, const BigramModel& model);

}  // namespace quirlex
