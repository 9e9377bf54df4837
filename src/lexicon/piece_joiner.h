// Joins the words that the pieces of a streamed text cut apart. Each piece
// is handed on as a stretch that begins after a separator and ends before
// one, so that every word in it is whole; the bytes of a word that runs
// past a piece's end are kept (folded) and handed on whole, as a carried
// word, once a later piece or the text's end completes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "lexicon/corpus_words.h"

namespace quirlex {

class PieceJoiner {
 public:
  // Takes the next `size` bytes of the text at `piece`: calls
  // `carried(word, position)` for a carried word this piece completes, then
  // `stretch(text, size, position)` for the piece's whole words (unfolded;
  // a separator may come first). Positions count bytes from the text's start.
  template <typename Carried, typename Stretch>
  void add(char* piece, std::size_t size, const Carried& carried, const Stretch& stretch) {
    std::size_t begin = 0;
    if (!carry_.empty()) {
      while (begin < size && !separates_words(piece[begin])) ++begin;
      keep(piece, begin);
      if (begin == size) {
        position_ += size;
        return;
      }
      carried(std::string_view(carry_), carry_position_);
      carry_.clear();
    }
    std::size_t end = size;
    while (end > begin && !separates_words(piece[end - 1])) --end;
    if (end > begin) stretch(piece + begin, end - begin, position_ + begin);
    if (end < size) {
      carry_position_ = position_ + end;
      keep(piece + end, size - end);
    }
    position_ += size;
  }

  // The text has ended: hands on the word it ends with, if any.
  template <typename Carried>
  void finish(const Carried& carried) {
    if (!carry_.empty()) carried(std::string_view(carry_), carry_position_);
    carry_.clear();
  }

  // Where the next byte would be, counting from the text's start; only
  // meaningful while no word is carried (after finish).
  std::uint64_t position() const { return position_; }
  // Moves the position on by `bytes` that are not handed in (text read
  // elsewhere, such as the lines of a count file).
  void skip(std::uint64_t bytes) { position_ += bytes; }

 private:
  void keep(const char* bytes, std::size_t size) {
    for (std::size_t at = 0; at < size; ++at) carry_.push_back(fold_byte(bytes[at]));
  }

  std::string carry_;
  std::uint64_t carry_position_ = 0;
  std::uint64_t position_ = 0;
};

}  // namespace quirlex
