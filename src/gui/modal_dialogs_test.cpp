// The real file dialog and message boxes behind the window: what they show
// and what they give back.
#include "gui/modal_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "gui/modal_watch.h"
#include "testing/temp_dir.h"

namespace quirlex::gui {

using testing::when_modal_opens;

class ModalDialogsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init();
  void cleanup();
  void the_file_dialog_opens_in_the_working_folder_with_the_preset_name();
  void a_typed_name_that_does_not_exist_yet_is_taken();
  void a_cancelled_file_dialog_gives_nothing();
  void messages_are_warnings_titled_with_the_application_name();
  void file_errors_show_the_stop_icon();

 private:
  std::unique_ptr<quirlex::testing::TempDir> folder_;
  QString previous_folder_;
};

void ModalDialogsTest::init() {
  folder_ = std::make_unique<quirlex::testing::TempDir>();
  previous_folder_ = QDir::currentPath();
  QVERIFY(QDir::setCurrent(QString::fromStdString(folder_->path())));
}

void ModalDialogsTest::cleanup() {
  QDir::setCurrent(previous_folder_);
  folder_.reset();
}

void ModalDialogsTest::the_file_dialog_opens_in_the_working_folder_with_the_preset_name() {
  quirlex::testing::put_file(folder_->file("test2.txt"), "text");
  QString name_field;
  QString folder;
  when_modal_opens([&](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    QVERIFY(dialog != nullptr);
    folder = dialog->directory().absolutePath();
    QLineEdit* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    name_field = name->text();
    QTest::keyClick(name, Qt::Key_Return);
  });
  StandardDialogs dialogs;
  const std::optional<QString> chosen = dialogs.choose_file(nullptr, "test2.txt", FileUse::kRead);
  QCOMPARE(name_field, QString("test2.txt"));
  QCOMPARE(folder, QDir::current().absolutePath());
  QVERIFY(chosen.has_value());
  QCOMPARE(*chosen, QDir::current().absoluteFilePath("test2.txt"));
}

void ModalDialogsTest::a_typed_name_that_does_not_exist_yet_is_taken() {
  when_modal_opens([](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    QVERIFY(dialog != nullptr);
    QLineEdit* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    name->setText(QString::fromUtf8("neue Datei ü.dic"));
    QTest::keyClick(name, Qt::Key_Return);
  });
  StandardDialogs dialogs;
  const std::optional<QString> chosen =
      dialogs.choose_file(nullptr, "Lexikon.dic", FileUse::kWrite);
  QVERIFY(chosen.has_value());
  QCOMPARE(*chosen, QDir::current().absoluteFilePath(QString::fromUtf8("neue Datei ü.dic")));
}

void ModalDialogsTest::a_cancelled_file_dialog_gives_nothing() {
  when_modal_opens([](QWidget* widget) { QTest::keyClick(widget, Qt::Key_Escape); });
  StandardDialogs dialogs;
  QVERIFY(!dialogs.choose_file(nullptr, "savedtext.txt", FileUse::kWrite).has_value());
}

void ModalDialogsTest::messages_are_warnings_titled_with_the_application_name() {
  QApplication::setApplicationName("quirlex");
  bool seen = false;
  when_modal_opens([&](QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    QVERIFY(box != nullptr);
    seen = true;
    QCOMPARE(box->windowTitle(), QString("quirlex"));
    QCOMPARE(box->text(), QString::fromUtf8("Datei konnte nicht geöffnet werden!"));
    QCOMPARE(box->icon(), QMessageBox::Warning);
    QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    box->button(QMessageBox::Ok)->click();
  });
  StandardDialogs dialogs;
  dialogs.show_message(nullptr, QString::fromUtf8("Datei konnte nicht geöffnet werden!"),
                       MessageKind::kWarning);
  QVERIFY(seen);
}

void ModalDialogsTest::file_errors_show_the_stop_icon() {
  bool seen = false;
  when_modal_opens([&](QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    QVERIFY(box != nullptr);
    seen = true;
    QCOMPARE(box->icon(), QMessageBox::Critical);
    QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    QTest::keyClick(box, Qt::Key_Escape);
  });
  StandardDialogs dialogs;
  dialogs.show_message(nullptr, "Access to /x was denied.", MessageKind::kFileError);
  QVERIFY(seen);
}

}  // namespace quirlex::gui

QTEST_MAIN(quirlex::gui::ModalDialogsTest)
#include "modal_dialogs_test.moc"
