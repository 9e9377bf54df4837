// The letter model's file, written by Create Dictionary beside the lexicon
// file when it orders the words by frequency with bigrams, and read back for
// the Translate steps that use the model.
//
// File (all numbers little-endian): the line "QUIRLEX LETTERS 1\n", the
// lexicon hash (u64, as lexicon_hash gives it), the lexicon's word count
// (u32), the model's order (u32), the gram count G (u32), the spelling count
// S (u32), the FNV-1a 64 hash of all that follows (u64); then G grams, each
// its packed symbols (u32) and weight (the bits of an IEEE float, u32), in
// ascending order of the packed symbols; then S spellings, each its length
// (u8), its bytes and its count (u32), in the order the model keeps them
// (by upper-cased text, the most frequent first, then by bytes), no text
// twice.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/failure.h"
#include "lexicon/letter_model.h"

namespace quirlex {

// A letter model file that cannot be used: missing, not one of ours,
// truncated, damaged or made from another lexicon. The text names the file.
class LetterModelFileError : public Failure {
 public:
  LetterModelFileError(const std::string& file_name, const std::string& problem)
      : Failure(file_name + ": " + problem) {}
};

inline constexpr std::string_view kLetterModelMagic = "QUIRLEX LETTERS 1\n";

// The letter model file of a lexicon file: beside it, its name with ".letters".
inline std::string letter_model_path(const std::string& lexicon_path) {
  return lexicon_path + ".letters";
}

std::string letter_model_file_bytes(const LetterModel& model);

// The model in a file's bytes, checked against the lexicon it must belong
// to (its hash and word count); a LetterModelFileError naming `file_name`
// when it is not usable.
LetterModel parse_letter_model_file(std::string_view bytes, std::uint64_t lexicon_hash,
                                    std::uint32_t word_count, const std::string& file_name);

// Reads and checks the letter model file at `path`: a LetterModelFileError
// when it is missing or unusable.
LetterModel read_letter_model_file(const std::string& path, std::uint64_t lexicon_hash,
                                   std::uint32_t word_count);

}  // namespace quirlex
