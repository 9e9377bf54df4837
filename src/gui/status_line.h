// The window's status line: one line of text that is cut short with an
// ellipsis when the window is too narrow for it, the whole text then being
// its tool tip.
#pragma once

#include <QLabel>
#include <QString>

namespace quirlex::gui {

class StatusLine : public QLabel {
  Q_OBJECT

 public:
  explicit StatusLine(QWidget* parent = nullptr);

  void set_full_text(const QString& text);
  const QString& full_text() const { return full_text_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void fit();

  QString full_text_;
};

}  // namespace quirlex::gui
