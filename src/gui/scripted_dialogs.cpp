#include "gui/scripted_dialogs.h"

namespace quirlex::gui::testing {

std::optional<QString> ScriptedDialogs::choose_file(QWidget*, const QString& preset, FileUse use) {
  requests.push_back({preset, use});
  if (answers_.empty()) {
    ++unexpected_requests;
    return std::nullopt;
  }
  const Answer answer = answers_.front();
  answers_.pop_front();
  if (!answer.confirmed) return std::nullopt;
  return answer.name;
}

void ScriptedDialogs::show_message(QWidget*, const QString& text, MessageKind kind) {
  messages.push_back({text, kind});
}

}  // namespace quirlex::gui::testing
