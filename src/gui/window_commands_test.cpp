// Every command through the real window: the test clicks the buttons, answers
// the file dialogs and questions and checks which dialogs were asked for,
// what the two text boxes and the status line show, which messages reach the
// user and what the window remembers for its next start. What the commands
// do inside is the core's to test; here it is the wiring.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "gui/left_scroll_text_edit.h"
#include "gui/scripted_dialogs.h"
#include "gui/status_line.h"
#include "testing/scoped_environment.h"
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
  void no_text_is_lost_without_a_question_and_save_says_when_there_is_none();
  void create_dictionary_asks_for_the_lexicon_before_it_reads_the_corpus();
  void keep_punctuation_is_read_by_shuffle();
  void the_window_remembers_its_check_boxes_and_folders();
  void load_dictionary_offers_a_ready_lexicon_where_its_preset_is_missing();

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

// A restored text is saved under its own title and name; a command that
// would drop it unsaved asks first, and No keeps it. Once nothing is left to
// save, Save says so before any dialog, and the window closes without a
// question. The status line names the dictionary Translate uses.
void WindowCommandsTest::no_text_is_lost_without_a_question_and_save_says_when_there_is_none() {
  put("corpus.txt", "scrambled words remain readable\r\n");
  put("source.txt", "Scrambled words remain readable\r\n");
  put("other.txt", "another text\r\n");
  click("Create Dictionary", {"corpus.txt", "words.dic"});
  const StatusLine* status = fixture_->window.status_line();
  QCOMPARE(status->text(), QString("No lexicon loaded"));
  click("Load Dictionary", {"words.dic"});
  QCOMPARE(status->text(),
           QString("Lexicon: words.dic, 4 words; no Deep Search; no model file"));
  click("Load", {"source.txt"});
  click("Shuffle");
  click("Translate");
  const std::string restored = lower();
  QVERIFY(restored.ends_with("Scrambled words remain readable\r\n"));

  testing::ScriptedDialogs& dialogs = fixture_->dialogs;
  dialogs.replies = {false};
  QCOMPARE(click("Load", {"other.txt"}), QStringList{"test2.txt (read)"});
  QCOMPARE(dialogs.questions,
           QStringList{"The restored text in the lower box has not been saved. Load anyway and "
                       "lose it?"});
  QCOMPARE(upper(), std::string("Scrambled words remain readable\r\n"));
  QCOMPARE(lower(), restored);

  QCOMPARE(click("Save", {"restored.txt"}), QStringList{"restoredtext.txt (write)"});
  QCOMPARE(dialogs.purposes.last(), FilePurpose::kSaveRestoredText);
  QCOMPARE(get_file(path("restored.txt").toStdString()),
           std::string("Scrambled words remain readable\r\n"));

  // Saved: Load drops it without asking, and the lower box still shows it,
  // but there is nothing left to save.
  dialogs.questions.clear();
  click("Load", {"other.txt"});
  QVERIFY(dialogs.questions.isEmpty());
  QCOMPARE(lower(), restored);
  QCOMPARE(click("Save", {"never.txt"}), QStringList());
  QCOMPARE(dialogs.messages, QStringList{"warning: There is no scrambled or restored text to "
                                         "save: Shuffle, Load shuffled text or Translate makes "
                                         "one."});
  QVERIFY(!QFile::exists(path("never.txt")));
  fixture_->window.close();
  QVERIFY(dialogs.questions.isEmpty());
  QVERIFY(!fixture_->window.isVisible());
}

