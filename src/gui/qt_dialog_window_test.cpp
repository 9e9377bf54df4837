// The window itself: its start, its layout in dialog units, the keys, the
// read-only text boxes, the About box, and the window operations that no
// button shows: calls from the command's thread, the lower box following the
// end of its text, and the status line.
#include "gui/qt_dialog_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <thread>

#include "gui/about_box.h"
#include "gui/dialog_units.h"
#include "gui/left_scroll_text_edit.h"
#include "gui/status_line.h"
#include "gui/modal_watch.h"
#include "gui/scripted_dialogs.h"

namespace quirlex::gui {

using testing::kSortLabel;
using testing::ScriptedWindow;
using testing::when_modal_opens;
using testing::when_popup_opens;

namespace {

// The facts a test checks of an About box, gathered while it is open: a
// failed check there would leave it open. Each line of a label that is
// wholly shown is a fact of its own.
QStringList describe_about_box(QWidget* box) {
  QStringList facts = {box->windowTitle()};
  if (box->width() >= DialogUnits(box->font()).x(235)) facts.append("at least 235 units wide");
  for (const QLabel* label : box->findChildren<QLabel*>()) {
    const QImage picture = label->pixmap().toImage();
    if (!picture.isNull()) {
      // The icon: opaque in the middle.
      if (qAlpha(picture.pixel(picture.width() / 2, picture.height() / 2)) == 255) {
        facts.append("icon");
      }
    } else if (!box->rect().contains(label->geometry())) {
      facts.append("cut off: " + label->text());
    } else if (label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                 : label->fontMetrics().horizontalAdvance(label->text()) <=
                                       label->width()) {
      for (const QString& line : label->text().split('\n')) {
        if (!line.isEmpty()) facts.append(line);
      }
    }
  }
  for (const QPushButton* button : box->findChildren<QPushButton*>()) {
    if (button->isDefault()) facts.append("default " + button->text());
  }
  return facts;
}

}  // namespace

class QtDialogWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init() { fixture_ = std::make_unique<ScriptedWindow>(); }
  void cleanup() { fixture_.reset(); }
  void starts_with_sort_checked_both_boxes_empty_and_the_icon();
  void dialog_units_round_half_away_from_zero_and_follow_the_font();
  void controls_fit_the_window_without_overlapping_and_are_readable();
  void growing_the_window_grows_the_text_boxes_only();
  void tab_walks_the_controls_in_their_order();
  void escape_and_the_close_box_cancel_and_enter_never_ends_it();
  void the_text_boxes_can_be_selected_and_copied_but_not_changed();
  void f1_and_the_context_menu_open_the_about_box_and_change_nothing();
  void calls_from_the_command_thread_reach_the_widgets_and_the_screen();
  void the_lower_box_follows_the_end_of_a_long_text_the_upper_shows_its_start();

 private:
  std::unique_ptr<ScriptedWindow> fixture_;
};

void QtDialogWindowTest::starts_with_sort_checked_both_boxes_empty_and_the_icon() {
  const QtDialogWindow& w = fixture_->window;
  QCOMPARE(w.windowTitle(), QString("Quirlex V1.1b"));
  QCheckBox* sort = fixture_->check_box(kSortLabel);
  QCheckBox* deep_search = fixture_->check_box("Deep Search");
  QCheckBox* keep_punctuation = fixture_->check_box("Keep punctuation in place");
  QVERIFY(sort != nullptr && deep_search != nullptr && sort != deep_search);
  QVERIFY(keep_punctuation != nullptr && keep_punctuation != deep_search);
  QVERIFY(sort->isChecked());
  QVERIFY(!deep_search->isChecked());
  QVERIFY(!keep_punctuation->isChecked());
  QVERIFY(w.upper_text_box()->document()->isEmpty());
  QVERIFY(w.lower_text_box()->document()->isEmpty());
  QCOMPARE(w.status_line()->text(), QString("No lexicon loaded"));
  // Opaque in the middle, transparent in the rounded corner.
  const QImage icon = w.windowIcon().pixmap(16, 16).toImage();
  QCOMPARE(icon.size(), QSize(16, 16));
  QCOMPARE(qAlpha(icon.pixel(8, 8)), 255);
  QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
}

