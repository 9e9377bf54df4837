// Dialog units for one font: the window is laid out in these units, so that
// it keeps its proportions with any font. A horizontal unit is a quarter of
// the font's average character width, a vertical unit an eighth of its
// height, rounded the way dialog templates are converted.
#pragma once

#include <QRect>
#include <QSize>

class QFont;

namespace quirlex::gui {

class DialogUnits {
 public:
  // Average character width and character height in pixels.
  DialogUnits(int base_width, int base_height);
  // The average width is taken over the 52 letters A-Z and a-z.
  explicit DialogUnits(const QFont& font);

  int base_width() const { return base_width_; }
  int base_height() const { return base_height_; }

  int x(int units) const;
  int y(int units) const;
  QRect rect(int x, int y, int width, int height) const;
  QSize size(int width, int height) const;

 private:
  int base_width_;
  int base_height_;
};

}  // namespace quirlex::gui
