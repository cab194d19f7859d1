#pragma once
// Long work beside a window: it runs on a thread of its own and hands what it
// made back on the window's thread, and only while the window still exists.
#include <QMetaObject>
#include <QPointer>

#include <thread>
#include <utility>

namespace furlong {

// Runs `update(*window)` on the window's thread, unless the window is gone.
template <typename Window, typename Update>
void PostToWindow(const QPointer<Window>& window, Update update) {
  QMetaObject::invokeMethod(
      window.data(),
      [window, update = std::move(update)]() mutable {
        if (window) update(*window);
      },
      Qt::QueuedConnection);
}

// Starts `work()` on a new thread; its result goes to `(window->*finished)`
// on the window's thread. The caller joins the thread (in `finished` and
// when the window closes).
template <typename Window, typename Work, typename Result>
std::thread StartWindowWorker(Window* window, Work work, void (Window::*finished)(Result)) {
  return std::thread([window = QPointer<Window>(window), work = std::move(work), finished]() mutable {
    PostToWindow(window, [finished, result = work()](Window& w) mutable { (w.*finished)(std::move(result)); });
  });
}

}  // namespace furlong