void QtDialogWindowTest::dialog_units_round_half_away_from_zero_and_follow_the_font() {
  // The classic dialog font's base units, 6 by 13 pixels: 7 * 6 / 4 = 10.5
  // and 89 * 13 / 8 = 144.625 round up, 300 * 13 / 8 = 487.5 too.
  const DialogUnits classic(6, 13);
  QCOMPARE(classic.rect(7, 89, 308, 96), QRect(11, 145, 462, 156));
  QCOMPARE(classic.size(322, 300), QSize(483, 488));
  QCOMPARE(classic.x(-7), -11);
  // A font's units: its height, and the average width of its letters, which
  // lies between the narrowest and the widest.
  QFont font = QApplication::font();
  font.setPixelSize(20);
  const DialogUnits units(font);
  const QFontMetrics metrics(font);
  QCOMPARE(units.base_height(), metrics.height());
  QVERIFY(units.base_width() >= metrics.horizontalAdvance(QLatin1Char('i')));
  QVERIFY(units.base_width() <= metrics.horizontalAdvance(QLatin1Char('W')));
}

void QtDialogWindowTest::controls_fit_the_window_without_overlapping_and_are_readable() {
  const QtDialogWindow& w = fixture_->window;
  const DialogUnits units(w.font());
  QCOMPARE(w.size(), units.size(322, 310));
  QList<QWidget*> visible;
  for (QWidget* child : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isVisible()) visible.append(child);
  }
  // Buttons, check boxes, their labels, text boxes, the progress bar, Stop
  // and the status line.
  QCOMPARE(visible.size(), 7 + 5 + 5 + 2 + 2 + 1);
  // Buttons stacked in a column share one dialog unit of their edges; no
  // control covers more of another.
  for (int i = 0; i < visible.size(); ++i) {
    QVERIFY(w.rect().contains(visible[i]->geometry()));
    for (int j = i + 1; j < visible.size(); ++j) {
      const QRect shared = visible[i]->geometry().intersected(visible[j]->geometry());
      QVERIFY2(shared.isEmpty() ||
                   (shared.width() == visible[i]->width() && shared.height() <= units.y(1)),
               qPrintable(QString("%1 / %2").arg(i).arg(j)));
    }
  }
  // Captions fit their buttons, on as many lines as they need; labels on one.
  for (const QPushButton* b : w.findChildren<QPushButton*>()) {
    const QRect inside = b->rect().adjusted(2, 2, -2, -2);
    QVERIFY2(inside.contains(b->fontMetrics().boundingRect(
                 inside, Qt::AlignCenter | Qt::TextWordWrap, b->text())),
             qPrintable(b->text()));
  }
  for (const QLabel* l : w.findChildren<QLabel*>()) {
    QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->width(), qPrintable(l->text()));
    QVERIFY(l->fontMetrics().height() <= l->height());
  }
}

void QtDialogWindowTest::growing_the_window_grows_the_text_boxes_only() {
  QtDialogWindow& w = fixture_->window;
  const QRect upper = w.upper_text_box()->geometry();
  const QRect lower = w.lower_text_box()->geometry();
  const QRect status = w.status_line()->geometry();
  const QRect translate = fixture_->button("Translate")->geometry();
  w.resize(w.width() + 200, w.height() + 300);
  QTRY_COMPARE(w.upper_text_box()->width(), upper.width() + 200);
  QCOMPARE(w.lower_text_box()->width(), lower.width() + 200);
  QVERIFY(w.upper_text_box()->height() > upper.height() + 100);
  QVERIFY(w.lower_text_box()->height() > lower.height() + 100);
  // The gap between the boxes and the margin below stay as they were.
  QCOMPARE(w.lower_text_box()->y() - w.upper_text_box()->geometry().bottom(),
           lower.y() - upper.bottom());
  QCOMPARE(w.height() - w.lower_text_box()->geometry().bottom(),
           w.minimumHeight() - lower.bottom());
  // The status line stays below the lower box, as wide as it.
  QCOMPARE(w.status_line()->y() - w.lower_text_box()->geometry().bottom(),
           status.y() - lower.bottom());
  QCOMPARE(w.status_line()->width(), status.width() + 200);
  QCOMPARE(fixture_->button("Translate")->geometry(), translate);
  // Smaller than its layout the window does not get.
  w.resize(100, 100);
  QCOMPARE(w.size(), w.minimumSize());
}

