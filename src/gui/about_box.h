// The About box: the program's icon, name and version, and an OK button.
#pragma once

#include <QDialog>

class QIcon;

namespace quirlex::gui {

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kTitle = "Info über Quirlex";
  static constexpr const char* kVersionText = "Quirlex Version 1.1b";

  AboutBox(const QIcon& icon, QWidget* parent);
};

}  // namespace quirlex::gui
