// A text file read whole into one byte string, optionally with the German
// umlauts spelled out as two letters and optionally upper-cased. The file of
// the last successful read stays open (with a shared lock that keeps
// cooperating writers out) until the next read or the end of the object.
// A UTF-8 file is converted to Windows-1252 as it is read, before umlauts
// are spelled out (see text_encoding.h); lexicon files are read as bytes.
#pragma once

#include <cstdint>
#include <string>

#include "text/text_encoding.h"

namespace quirlex {

// How TextFile::read takes a file's bytes.
struct TextFileOptions {
  // By default the bytes as they are: lexicon files are Windows-1252 bytes.
  ReadEncoding encoding = ReadEncoding::kWindows1252;
  bool spell_out_umlauts = true;
  bool upper_case = false;
};

class TextFile {
 public:
  TextFile() = default;
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  // Reads the whole named file into the content. Returns false when the file
  // cannot be opened or read; the content then keeps its previous text and the
  // object is closed. A file longer than kCountLimit is refused with a
  // LimitExceeded failure. The text ends at the file's first NUL byte.
  bool read(const std::string& file_name, const TextFileOptions& options = {});

  bool is_open() const { return fd_ >= 0; }
  const std::string& content() const { return content_; }
  // How the content of the last successful read came in.
  const TextEncoding& encoding() const { return encoding_; }
  // Hands the content over to the caller, leaving the object's content empty.
  std::string take_content() { return std::move(content_); }

  void close();

 private:
  int fd_ = -1;
  std::string content_;
  TextEncoding encoding_;
};

}  // namespace quirlex
