#include "gui/scripted_dialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

namespace quirlex::gui::testing {

std::optional<QString> ScriptedDialogs::choose_file(QWidget*, const QString& folder,
                                                    const QString& preset, FilePurpose purpose) {
  requests.append(preset + (use_of(purpose) == FileUse::kWrite ? " (write)" : " (read)"));
  folders.append(folder);
  purposes.append(purpose);
  if (on_file_dialog) on_file_dialog();
  const QString name = answers.isEmpty() ? QString() : answers.takeFirst();
  if (name.isEmpty()) return std::nullopt;
  return name;
}

void ScriptedDialogs::show_message(QWidget*, const QString& text, MessageKind kind) {
  messages.append((kind == MessageKind::kFileError ? "stop: " : "warning: ") + text);
}

bool ScriptedDialogs::ask(QWidget*, const QString& question) {
  questions.append(question);
  return !replies.isEmpty() && replies.takeFirst();
}

ScriptedWindow::ScriptedWindow(std::unique_ptr<ScriptedDialogs> scripted,
                               const QString& settings_file)
    : dialogs(*scripted),
      window(std::move(scripted),
             settings_file.isEmpty()
                 ? nullptr
                 : std::make_unique<QSettings>(settings_file, QSettings::IniFormat)) {
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
}

QPushButton* ScriptedWindow::button(const QString& caption) const {
  for (QPushButton* b : window.findChildren<QPushButton*>()) {
    if (b->text() == caption && b->isVisible()) return b;
  }
  return nullptr;
}

bool ScriptedWindow::click(const QString& caption) {
  QPushButton* b = button(caption);
  if (b == nullptr) return false;
  QSignalSpy finished(&window, &QtDialogWindow::command_finished);
  QTest::mouseClick(b, Qt::LeftButton);
  // A command that has not ended within this long is hung, not slow.
  return finished.wait(60000);
}

QCheckBox* ScriptedWindow::check_box(const QString& label) const {
  for (const QLabel* l : window.findChildren<QLabel*>()) {
    if (l->text() != label) continue;
    // The nearest box left of the label on its row.
    QCheckBox* nearest = nullptr;
    for (QCheckBox* box : window.findChildren<QCheckBox*>()) {
      if (box->geometry().top() == l->geometry().top() && box->geometry().right() < l->x() &&
          (nearest == nullptr || box->x() > nearest->x())) {
        nearest = box;
      }
    }
    return nearest;
  }
  return nullptr;
}

}  // namespace quirlex::gui::testing
