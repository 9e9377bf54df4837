// What the window remembers between starts: the state of its check boxes and
// the folder each kind of file was last chosen in. Kept in a QSettings store
// that the caller owns; without one nothing is read or written (the tests
// give each window a store of its own, or none).
#pragma once

#include <QString>
#include <optional>

#include "app/dialog_window.h"

class QSettings;

namespace quirlex::gui {

class WindowSettings {
 public:
  explicit WindowSettings(QSettings* store) : store_(store) {}

  // The state a box had when the window last changed it.
  std::optional<bool> check_box(CheckBox box) const;
  void set_check_box(CheckBox box, bool checked);

  // The folder a file dialog for `purpose` opens in: where a file of its
  // kind (texts, corpora, lexicons, affix lists) was last chosen, while
  // that folder exists; else the working folder.
  QString folder_for(FilePurpose purpose) const;
  // Where a file dialog for `purpose` preset with `preset` opens, and the
  // name it offers: the folder of folder_for and `preset` (which opens in
  // a folder of its own when it has one). When no folder is remembered and
  // `preset`, a bare name, is no file of the working folder, a dialog that
  // reads offers the installed file instead where there is one (a sample
  // file, a ready lexicon of the user's language): the program started from
  // the desktop menu in the home folder offers files that exist.
  struct DialogStart {
    QString folder;
    QString name;
  };
  DialogStart start_for(FilePurpose purpose, const QString& preset) const;
  // Remembers the folder of `chosen`, a file confirmed in a dialog for
  // `purpose`; not a folder of the package's installed files, which is
  // read-only for the user and offered anyway.
  void remember_folder(FilePurpose purpose, const QString& chosen);

  // Where the store keeps its settings; empty without a store.
  QString location() const;

 private:
  QSettings* store_;
};

}  // namespace quirlex::gui