// The name of the lexicon is asked right after the corpus, before any
// progress line: a cancelled name leaves the boxes as they were, with no
// "Ready!". Confirmed with the frequency box, the lines name that order and
// the model file, and the bar moves while the corpus is read.
void WindowCommandsTest::create_dictionary_asks_for_the_lexicon_before_it_reads_the_corpus() {
  std::string corpus;
  for (int i = 0; corpus.size() < (std::size_t{9} << 20); ++i) {
    corpus += "scrambled words remain readable w" + std::to_string(i % 5000) + "\r\n";
  }
  put("corpus.txt", corpus);
  put("source.txt", "several scrambled words\r\n");
  click("Load", {"source.txt"});
  QStringList lower_at_dialogs;
  fixture_->dialogs.on_file_dialog = [&] {
    lower_at_dialogs.append(QString::fromStdString(lower()));
  };
  QCOMPARE(click("Create Dictionary", {"corpus.txt", ""}),
           (QStringList{"pqlexikon.txt (read)", "Lexikon.dic (write)"}));
  QCOMPARE(lower_at_dialogs, (QStringList{"", ""}));
  QCOMPARE(lower(), std::string());
  QCOMPARE(upper(), std::string("several scrambled words\r\n"));
  QVERIFY(QDir::current().entryList({"*.dic"}, QDir::Files).isEmpty());

  QTest::mouseClick(fixture_->check_box("Order by frequency (= best restoring)"), Qt::LeftButton);
  QList<int> bar;
  connect(fixture_->window.progress_bar(), &QProgressBar::valueChanged,
          [&bar](int value) { bar.append(value); });
  lower_at_dialogs.clear();
  click("Create Dictionary", {"corpus.txt", "words.dic"});
  QCOMPARE(lower_at_dialogs, (QStringList{"", ""}));
  QCOMPARE(fixture_->window.lower_text_box()->toPlainText().split('\n'),
           (QStringList{"Read the file and split it into words",
                        "Filtering of unused strings (too small, no words, illegal characters)",
                        "Remaining words are now ordered by their frequency in the corpus",
                        "Delete all multiple words", "Compress and save the lexicon",
                        "Count the word pairs and save them in the model file", "Ready!"}));
  QVERIFY(QFile::exists(path("words.dic.bigrams")));
  // While the corpus was read the bar stood at several places between empty
  // and the next stage's, in order.
  bar.removeAll(-1);  // idle again at the end
  QVERIFY2(std::is_sorted(bar.begin(), bar.end()), qPrintable(QString::number(bar.size())));
  QVERIFY(std::count_if(bar.begin(), bar.end(), [](int v) { return v > 0 && v < 40; }) >= 2);
  QCOMPARE(bar.last(), 100);
}

void WindowCommandsTest::keep_punctuation_is_read_by_shuffle() {
  put("source.txt", "|grep [[a]]\r\n");
  click("Load", {"source.txt"});
  QTest::mouseClick(fixture_->check_box("Keep punctuation in place"), Qt::LeftButton);
  click("Shuffle");
  // grep draws 41 (positions 1 and 2); one letter between marks stays.
  QCOMPARE(lower(), std::string("|gerp [[a]]\r\n"));
  QTest::mouseClick(fixture_->check_box("Keep punctuation in place"), Qt::LeftButton);
  fixture_->dialogs.replies = {true};
  click("Shuffle");
  QCOMPARE(fixture_->dialogs.questions.size(), 1);
  QVERIFY(lower().find("[[a]]") == std::string::npos);
}

