// Reads a text file piece by piece, for texts too large to hold whole (a
// corpus of many gigabytes). The pieces, joined, are exactly the text that
// TextFile::read gives for the same file and settings: it ends at the
// file's first NUL byte, UTF-8 is decided and converted by the same rule,
// and umlauts are spelled out when asked. A piece may end anywhere, inside a
// word too: callers carry what they need across.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "text/text_encoding.h"

namespace quirlex {

class TextStream {
 public:
  // Pieces are about this long (an umlaut spelled out makes one longer).
  static constexpr std::size_t kDefaultPieceSize = std::size_t{4} << 20;

  TextStream();
  ~TextStream();
  TextStream(const TextStream&) = delete;
  TextStream& operator=(const TextStream&) = delete;

  // Opens `path`. Returns false when it cannot be opened or read. With
  // `rewindable`, rewind() can start it again even when it is a pipe.
  bool open(const std::string& path, ReadEncoding encoding, bool transliterate,
            bool rewindable = false, std::size_t piece_size = kDefaultPieceSize);

  // Replaces `piece` with the next piece of the text; false, with `piece`
  // empty, once the text has ended. A read error is a Failure naming the file.
  bool next(std::string& piece);

  // Starts the text again from its beginning; only for a stream opened
  // rewindable.
  void rewind();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace quirlex
