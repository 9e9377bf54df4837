// How texts are laid into a text box's paragraphs: every line break, the
// grouping of many lines and the parting of very long lines.
#include "gui/box_text.h"

#include <QTest>
#include <string>

namespace quirlex::gui {
namespace {

const QChar kParagraph(QChar::ParagraphSeparator);
const QChar kLine(QChar::LineSeparator);

// The text's paragraphs, split at the paragraph separators.
QStringList paragraphs(const BoxText& box) {
  return box.text.split(kParagraph);
}

}  // namespace

class BoxTextTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void each_kind_of_line_break_is_one_paragraph_break();
  void many_lines_are_gathered_into_at_most_the_limit_of_paragraphs();
  void a_long_line_is_parted_after_a_space();
  void a_long_line_without_spaces_is_parted_at_twice_the_length();
  void a_line_ending_at_the_limit_gets_no_empty_paragraph();
  void paragraph_bytes_give_line_separators_back_as_cr_lf();
};

void BoxTextTest::each_kind_of_line_break_is_one_paragraph_break() {
  const BoxText box = make_box_text("a\r\nb\nc\rd\r\n\r\n");
  QCOMPARE(paragraphs(box), QStringList({"a", "b", "c", "d", "", ""}));
  QVERIFY(box.parted_paragraphs.empty());
  QCOMPARE(make_box_text("").text, QString());
}

void BoxTextTest::many_lines_are_gathered_into_at_most_the_limit_of_paragraphs() {
  // Ten lines, at most three paragraphs: four lines each, the rest last.
  const BoxText box = make_box_text("0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9", {3, 1000});
  const QStringList expected = {QStringList({"0", "1", "2", "3"}).join(kLine),
                                QStringList({"4", "5", "6", "7"}).join(kLine),
                                QStringList({"8", "9"}).join(kLine)};
  QCOMPARE(paragraphs(box), expected);
  QVERIFY(box.parted_paragraphs.empty());
}

void BoxTextTest::a_long_line_is_parted_after_a_space() {
  const BoxText box = make_box_text("aaaa bbbb cccc dddd\r\nee", {100, 8});
  QCOMPARE(paragraphs(box), QStringList({"aaaa bbbb ", "cccc dddd", "ee"}));
  QCOMPARE(box.parted_paragraphs, std::vector<std::size_t>{0});
}

void BoxTextTest::a_long_line_without_spaces_is_parted_at_twice_the_length() {
  const BoxText box = make_box_text(std::string(20, 'x'), {100, 4});
  QCOMPARE(paragraphs(box), QStringList({"xxxxxxxx", "xxxxxxxx", "xxxx"}));
  QCOMPARE(box.parted_paragraphs, (std::vector<std::size_t>{0, 1}));
  // The smallest limits still leave room for every separator they add.
  const BoxText tiny = make_box_text("a b c", {1, 1});
  QCOMPARE(paragraphs(tiny), QStringList({"a ", "b ", "c"}));
}

void BoxTextTest::a_line_ending_at_the_limit_gets_no_empty_paragraph() {
  const BoxText box = make_box_text("abcdefgh\r\nij", {100, 4});
  QCOMPARE(paragraphs(box), QStringList({"abcdefgh", "ij"}));
  QVERIFY(box.parted_paragraphs.empty());
}

void BoxTextTest::paragraph_bytes_give_line_separators_back_as_cr_lf() {
  const QString paragraph = QString::fromUtf8("Gröe") + kLine + QString::fromUtf8("€ 5") + kLine;
  QCOMPARE(paragraph_bytes(paragraph), std::string("Gr\xF6"
                                                   "e\r\n\x80 5\r\n"));
}

}  // namespace quirlex::gui

QTEST_APPLESS_MAIN(quirlex::gui::BoxTextTest)
#include "box_text_test.moc"
