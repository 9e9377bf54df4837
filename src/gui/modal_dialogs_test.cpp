// What the program sets up before its window opens, and the real file dialog
// and message boxes behind the window. This test program's file is named
// "quirlex.modal-dialogs-test", so its name without the extension is
// "quirlex", the name the program itself gets.
#include "gui/modal_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTest>

#include "gui/modal_watch.h"
#include "gui/start_up.h"
#include "testing/temp_dir.h"

namespace quirlex::gui {

using testing::when_modal_opens;

class ModalDialogsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void names_the_application_after_its_file_without_extension();
  void the_file_dialog_opens_in_the_working_folder_with_the_preset_name();
  void messages_are_titled_with_the_application_name_and_show_their_icon();
};

void ModalDialogsTest::names_the_application_after_its_file_without_extension() {
  // Qt's own default would be the whole file name.
  QCOMPARE(QCoreApplication::applicationName(), QString("quirlex.modal-dialogs-test"));
  set_up_application();
  QCOMPARE(QCoreApplication::applicationName(), QString("quirlex"));
  QCOMPARE(QCoreApplication::organizationName(),
           QString("Vom lokalen Anwendungs-Assistenten generierte Anwendungen"));
  QVERIFY(!QApplication::windowIcon().isNull());
}

void ModalDialogsTest::the_file_dialog_opens_in_the_working_folder_with_the_preset_name() {
  quirlex::testing::TempDir folder;
  const auto restore =
      qScopeGuard([previous = QDir::currentPath()] { QDir::setCurrent(previous); });
  QVERIFY(QDir::setCurrent(QString::fromStdString(folder.path())));
  quirlex::testing::put_file(folder.file("test2.txt"), "text");
  const struct {
    const char* preset;
    FilePurpose purpose;
    QString typed;  // empty: the preset is confirmed as it is
    Qt::Key key;
    std::optional<QString> chosen;
  } cases[] = {
      {"test2.txt", FilePurpose::kOpenText, "", Qt::Key_Return,
       QDir::current().absoluteFilePath("test2.txt")},
      // A name that does not exist yet is taken too.
      {"Lexikon.dic", FilePurpose::kSaveLexicon, "neue Datei ü.dic", Qt::Key_Return,
       QDir::current().absoluteFilePath("neue Datei ü.dic")},
      {"savedtext.txt", FilePurpose::kSaveScrambledText, "", Qt::Key_Escape, std::nullopt},
  };
  for (const auto& c : cases) {
    QString name_field;
    QString shown_folder;
    when_modal_opens([&](QWidget* widget) {
      auto* dialog = qobject_cast<QFileDialog*>(widget);
      QLineEdit* name = widget->findChild<QLineEdit*>("fileNameEdit");
      if (dialog == nullptr || name == nullptr) {
        widget->close();
        return;
      }
      shown_folder = dialog->directory().absolutePath();
      name_field = name->text();
      if (!c.typed.isEmpty()) name->setText(c.typed);
      QTest::keyClick(name, c.key);
    });
    StandardDialogs dialogs;
    QCOMPARE(dialogs.choose_file(nullptr, c.preset, c.purpose), c.chosen);
    QCOMPARE(name_field, QString(c.preset));
    QCOMPARE(shown_folder, QDir::current().absolutePath());
  }
}

void ModalDialogsTest::messages_are_titled_with_the_application_name_and_show_their_icon() {
  set_up_application();
  for (const auto& [kind, icon] : {std::pair{MessageKind::kWarning, QMessageBox::Warning},
                                   std::pair{MessageKind::kFileError, QMessageBox::Critical}}) {
    QStringList seen;
    when_modal_opens([&](QWidget* widget) {
      if (auto* box = qobject_cast<QMessageBox*>(widget)) {
        seen = {box->windowTitle(), box->text(), QString::number(box->icon()),
                box->standardButtons() == QMessageBox::Ok ? "OK only" : "more buttons"};
      }
      QTest::keyClick(widget, Qt::Key_Escape);
    });
    StandardDialogs dialogs;
    dialogs.show_message(nullptr, "Datei konnte nicht geöffnet werden!", kind);
    QCOMPARE(seen, (QStringList{"quirlex", "Datei konnte nicht geöffnet werden!",
                                QString::number(icon), "OK only"}));
  }
}

}  // namespace quirlex::gui

QTEST_MAIN(quirlex::gui::ModalDialogsTest)
#include "modal_dialogs_test.moc"
