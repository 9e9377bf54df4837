// The conversion between Windows-1252 bytes and the characters on screen.
#include "gui/display_text.h"

#include <QTest>
#include <string>

namespace quirlex::gui {

class DisplayTextTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void every_byte_value_comes_back();
  void bytes_show_as_their_windows_1252_characters();
  void characters_outside_the_code_page_come_back_as_one_question_mark();
};

void DisplayTextTest::every_byte_value_comes_back() {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  const QString shown = to_display_text(all);
  QCOMPARE(shown.size(), 256);
  // Distinct bytes must look distinct, or the way back could not tell them apart.
  for (int i = 0; i < 256; ++i) {
    for (int j = i + 1; j < 256; ++j)
      QVERIFY2(shown[i] != shown[j], qPrintable(QString::number(i)));
  }
  QCOMPARE(from_display_text(shown), all);
}

void DisplayTextTest::bytes_show_as_their_windows_1252_characters() {
  const QString shown = to_display_text("\x80\x8A\x93\x94\x9F\xA0\xC4\xDF\xE9\xFF\x81");
  const QString expected = QString::fromUtf8("€Š“”Ÿ\u00A0Äßéÿ\u0081");
  QCOMPARE(shown, expected);
  QCOMPARE(from_display_text(u"Größe 5 €"), std::string("Gr\xF6\xDF"
                                                        "e 5 \x80"));
}

void DisplayTextTest::characters_outside_the_code_page_come_back_as_one_question_mark() {
  QCOMPARE(from_display_text(QString::fromUtf8("a\u65E5b\U0001F600c\u2028")),
           std::string("a?b?c?"));
}

}  // namespace quirlex::gui

QTEST_APPLESS_MAIN(quirlex::gui::DisplayTextTest)
#include "display_text_test.moc"
