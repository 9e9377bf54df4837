#include "gui/scripted_dialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace quirlex::gui::testing {

std::optional<QString> ScriptedDialogs::choose_file(QWidget*, const QString& preset,
                                                    FilePurpose purpose) {
  requests.append(preset + (use_of(purpose) == FileUse::kWrite ? " (write)" : " (read)"));
  const QString name = answers.isEmpty() ? QString() : answers.takeFirst();
  if (name.isEmpty()) return std::nullopt;
  return name;
}

void ScriptedDialogs::show_message(QWidget*, const QString& text, MessageKind kind) {
  messages.append((kind == MessageKind::kFileError ? "stop: " : "warning: ") + text);
}

ScriptedWindow::ScriptedWindow(std::unique_ptr<ScriptedDialogs> scripted)
    : dialogs(*scripted), window(std::move(scripted)) {
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
}

QPushButton* ScriptedWindow::button(const QString& caption) const {
  for (QPushButton* b : window.findChildren<QPushButton*>()) {
    if (b->text() == caption && b->isVisible()) return b;
  }
  return nullptr;
}

QCheckBox* ScriptedWindow::check_box(const QString& label) const {
  for (const QLabel* l : window.findChildren<QLabel*>()) {
    if (l->text() != label) continue;
    for (QCheckBox* box : window.findChildren<QCheckBox*>()) {
      if (box->geometry().top() == l->geometry().top() && box->geometry().right() < l->x()) {
        return box;
      }
    }
  }
  return nullptr;
}

}  // namespace quirlex::gui::testing
