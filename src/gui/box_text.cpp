#include "gui/box_text.h"

#include "gui/display_text.h"
#include "text/text_encoding.h"

namespace quirlex::gui {
namespace {

// A head and the text after it, read as one text without joining them.
class TwoPieces {
 public:
  TwoPieces(std::string_view head, std::string_view text) : head_(head), text_(text) {}
  std::size_t size() const { return head_.size() + text_.size(); }
  char operator[](std::size_t i) const {
    return i < head_.size() ? head_[i] : text_[i - head_.size()];
  }

 private:
  std::string_view head_;
  std::string_view text_;
};

std::size_t count_line_breaks(const TwoPieces& text) {
  std::size_t breaks = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++breaks;
    } else if (text[i] == '\r') {
      ++breaks;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
  }
  return breaks;
}

// Writes the character a stand-in stands for: one or two UTF-16 units.
QChar* put_kept(QChar* out, char32_t original) {
  if (original >= kRawByteBase + 0x80 && original <= kRawByteBase + 0xFF) {
    *out++ = QChar(QChar::ReplacementCharacter);
  } else if (QChar::requiresSurrogates(original)) {
    *out++ = QChar(QChar::highSurrogate(original));
    *out++ = QChar(QChar::lowSurrogate(original));
  } else {
    *out++ = QChar(static_cast<char16_t>(original));
  }
  return out;
}

}  // namespace

BoxText make_box_text(std::string_view windows1252, const BoxTextLimits& limits,
                      std::span<const char32_t> kept) {
  return make_box_text({}, windows1252, limits, kept);
}

BoxText make_box_text(std::string_view head, std::string_view text, const BoxTextLimits& limits,
                      std::span<const char32_t> kept) {
  const TwoPieces windows1252(head, text);
  const std::size_t lines = count_line_breaks(windows1252) + 1;
  const std::size_t most_paragraphs = limits.most_paragraphs > 0 ? limits.most_paragraphs : 1;
  const std::size_t lines_per_paragraph = (lines + most_paragraphs - 1) / most_paragraphs;

  const std::size_t long_paragraph = limits.long_paragraph > 0 ? limits.long_paragraph : 1;
  const auto& characters = display_characters();
  BoxText box;
  // Every byte is one character at most (CR LF is one separator); a parting
  // point adds one separator for every `long_paragraph` characters at most;
  // a kept character may take two units.
  const std::size_t capacity =
      windows1252.size() + windows1252.size() / long_paragraph + 1 + kept.size();
  std::size_t next_kept = 0;
  box.text = QString(static_cast<qsizetype>(capacity), Qt::Uninitialized);
  QChar* const start = box.text.data();
  QChar* out = start;
  std::size_t paragraph = 0;
  std::size_t paragraph_length = 0;
  std::size_t paragraph_lines = 1;
  const auto end_paragraph = [&](bool parted) {
    *out++ = QChar(QChar::ParagraphSeparator);
    if (parted) box.parted_paragraphs.push_back(paragraph);
    ++paragraph;
    paragraph_length = 0;
    paragraph_lines = 1;
  };

  for (std::size_t i = 0; i < windows1252.size(); ++i) {
    const char byte = windows1252[i];
    if (byte == '\r' || byte == '\n') {
      if (byte == '\r' && i + 1 < windows1252.size() && windows1252[i + 1] == '\n') ++i;
      if (paragraph_lines >= lines_per_paragraph || paragraph_length >= long_paragraph) {
        end_paragraph(false);
      } else {
        *out++ = QChar(QChar::LineSeparator);
        ++paragraph_length;
        ++paragraph_lines;
      }
      continue;
    }
    if (byte == kStandIn && next_kept < kept.size()) {
      out = put_kept(out, kept[next_kept++]);
    } else {
      *out++ = QChar(characters[static_cast<unsigned char>(byte)]);
    }
    ++paragraph_length;
    const bool long_enough = paragraph_length >= long_paragraph &&
                             (byte == ' ' || paragraph_length >= 2 * long_paragraph);
    // A parting point right before a line break would only add an empty line.
    const bool line_goes_on =
        i + 1 < windows1252.size() && windows1252[i + 1] != '\r' && windows1252[i + 1] != '\n';
    if (long_enough && line_goes_on) end_paragraph(true);
  }
  box.text.truncate(out - start);
  return box;
}

std::string paragraph_bytes(QStringView paragraph) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(paragraph.size()));
  qsizetype start = 0;
  for (qsizetype i = 0; i <= paragraph.size(); ++i) {
    const bool at_end = i == paragraph.size();
    if (at_end || paragraph[i] == QChar::LineSeparator ||
        paragraph[i] == QChar::ParagraphSeparator) {
      bytes += from_display_text(paragraph.mid(start, i - start));
      if (!at_end) bytes += "\r\n";
      start = i + 1;
    }
  }
  return bytes;
}

}  // namespace quirlex::gui
