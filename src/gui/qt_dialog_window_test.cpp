// The window itself: its controls, their layout and order, the keys and the
// menu entry, and the window operations the commands use.
#include "gui/qt_dialog_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "gui/dialog_units.h"
#include "gui/left_scroll_text_edit.h"
#include "gui/modal_watch.h"
#include "gui/scripted_dialogs.h"

namespace quirlex::gui {

using testing::ScriptedDialogs;
using testing::when_modal_opens;
using testing::when_popup_opens;

namespace {

QPushButton* button(const QWidget& window, const QString& caption) {
  for (QPushButton* b : window.findChildren<QPushButton*>()) {
    if (b->text() == caption) return b;
  }
  return nullptr;
}

QLabel* label(const QWidget& window, const QString& text) {
  for (QLabel* l : window.findChildren<QLabel*>()) {
    if (l->text() == text) return l;
  }
  return nullptr;
}

const QStringList kCommandCaptions = {"Load",
                                      "Shuffle",
                                      "Save",
                                      "Translate",
                                      "Create Dictionary",
                                      "Load Dictionary",
                                      "Load shuffled text"};

}  // namespace

class QtDialogWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init();
  void cleanup();
  void starts_with_sort_checked_and_both_boxes_empty();
  void controls_stand_where_the_layout_puts_them_without_overlapping();
  void every_caption_is_readable();
  void tab_walks_the_controls_in_their_order();
  void growing_the_window_grows_the_text_boxes_only();
  void escape_close_box_and_enter_end_the_dialog();
  void f1_and_the_context_menu_open_the_about_box_and_change_nothing();
  void texts_and_check_boxes_reach_the_right_widgets();
  void repaint_now_paints_before_returning();
  void file_names_and_messages_pass_through_unchanged();
  void the_window_has_the_program_icon();

 private:
  ScriptedDialogs* dialogs_ = nullptr;
  std::unique_ptr<QtDialogWindow> window_;
};

void QtDialogWindowTest::init() {
  auto dialogs = std::make_unique<ScriptedDialogs>();
  dialogs_ = dialogs.get();
  window_ = std::make_unique<QtDialogWindow>(std::move(dialogs));
  window_->show();
  QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void QtDialogWindowTest::cleanup() {
  window_.reset();
}

void QtDialogWindowTest::starts_with_sort_checked_and_both_boxes_empty() {
  QtDialogWindow& w = *window_;
  QCOMPARE(w.windowTitle(), QString("Quirlex V1.1b"));
  QVERIFY(w.is_checked(CheckBox::kSort));
  QVERIFY(!w.is_checked(CheckBox::kDeepSearch));
  QVERIFY(w.upper_text_box()->document()->isEmpty());
  QVERIFY(w.lower_text_box()->document()->isEmpty());
  const QList<QCheckBox*> boxes = w.findChildren<QCheckBox*>();
  QCOMPARE(boxes.size(), 2);
  for (QCheckBox* box : boxes) QVERIFY(box->text().isEmpty());
  // The sort box is the one beside the sort label.
  QLabel* sort_label = label(w, "Sort the words (= optimal compression)");
  QVERIFY(sort_label != nullptr);
  for (QCheckBox* box : boxes) {
    const bool beside_sort = qAbs(box->y() - sort_label->y()) < box->height();
    QCOMPARE(box->isChecked(), beside_sort);
  }
}

void QtDialogWindowTest::controls_stand_where_the_layout_puts_them_without_overlapping() {
  QtDialogWindow& w = *window_;
  const DialogUnits units(w.font());
  QCOMPARE(w.size(), units.size(322, 300));
  QCOMPARE(button(w, "Load")->geometry(), units.rect(7, 7, 60, 19));
  QCOMPARE(button(w, "Translate")->geometry(), units.rect(70, 65, 60, 19));
  QCOMPARE(button(w, "Load shuffled text")->geometry(), units.rect(70, 44, 60, 20));
  QCOMPARE(w.upper_text_box()->geometry(), units.rect(7, 89, 308, 96));
  QCOMPARE(w.lower_text_box()->geometry(), units.rect(7, 194, 308, 99));

  QList<QWidget*> visible;
  for (QWidget* child : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isVisible()) visible.append(child);
  }
  QCOMPARE(visible.size(), 7 + 2 + 2 + 2);  // buttons, check boxes, labels, text boxes
  // Buttons stacked in a column share one dialog unit of their edges; no
  // control covers more of another.
  for (int i = 0; i < visible.size(); ++i) {
    QVERIFY(w.rect().contains(visible[i]->geometry()));
    for (int j = i + 1; j < visible.size(); ++j) {
      const QRect shared = visible[i]->geometry().intersected(visible[j]->geometry());
      QVERIFY2(shared.isEmpty() ||
                   (shared.width() == visible[i]->width() && shared.height() <= units.y(1)),
               qPrintable(visible[i]->metaObject()->className() + QString(" / ") +
                          visible[j]->metaObject()->className()));
    }
  }
  // Each label stands right of its check box, on the same line.
  QLabel* deep_label = label(w, "Deep Search");
  QVERIFY(deep_label != nullptr);
  int boxes_left_of_a_label = 0;
  for (QCheckBox* box : w.findChildren<QCheckBox*>()) {
    for (QLabel* l : {deep_label, label(w, "Sort the words (= optimal compression)")}) {
      if (box->geometry().top() == l->geometry().top() && box->geometry().right() < l->x()) {
        ++boxes_left_of_a_label;
      }
    }
  }
  QCOMPARE(boxes_left_of_a_label, 2);
  // Exit and Abbrechen exist but cannot be seen.
  QVERIFY(button(w, "Exit") != nullptr && !button(w, "Exit")->isVisible());
  QVERIFY(button(w, "Abbrechen") != nullptr && !button(w, "Abbrechen")->isVisible());
}

