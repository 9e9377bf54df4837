// Streams one file through TextStream, as Create Dictionary reads a corpus,
// and reports how fast: the file's text bytes per second of wall time. With
// --write the joined pieces go to standard output, so that they can be
// compared with another reading of the file (cmp, iconv).
//
// Usage: quirlex-stream-throughput FILE [--encoding auto|utf-8|windows-1252]
//                                  [--transliterate] [--piece BYTES] [--write]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/failure.h"
#include "text/text_encoding.h"
#include "text/text_stream.h"

int main(int argc, char** argv) {
  using namespace quirlex;
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: %s FILE [--encoding NAME] [--transliterate] [--piece BYTES] [--write]\n",
                 argv[0]);
    return 2;
  }
  const std::string path = argv[1];
  ReadEncoding encoding = ReadEncoding::kAuto;
  bool transliterate = false;
  bool write = false;
  std::size_t piece_size = TextStream::kDefaultPieceSize;
  for (int i = 2; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--encoding" && i + 1 < argc) {
      const auto parsed = parse_read_encoding(argv[++i]);
      if (!parsed) {
        std::fprintf(stderr, "unknown encoding %s\n", argv[i]);
        return 2;
      }
      encoding = *parsed;
    } else if (option == "--transliterate") {
      transliterate = true;
    } else if (option == "--piece" && i + 1 < argc) {
      piece_size = std::strtoull(argv[++i], nullptr, 10);
    } else if (option == "--write") {
      write = true;
    } else {
      std::fprintf(stderr, "unknown option %s\n", option.c_str());
      return 2;
    }
  }
  try {
    const auto start = std::chrono::steady_clock::now();
    TextStream stream;
    if (!stream.open(path, {.encoding = encoding, .spell_out_umlauts = transliterate, .piece_size = piece_size})) {
      std::fprintf(stderr, "cannot open %s\n", path.c_str());
      return 1;
    }
    std::string piece;
    std::size_t pieces = 0;
    unsigned long long bytes = 0;
    while (stream.next(piece)) {
      ++pieces;
      bytes += piece.size();
      if (write && std::fwrite(piece.data(), 1, piece.size(), stdout) != piece.size()) return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "%s: %llu bytes of text in %zu pieces, %.2f s, %.0f MB/s\n", path.c_str(),
                 bytes, pieces, seconds, static_cast<double>(bytes) / seconds / 1e6);
  } catch (const Failure& failure) {
    std::fprintf(stderr, "%s\n", failure.message().c_str());
    return 1;
  }
  return 0;
}
