// The text box: texts in and out byte for byte, the scroll bar on the left
// that really scrolls, and the box that follows the end of its text.
#include "gui/left_scroll_text_edit.h"

#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QWheelEvent>
#include <string>

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

class LeftScrollTextEditTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void every_byte_value_survives_the_box();
  void lone_cr_and_lf_break_the_line_and_read_back_as_cr_lf();
  void texts_of_millions_of_lines_and_of_one_long_line_come_back_whole();
  void a_text_set_by_the_program_cannot_be_undone();
  void the_scroll_bar_sits_left_of_the_text_and_scrolls_it();
  void the_wheel_scrolls_the_text_and_moves_the_bar();
  void a_box_that_follows_the_end_shows_the_last_line();
  void other_boxes_show_the_start();
};

void LeftScrollTextEditTest::every_byte_value_survives_the_box() {
  // All bytes but CR and LF in one line, then a line break, then all again:
  // no-break space, the C1 gaps of the code page and NUL included.
  std::string line;
  for (int byte = 0; byte < 256; ++byte) {
    if (byte != '\r' && byte != '\n') line.push_back(static_cast<char>(byte));
  }
  const std::string text = line + "\r\n" + line;
  LeftScrollTextEdit box;
  box.set_bytes(text);
  QCOMPARE(box.document()->blockCount(), 2);
  QCOMPARE(box.bytes(), text);
}

void LeftScrollTextEditTest::lone_cr_and_lf_break_the_line_and_read_back_as_cr_lf() {
  LeftScrollTextEdit box;
  box.set_bytes("a\rb\nc\r\n");
  QCOMPARE(box.document()->blockCount(), 4);
  QCOMPARE(box.bytes(), std::string("a\r\nb\r\nc\r\n"));
}

void LeftScrollTextEditTest::texts_of_millions_of_lines_and_of_one_long_line_come_back_whole() {
  LeftScrollTextEdit box;
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
}

void LeftScrollTextEditTest::a_text_set_by_the_program_cannot_be_undone() {
  LeftScrollTextEdit box;
  box.set_bytes("first");
  box.set_bytes("second");
  QVERIFY(!box.document()->isUndoAvailable());
}

void LeftScrollTextEditTest::the_scroll_bar_sits_left_of_the_text_and_scrolls_it() {
  LeftScrollTextEdit box;
  box.resize(300, 200);
  box.set_bytes(numbered_lines(500));
  box.show();
  QVERIFY(QTest::qWaitForWindowExposed(&box));

  QScrollBar* bar = box.left_scroll_bar();
  QVERIFY(bar->isVisible());
  QVERIFY(!box.verticalScrollBar()->isVisible());
  QVERIFY(bar->isEnabled());
  // The bar at the left inner edge, the text area right beside it.
  QVERIFY(bar->geometry().left() <= box.frameWidth());
  QCOMPARE(box.viewport()->geometry().left(), bar->geometry().right() + 1);
  QVERIFY(box.viewport()->geometry().right() >= box.width() - box.frameWidth() - 1);
  // The text still runs left to right: its start is at the left of the text area.
  QVERIFY(box.cursorRect(QTextCursor(box.document())).left() < box.viewport()->width() / 4);

  QCOMPARE(bar->value(), 0);
  QCOMPARE(top_block(box), 0);
  bar->setValue(bar->maximum());
  QVERIFY(top_block(box) > 400);
  QCOMPARE(box.verticalScrollBar()->value(), bar->value());
  bar->triggerAction(QAbstractSlider::SliderToMinimum);
  QCOMPARE(top_block(box), 0);
}

void LeftScrollTextEditTest::the_wheel_scrolls_the_text_and_moves_the_bar() {
  LeftScrollTextEdit box;
  box.resize(300, 200);
  box.set_bytes(numbered_lines(500));
  box.show();
  QVERIFY(QTest::qWaitForWindowExposed(&box));

  const QPointF at(box.viewport()->width() / 2.0, box.viewport()->height() / 2.0);
  QWheelEvent wheel(at, box.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(box.viewport(), &wheel);
  QVERIFY(top_block(box) > 0);
  QCOMPARE(box.left_scroll_bar()->value(), box.verticalScrollBar()->value());
  QVERIFY(box.left_scroll_bar()->value() > 0);
}

void LeftScrollTextEditTest::a_box_that_follows_the_end_shows_the_last_line() {
  LeftScrollTextEdit box;
  box.set_follows_end(true);
  box.resize(300, 200);
  box.show();
  QVERIFY(QTest::qWaitForWindowExposed(&box));
  box.set_bytes(numbered_lines(100000) + "the last line");

  QVERIFY(box.textCursor().atEnd());
  QVERIFY(box.left_scroll_bar()->value() > 0);
  QCOMPARE(box.left_scroll_bar()->value(), box.left_scroll_bar()->maximum());
  // The caret, after the last character, is inside the visible area.
  QVERIFY(box.viewport()->rect().contains(box.cursorRect()));

  // A short text after a long one is shown from its top again.
  box.set_bytes("Ready!");
  QCOMPARE(box.left_scroll_bar()->value(), 0);
  QVERIFY(box.textCursor().atEnd());
}

void LeftScrollTextEditTest::other_boxes_show_the_start() {
  LeftScrollTextEdit box;
  box.resize(300, 200);
  box.show();
  QVERIFY(QTest::qWaitForWindowExposed(&box));
  box.set_bytes(numbered_lines(5000));
  QCOMPARE(box.textCursor().position(), 0);
  QCOMPARE(box.left_scroll_bar()->value(), 0);
  QCOMPARE(top_block(box), 0);
}

}  // namespace quirlex::gui

QTEST_MAIN(quirlex::gui::LeftScrollTextEditTest)
#include "left_scroll_text_edit_test.moc"
