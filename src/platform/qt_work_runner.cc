// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt_work_runner.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QThread>
#include <exception>
#include <system_error>
#include <thread>

namespace spravka {

void QtWorkRunner::Run(const std::function<void()>& job) {
  if (running_ || QThread::currentThread() != thread()) {
    job();  // already on the worker
    return;
  }
  QEventLoop loop;
  std::exception_ptr failure;
  const auto work = [&] {
    try {
      job();
    } catch (...) {
      failure = std::current_exception();
    }
    // Posted after every step the job posted, so those run first.
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  };
  std::thread worker;
  try {
    worker = std::thread(work);
  } catch (const std::system_error&) {
    job();  // no thread to be had: the work holds the window as it once did
    return;
  }
  running_ = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  qApp->installEventFilter(this);
  // Input waits in the window system's queue until the loop below ends.
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  qApp->removeEventFilter(this);
  QApplication::restoreOverrideCursor();
  running_ = false;
  worker.join();
  if (failure) std::rethrow_exception(failure);
}

void QtWorkRunner::OnWindowThread(const std::function<void()>& step) {
  if (QThread::currentThread() == thread()) {
    step();
    return;
  }
  QMetaObject::invokeMethod(this, step, Qt::QueuedConnection);
}

bool QtWorkRunner::eventFilter(QObject* watched, QEvent* event) {
  // Closing the window would leave the base under the work's feet.
  if (event->type() == QEvent::Close) {
    event->ignore();
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace spravka
