#include "text/text_file.h"

#include <unistd.h>

#include <utility>

#include "base/limits.h"
#include "io/input_file.h"
#include "io/whole_file.h"
#include "text/case_map.h"
#include "text/transliteration.h"

namespace quirlex {

TextFile::~TextFile() {
  close();
}

void TextFile::close() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

bool TextFile::read(const std::string& file_name, const TextFileOptions& options) {
  close();
  // Locked until the next read, so writers that honour locks keep out.
  FileDescriptor file(open_for_reading(file_name));
  if (file.fd < 0) return false;
  std::string text;
  const WholeFileRead read = read_whole_file(file.fd, kCountLimit, true, text);
  if (read.outcome == WholeFileRead::Outcome::kTooLong) {
    throw limit_failures::file_too_long(file_name);
  }
  if (read.outcome != WholeFileRead::Outcome::kRead) return false;
  // Converted first, so that a UTF-8 umlaut is spelled out as its
  // Windows-1252 byte would be.
  TextEncoding text_encoding = decode_text(text, options.encoding);
  if (options.spell_out_umlauts) transliterate_umlauts(text);
  if (options.upper_case) quirlex::upper_case(text);
  content_ = std::move(text);
  encoding_ = std::move(text_encoding);
  fd_ = file.release();
  return true;
}

}  // namespace quirlex
