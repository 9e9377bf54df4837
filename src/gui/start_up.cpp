#include "gui/start_up.h"

#include <QApplication>
#include <QFileInfo>
#include <QSettings>
#include <memory>

#include "gui/app_icon.h"
#include "gui/qt_dialog_window.h"

namespace quirlex::gui {

void set_up_application() {
  QCoreApplication::setApplicationName(
      QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
  QCoreApplication::setOrganizationName(QString::fromUtf8(kSettingsLocation));
  QApplication::setWindowIcon(application_icon());
}

int run_application() {
  set_up_application();
  QtDialogWindow window(std::make_unique<StandardDialogs>(), std::make_unique<QSettings>());
  // The dialog's own loop is the program's only loop; how it was closed
  // makes no difference.
  window.exec();
  return 0;
}

}  // namespace quirlex::gui
