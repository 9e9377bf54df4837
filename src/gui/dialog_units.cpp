#include "gui/dialog_units.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

namespace quirlex::gui {
namespace {

// units * base / divisor, rounded half away from zero.
int scale(int units, int base, int divisor) {
  const long long product = static_cast<long long>(units) * base;
  const long long half = divisor / 2;
  return static_cast<int>(product >= 0 ? (product + half) / divisor
                                       : -((-product + half) / divisor));
}

}  // namespace

DialogUnits::DialogUnits(int base_width, int base_height)
    : base_width_(base_width), base_height_(base_height) {}

DialogUnits::DialogUnits(const QFont& font) : base_width_(0), base_height_(0) {
  const QFontMetrics metrics(font);
  const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  // The width of the 52 letters over 26, halved with rounding: their average.
  base_width_ = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
  base_height_ = metrics.height();
}

int DialogUnits::x(int units) const {
  return scale(units, base_width_, 4);
}
int DialogUnits::y(int units) const {
  return scale(units, base_height_, 8);
}

QRect DialogUnits::rect(int x_units, int y_units, int width, int height) const {
  return QRect(x(x_units), y(y_units), x(width), y(height));
}

QSize DialogUnits::size(int width, int height) const {
  return QSize(x(width), y(height));
}

}  // namespace quirlex::gui
