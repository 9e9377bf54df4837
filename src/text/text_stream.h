// Reads a text file piece by piece, for texts too large to hold whole (a
// corpus of many gigabytes): memory stays bounded by the piece size. The
// pieces, joined, are exactly the text that TextFile::read gives for the
// same file and settings (without upper-casing): it ends at the file's
// first NUL byte, UTF-8 is decided and converted by the same rule, and
// umlauts are spelled out when asked. A piece may end anywhere, inside a
// word too: callers carry what they need across. The stand-ins of a UTF-8
// text only separate words here: their originals are not kept.
//
// Deciding whether a text is UTF-8 may need the rest of it after its first
// byte above ASCII: a regular file is read ahead for that, a pipe's rest is
// copied to an unnamed file in the temporary folder (TMPDIR), which must
// have room for it; so is all of a pipe that is to be rewound.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "text/text_encoding.h"

namespace quirlex {

// How a TextStream takes a file's bytes.
struct TextStreamOptions {
  // How UTF-8 is told and converted.
  ReadEncoding encoding = ReadEncoding::kAuto;
  bool spell_out_umlauts = true;
  // rewind() may start the text again, even when it is a pipe.
  bool rewindable = false;
  // How long pieces are (0: TextStream::kDefaultPieceSize).
  std::size_t piece_size = 0;
};

class TextStream {
 public:
  // Pieces are about this long (an umlaut spelled out makes one longer, a
  // UTF-8 character one shorter).
  static constexpr std::size_t kDefaultPieceSize = std::size_t{4} << 20;
  // Longer piece sizes are taken as this one.
  static constexpr std::size_t kMaxPieceSize = std::size_t{256} << 20;

  TextStream();
  ~TextStream();
  TextStream(const TextStream&) = delete;
  TextStream& operator=(const TextStream&) = delete;

  // Opens `path` (with a shared lock, as TextFile does). Returns false when
  // it cannot be opened or is a folder.
  bool open(const std::string& path, const TextStreamOptions& options);

  // Replaces `piece` with the next piece of the text, never an empty one;
  // false, with `piece` empty, once the text has ended. A read error is a
  // FileError naming the file. Reusing one string for every piece saves
  // preparing its memory anew.
  bool next(std::string& piece);

  // Starts the text again from its beginning; only for a stream opened
  // rewindable (else InvalidArgument).
  void rewind();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace quirlex
