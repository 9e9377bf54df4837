#include "gui/modal_watch.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <utility>

namespace quirlex::gui::testing {
namespace {

constexpr int kPollMilliseconds = 10;
constexpr int kMostPolls = 500;

void poll(std::function<QWidget*()> find, std::function<void(QWidget*)> action, int polls_left) {
  QTimer::singleShot(kPollMilliseconds, qApp, [find, action, polls_left] {
    QWidget* widget = find();
    if (widget != nullptr && widget->isVisible()) {
      action(widget);
    } else if (polls_left > 0) {
      poll(find, action, polls_left - 1);
    }
  });
}

}  // namespace

void when_modal_opens(std::function<void(QWidget*)> action) {
  poll([] { return QApplication::activeModalWidget(); }, std::move(action), kMostPolls);
}

void when_popup_opens(std::function<void(QWidget*)> action) {
  poll([] { return QApplication::activePopupWidget(); }, std::move(action), kMostPolls);
}

}  // namespace quirlex::gui::testing