// A window with a settings file of its own (never the user's) keeps its
// check boxes and the folder of each kind of file for the next window on
// that file; a window without one starts as the program always has.
void WindowCommandsTest::the_window_remembers_its_check_boxes_and_folders() {
  for (const char* folder : {"texts", "corpora", "lexicons", "affixes"}) {
    QVERIFY(QDir::current().mkdir(folder));
  }
  put("texts/source.txt", "several scrambled words\r\n");
  put("corpora/corpus.txt", "several scrambled words\r\n");
  put("affixes/suffixes.txt", "s\r\n");
  put("affixes/prefixes.txt", "");
  const QString settings = path("settings.ini");
  const QStringList labels = {"Deep Search", kSortLabel, "Order by frequency (= best restoring)",
                              "All best restoring steps", "Keep punctuation in place"};
  const auto states = [this, &labels] {
    QList<bool> checked;
    for (const QString& label : labels) checked.append(fixture_->check_box(label)->isChecked());
    return checked;
  };
  const QList<bool> defaults = {false, true, false, false, false};

  fixture_ = std::make_unique<ScriptedWindow>(settings);
  QCOMPARE(states(), defaults);
  for (const QString& label : {QString("Deep Search"), QString(kSortLabel),
                               QString("Keep punctuation in place")}) {
    QTest::mouseClick(fixture_->check_box(label), Qt::LeftButton);
  }
  click("Load", {"texts/source.txt"});
  click("Create Dictionary", {"corpora/corpus.txt", "lexicons/words.dic"});
  click("Load Dictionary", {"lexicons/words.dic", "affixes/suffixes.txt", "affixes/prefixes.txt"});
  // Each kind of file starts in the working folder, then where it was
  // chosen last: the lexicon was saved in lexicons/, a suffix list chosen in
  // affixes/.
  const QString working = QDir::currentPath();
  QCOMPARE(fixture_->dialogs.folders, (QStringList{working, working, working, path("lexicons"),
                                                   working, path("affixes")}));

  fixture_ = std::make_unique<ScriptedWindow>(settings);
  const QList<bool> changed = {true, false, false, false, true};
  QCOMPARE(states(), changed);
  click("Load", {"texts/source.txt"});
  QCOMPARE(fixture_->dialogs.folders, QStringList{path("texts")});
  fixture_->dialogs.folders.clear();
  click("Load Dictionary", {"lexicons/words.dic", "affixes/suffixes.txt", ""});
  QCOMPARE(fixture_->dialogs.folders,
           (QStringList{path("lexicons"), path("affixes"), path("affixes")}));
  fixture_->dialogs.folders.clear();
  click("Create Dictionary", {"corpora/corpus.txt", ""});
  QCOMPARE(fixture_->dialogs.folders, (QStringList{path("corpora"), path("lexicons")}));
  QVERIFY(QSettings(settings, QSettings::IniFormat).contains("checkBoxes/keepPunctuation"));

  // A remembered folder that is gone is no longer offered.
  QVERIFY(QDir(path("texts")).removeRecursively());
  fixture_ = std::make_unique<ScriptedWindow>(settings);
  click("Load", {""});
  QCOMPARE(fixture_->dialogs.folders, QStringList{working});

  fixture_ = std::make_unique<ScriptedWindow>();
  QCOMPARE(states(), defaults);
  click("Load", {""});
  QCOMPARE(fixture_->dialogs.folders, QStringList{working});
}

// Started from the desktop menu the working folder is the home folder,
// where no preset file is: Load Dictionary then opens where the lexicons
// are, on one that exists.
void WindowCommandsTest::load_dictionary_offers_a_ready_lexicon_where_its_preset_is_missing() {
  QVERIFY(QDir::current().mkdir("lexicons"));
  put("lexicons/en.dic", "HAUS\n");
  quirlex::testing::ScopedEnvironment environment;
  environment.set("QUIRLEX_LEXICON_PATH", path("lexicons").toStdString());
  environment.set("HOME", QDir::currentPath().toStdString());
  QCOMPARE(click("Load Dictionary", {"lexicons/en.dic"}), QStringList{"en.dic (read)"});
  QCOMPARE(fixture_->dialogs.folders, QStringList{path("lexicons")});
  QVERIFY(fixture_->window.status_line()->full_text().startsWith("Lexicon: en.dic, 1 words"));

  // The preset file in the working folder is offered as it always was.
  put("Lexikon.dic", "KIND\n");
  fixture_->dialogs.folders.clear();
  QCOMPARE(click("Load Dictionary", {""}), QStringList{"Lexikon.dic (read)"});
  QCOMPARE(fixture_->dialogs.folders, QStringList{QDir::currentPath()});
}

}  // namespace quirlex::gui

QTEST_MAIN(quirlex::gui::WindowCommandsTest)
#include "window_commands_test.moc"
