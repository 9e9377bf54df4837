// Every command through the real window: the test clicks the buttons, answers
// the file dialogs and checks which dialogs were asked for, what the two text
// boxes show and which messages reach the user. What the commands do inside
// is the core's to test; here it is the wiring.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "gui/left_scroll_text_edit.h"
#include "gui/scripted_dialogs.h"
#include "testing/temp_dir.h"

namespace quirlex::gui {

using quirlex::testing::get_file;
using quirlex::testing::put_file;
using quirlex::testing::TempDir;
using testing::kSortLabel;
using testing::ScriptedWindow;

namespace {

constexpr const char* kCannotOpen = "warning: Datei konnte nicht geöffnet werden!";
const QStringList kCommandButtons = {"Load",
                                     "Shuffle",
                                     "Save",
                                     "Translate",
                                     "Create Dictionary",
                                     "Load Dictionary",
                                     "Load shuffled text"};

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
  void while_a_command_runs_its_controls_are_disabled_and_a_click_does_nothing();
  void stop_escape_and_the_close_box_end_deep_search_and_keep_the_lexicon();
  void escape_and_the_close_box_ask_only_while_a_text_is_unsaved();
  void translate_shows_its_report_at_the_top_of_the_lower_box();

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

void WindowCommandsTest::while_a_command_runs_its_controls_are_disabled_and_a_click_does_nothing() {
  put("source.txt", "several scrambled words\r\n");
  click("Load", {"source.txt"});
  QList<QWidget*> controls = {fixture_->check_box("Deep Search"), fixture_->check_box(kSortLabel)};
  for (const QString& caption : kCommandButtons) controls.append(fixture_->button(caption));
  QPushButton* stop = fixture_->button("Stop");
  QVERIFY(!controls.contains(nullptr) && stop != nullptr);

  // The file dialog of the second Load opens while that command runs.
  int enabled_while_running = 0;
  bool stop_enabled_while_running = false;
  fixture_->dialogs.on_file_dialog = [&] {
    enabled_while_running = static_cast<int>(
        std::count_if(controls.begin(), controls.end(), [](QWidget* c) { return c->isEnabled(); }));
    stop_enabled_while_running = stop->isEnabled();
    QTest::mouseClick(fixture_->button("Shuffle"), Qt::LeftButton);
    QTest::mouseClick(fixture_->check_box("Deep Search"), Qt::LeftButton);
  };
  QCOMPARE(click("Load", {"source.txt"}), QStringList{"test2.txt (read)"});
  fixture_->dialogs.on_file_dialog = nullptr;
  QCOMPARE(enabled_while_running, 0);
  QVERIFY(stop_enabled_while_running);
  // Neither click was held back for later.
  QApplication::processEvents();
  QVERIFY(!fixture_->window.command_running());
  QVERIFY(lower().empty());
  QVERIFY(!fixture_->check_box("Deep Search")->isChecked());
  for (QWidget* control : controls) QVERIFY(control->isEnabled());
  QVERIFY(!stop->isEnabled());
  QCOMPARE(click("Shuffle"), QStringList());
  QVERIFY(!lower().empty());
}

void WindowCommandsTest::stop_escape_and_the_close_box_end_deep_search_and_keep_the_lexicon() {
  put("corpus.txt", "readable garden scrambled letters remain words order\r\n");
  click("Create Dictionary", {"corpus.txt", "words.dic"});
  put("suffixes.txt", "s es");
  put("prefixes.txt", "un");
  QTest::mouseClick(fixture_->check_box("Deep Search"), Qt::LeftButton);
  QtDialogWindow& w = fixture_->window;
  const struct {
    const char* way;
    std::function<void()> act;
    bool ends_window;
  } ways[] = {
      {"Stop", [&] { QTest::mouseClick(fixture_->button("Stop"), Qt::LeftButton); }, false},
      {"Escape", [&] { QTest::keyClick(w.lower_text_box(), Qt::Key_Escape); }, false},
      // Asked whether to stop, the user says yes: the window ends with the command.
      {"close box",
       [&] {
         fixture_->dialogs.replies = {true};
         w.close();
       },
       true},
  };
  for (const auto& way : ways) {
    fixture_->dialogs.questions.clear();
    bool acted = false;
    int bar_when_acted = -2;
    // The user acts when the deep word list's first percentage is shown.
    const auto watch = connect(w.lower_text_box(), &QPlainTextEdit::textChanged, [&] {
      if (acted || !w.lower_text_box()->toPlainText().startsWith("0 percent")) return;
      acted = true;
      bar_when_acted = w.progress_bar()->value();
      way.act();
    });
    click("Load Dictionary", {"words.dic", "suffixes.txt", "prefixes.txt"});
    disconnect(watch);
    QVERIFY2(acted, way.way);
    QCOMPARE(bar_when_acted, 0);
    QVERIFY2(
        lower().ends_with("\r\n\r\nDeep Search stopped: only the lexicon itself is searched.\r\n"),
        way.way);
    QVERIFY(lower().find(" Words are read into the lexicon\r\n") != std::string::npos);
    QCOMPARE(w.progress_bar()->value(), w.progress_bar()->minimum() - 1);  // idle again
    QCOMPARE(fixture_->dialogs.questions.size(), way.ends_window ? 1 : 0);
    QCOMPARE(w.isVisible(), !way.ends_window);
  }
}

void WindowCommandsTest::escape_and_the_close_box_ask_only_while_a_text_is_unsaved() {
  put("source.txt", "several scrambled words\r\n");
  const struct {
    const char* way;
    QStringList commands;  // run before the window is closed
    bool close_box;        // else Escape
    bool reply;
    bool asked;
    bool ends_window;
  } cases[] = {
      {"Escape, nothing made", {}, false, false, false, true},
      {"Escape on a shuffled text, No", {"Shuffle"}, false, false, true, false},
      {"close box on a shuffled text, Yes", {"Shuffle"}, true, true, true, true},
      {"close box on a saved text", {"Shuffle", "Save"}, true, false, false, true},
  };
  for (const auto& c : cases) {
    fixture_ = std::make_unique<ScriptedWindow>();
    click("Load", {"source.txt"});
    for (const QString& command : c.commands) click(command, {"saved.txt"});
    fixture_->dialogs.replies = {c.reply};
    QtDialogWindow& w = fixture_->window;
    if (c.close_box) {
      w.close();
    } else {
      QTest::keyClick(w.upper_text_box(), Qt::Key_Escape);
    }
    QCOMPARE(fixture_->dialogs.questions.size(), c.asked ? 1 : 0);
    QVERIFY2(w.isVisible() == !c.ends_window, c.way);
  }
}

void WindowCommandsTest::translate_shows_its_report_at_the_top_of_the_lower_box() {
  std::string source;
  for (int i = 0; i < 300; ++i) source += "scrambled words remain readable\r\n";
  put("long.txt", source);
  click("Load", {"long.txt"});
  click("Shuffle");
  const LeftScrollTextEdit* box = fixture_->window.lower_text_box();
  // A text alone shows its end, as progress lines do.
  QVERIFY(box->left_scroll_bar()->value() > 0);
  click("Translate");
  QVERIFY(lower().find(" Characters recognized correctly\r\n") < lower().find("\r\n"));
  QVERIFY(box->left_scroll_bar()->maximum() > 0);
  QCOMPARE(box->left_scroll_bar()->value(), 0);
  QCOMPARE(box->textCursor().position(), 0);
}

}  // namespace quirlex::gui

QTEST_MAIN(quirlex::gui::WindowCommandsTest)
#include "window_commands_test.moc"
