// The text boxes: Windows-1252 bytes to the characters on screen and back,
// how texts of any size are laid into a box's paragraphs, and the box with
// its scroll bar on the left.
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QWheelEvent>
#include <string>
#include <vector>

#include "gui/box_text.h"
#include "gui/display_text.h"
#include "gui/left_scroll_text_edit.h"
#include "text/text_encoding.h"

namespace quirlex::gui {
namespace {

std::string numbered_lines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

// Number of the paragraph at the top of the visible text.
int top_block(const LeftScrollTextEdit& box) {
  return box.cursorForPosition(QPoint(1, 1)).blockNumber();
}

}  // namespace

class TextBoxTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void every_byte_value_survives_the_conversion_and_the_box();
  void bytes_show_as_their_windows_1252_characters();
  void texts_are_gathered_and_parted_into_paragraphs();
  void stand_ins_show_the_characters_they_stand_for();
  void texts_of_any_size_come_back_whole();
  void the_scroll_bar_on_the_left_scrolls_the_text_and_follows_it();
};

void TextBoxTest::every_byte_value_survives_the_conversion_and_the_box() {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  const QString shown = to_display_text(all);
  // Distinct bytes must look distinct, or the way back could not tell them apart.
  QCOMPARE(QSet<QChar>(shown.begin(), shown.end()).size(), 256);
  QCOMPARE(from_display_text(shown), all);

  // Through the box: all bytes but CR and LF on one line, twice; no-break
  // space, the code page's gaps and NUL included.
  std::string line = all;
  std::erase_if(line, [](char c) { return c == '\r' || c == '\n'; });
  LeftScrollTextEdit box;
  box.set_bytes(line + "\r\n" + line);
  QCOMPARE(box.document()->blockCount(), 2);
  QCOMPARE(box.bytes(), line + "\r\n" + line);
}

void TextBoxTest::bytes_show_as_their_windows_1252_characters() {
  QCOMPARE(to_display_text("\x80\x8A\x93\x94\x9F\xA0\xC4\xDF\xE9\xFF\x81"),
           QString::fromUtf8("€Š“”Ÿ\u00A0Äßéÿ\u0081"));
  // Characters the code page lacks come back as one '?' each, also those
  // beyond the basic plane.
  QCOMPARE(from_display_text(QString::fromUtf8("a\u65E5b\U0001F600c\u2028")),
           std::string("a?b?c?"));
}

void TextBoxTest::texts_are_gathered_and_parted_into_paragraphs() {
  const struct {
    const char* what;
    std::string text;
    BoxTextLimits limits;
    QStringList paragraphs;  // '|' for a line separator
    std::vector<std::size_t> parted;
  } cases[] = {
      {"nothing", "", {}, {""}, {}},
      {"each kind of line break", "a\r\nb\nc\rd\r\n\r\n", {}, {"a", "b", "c", "d", "", ""}, {}},
      {"ten lines in at most three paragraphs: four each, the rest last",
       "0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9",
       {3, 1000},
       {"0|1|2|3", "4|5|6|7", "8|9"},
       {}},
      {"a long line after a space",
       "aaaa bbbb cccc dddd\r\nee",
       {100, 8},
       {"aaaa bbbb ", "cccc dddd", "ee"},
       {0}},
      {"a long line without spaces at twice the length",
       std::string(20, 'x'),
       {100, 4},
       {"xxxxxxxx", "xxxxxxxx", "xxxx"},
       {0, 1}},
      {"the smallest limits", "a b c", {1, 1}, {"a ", "b ", "c"}, {0, 1}},
      {"no empty paragraph for a line ending at the limit",
       "abcdefgh\r\nij",
       {100, 4},
       {"abcdefgh", "ij"},
       {}},
  };
  for (const auto& c : cases) {
    const BoxText box = make_box_text(c.text, c.limits);
    QString text = box.text;
    text.replace(QChar::LineSeparator, '|');
    QVERIFY2(text.split(QChar::ParagraphSeparator) == c.paragraphs, c.what);
    QVERIFY2(box.parted_paragraphs == c.parted, c.what);
  }
}

void TextBoxTest::stand_ins_show_the_characters_they_stand_for() {
  // As a UTF-8 text is read: an arrow, an emoji, a byte of no UTF-8 and the
  // text's own SUB, each a stand-in; a stand-in beyond them shows as itself.
  std::string utf8 = "a\xE2\x86\x92" "b\xF0\x9F\x98\x80\xFF\x1A" "c\xC3\xA9\r\n";
  const TextEncoding encoding = decode_text(utf8, ReadEncoding::kUtf8);
  const BoxText box = make_box_text(utf8 + "\x1A", {}, encoding.kept());
  QCOMPARE(box.text, QString::fromUtf8("a\u2192b\U0001F600\uFFFD\x1A" "c\u00E9") +
                         QChar(QChar::ParagraphSeparator) + QChar(0x1A));
}

void TextBoxTest::texts_of_any_size_come_back_whole() {
  LeftScrollTextEdit box;
  box.set_bytes("a\rb\nc\r\n");
  QCOMPARE(box.document()->blockCount(), 4);
  QCOMPARE(box.bytes(), std::string("a\r\nb\r\nc\r\n"));

  const std::string lines = numbered_lines(300000);
  box.set_bytes(lines);
  QVERIFY(box.document()->blockCount() <= 65536 + 1);
  QCOMPARE(box.bytes(), lines);

  std::string long_line;
  while (long_line.size() < 200000) long_line += "word\xE9 ";
  long_line += "end";
  box.set_bytes(long_line + "\r\n" + long_line);
  QVERIFY(box.document()->blockCount() > 2);
  QCOMPARE(box.bytes(), long_line + "\r\n" + long_line);
  // Texts set by the program leave nothing to undo.
  QVERIFY(!box.document()->isUndoAvailable());
}

void TextBoxTest::the_scroll_bar_on_the_left_scrolls_the_text_and_follows_it() {
  LeftScrollTextEdit box;
  box.resize(300, 200);
  box.set_bytes(numbered_lines(500));
  box.show();
  QVERIFY(QTest::qWaitForWindowExposed(&box));

  QScrollBar* bar = box.left_scroll_bar();
  QVERIFY(bar->isVisible() && bar->isEnabled());
  QVERIFY(!box.verticalScrollBar()->isVisible());
  // The bar at the left inner edge, the text area from beside it to the right
  // edge, the text still running left to right.
  QVERIFY(bar->geometry().left() <= box.frameWidth());
  QCOMPARE(box.viewport()->geometry().left(), bar->geometry().right() + 1);
  QVERIFY(box.viewport()->geometry().right() >= box.width() - box.frameWidth() - 1);
  QVERIFY(box.cursorRect(QTextCursor(box.document())).left() < box.viewport()->width() / 4);

  QCOMPARE(top_block(box), 0);
  bar->setValue(bar->maximum());
  QVERIFY(top_block(box) > 400);
  bar->triggerAction(QAbstractSlider::SliderToMinimum);
  QCOMPARE(top_block(box), 0);

  // The wheel scrolls the text, and the bar follows.
  const QPointF at(box.viewport()->width() / 2.0, box.viewport()->height() / 2.0);
  QWheelEvent wheel(at, box.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(box.viewport(), &wheel);
  QVERIFY(top_block(box) > 0);
  QVERIFY(bar->value() > 0);
  QCOMPARE(bar->value(), box.verticalScrollBar()->value());
}

}  // namespace quirlex::gui

QTEST_MAIN(quirlex::gui::TextBoxTest)
#include "text_box_test.moc"
