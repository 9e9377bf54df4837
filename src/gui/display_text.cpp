#include "gui/display_text.h"

#include <cstdint>

#include "text/windows1252.h"

namespace quirlex::gui {
namespace {

// Texts of tens of megabytes pass through here, so each byte is one look-up.
struct DisplayTable {
  std::array<char16_t, 256> unicode{};
  DisplayTable() {
    for (int byte = 0; byte < 256; ++byte) {
      unicode[static_cast<std::size_t>(byte)] =
          static_cast<char16_t>(windows1252_to_unicode(static_cast<std::uint8_t>(byte)));
    }
  }
};

}  // namespace

const std::array<char16_t, 256>& display_characters() {
  static const DisplayTable table;
  return table.unicode;
}

QString to_display_text(std::string_view windows1252) {
  const auto& table = display_characters();
  QString text(static_cast<qsizetype>(windows1252.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char byte : windows1252) {
    *out++ = QChar(table[static_cast<std::uint8_t>(byte)]);
  }
  return text;
}

std::string from_display_text(QStringView text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    // A character beyond the basic plane is one '?', not one per half.
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      ++i;
      bytes.push_back('?');
      continue;
    }
    const auto byte = unicode_to_windows1252(c.unicode());
    bytes.push_back(byte ? static_cast<char>(*byte) : '?');
  }
  return bytes;
}

}  // namespace quirlex::gui
