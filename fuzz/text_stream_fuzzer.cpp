// Fuzzes TextStream against TextFile: the pieces of a stream, joined, must be
// exactly the whole read of the same bytes, however they are cut. The first
// input byte chooses the encoding (bits 0 and 1: auto, UTF-8, Windows-1252,
// and auto again), the spelling of umlauts (bit 2), and a pipe instead of a
// file (bit 3), rewound after a few pieces (bit 4). The second byte is the
// piece size: 1 to 128 bytes, or the default size when bit 7 is set. The
// rest is the file. No piece may be empty, nor longer than its bytes can
// make.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "reference.h"
#include "scratch_folder.h"
#include "text/text_encoding.h"
#include "text/text_file.h"
#include "text/text_stream.h"

namespace {

std::string g_file;

// Reads the rest of `stream`, checking each piece, and returns it joined.
std::string read_rest(quirlex::TextStream& stream, std::size_t piece_size, bool transliterate,
                      int most_pieces = -1) {
  std::string joined;
  std::string piece;
  for (int count = 0; count != most_pieces && stream.next(piece); ++count) {
    FUZZ_CHECK(!piece.empty());
    FUZZ_CHECK(piece.size() <= (piece_size + 3) * (transliterate ? 2 : 1));
    joined += piece;
  }
  return joined;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_file = quirlex::fuzz::make_scratch_folder() + "/text.txt";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  constexpr quirlex::ReadEncoding kChoices[] = {
      quirlex::ReadEncoding::kAuto, quirlex::ReadEncoding::kUtf8,
      quirlex::ReadEncoding::kWindows1252, quirlex::ReadEncoding::kAuto};
  const quirlex::ReadEncoding encoding = kChoices[data[0] & 3];
  const bool transliterate = (data[0] & 4) != 0;
  const bool through_pipe = (data[0] & 8) != 0;
  const bool rewound = (data[0] & 16) != 0;
  const std::size_t piece_size =
      (data[1] & 0x80) != 0 ? quirlex::TextStream::kDefaultPieceSize : 1 + (data[1] & 0x7F);
  const std::string bytes(reinterpret_cast<const char*>(data) + 2, size - 2);

  quirlex::fuzz::put_file(g_file, bytes);
  quirlex::TextFile file;
  FUZZ_CHECK(file.read(g_file, {.encoding = encoding, .spell_out_umlauts = transliterate}));
  const std::string& expected = file.content();

  std::string path = g_file;
  int fds[2] = {-1, -1};
  if (through_pipe) {
    // The inputs fit in a pipe's buffer: written whole, and the writing end
    // closed, before the stream opens the reading end by its name.
    FUZZ_CHECK(::pipe2(fds, O_CLOEXEC) == 0);
    FUZZ_CHECK(::write(fds[1], bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
    ::close(fds[1]);
    path = "/proc/self/fd/" + std::to_string(fds[0]);
  }
  quirlex::TextStream stream;
  const bool opened = stream.open(path, {.encoding = encoding,
                                           .spell_out_umlauts = transliterate,
                                           .rewindable = rewound,
                                           .piece_size = piece_size});
  if (through_pipe) ::close(fds[0]);
  FUZZ_CHECK(opened);
  if (rewound) {
    read_rest(stream, piece_size, transliterate, 3);
    stream.rewind();
  }
  FUZZ_CHECK(read_rest(stream, piece_size, transliterate) == expected);
  if (rewound) {
    stream.rewind();
    FUZZ_CHECK(read_rest(stream, piece_size, transliterate) == expected);
  }
  return 0;
}
