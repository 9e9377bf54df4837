// Conversion of the program's Windows-1252 texts to the Unicode strings the
// widgets show, and back. Every one of the 256 byte values has its own
// character, so a text survives the way to the screen and back unchanged.
#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <string>
#include <string_view>

namespace quirlex::gui {

// The character of each byte value.
const std::array<char16_t, 256>& display_characters();

// One character for each byte; line breaks stay as they are.
QString to_display_text(std::string_view windows1252);

// One byte for each character; characters that Windows-1252 cannot represent
// come back as '?'.
std::string from_display_text(QStringView text);

}  // namespace quirlex::gui
