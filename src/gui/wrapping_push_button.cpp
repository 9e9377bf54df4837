#include "gui/wrapping_push_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace quirlex::gui {

WrappingPushButton::WrappingPushButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent) {}

void WrappingPushButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  // The style draws the frame and the focus mark; the caption is drawn here
  // so that it may wrap.
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  style()->drawItemText(&painter, area, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic,
                        option.palette, isEnabled(), caption, QPalette::ButtonText);
}

}  // namespace quirlex::gui
