#include "gui/about_box.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "gui/dialog_units.h"

namespace quirlex::gui {

AboutBox::AboutBox(const QIcon& icon, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setWindowTitle(QString::fromUtf8(kTitle));
  setModal(true);
  const DialogUnits units(font());
  setFixedSize(units.size(235, 55));

  auto* picture = new QLabel(this);
  const int icon_size = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
  picture->setPixmap(icon.pixmap(icon_size, icon_size));
  picture->setGeometry(units.x(11), units.y(17), icon_size, icon_size);

  auto* text = new QLabel(QString::fromUtf8(kVersionText), this);
  text->setGeometry(units.rect(40, 10, 119, 8));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setGeometry(units.rect(178, 7, 50, 16));
  ok->setDefault(true);
  ok->setFocus();
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace quirlex::gui