void QtDialogWindowTest::every_caption_is_readable() {
  for (const QString& caption : kCommandCaptions) {
    QPushButton* b = button(*window_, caption);
    QVERIFY2(b != nullptr, qPrintable(caption));
    QVERIFY(b->isVisible());
    // The caption fits the button, on as many lines as it needs.
    const QRect inside = b->rect().adjusted(2, 2, -2, -2);
    const QRect needed =
        b->fontMetrics().boundingRect(inside, Qt::AlignCenter | Qt::TextWordWrap, caption);
    QVERIFY2(inside.contains(needed), qPrintable(caption));
  }
  for (QLabel* l : window_->findChildren<QLabel*>()) {
    QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->width(), qPrintable(l->text()));
    QVERIFY(l->fontMetrics().height() <= l->height());
  }
}

void QtDialogWindowTest::tab_walks_the_controls_in_their_order() {
  QtDialogWindow& w = *window_;
  QCheckBox* deep_search = nullptr;
  QCheckBox* sort = nullptr;
  for (QCheckBox* box : w.findChildren<QCheckBox*>()) {
    (box->isChecked() ? sort : deep_search) = box;
  }
  const QList<QWidget*> order = {button(w, "Load"),
                                 button(w, "Shuffle"),
                                 button(w, "Save"),
                                 button(w, "Translate"),
                                 w.upper_text_box(),
                                 w.lower_text_box(),
                                 button(w, "Create Dictionary"),
                                 button(w, "Load Dictionary"),
                                 button(w, "Load shuffled text"),
                                 deep_search,
                                 sort,
                                 button(w, "Load")};
  order.first()->setFocus(Qt::TabFocusReason);
  QCOMPARE(QApplication::focusWidget(), order.first());
  for (int i = 1; i < order.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), order[i]);
  }
  // Tab in a text box moves on instead of typing a tab.
  QVERIFY(w.upper_text_box()->document()->isEmpty());
}

