#include "gui/about_box.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <algorithm>

#include "gui/dialog_units.h"

namespace quirlex::gui {
namespace {

// A folder of the program's, marked when it is not there (a program run
// from its build folder, or a lexicon package not installed).
QString place(const QString& folder) {
  return QFileInfo(folder).isDir() ? folder : folder + QStringLiteral(" (not installed)");
}

}  // namespace

QString AboutBox::data_folder() {
  const QString data = QString::fromUtf8(QUIRLEX_DATA_DIR);
  const QString base = QDir::isAbsolutePath(data)
                           ? data
                           : QCoreApplication::applicationDirPath() + QStringLiteral("/../") + data;
  return QDir::cleanPath(base + QStringLiteral("/quirlex"));
}

QString AboutBox::file_places(const QString& settings_location) {
  const QString data = data_folder();
  QStringList lines = {QStringLiteral("Lexicons: ") + place(data + QStringLiteral("/lexicons")),
                       QStringLiteral("Sample files: ") + place(data + QStringLiteral("/samples"))};
  if (!settings_location.isEmpty()) lines.append(QStringLiteral("Settings: ") + settings_location);
  lines.append(QStringLiteral("Manual: man quirlex, man quirlex-cli"));
  return lines.join(QLatin1Char('\n'));
}

AboutBox::AboutBox(const QIcon& icon, const QString& settings_location, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setWindowTitle(QString::fromUtf8(kTitle));
  setModal(true);
  const DialogUnits units(font());

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

  // Below the version, as wide as the box: what the program is, its licence
  // and its files. A path longer than that widens the box.
  const QString places = file_places(settings_location);
  int width = units.x(188);
  for (const QString& line : places.split(QLatin1Char('\n'))) {
    width = std::max(width, fontMetrics().horizontalAdvance(line) + 1);
  }
  auto* details = new QLabel(QString::fromUtf8(kDescription) + QStringLiteral("\n\n") +
                                 QString::fromUtf8(kLicence) + QStringLiteral("\n\n") + places,
                             this);
  details->setTextFormat(Qt::PlainText);
  details->setWordWrap(true);
  details->setTextInteractionFlags(Qt::TextSelectableByMouse);
  const int top = units.y(28);
  details->setGeometry(units.x(40), top, width, details->heightForWidth(width));
  const int box_width = std::max(units.x(235), units.x(40) + width + units.x(7));
  setFixedSize(box_width, top + details->height() + units.y(7));
  // OK keeps its distance from the right edge of a wider box.
  ok->move(box_width - units.x(235 - 178), ok->y());
}

}  // namespace quirlex::gui
