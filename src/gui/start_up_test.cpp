// What the program sets up before its window opens. This test program's
// file is named "quirlex.start-up-test", so its name without the extension
// is "quirlex", the name the program itself gets.
#include "gui/start_up.h"

#include <QApplication>
#include <QTest>

namespace quirlex::gui {

class StartUpTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void names_the_application_after_its_file_without_extension();
};

void StartUpTest::names_the_application_after_its_file_without_extension() {
  // Qt's own default would be the whole file name.
  QCOMPARE(QCoreApplication::applicationName(), QString("quirlex.start-up-test"));
  set_up_application();
  QCOMPARE(QCoreApplication::applicationName(), QString("quirlex"));
  QCOMPARE(QCoreApplication::organizationName(),
           QString("Vom lokalen Anwendungs-Assistenten generierte Anwendungen"));
  QVERIFY(!QApplication::windowIcon().isNull());
}

}  // namespace quirlex::gui

QTEST_MAIN(quirlex::gui::StartUpTest)
#include "start_up_test.moc"
