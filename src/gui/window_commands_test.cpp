// Every command through the real window: the test clicks the buttons, answers
// the file dialogs and checks what the two text boxes show, the files
// written and the messages given.
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <memory>
#include <string>

#include "gui/left_scroll_text_edit.h"
#include "gui/qt_dialog_window.h"
#include "gui/scripted_dialogs.h"
#include "testing/temp_dir.h"

namespace quirlex::gui {

using quirlex::testing::file_exists;
using quirlex::testing::get_file;
using quirlex::testing::put_file;
using quirlex::testing::TempDir;
using testing::ScriptedDialogs;

namespace {

constexpr const char* kCannotOpen = "Datei konnte nicht geöffnet werden!";

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

// The words of a text: runs of letters (bytes from 0x40 up).
std::vector<std::string> words(const std::string& text) {
  std::vector<std::string> result;
  std::string word;
  for (const char c : text + " ") {
    if (static_cast<unsigned char>(c) >= 0x40) {
      word.push_back(c);
    } else if (!word.empty()) {
      result.push_back(word);
      word.clear();
    }
  }
  return result;
}

}  // namespace

class WindowCommandsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init();
  void cleanup();
  void load_shows_the_source_text_in_the_upper_box();
  void load_of_a_missing_file_tells_the_user_and_keeps_the_text();
  void a_cancelled_load_reads_the_preset_from_the_working_folder();
  void shuffle_shows_the_scrambled_words_in_the_lower_box();
  void save_writes_what_the_lower_box_shows_and_load_shuffled_text_reads_it();
  void save_into_a_missing_folder_shows_a_file_error();
  void create_dictionary_shows_its_six_progress_lines();
  void translate_restores_the_text_and_reports_all_characters_correct();
  void deep_search_box_makes_load_dictionary_ask_for_the_affix_files();

 private:
  void click(const QString& caption);
  std::string path(const char* name) const { return folder_->file(name); }
  void load_text(const std::string& text);

  std::unique_ptr<TempDir> folder_;
  QString previous_folder_;
  ScriptedDialogs* dialogs_ = nullptr;
  std::unique_ptr<QtDialogWindow> window_;
};