void QtDialogWindowTest::growing_the_window_grows_the_text_boxes_only() {
  QtDialogWindow& w = *window_;
  const QRect upper = w.upper_text_box()->geometry();
  const QRect lower = w.lower_text_box()->geometry();
  const QRect translate = button(w, "Translate")->geometry();
  w.resize(w.width() + 200, w.height() + 300);
  QTRY_COMPARE(w.upper_text_box()->width(), upper.width() + 200);
  QCOMPARE(w.lower_text_box()->width(), lower.width() + 200);
  QCOMPARE(w.upper_text_box()->height() + w.lower_text_box()->height(),
           upper.height() + lower.height() + 300);
  QVERIFY(w.upper_text_box()->height() > upper.height() + 100);
  QVERIFY(w.lower_text_box()->height() > lower.height() + 100);
  // The gap between the boxes and the margin below stay as they were.
  QCOMPARE(w.lower_text_box()->y() - w.upper_text_box()->geometry().bottom(),
           lower.y() - upper.bottom());
  QCOMPARE(w.height() - w.lower_text_box()->geometry().bottom(),
           w.minimumHeight() - lower.bottom());
  QCOMPARE(button(w, "Translate")->geometry(), translate);
  // Smaller than its layout the window does not get.
  w.resize(100, 100);
  QCOMPARE(w.size(), w.minimumSize());
}

void QtDialogWindowTest::escape_close_box_and_enter_end_the_dialog() {
  // Escape, also while the caret is in a text box.
  window_->upper_text_box()->setFocus();
  QTest::keyClick(window_->upper_text_box(), Qt::Key_Escape);
  QVERIFY(!window_->isVisible());
  QCOMPARE(window_->result(), int(QDialog::Rejected));

  window_->show();
  QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  QVERIFY(window_->close());
  QVERIFY(!window_->isVisible());
  QCOMPARE(window_->result(), int(QDialog::Rejected));

  // Enter on a check box goes to the hidden default button Exit.
  window_->show();
  QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  QCheckBox* box = window_->findChildren<QCheckBox*>().first();
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Return);
  QVERIFY(!window_->isVisible());
  QCOMPARE(window_->result(), int(QDialog::Accepted));
}

void QtDialogWindowTest::f1_and_the_context_menu_open_the_about_box_and_change_nothing() {
  QtDialogWindow& w = *window_;
  w.show_text(TextBox::kUpper, "source");
  w.show_text(TextBox::kLower, "scrambled");
  w.set_checked(CheckBox::kDeepSearch, true);
  w.set_checked(CheckBox::kSort, false);

  QString title;
  when_modal_opens([&](QWidget* box) {
    title = box->windowTitle();
    QTest::keyClick(box, Qt::Key_Escape);
  });
  QTest::keyClick(w.upper_text_box(), Qt::Key_F1);
  QCOMPARE(title, QString::fromUtf8("Info über Quirlex"));

  title.clear();
  QString entry;
  when_popup_opens([&](QWidget* popup) {
    auto* menu = qobject_cast<QMenu*>(popup);
    QVERIFY(menu != nullptr);
    QCOMPARE(menu->actions().size(), 1);
    entry = menu->actions().first()->text();
    when_modal_opens([&](QWidget* box) {
      title = box->windowTitle();
      box->close();
    });
    menu->actions().first()->trigger();
    menu->close();
  });
  // A right click on the window's background, between the buttons and the text.
  const QPoint background(w.width() - 5, w.upper_text_box()->y() - 3);
  QVERIFY(w.childAt(background) == nullptr);
  QContextMenuEvent click(QContextMenuEvent::Mouse, background, w.mapToGlobal(background));
  QApplication::sendEvent(&w, &click);
  QCOMPARE(entry, QString::fromUtf8("&Info über Quirlex..."));
  QCOMPARE(title, QString::fromUtf8("Info über Quirlex"));

  QVERIFY(w.isVisible());
  QCOMPARE(w.upper_text_box()->bytes(), std::string("source"));
  QCOMPARE(w.lower_text_box()->bytes(), std::string("scrambled"));
  QVERIFY(w.is_checked(CheckBox::kDeepSearch));
  QVERIFY(!w.is_checked(CheckBox::kSort));
}

