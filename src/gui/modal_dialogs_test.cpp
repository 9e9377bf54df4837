// What the program sets up before its window opens, and the real file dialog
// and message boxes behind the window. This test program's file is named
// "quirlex.modal-dialogs-test", so its name without the extension is
// "quirlex", the name the program itself gets.
#include "gui/modal_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include "gui/modal_watch.h"
#include "gui/start_up.h"
#include "testing/temp_dir.h"

namespace quirlex::gui {

using testing::when_modal_opens;

class ModalDialogsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void names_the_application_after_its_file_without_extension();
  void the_file_dialog_opens_in_its_folder_with_the_preset_name();
  void messages_are_titled_with_the_application_name_and_show_their_icon();
  void each_file_dialog_is_titled_by_its_purpose_and_offers_its_file_types();
  void a_dialog_for_a_file_to_write_asks_before_replacing_one();
  void a_question_answers_yes_only_for_yes();
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

void ModalDialogsTest::the_file_dialog_opens_in_its_folder_with_the_preset_name() {
  quirlex::testing::TempDir folder;
  const auto restore =
      qScopeGuard([previous = QDir::currentPath()] { QDir::setCurrent(previous); });
  QVERIFY(QDir::setCurrent(QString::fromStdString(folder.path())));
  quirlex::testing::put_file(folder.file("test2.txt"), "text");
  QVERIFY(QDir::current().mkdir("Wörter"));
  const QString other = QDir::current().absoluteFilePath("Wörter");
  quirlex::testing::put_file(QFile::encodeName(other + "/de.dic.suffixes").toStdString(), "en");
  const struct {
    QString preset;
    FilePurpose purpose;
    QString folder;
    QString typed;  // empty: the preset is confirmed as it is
    Qt::Key key;
    std::optional<QString> chosen;
    QString name_field;  // empty: the preset
  } cases[] = {
      {"test2.txt", FilePurpose::kOpenText, QDir::currentPath(), "", Qt::Key_Return,
       QDir::current().absoluteFilePath("test2.txt"), ""},
      // A name that does not exist yet is taken too, in the folder given.
      {"Lexikon.dic", FilePurpose::kSaveLexicon, other, "neue Datei ü.dic", Qt::Key_Return,
       other + "/neue Datei ü.dic", ""},
      {"savedtext.txt", FilePurpose::kSaveScrambledText, QDir::currentPath(), "", Qt::Key_Escape,
       std::nullopt, ""},
      // A preset with a folder of its own opens there.
      {other + "/de.dic.suffixes", FilePurpose::kOpenSuffixes, QDir::currentPath(), "",
       Qt::Key_Return, other + "/de.dic.suffixes", "de.dic.suffixes"},
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
    QCOMPARE(dialogs.choose_file(nullptr, c.folder, c.preset, c.purpose), c.chosen);
    QCOMPARE(name_field, c.name_field.isEmpty() ? c.preset : c.name_field);
    QCOMPARE(shown_folder, c.name_field.isEmpty() ? c.folder : other);
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

void ModalDialogsTest::each_file_dialog_is_titled_by_its_purpose_and_offers_its_file_types() {
  const QStringList text = {"All files (*)", "Text files (*.txt)"};
  const QStringList lexicon = text + QStringList{"Lexicon files (*.dic)"};
  const struct {
    FilePurpose purpose;
    const char* title;
    QStringList filters;
  } cases[] = {
      {FilePurpose::kOpenText, "Open text", text},
      {FilePurpose::kSaveScrambledText, "Save scrambled text as", text},
      {FilePurpose::kSaveRestoredText, "Save restored text as", text},
      {FilePurpose::kOpenScrambledText, "Open scrambled text", text},
      {FilePurpose::kOpenCorpus, "Open corpus", text},
      {FilePurpose::kSaveLexicon, "Save lexicon as", lexicon},
      {FilePurpose::kOpenLexicon, "Open lexicon", lexicon},
      {FilePurpose::kOpenSuffixes, "Open suffix list", text},
      {FilePurpose::kOpenPrefixes, "Open prefix list", text},
  };
  for (const auto& c : cases) {
    QStringList seen;
    when_modal_opens([&](QWidget* widget) {
      if (auto* dialog = qobject_cast<QFileDialog*>(widget)) {
        seen = QStringList{dialog->windowTitle()} + dialog->nameFilters() +
               QStringList{"selected " + dialog->selectedNameFilter()};
      }
      QTest::keyClick(widget, Qt::Key_Escape);
    });
    StandardDialogs dialogs;
    QCOMPARE(dialogs.choose_file(nullptr, QDir::currentPath(), "name.txt", c.purpose),
             std::nullopt);
    QCOMPARE(seen, QStringList{c.title} + c.filters + QStringList{"selected All files (*)"});
  }
}

void ModalDialogsTest::a_dialog_for_a_file_to_write_asks_before_replacing_one() {
  quirlex::testing::TempDir folder;
  const auto restore =
      qScopeGuard([previous = QDir::currentPath()] { QDir::setCurrent(previous); });
  QVERIFY(QDir::setCurrent(QString::fromStdString(folder.path())));
  quirlex::testing::put_file(folder.file("old.txt"), "kept");
  const QString old_file = QDir::current().absoluteFilePath("old.txt");
  const struct {
    FilePurpose purpose;
    QMessageBox::StandardButton reply;  // NoButton: no question expected
    std::optional<QString> chosen;
  } cases[] = {
      {FilePurpose::kSaveScrambledText, QMessageBox::Yes, old_file},
      // "No" goes back to the file dialog, which the user then cancels.
      {FilePurpose::kSaveLexicon, QMessageBox::No, std::nullopt},
      {FilePurpose::kOpenText, QMessageBox::NoButton, old_file},
  };
  for (const auto& c : cases) {
    when_modal_opens([](QWidget* widget) {
      QLineEdit* name = widget->findChild<QLineEdit*>("fileNameEdit");
      if (name == nullptr) {
        widget->close();
        return;
      }
      name->setText("old.txt");
      QTest::keyClick(name, Qt::Key_Return);
    });
    // Answers the question, and cancels a file dialog still open after it;
    // an unexpected question is answered too, so that it is counted.
    QStringList questions;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || !modal->isVisible()) return;
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        questions.append(box->text());
        box->button(c.reply == QMessageBox::NoButton ? QMessageBox::Yes : c.reply)->click();
      } else if (!questions.isEmpty()) {
        QTest::keyClick(modal, Qt::Key_Escape);
      }
    });
    watch.start(10);
    StandardDialogs dialogs;
    QCOMPARE(dialogs.choose_file(nullptr, QDir::currentPath(), "preset.txt", c.purpose),
             c.chosen);
    QCOMPARE(questions.size(), c.reply == QMessageBox::NoButton ? 0 : 1);
    if (!questions.isEmpty()) QVERIFY(questions[0].contains("old.txt"));
    QCOMPARE(quirlex::testing::get_file(folder.file("old.txt")), std::string("kept"));
  }
}

void ModalDialogsTest::a_question_answers_yes_only_for_yes() {
  set_up_application();
  for (const auto& [key, yes] : {std::pair{Qt::Key_Y, true}, std::pair{Qt::Key_Escape, false},
                                 std::pair{Qt::Key_Return, false}}) {
    QStringList seen;
    when_modal_opens([&, key = key](QWidget* widget) {
      if (auto* box = qobject_cast<QMessageBox*>(widget)) {
        seen = {box->windowTitle(), box->text(), QString::number(box->icon())};
      }
      QTest::keyClick(widget, key, key == Qt::Key_Y ? Qt::AltModifier : Qt::NoModifier);
    });
    StandardDialogs dialogs;
    QCOMPARE(dialogs.ask(nullptr, "Quit?"), yes);
    QCOMPARE(seen, (QStringList{"quirlex", "Quit?", QString::number(QMessageBox::Question)}));
  }
}

}  // namespace quirlex::gui

QTEST_MAIN(quirlex::gui::ModalDialogsTest)
#include "modal_dialogs_test.moc"
