// The About box: the program's icon, name and version, and an OK button.
#pragma once

#include <QDialog>

#include "base/version.h"

class QIcon;

namespace quirlex::gui {

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kTitle = "Info über Quirlex";
  static constexpr const char* kVersionText = "Quirlex Version " QUIRLEX_VERSION;

  AboutBox(const QIcon& icon, QWidget* parent);
};

}  // namespace quirlex::gui