void QtDialogWindowTest::texts_and_check_boxes_reach_the_right_widgets() {
  QtDialogWindow& w = *window_;
  w.show_text(TextBox::kUpper, "oben \xE4");
  w.show_text(TextBox::kLower, "unten \x80");
  QCOMPARE(w.upper_text_box()->toPlainText(), QString::fromUtf8("oben ä"));
  QCOMPARE(w.lower_text_box()->toPlainText(), QString::fromUtf8("unten €"));

  QCheckBox* deep_search = nullptr;
  for (QCheckBox* box : w.findChildren<QCheckBox*>()) {
    if (box->geometry().top() == label(w, "Deep Search")->geometry().top()) deep_search = box;
  }
  QVERIFY(deep_search != nullptr);
  QTest::mouseClick(deep_search, Qt::LeftButton);
  QVERIFY(w.is_checked(CheckBox::kDeepSearch));
  QVERIFY(w.is_checked(CheckBox::kSort));
  w.set_checked(CheckBox::kSort, false);
  QVERIFY(deep_search->isChecked());
  QVERIFY(w.is_checked(CheckBox::kDeepSearch));
  QVERIFY(!w.is_checked(CheckBox::kSort));
}

void QtDialogWindowTest::repaint_now_paints_before_returning() {
  QtDialogWindow& w = *window_;
  QApplication::processEvents();
  // What the window shows: the screen's copy of it, which only painting
  // changes; the test never returns to the event loop in between.
  const auto shown = [&w](const QWidget* part) {
    return w.screen()->grabWindow(w.winId()).toImage().copy(part->geometry());
  };
  const std::string lines = "XXXXXXXXXXXXXXXX\r\nXXXXXXXXXXXXXXXX\r\nXXXXXXXXXXXXXXXX\r\n";

  const QImage lower_before = shown(w.lower_text_box());
  w.show_text(TextBox::kLower, lines);
  QCOMPARE(shown(w.lower_text_box()), lower_before);  // not yet painted
  w.repaint_now(RepaintTarget::kLowerTextBox);
  QVERIFY(shown(w.lower_text_box()) != lower_before);

  const QImage upper_before = shown(w.upper_text_box());
  w.show_text(TextBox::kUpper, lines);
  w.repaint_now(RepaintTarget::kWindow);
  QVERIFY(shown(w.upper_text_box()) != upper_before);
}

void QtDialogWindowTest::file_names_and_messages_pass_through_unchanged() {
  QtDialogWindow& w = *window_;
  dialogs_->answer(QString::fromUtf8("/tmp/Grüße €.txt"));
  const FileChoice chosen = w.choose_file("savedtext.txt", FileUse::kWrite);
  QVERIFY(chosen.confirmed);
  QCOMPARE(chosen.name, std::string("/tmp/Gr\xC3\xBC\xC3\x9F"
                                    "e \xE2\x82\xAC.txt"));
  QCOMPARE(dialogs_->requests.back().preset, QString("savedtext.txt"));
  QCOMPARE(dialogs_->requests.back().use, FileUse::kWrite);

  dialogs_->cancel();
  const FileChoice cancelled = w.choose_file("EMPTY SUFFIX PREFIX LIST.txt", FileUse::kRead);
  QVERIFY(!cancelled.confirmed);
  QCOMPARE(cancelled.name, std::string("EMPTY SUFFIX PREFIX LIST.txt"));

  w.message_box(
      "Datei konnte nicht ge\xC3\xB6"
      "ffnet werden!");
  w.file_error_box("Access to /x was denied.");
  QCOMPARE(dialogs_->messages.size(), std::size_t{2});
  QCOMPARE(dialogs_->messages[0].text, QString::fromUtf8("Datei konnte nicht geöffnet werden!"));
  QCOMPARE(dialogs_->messages[0].kind, MessageKind::kWarning);
  QCOMPARE(dialogs_->messages[1].kind, MessageKind::kFileError);
}

void QtDialogWindowTest::the_window_has_the_program_icon() {
  const QIcon icon = window_->windowIcon();
  QVERIFY(!icon.isNull());
  for (const int size : {16, 32}) {
    const QImage image = icon.pixmap(size, size).toImage();
    QCOMPARE(image.size(), QSize(size, size));
    // Opaque in the middle, transparent in the rounded corner.
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
  }
}

}  // namespace quirlex::gui

QTEST_MAIN(quirlex::gui::QtDialogWindowTest)
#include "qt_dialog_window_test.moc"
