// The About box: the program's icon, name and version, what it is, its
// licence, where its files are, and an OK button.
#pragma once

#include <QDialog>
#include <QString>

#include "base/version.h"

class QIcon;

namespace quirlex::gui {

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kTitle = "Info über Quirlex";
  static constexpr const char* kVersionText = "Quirlex Version " QUIRLEX_VERSION;
  static constexpr const char* kDescription =
      "A tool about scrambled words: it shuffles the interior letters of every word of a text "
      "(the first and the last letter stay, so a person can still read it), builds dictionaries "
      "from text corpora and restores scrambled texts from them.";
  // Neither the sources nor the package declare a licence.
  static constexpr const char* kLicence = "Licence: none has been declared for Quirlex.";

  // `settings_location` names the file where the window keeps its settings
  // (empty: it keeps none).
  AboutBox(const QIcon& icon, const QString& settings_location, QWidget* parent);

  // The folder of the installed program's shared files (lexicons, samples):
  // share/quirlex beside the folder the program runs from.
  static QString data_folder();
  // The lines that tell where the program's files are.
  static QString file_places(const QString& settings_location);
};

}  // namespace quirlex::gui
