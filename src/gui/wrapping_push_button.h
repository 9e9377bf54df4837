// A push button whose caption breaks onto further lines when it does not fit
// the button's width, for the longer captions of the fixed-size buttons.
#pragma once

#include <QPushButton>

namespace quirlex::gui {

class WrappingPushButton : public QPushButton {
  Q_OBJECT

 public:
  explicit WrappingPushButton(const QString& text, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace quirlex::gui
