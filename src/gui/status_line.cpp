#include "gui/status_line.h"

#include <QFontMetrics>

namespace quirlex::gui {

StatusLine::StatusLine(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
}

void StatusLine::set_full_text(const QString& text) {
  full_text_ = text;
  fit();
}

void StatusLine::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  fit();
}

void StatusLine::fit() {
  const QString shown = fontMetrics().elidedText(full_text_, Qt::ElideMiddle, contentsRect().width());
  setText(shown);
  setToolTip(shown == full_text_ ? QString() : full_text_);
}

}  // namespace quirlex::gui
