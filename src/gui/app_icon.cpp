#include "gui/app_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QSvgRenderer>

namespace quirlex::gui {

QIcon application_icon() {
  // Rendered here rather than by an icon engine plug-in, which a system may
  // lack; the listed sizes cover small and large window icons.
  QSvgRenderer renderer(QString::fromLatin1(kIconResource));
  QIcon icon;
  if (!renderer.isValid()) return icon;
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace quirlex::gui
