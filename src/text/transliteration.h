// Spells out the seven German umlaut bytes of Windows-1252 as two letters
// each (ä: ae, Ä: Ae, ß: ss, ...), the form every command compares words
// in. Converted texts only: a UTF-8 text must be turned into Windows-1252
// first, so that its umlauts are single bytes too.
#pragma once

#include <string>

namespace quirlex {

// Replaces, in place, every byte of `text` that is one of the seven German
// umlaut bytes of Windows-1252 by its two-letter spelling. A text that would
// grow past kCountLimit bytes (base/limits.h) is refused with LimitExceeded.
void transliterate_umlauts(std::string& text);

}  // namespace quirlex
