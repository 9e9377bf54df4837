// The window itself: its start, its layout in dialog units, the keys, the
// About box, and the window operations that no button shows: repainting at
// once and the lower box following the end of its text.
#include "gui/qt_dialog_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <functional>

#include "gui/dialog_units.h"
#include "gui/left_scroll_text_edit.h"
#include "gui/modal_watch.h"
#include "gui/scripted_dialogs.h"

namespace quirlex::gui {

using testing::kSortLabel;
using testing::ScriptedWindow;
using testing::when_modal_opens;
using testing::when_popup_opens;

namespace {

// The facts a test checks of an About box, gathered while it is open: a
// failed check there would leave it open.
QStringList describe_about_box(QWidget* box) {
  QStringList facts = {box->windowTitle()};
  if (box->size() == DialogUnits(box->font()).size(235, 55)) facts.append("235 x 55 units");
  for (const QLabel* label : box->findChildren<QLabel*>()) {
    const QImage picture = label->pixmap().toImage();
    if (!picture.isNull()) {
      // The icon: opaque in the middle.
      if (qAlpha(picture.pixel(picture.width() / 2, picture.height() / 2)) == 255) {
        facts.append("icon");
      }
    } else if (label->fontMetrics().horizontalAdvance(label->text()) <= label->width()) {
      facts.append(label->text());
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
  void escape_and_the_close_box_cancel_and_enter_exits();
  void f1_and_the_context_menu_open_the_about_box_and_change_nothing();
  void repaint_now_paints_before_returning();
  void the_lower_box_follows_the_end_of_a_long_text_the_upper_shows_its_start();

 private:
  std::unique_ptr<ScriptedWindow> fixture_;
};

void QtDialogWindowTest::starts_with_sort_checked_both_boxes_empty_and_the_icon() {
  const QtDialogWindow& w = fixture_->window;
  QCOMPARE(w.windowTitle(), QString("Quirlex V1.1b"));
  QCheckBox* sort = fixture_->check_box(kSortLabel);
  QCheckBox* deep_search = fixture_->check_box("Deep Search");
  QVERIFY(sort != nullptr && deep_search != nullptr && sort != deep_search);
  QVERIFY(sort->isChecked());
  QVERIFY(!deep_search->isChecked());
  QVERIFY(w.upper_text_box()->document()->isEmpty());
  QVERIFY(w.lower_text_box()->document()->isEmpty());
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
  QCOMPARE(w.size(), units.size(322, 300));
  QList<QWidget*> visible;
  for (QWidget* child : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isVisible()) visible.append(child);
  }
  QCOMPARE(visible.size(), 7 + 4 + 4 + 2);  // buttons, check boxes, their labels, text boxes
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
  QCOMPARE(fixture_->button("Translate")->geometry(), translate);
  // Smaller than its layout the window does not get.
  w.resize(100, 100);
  QCOMPARE(w.size(), w.minimumSize());
}

void QtDialogWindowTest::tab_walks_the_controls_in_their_order() {
  const ScriptedWindow& f = *fixture_;
  const QList<QWidget*> order = {f.button("Load"),
                                 f.button("Shuffle"),
                                 f.button("Save"),
                                 f.button("Translate"),
                                 f.window.upper_text_box(),
                                 f.window.lower_text_box(),
                                 f.button("Create Dictionary"),
                                 f.button("Load Dictionary"),
                                 f.button("Load shuffled text"),
                                 f.check_box("Deep Search"),
                                 f.check_box(kSortLabel),
                                 f.check_box("Order by frequency (= best restoring)"),
                                 f.check_box("Compounds and context"),
                                 f.button("Load")};
  QVERIFY(!order.contains(nullptr));
  order.first()->setFocus(Qt::TabFocusReason);
  for (int i = 1; i < order.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), order[i]);
  }
}

void QtDialogWindowTest::escape_and_the_close_box_cancel_and_enter_exits() {
  QtDialogWindow& w = fixture_->window;
  // Enter goes to the hidden default button Exit.
  const struct {
    const char* way;
    QWidget* focus;  // none: the close box
    Qt::Key key;
    int result;
  } ways[] = {
      {"Escape in a text box", w.upper_text_box(), Qt::Key_Escape, QDialog::Rejected},
      {"close box", nullptr, Qt::Key_unknown, QDialog::Rejected},
      {"Enter on a check box", fixture_->check_box("Deep Search"), Qt::Key_Return,
       QDialog::Accepted},
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
    QVERIFY2(!w.isVisible(), way.way);
    QCOMPARE(w.result(), way.result);
  }
}

void QtDialogWindowTest::f1_and_the_context_menu_open_the_about_box_and_change_nothing() {
  QtDialogWindow& w = fixture_->window;
  w.show_text(TextBox::kUpper, "source");
  w.show_text(TextBox::kLower, "scrambled");
  w.set_checked(CheckBox::kDeepSearch, true);
  w.set_checked(CheckBox::kSort, false);
  const QStringList about = {"Info über Quirlex", "235 x 55 units", "icon", "Quirlex Version 1.1b",
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

void QtDialogWindowTest::repaint_now_paints_before_returning() {
  QtDialogWindow& w = fixture_->window;
  QApplication::processEvents();
  // What the window shows: the screen's copy of it, which only painting
  // changes; the test never returns to the event loop in between.
  const auto shown = [&w](const QWidget* part) {
    return w.screen()->grabWindow(w.winId()).toImage().copy(part->geometry());
  };
  const std::string lines = "XXXXXXXXXXXXXXXX\r\nXXXXXXXXXXXXXXXX\r\nXXXXXXXXXXXXXXXX\r\n";
  for (const auto target : {RepaintTarget::kLowerTextBox, RepaintTarget::kWindow}) {
    const TextBox box = target == RepaintTarget::kWindow ? TextBox::kUpper : TextBox::kLower;
    const QWidget* widget = box == TextBox::kUpper ? w.upper_text_box() : w.lower_text_box();
    const QImage before = shown(widget);
    w.show_text(box, lines);
    QCOMPARE(shown(widget), before);  // not yet painted
    w.repaint_now(target);
    QVERIFY(shown(widget) != before);
  }
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
