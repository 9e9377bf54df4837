#include "text/text_stream.h"

#include <algorithm>

#include "base/failure.h"
#include "text/text_file.h"

namespace quirlex {

// For now the text is read whole and handed out in pieces.
struct TextStream::State {
  std::string text;
  std::size_t at = 0;
  std::size_t piece_size = kDefaultPieceSize;
  bool rewindable = false;
};

TextStream::TextStream() = default;
TextStream::~TextStream() = default;

bool TextStream::open(const std::string& path, ReadEncoding encoding, bool transliterate,
                      bool rewindable, std::size_t piece_size) {
  state_.reset();
  TextFile file;
  if (!file.read(path, transliterate, false, encoding)) return false;
  state_ = std::make_unique<State>();
  state_->text = file.take_content();
  state_->piece_size = std::max<std::size_t>(piece_size, 1);
  state_->rewindable = rewindable;
  return true;
}

bool TextStream::next(std::string& piece) {
  piece.clear();
  if (!state_ || state_->at >= state_->text.size()) return false;
  const std::size_t length = std::min(state_->piece_size, state_->text.size() - state_->at);
  piece.assign(state_->text, state_->at, length);
  state_->at += length;
  return true;
}

void TextStream::rewind() {
  if (!state_ || !state_->rewindable) throw InvalidArgument();
  state_->at = 0;
}

}  // namespace quirlex
