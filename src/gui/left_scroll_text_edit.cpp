#include "gui/left_scroll_text_edit.h"

#include <QEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>
#include <utility>

#include "gui/box_text.h"

namespace quirlex::gui {
namespace {

// User state of a paragraph whose line goes on in the next paragraph.
constexpr int kLineGoesOn = 1;

// The text edit's own vertical scroll bar, kept hidden. The text edit sets
// range, steps and position on it; it passes every such change on, so that
// the visible bar on the left can follow. Page step changes emit no signal,
// hence the override rather than a connection.
class RelayScrollBar : public QScrollBar {
 public:
  explicit RelayScrollBar(std::function<void()> changed)
      : QScrollBar(Qt::Vertical), changed_(std::move(changed)) {}
  void stop_relaying() { changed_ = nullptr; }

 protected:
  void sliderChange(SliderChange change) override {
    QScrollBar::sliderChange(change);
    if (changed_) changed_();
  }

 private:
  std::function<void()> changed_;
};

}  // namespace

LeftScrollTextEdit::LeftScrollTextEdit(QWidget* parent)
    : QPlainTextEdit(parent), left_bar_(new QScrollBar(Qt::Vertical, this)) {
  setVerticalScrollBar(new RelayScrollBar([this] { copy_scroll_state(); }));
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // In a dialog, Tab moves on to the next control as it does everywhere else.
  setTabChangesFocus(true);
  connect(left_bar_, &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
  place_left_bar();
  copy_scroll_state();
}

LeftScrollTextEdit::~LeftScrollTextEdit() {
  // The base classes outlive this part and may still move the bar.
  if (auto* relay = dynamic_cast<RelayScrollBar*>(verticalScrollBar())) relay->stop_relaying();
}

void LeftScrollTextEdit::set_bytes(std::string_view text, Shown shown,
                                   std::span<const char32_t> kept) {
  set_box_text(make_box_text(text, {}, kept), shown);
}

void LeftScrollTextEdit::set_box_text(const BoxText& box, Shown shown) {
  // setPlainText keeps no undo record and lays out only what is shown.
  setPlainText(box.text);
  QTextBlock block = document()->begin();
  std::size_t number = 0;
  for (const std::size_t parted : box.parted_paragraphs) {
    while (number < parted && block.isValid()) {
      block = block.next();
      ++number;
    }
    block.setUserState(kLineGoesOn);
  }
  if (follows_end_ && shown == Shown::kUsual) {
    moveCursor(QTextCursor::End);
    // Laying out the last paragraphs can lengthen the scroll range after the
    // caret was brought into view; the end is its new maximum.
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  }
}

std::string LeftScrollTextEdit::bytes() const {
  std::string text;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    // The block's own text keeps every character as it is (toPlainText
    // would turn no-break spaces into spaces).
    text += paragraph_bytes(block.text());
    if (block.next().isValid() && block.userState() != kLineGoesOn) text += "\r\n";
  }
  return text;
}

void LeftScrollTextEdit::copy_scroll_state() {
  const QScrollBar* relay = verticalScrollBar();
  // The copy must not travel back to the relay as a user's scroll.
  const QSignalBlocker blocker(left_bar_);
  left_bar_->setRange(relay->minimum(), relay->maximum());
  left_bar_->setPageStep(relay->pageStep());
  left_bar_->setSingleStep(relay->singleStep());
  left_bar_->setValue(relay->value());
  left_bar_->setEnabled(relay->maximum() > relay->minimum());
  left_bar_->update();
}

void LeftScrollTextEdit::place_left_bar() {
  const int width = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, left_bar_);
  setViewportMargins(width, 0, 0, 0);
  const QRect inside = contentsRect();
  left_bar_->setGeometry(inside.left(), inside.top(), width, inside.height());
}

void LeftScrollTextEdit::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  place_left_bar();
}

void LeftScrollTextEdit::changeEvent(QEvent* event) {
  QPlainTextEdit::changeEvent(event);
  if (event->type() == QEvent::StyleChange) place_left_bar();
}

}  // namespace quirlex::gui