void WindowCommandsTest::init() {
  folder_ = std::make_unique<TempDir>();
  previous_folder_ = QDir::currentPath();
  QVERIFY(QDir::setCurrent(QString::fromStdString(folder_->path())));
  auto dialogs = std::make_unique<ScriptedDialogs>();
  dialogs_ = dialogs.get();
  window_ = std::make_unique<QtDialogWindow>(std::move(dialogs));
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void WindowCommandsTest::cleanup() {
  QCOMPARE(dialogs_->unexpected_requests, 0);
  QCOMPARE(dialogs_->pending_answers(), std::size_t{0});
  window_.reset();
  QDir::setCurrent(previous_folder_);
  folder_.reset();
}

void WindowCommandsTest::click(const QString& caption) {
  QPushButton* target = nullptr;
  for (QPushButton* b : window_->findChildren<QPushButton*>()) {
    if (b->text() == caption && b->isVisible()) target = b;
  }
  QVERIFY2(target != nullptr, qPrintable(caption));
  QTest::mouseClick(target, Qt::LeftButton);
}

void WindowCommandsTest::load_text(const std::string& text) {
  put_file(path("source.txt"), text);
  dialogs_->answer(path("source.txt"));
  click("Load");
}

void WindowCommandsTest::load_shows_the_source_text_in_the_upper_box() {
  window_->show_text(TextBox::kLower, "old");
  load_text(
      "Caf\xE9 \xFC"
      "ber 5 \x80\r\nzweite Zeile\r\n");
  QCOMPARE(dialogs_->requests.size(), std::size_t{1});
  QCOMPARE(dialogs_->requests[0].preset, QString("test2.txt"));
  QCOMPARE(dialogs_->requests[0].use, FileUse::kRead);
  // ü is spelled out on reading; é and € stay and are shown as themselves.
  QCOMPARE(window_->upper_text_box()->toPlainText(),
           QString::fromUtf8("Café ueber 5 €\nzweite Zeile\n"));
  QCOMPARE(window_->upper_text_box()->bytes(),
           std::string("Caf\xE9 ueber 5 \x80\r\nzweite Zeile\r\n"));
  QCOMPARE(window_->lower_text_box()->bytes(), std::string("old"));
  QVERIFY(dialogs_->messages.empty());
}

void WindowCommandsTest::load_of_a_missing_file_tells_the_user_and_keeps_the_text() {
  load_text("first text\r\n");
  dialogs_->answer(path("missing.txt"));
  click("Load");
  QCOMPARE(dialogs_->messages.size(), std::size_t{1});
  QCOMPARE(dialogs_->messages[0].text, QString::fromUtf8(kCannotOpen));
  QCOMPARE(dialogs_->messages[0].kind, MessageKind::kWarning);
  QCOMPARE(window_->upper_text_box()->bytes(), std::string("first text\r\n"));
}

void WindowCommandsTest::a_cancelled_load_reads_the_preset_from_the_working_folder() {
  dialogs_->cancel();
  click("Load");
  QCOMPARE(dialogs_->messages.size(), std::size_t{1});
  QCOMPARE(dialogs_->messages[0].text, QString::fromUtf8(kCannotOpen));
  QVERIFY(window_->upper_text_box()->document()->isEmpty());

  put_file(path("test2.txt"), "the preset file\r\n");
  dialogs_->cancel();
  click("Load");
  QCOMPARE(dialogs_->messages.size(), std::size_t{1});
  QCOMPARE(window_->upper_text_box()->bytes(), std::string("the preset file\r\n"));
}

void WindowCommandsTest::shuffle_shows_the_scrambled_words_in_the_lower_box() {
  const std::string source =
      "Buchstabensalat schmeckt wunderbar, sagte der Quirl zu den verdrehten Worten.\r\n";
  load_text(source);
  click("Shuffle");
  const std::string shown = window_->lower_text_box()->bytes();
  QCOMPARE(window_->upper_text_box()->bytes(), source);
  QCOMPARE(shown.size(), source.size());
  QVERIFY(shown != source);
  const std::vector<std::string> before = words(source);
  const std::vector<std::string> after = words(shown);
  QCOMPARE(after.size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    QCOMPARE(after[i].front(), before[i].front());
    QCOMPARE(after[i].back(), before[i].back());
    std::string a = after[i];
    std::string b = before[i];
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    QCOMPARE(a, b);
    if (before[i].size() < 4) QCOMPARE(after[i], before[i]);
  }
}

void WindowCommandsTest::save_writes_what_the_lower_box_shows_and_load_shuffled_text_reads_it() {
  load_text("Verdrehte Buchstaben bleiben lesbar \x80 \xE9t\xE9.\r\n");
  click("Shuffle");
  const std::string scrambled = window_->lower_text_box()->bytes();

  dialogs_->cancel();
  click("Save");
  QVERIFY(!file_exists(path("savedtext.txt")));

  dialogs_->answer(path("scrambled.txt"));
  click("Save");
  QCOMPARE(dialogs_->requests.back().preset, QString("savedtext.txt"));
  QCOMPARE(dialogs_->requests.back().use, FileUse::kWrite);
  QCOMPARE(get_file(path("scrambled.txt")), scrambled);

  put_file(path("other.txt"), "Ein g\xE4nzlich anderer Text\r\n");
  window_->show_text(TextBox::kLower, "");
  dialogs_->answer(path("other.txt"));
  click("Load shuffled text");
  // The preset is the name Save used last.
  QCOMPARE(dialogs_->requests.back().preset, QString::fromStdString(path("scrambled.txt")));
  QCOMPARE(window_->lower_text_box()->toPlainText(), QString("Ein gaenzlich anderer Text\n"));
  QCOMPARE(window_->upper_text_box()->bytes(),
           std::string("Verdrehte Buchstaben bleiben lesbar \x80 \xE9t\xE9.\r\n"));

  dialogs_->answer(path("scrambled.txt"));
  click("Load shuffled text");
  QCOMPARE(window_->lower_text_box()->bytes(), scrambled);
}

void WindowCommandsTest::save_into_a_missing_folder_shows_a_file_error() {
  load_text("Etwas zum Speichern\r\n");
  click("Shuffle");
  const std::string target = path("no such folder/saved.txt");
  dialogs_->answer(target);
  click("Save");
  QCOMPARE(dialogs_->messages.size(), std::size_t{1});
  QCOMPARE(dialogs_->messages[0].kind, MessageKind::kFileError);
  QVERIFY(dialogs_->messages[0].text.contains(QString::fromStdString(target)));
}

void WindowCommandsTest::create_dictionary_shows_its_six_progress_lines() {
  put_file(path("corpus.txt"), "zebra apfel birne apfel dach, erde und mehr\r\nfeld garten\r\n");
  dialogs_->answer(path("corpus.txt"));
  dialogs_->answer(path("words.dic"));
  PaintCounter paints(window_->lower_text_box()->viewport());
  click("Create Dictionary");

  QCOMPARE(dialogs_->requests.size(), std::size_t{2});
  QCOMPARE(dialogs_->requests[0].preset, QString("pqlexikon.txt"));
  QCOMPARE(dialogs_->requests[0].use, FileUse::kRead);
  QCOMPARE(dialogs_->requests[1].preset, QString("Lexikon.dic"));
  QCOMPARE(dialogs_->requests[1].use, FileUse::kWrite);
  const QStringList lines = window_->lower_text_box()->toPlainText().split('\n');
  QCOMPARE(lines,
           QStringList({"Read the file and split it into words",
                        "Filtering of unused strings (too small, no words, illegal "
                        "characters)",
                        "Remaining words are now sorted by characters and length",
                        "Delete all multiple words", "Compress and save the lexicon", "Ready!"}));
  // Each line was painted while the command ran, without the event loop.
  QVERIFY(paints.paints >= 6);
  QVERIFY(file_exists(path("words.dic")));
  QVERIFY(!get_file(path("words.dic")).empty());
  QVERIFY(window_->upper_text_box()->document()->isEmpty());
}

void WindowCommandsTest::translate_restores_the_text_and_reports_all_characters_correct() {
  const std::string source = "Scrambled words remain readable.\r\n";
  load_text(source);
  put_file(path("corpus.txt"), "readable garden scrambled letters remain words order\r\n");
  dialogs_->answer(path("corpus.txt"));
  dialogs_->answer(path("words.dic"));
  click("Create Dictionary");
  dialogs_->answer(path("words.dic"));
  click("Load Dictionary");
  click("Shuffle");
  QVERIFY(window_->lower_text_box()->bytes() != source);
  click("Translate");

  // Tokens 0 to 7 are compared: "" Scrambled " " words " " remain " " readable,
  // 0 + 9 + 1 + 5 + 1 + 6 + 1 + 8 = 31 characters; the last token never counts.
  QCOMPARE(window_->lower_text_box()->bytes(),
           "31 of 31 Characters recognized correctly\r\n"
           "Translated 100.0 percent of the text\r\n\r\n" +
               source);
  QCOMPARE(window_->upper_text_box()->bytes(), source);
  QVERIFY(dialogs_->messages.empty());
}

void WindowCommandsTest::deep_search_box_makes_load_dictionary_ask_for_the_affix_files() {
  QCheckBox* deep_search = nullptr;
  for (QCheckBox* box : window_->findChildren<QCheckBox*>()) {
    if (!box->isChecked()) deep_search = box;
  }
  QVERIFY(deep_search != nullptr);
  QTest::mouseClick(deep_search, Qt::LeftButton);
  QVERIFY(deep_search->isChecked());

  put_file(path("words.dic"), "");
  put_file(path("suffixes.txt"), "s es");
  put_file(path("prefixes.txt"), "un");
  dialogs_->answer(path("words.dic"));
  dialogs_->answer(path("suffixes.txt"));
  dialogs_->answer(path("prefixes.txt"));
  click("Load Dictionary");
  QCOMPARE(dialogs_->requests.size(), std::size_t{3});
  QCOMPARE(dialogs_->requests[0].preset, QString("Lexikon.dic"));
  QCOMPARE(dialogs_->requests[1].preset, QString("Suffix_en.txt"));
  QCOMPARE(dialogs_->requests[2].preset, QString("EMPTY SUFFIX PREFIX LIST.txt"));
  QVERIFY(!window_->lower_text_box()->document()->isEmpty());
}

}  // namespace quirlex::gui

QTEST_MAIN(quirlex::gui::WindowCommandsTest)
#include "window_commands_test.moc"
