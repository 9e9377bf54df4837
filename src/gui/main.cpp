// The desktop program: one dialog window over the scrambling commands.
#include <QApplication>

#include "gui/start_up.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  return quirlex::gui::run_application();
}
