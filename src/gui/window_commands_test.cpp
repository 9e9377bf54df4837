// Every command through the real window: the test clicks the buttons, answers
// the file dialogs and checks which dialogs were asked for, what the two text
// boxes show and which messages reach the user. What the commands do inside
// is the core's to test; here it is the wiring.
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <memory>
#include <string>

#include "gui/left_scroll_text_edit.h"
#include "gui/scripted_dialogs.h"
#include "testing/temp_dir.h"

namespace quirlex::gui {

using quirlex::testing::get_file;
using quirlex::testing::put_file;
using quirlex::testing::TempDir;
using testing::ScriptedWindow;

namespace {

constexpr const char* kCannotOpen = "warning: Datei konnte nicht geöffnet werden!";

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

}  // namespace

class WindowCommandsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init();
  void cleanup();
  void each_button_runs_its_command_and_shows_the_result_in_its_box();
  void failures_reach_the_user_in_the_right_box();

 private:
  // Clicks the button with this caption, answering its file dialogs with
  // `answers` (names in the working folder, "" cancels), and returns the
  // dialogs it asked for.
  QStringList click(const QString& caption, const QStringList& answers = {});
  QString path(const QString& name) const { return QDir::current().absoluteFilePath(name); }
  void put(const QString& name, const std::string& bytes) {
    put_file(path(name).toStdString(), bytes);
  }
  std::string upper() const { return fixture_->window.upper_text_box()->bytes(); }
  std::string lower() const { return fixture_->window.lower_text_box()->bytes(); }

  std::unique_ptr<TempDir> folder_;
  QString previous_folder_;
  std::unique_ptr<ScriptedWindow> fixture_;
};

void WindowCommandsTest::init() {
  folder_ = std::make_unique<TempDir>();
  previous_folder_ = QDir::currentPath();
  QVERIFY(QDir::setCurrent(QString::fromStdString(folder_->path())));
  fixture_ = std::make_unique<ScriptedWindow>();
}

void WindowCommandsTest::cleanup() {
  fixture_.reset();
  QDir::setCurrent(previous_folder_);
  folder_.reset();
}

QStringList WindowCommandsTest::click(const QString& caption, const QStringList& answers) {
  testing::ScriptedDialogs& dialogs = fixture_->dialogs;
  dialogs.requests.clear();
  dialogs.answers.clear();
  for (const QString& name : answers) dialogs.answers.append(name.isEmpty() ? name : path(name));
  if (!fixture_->click(caption)) return {"no command ran for " + caption};
  return dialogs.requests;
}

void WindowCommandsTest::each_button_runs_its_command_and_shows_the_result_in_its_box() {
  // Non-ASCII file names show that names reach the files unchanged.
  const std::string source = "Scrambled words remain readable \x80\r\n";
  put("Quelle ü.txt", source);
  QCOMPARE(click("Load", {"Quelle ü.txt"}), QStringList{"test2.txt (read)"});
  QCOMPARE(upper(), source);
  QCOMPARE(fixture_->window.upper_text_box()->toPlainText(),
           QString("Scrambled words remain readable €\n"));
  QVERIFY(lower().empty());

  QCOMPARE(click("Shuffle"), QStringList());
  const std::string scrambled = lower();
  QVERIFY(scrambled != source);
  QVERIFY(std::is_permutation(scrambled.begin(), scrambled.end(), source.begin(), source.end()));
  QCOMPARE(upper(), source);

  // A cancelled Save writes nothing, not even to the preset name.
  QCOMPARE(click("Save", {""}), QStringList{"savedtext.txt (write)"});
  QCOMPARE(QDir::current().entryList(QDir::Files), QStringList{"Quelle ü.txt"});
  QCOMPARE(click("Save", {"Grüße €.txt"}), QStringList{"savedtext.txt (write)"});
  QCOMPARE(get_file(path("Grüße €.txt").toStdString()), scrambled);

  put("corpus.txt", "readable garden scrambled letters remain words order\r\n");
  PaintCounter paints(fixture_->window.lower_text_box()->viewport());
  QCOMPARE(click("Create Dictionary", {"corpus.txt", "words.dic"}),
           (QStringList{"pqlexikon.txt (read)", "Lexikon.dic (write)"}));
  QCOMPARE(fixture_->window.lower_text_box()->toPlainText().split('\n'),
           (QStringList{"Read the file and split it into words",
                        "Filtering of unused strings (too small, no words, illegal characters)",
                        "Remaining words are now sorted by characters and length",
                        "Delete all multiple words", "Compress and save the lexicon", "Ready!"}));
  // Each line was painted while the command ran on its own thread.
  QVERIFY(paints.paints >= 6);
  QVERIFY(!get_file(path("words.dic").toStdString()).empty());

  // The real Deep Search box makes Load Dictionary read the affix files too.
  put("suffixes.txt", "s es");
  put("prefixes.txt", "un");
  QTest::mouseClick(fixture_->check_box("Deep Search"), Qt::LeftButton);
  QCOMPARE(click("Load Dictionary", {"words.dic", "suffixes.txt", "prefixes.txt"}),
           (QStringList{"Lexikon.dic (read)", "Suffix_en.txt (read)",
                        "EMPTY SUFFIX PREFIX LIST.txt (read)"}));
  QVERIFY(lower().starts_with("Creating the hashtables!\r\nREADY!\r\n"));

  QCOMPARE(click("Load shuffled text", {"Grüße €.txt"}),
           QStringList{path("Grüße €.txt") + " (read)"});
  QCOMPARE(lower(), scrambled);
  QCOMPARE(click("Translate"), QStringList());
  // Tokens 0 to 9 are compared: "" Scrambled " " words " " remain " " readable
  // " " €, 0 + 9 + 1 + 5 + 1 + 6 + 1 + 8 + 1 + 1 = 33 characters; the last
  // token never counts.
  QCOMPARE(lower(),
           "33 of 33 Characters recognized correctly\r\n"
           "Translated 100.0 percent of the text\r\n\r\n" +
               source);
  QCOMPARE(upper(), source);
  QCOMPARE(fixture_->dialogs.messages, QStringList());
}

void WindowCommandsTest::failures_reach_the_user_in_the_right_box() {
  // A cancelled Load reads nothing, not even the preset file at hand.
  put("test2.txt", "the preset file\r\n");
  QCOMPARE(click("Load", {""}), QStringList{"test2.txt (read)"});
  QCOMPARE(fixture_->dialogs.messages, QStringList());
  QCOMPARE(upper(), std::string());
  click("Load", {"test2.txt"});
  QCOMPARE(upper(), std::string("the preset file\r\n"));

  // An unreadable file is named on the message's second line.
  click("Load", {"missing.txt"});
  QCOMPARE(fixture_->dialogs.messages.size(), 1);
  QVERIFY(fixture_->dialogs.messages[0].startsWith(QString(kCannotOpen) + "\n"));
  QVERIFY(fixture_->dialogs.messages[0].endsWith("missing.txt"));
  QCOMPARE(upper(), std::string("the preset file\r\n"));

  // A file that cannot be written is shown in a stop box naming it.
  click("Shuffle");
  click("Save", {"no such folder/saved.txt"});
  QCOMPARE(fixture_->dialogs.messages.size(), 2);
  QVERIFY(fixture_->dialogs.messages.last().startsWith("stop: "));
  QVERIFY(fixture_->dialogs.messages.last().contains(path("no such folder/saved.txt")));
}

}  // namespace quirlex::gui

QTEST_MAIN(quirlex::gui::WindowCommandsTest)
#include "window_commands_test.moc"