// Row by row as the window shows them, left to right, then the two boxes;
// Stop, disabled while no command runs, is left out. Each control also lies
// below or right of the one before it.
void QtDialogWindowTest::tab_walks_the_controls_in_their_order() {
  const ScriptedWindow& f = *fixture_;
  const QList<QWidget*> order = {f.button("Load"),
                                 f.button("Create Dictionary"),
                                 f.check_box(kSortLabel),
                                 f.button("Shuffle"),
                                 f.button("Load Dictionary"),
                                 f.check_box("Deep Search"),
                                 f.check_box("Keep punctuation in place"),
                                 f.button("Save"),
                                 f.button("Load shuffled text"),
                                 f.check_box("Order by frequency (= best restoring)"),
                                 f.check_box("All best restoring steps"),
                                 f.button("Translate"),
                                 f.window.upper_text_box(),
                                 f.window.lower_text_box(),
                                 f.button("Load")};
  QVERIFY(!order.contains(nullptr));
  const DialogUnits units(f.window.font());
  order.first()->setFocus(Qt::TabFocusReason);
  for (int i = 1; i < order.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), order[i]);
    if (i + 1 == order.size()) break;  // round again
    // On the same row (middles less than a button's half height apart) the
    // next control is further right, else on a lower row.
    const QRect before = order[i - 1]->geometry();
    const QRect now = order[i]->geometry();
    const bool same_row = std::abs(now.center().y() - before.center().y()) < units.y(8);
    QVERIFY2(same_row ? now.left() > before.left() : now.top() > before.top(),
             qPrintable(QString::number(i)));
  }
}

void QtDialogWindowTest::escape_and_the_close_box_cancel_and_enter_never_ends_it() {
  QtDialogWindow& w = fixture_->window;
  const struct {
    const char* way;
    QWidget* focus;  // none: the close box
    Qt::Key key;
    bool ends;
  } ways[] = {
      {"Escape in a text box", w.upper_text_box(), Qt::Key_Escape, true},
      {"close box", nullptr, Qt::Key_unknown, true},
      {"Enter on a check box", fixture_->check_box("Deep Search"), Qt::Key_Return, false},
      {"Enter on the keypad on a check box", fixture_->check_box(kSortLabel), Qt::Key_Enter,
       false},
      {"Enter in the upper box", w.upper_text_box(), Qt::Key_Return, false},
      {"Enter in the lower box", w.lower_text_box(), Qt::Key_Return, false},
  };
  for (const auto& way : ways) {
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.setResult(-1);
    if (way.focus == nullptr) {
      w.close();
    } else {
      way.focus->setFocus();
      QTest::keyClick(way.focus, way.key);
    }
    QApplication::processEvents();
    QVERIFY2(w.isVisible() == !way.ends, way.way);
    QCOMPARE(w.result(), way.ends ? int(QDialog::Rejected) : -1);
  }
  // Nothing ran: Enter on a check box neither checked it nor pressed a button.
  QVERIFY(!w.command_running());
  QVERIFY(!w.is_checked(CheckBox::kDeepSearch));
  QVERIFY(w.is_checked(CheckBox::kSort));
}

// The boxes only show what the commands made: typing, pasting or deleting
// changes nothing, while the text can still be selected and copied.
void QtDialogWindowTest::the_text_boxes_can_be_selected_and_copied_but_not_changed() {
  QtDialogWindow& w = fixture_->window;
  w.show_text(TextBox::kUpper, "Der alte Garten\r\n");
  w.show_text(TextBox::kLower, "Der atle Gtraen\r\n");
  for (LeftScrollTextEdit* box : {w.upper_text_box(), w.lower_text_box()}) {
    const std::string before = box->bytes();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString::fromStdString(before).replace("\r\n", "\n"));
    QTest::keyClicks(box, "typed");
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(box->bytes(), before);
    QVERIFY(box->isReadOnly());
  }
}

