// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt_work_runner.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <exception>
#include <system_error>
#include <thread>

#include "util/scope_exit.h"

namespace spravka {

void QtWorkRunner::RunJob(const std::function<void()>& job) {
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
  {
    // The job is waited for however the loop ends (it returns at once when
    // the application is quitting).
    ScopeExit wait_for_job([&] { worker.join(); });
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ScopeExit normal_cursor([] { QApplication::restoreOverrideCursor(); });
    // Input waits in the window system's queue until the loop below ends.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  if (failure) std::rethrow_exception(failure);
}

void QtWorkRunner::AfterJob() {
  // The keys and clicks that waited reach the window they were meant for:
  // the work that goes on may show a message box next, which would take
  // them. The file-work gate still holds what would begin new work.
  QCoreApplication::processEvents();
}

void QtWorkRunner::OnWindowThread(const std::function<void()>& step) {
  if (QThread::currentThread() == thread()) {
    step();
    return;
  }
  QMetaObject::invokeMethod(this, step, Qt::QueuedConnection);
}

}  // namespace spravka
