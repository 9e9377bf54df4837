// The About box: its texts, its size in dialog units, the icon, and the ways
// to close it.
#include "gui/about_box.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "gui/app_icon.h"
#include "gui/dialog_units.h"

namespace quirlex::gui {
namespace {

QLabel* label_with_text(const QWidget& parent, const QString& text) {
  for (QLabel* label : parent.findChildren<QLabel*>()) {
    if (label->text() == text) return label;
  }
  return nullptr;
}

QLabel* icon_label(const QWidget& parent) {
  for (QLabel* label : parent.findChildren<QLabel*>()) {
    if (!label->pixmap().isNull()) return label;
  }
  return nullptr;
}

// Whether any pixel of the picture is not fully transparent.
bool has_ink(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) != 0) return true;
    }
  }
  return false;
}

}  // namespace

class AboutBoxTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void shows_title_icon_version_and_ok_in_their_places();
  void ok_escape_and_the_close_box_close_it();
};

void AboutBoxTest::shows_title_icon_version_and_ok_in_their_places() {
  AboutBox box(application_icon(), nullptr);
  QCOMPARE(box.windowTitle(), QString::fromUtf8("Info über Quirlex"));
  QVERIFY(box.isModal());
  const DialogUnits units(box.font());
  QCOMPARE(box.size(), units.size(235, 55));

  QLabel* version = label_with_text(box, "Quirlex Version 1.1b");
  QVERIFY(version != nullptr);
  QCOMPARE(version->geometry(), units.rect(40, 10, 119, 8));
  // The text fits its label on one line.
  QVERIFY(version->fontMetrics().horizontalAdvance(version->text()) <= version->width());

  QLabel* icon = icon_label(box);
  QVERIFY(icon != nullptr);
  QCOMPARE(icon->pos(), QPoint(units.x(11), units.y(17)));
  QVERIFY(has_ink(icon->pixmap()));
  QVERIFY(box.rect().contains(icon->geometry()));
  QVERIFY(icon->geometry().right() < version->geometry().left());

  auto* ok = box.findChild<QPushButton*>();
  QVERIFY(ok != nullptr);
  QCOMPARE(ok->text(), QString("OK"));
  QVERIFY(ok->isDefault());
  QCOMPARE(ok->geometry(), units.rect(178, 7, 50, 16));
  QVERIFY(box.rect().contains(ok->geometry()));
}

void AboutBoxTest::ok_escape_and_the_close_box_close_it() {
  {
    AboutBox box(application_icon(), nullptr);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(box.findChild<QPushButton*>(), Qt::LeftButton);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Accepted));
  }
  {
    AboutBox box(application_icon(), nullptr);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::keyClick(&box, Qt::Key_Escape);
    QVERIFY(!box.isVisible());
  }
  {
    AboutBox box(application_icon(), nullptr);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(box.close());
    QVERIFY(!box.isVisible());
  }
}

}  // namespace quirlex::gui

QTEST_MAIN(quirlex::gui::AboutBoxTest)
#include "about_box_test.moc"
