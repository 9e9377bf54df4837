// Times how long the window takes to show large texts in its text boxes:
// replacing the text and painting it at once, as a command does. Run by
// hand, e.g. `QT_QPA_PLATFORM=offscreen gui_text_box_timing 20`; with
// `--load FILE` it times a real Load of FILE instead, from the click until
// the upper box is painted (the benchmark suite's window row).
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "app/dialog_window.h"
#include "gui/modal_dialogs.h"
#include "gui/qt_dialog_window.h"

namespace {

// About `size` bytes of text: words of 1 to 12 letters, among them
// Windows-1252 letters, with a line break after about every `line` bytes
// (never, for `line` 0).
std::string make_text(std::size_t size, std::size_t line) {
  static const char kLetters[] = "etaoinshrdlucmfwypvbgkjqxz\xE9\xE8\xE0\xE7\xF1";
  std::string text;
  text.reserve(size + 16);
  unsigned state = 12345;
  std::size_t line_start = 0;
  while (text.size() < size) {
    state = state * 1103515245u + 12345u;
    const std::size_t length = 1 + (state >> 16) % 12;
    for (std::size_t i = 0; i < length; ++i) {
      state = state * 1103515245u + 12345u;
      text.push_back(kLetters[(state >> 16) % (sizeof(kLetters) - 1)]);
    }
    if (line != 0 && text.size() - line_start >= line) {
      text += "\r\n";
      line_start = text.size();
    } else {
      text.push_back(' ');
    }
  }
  return text;
}

void time_case(quirlex::gui::QtDialogWindow& window, quirlex::TextBox box, const char* name,
               const std::string& text) {
  QElapsedTimer timer;
  timer.start();
  window.show_text(box, text);
  window.repaint_now(box == quirlex::TextBox::kLower ? quirlex::RepaintTarget::kLowerTextBox
                                                     : quirlex::RepaintTarget::kWindow);
  const qint64 shown = timer.elapsed();
  // The repaint is an update: the events paint it.
  QApplication::processEvents();
  std::printf("%-34s %6.1f MB  shown %6lld ms, painted %6lld ms\n", name,
              static_cast<double>(text.size()) / 1e6, static_cast<long long>(shown),
              static_cast<long long>(timer.elapsed()));
}

// Answers every file dialog with one name.
class OneFile : public quirlex::gui::ModalDialogs {
 public:
  explicit OneFile(QString name) : name_(std::move(name)) {}
  std::optional<QString> choose_file(QWidget*, const QString&, const QString&,
                                     quirlex::FilePurpose) override {
    return name_;
  }
  void show_message(QWidget*, const QString& text, quirlex::gui::MessageKind) override {
    std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
  }
  bool ask(QWidget*, const QString&) override { return true; }

 private:
  QString name_;
};

int time_load(const char* file) {
  quirlex::gui::QtDialogWindow window(std::make_unique<OneFile>(QString::fromLocal8Bit(file)));
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  QElapsedTimer timer;
  timer.start();
  if (window.commands().load() != quirlex::CommandOutcome::kDone) return 1;
  window.repaint_now(quirlex::RepaintTarget::kWindow);
  QApplication::processEvents();
  std::printf("Load of %s shown and painted in %lld ms\n", file,
              static_cast<long long>(timer.elapsed()));
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc == 3 && std::string(argv[1]) == "--load") return time_load(argv[2]);
  const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 20;
  const std::size_t size = megabytes * 1000 * 1000;

  quirlex::gui::QtDialogWindow window;
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;

  const std::string lines = make_text(size, 70);
  const std::string word_list = make_text(size, 1);
  const std::string paragraphs = make_text(size, 4000);
  const std::string one_line = make_text(size, 0);
  time_case(window, quirlex::TextBox::kUpper, "upper box, lines of 70 bytes", lines);
  time_case(window, quirlex::TextBox::kLower, "lower box, lines of 70 bytes", lines);
  time_case(window, quirlex::TextBox::kLower, "lower box, one word a line", word_list);
  time_case(window, quirlex::TextBox::kLower, "lower box, paragraphs of 4000 bytes", paragraphs);
  time_case(window, quirlex::TextBox::kLower, "lower box, short text after large", "Ready!");
  time_case(window, quirlex::TextBox::kUpper, "upper box, one word a line", word_list);
  time_case(window, quirlex::TextBox::kLower, "lower box, one line without breaks", one_line);
  return 0;
}
