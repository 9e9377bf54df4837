// Dialog units to pixels, checked against the classic dialog font's base
// units (6 by 13 pixels for "MS Shell Dlg" 8 point at 96 dots per inch).
#include "gui/dialog_units.h"

#include <QApplication>
#include <QTest>

namespace quirlex::gui {

class DialogUnitsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void units_round_half_away_from_zero();
  void a_font_gives_its_average_letter_width_and_height();
};

void DialogUnitsTest::units_round_half_away_from_zero() {
  const DialogUnits units(6, 13);
  // 7 * 6 / 4 = 10.5 and 89 * 13 / 8 = 144.625 round up; 96 * 13 / 8 = 156.
  QCOMPARE(units.rect(7, 89, 308, 96), QRect(11, 145, 462, 156));
  // 300 * 13 / 8 = 487.5.
  QCOMPARE(units.size(322, 300), QSize(483, 488));
  QCOMPARE(units.x(-7), -11);
  QCOMPARE(units.y(0), 0);
}

void DialogUnitsTest::a_font_gives_its_average_letter_width_and_height() {
  QFont font = QApplication::font();
  font.setPixelSize(20);
  const DialogUnits units(font);
  const QFontMetrics metrics(font);
  QCOMPARE(units.base_height(), metrics.height());
  // The average lies between the narrowest and the widest letter.
  QVERIFY(units.base_width() >= metrics.horizontalAdvance(QLatin1Char('i')));
  QVERIFY(units.base_width() <= metrics.horizontalAdvance(QLatin1Char('W')));
  // A larger font gives larger units.
  font.setPixelSize(40);
  QVERIFY(DialogUnits(font).base_width() > units.base_width());
}

}  // namespace quirlex::gui

QTEST_MAIN(quirlex::gui::DialogUnitsTest)
#include "dialog_units_test.moc"
