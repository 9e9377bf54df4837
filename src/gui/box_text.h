// How a text box holds a Windows-1252 text of any size. A text box keeps
// each paragraph as a unit: entering one costs microseconds, and the first
// look at one lays out all of it. So a text of millions of short lines is
// gathered into fewer paragraphs, with line separators between the lines
// inside a paragraph, and a line of many thousands of characters is parted
// into several paragraphs after a space. Both kinds of separator look like
// the line break they stand for; the parting points of long lines are
// listed so that reading the box back can join them again. A text read from
// UTF-8 shows the characters Windows-1252 lacks in place of their stand-ins.
#pragma once

#include <QString>
#include <QStringView>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quirlex::gui {

struct BoxTextLimits {
  // Up to this many lines, each line is a paragraph of its own.
  std::size_t most_paragraphs = 65536;
  // A paragraph that reaches this length ends at the next line break or
  // space, and at twice the length anyway.
  std::size_t long_paragraph = 16384;
};

struct BoxText {
  // The characters of the text; each line break (CR LF, a lone CR or a lone
  // LF) is a paragraph separator or a line separator.
  QString text;
  // Numbers of the paragraphs, counted from 0, that end inside a line: the
  // line goes on in the next paragraph. In increasing order.
  std::vector<std::size_t> parted_paragraphs;
};

// `kept` are the characters the text's stand-ins stand for, in text order
// (see text/text_encoding.h); a byte of no UTF-8 shows as U+FFFD.
BoxText make_box_text(std::string_view windows1252, const BoxTextLimits& limits = {},
                      std::span<const char32_t> kept = {});
// The same for `head` followed by `text`, without a joined copy of the two
// (a report in front of a text of a hundred megabytes). The stand-ins of
// both take their characters from `kept`, in order.
BoxText make_box_text(std::string_view head, std::string_view text,
                      const BoxTextLimits& limits = {}, std::span<const char32_t> kept = {});

// The bytes of one paragraph's text, with CR LF for each line separator.
std::string paragraph_bytes(QStringView paragraph);

}  // namespace quirlex::gui