void QtDialogWindowTest::f1_and_the_context_menu_open_the_about_box_and_change_nothing() {
  QtDialogWindow& w = fixture_->window;
  w.show_text(TextBox::kUpper, "source");
  w.show_text(TextBox::kLower, "scrambled");
  w.set_checked(CheckBox::kDeepSearch, true);
  w.set_checked(CheckBox::kSort, false);
  const QString data = AboutBox::data_folder();
  const QStringList about = {"Info über Quirlex",
                             "at least 235 units wide",
                             "icon",
                             "Quirlex Version 1.1b",
                             AboutBox::kDescription,
                             AboutBox::kLicence,
                             "Lexicons: " + data + "/lexicons (not installed)",
                             "Sample files: " + data + "/samples (not installed)",
                             "Manual: man quirlex, man quirlex-cli",
                             "default OK"};
  // A right click on the window's background, between the buttons and the text.
  const QPoint background(w.width() - 5, w.upper_text_box()->y() - 3);
  QVERIFY(w.childAt(background) == nullptr);

  const std::function<void(QWidget*)> close_ways[] = {
      [](QWidget* box) { box->findChild<QPushButton*>()->click(); },
      [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); },
      [](QWidget* box) { box->close(); },
  };
  for (const auto& close : close_ways) {
    for (const bool by_menu : {false, true}) {
      w.activateWindow();  // back from the menu
      QVERIFY(QTest::qWaitForWindowActive(&w));
      QStringList seen;
      const auto look_and_close = [&](QWidget* box) {
        seen = describe_about_box(box);
        close(box);
      };
      if (by_menu) {
        QStringList entries;
        when_popup_opens([&](QWidget* popup) {
          for (const QAction* action : popup->actions()) entries.append(action->text());
          when_modal_opens(look_and_close);
          if (!popup->actions().isEmpty()) popup->actions().first()->trigger();
          popup->close();
        });
        QContextMenuEvent click(QContextMenuEvent::Mouse, background, w.mapToGlobal(background));
        QApplication::sendEvent(&w, &click);
        QCOMPARE(entries, QStringList{"&Info über Quirlex..."});
      } else {
        when_modal_opens(look_and_close);
        QTest::keyClick(w.upper_text_box(), Qt::Key_F1);
      }
      QCOMPARE(seen, about);
      QVERIFY(QApplication::activeModalWidget() == nullptr);
      QVERIFY(w.isVisible());
      QCOMPARE(w.upper_text_box()->bytes(), std::string("source"));
      QCOMPARE(w.lower_text_box()->bytes(), std::string("scrambled"));
      QVERIFY(w.is_checked(CheckBox::kDeepSearch));
      QVERIFY(!w.is_checked(CheckBox::kSort));
    }
  }
}

void QtDialogWindowTest::calls_from_the_command_thread_reach_the_widgets_and_the_screen() {
  QtDialogWindow& w = fixture_->window;
  QApplication::processEvents();
  // What the window shows: the screen's copy of it, which only painting
  // changes.
  const auto shown = [&w](const QWidget* part) {
    return w.screen()->grabWindow(w.winId()).toImage().copy(part->geometry());
  };
  const QImage upper_before = shown(w.upper_text_box());
  const QImage lower_before = shown(w.lower_text_box());
  const std::string lines = "XXXXXXXXXXXXXXXX\r\nXXXXXXXXXXXXXXXX\r\nXXXXXXXXXXXXXXXX\r\n";
  std::atomic<bool> done = false;
  bool sort_seen = false;
  std::thread command([&] {
    w.show_text(TextBox::kUpper, lines);
    w.repaint_now(RepaintTarget::kWindow);
    w.show_text(TextBox::kLower, lines);
    w.repaint_now(RepaintTarget::kLowerTextBox);
    w.set_checked(CheckBox::kDeepSearch, true);
    sort_seen = w.is_checked(CheckBox::kSort);
    done = true;
  });
  // The calls wait for this thread, which handles events meanwhile.
  QTRY_VERIFY(done);
  command.join();
  QCOMPARE(w.upper_text_box()->bytes(), lines);
  QCOMPARE(w.lower_text_box()->bytes(), lines);
  QVERIFY(fixture_->check_box("Deep Search")->isChecked());
  QVERIFY(sort_seen);
  QTRY_VERIFY(shown(w.upper_text_box()) != upper_before);
  QTRY_VERIFY(shown(w.lower_text_box()) != lower_before);
}

void QtDialogWindowTest::the_lower_box_follows_the_end_of_a_long_text_the_upper_shows_its_start() {
  QtDialogWindow& w = fixture_->window;
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "line " + std::to_string(i) + "\r\n";
  text += "the last line";
  w.show_text(TextBox::kUpper, text);
  w.show_text(TextBox::kLower, text);

  const LeftScrollTextEdit* upper = w.upper_text_box();
  QCOMPARE(upper->textCursor().position(), 0);
  QCOMPARE(upper->left_scroll_bar()->value(), 0);
  const LeftScrollTextEdit* lower = w.lower_text_box();
  QVERIFY(lower->textCursor().atEnd());
  QVERIFY(lower->left_scroll_bar()->value() > 0);
  QCOMPARE(lower->left_scroll_bar()->value(), lower->left_scroll_bar()->maximum());
  // The caret, after the last character, is inside the visible area.
  QVERIFY(lower->viewport()->rect().contains(lower->cursorRect()));
}

}  // namespace quirlex::gui

QTEST_MAIN(quirlex::gui::QtDialogWindowTest)
#include "qt_dialog_window_test.moc"
