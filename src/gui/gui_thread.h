// Runs a call on the thread that owns a Qt object and returns its result.
// Widgets may only be touched on the user-interface thread, and the commands
// run on a worker thread: each of their window calls goes through here. From
// another thread the caller waits until the call has run, so references it
// passes stay valid; the owning thread must keep handling events meanwhile
// (it must never wait for the caller without doing so).
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <type_traits>
#include <utility>

namespace quirlex::gui {

template <typename Call>
auto call_on_thread_of(QObject* context, Call call) -> std::invoke_result_t<Call> {
  using Result = std::invoke_result_t<Call>;
  if (QThread::currentThread() == context->thread()) return call();
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(context, std::move(call), Qt::BlockingQueuedConnection);
  } else {
    Result result{};
    QMetaObject::invokeMethod(context, std::move(call), Qt::BlockingQueuedConnection, &result);
    return result;
  }
}

}  // namespace quirlex::gui
