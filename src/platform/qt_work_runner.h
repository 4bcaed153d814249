// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_PLATFORM_QT_WORK_RUNNER_H_
#define SPRAVKA_PLATFORM_QT_WORK_RUNNER_H_

#include <QObject>
#include <functional>

#include "app/work_runner.h"

namespace spravka {

// Long work on a worker thread while the window's thread keeps its event
// loop: windows are exposed and painted (the splash window with its
// current text), user input waits until the work has ended and is handled,
// as it came, before Run() returns (not by a message box shown next), and
// the cursor is the hourglass. Whatever else
// arrives meanwhile (a drop, a request to close a window, a timer, a posted
// call) is handled as it comes: the window's file-work gate decides what of
// it may begin, and a second job is refused (WorkRunner::Run).
class QtWorkRunner : public QObject, public WorkRunner {
 public:
  void OnWindowThread(const std::function<void()>& step) override;

 protected:
  void RunJob(const std::function<void()>& job) override;
  void AfterJob() override;
};

}  // namespace spravka

#endif  // SPRAVKA_PLATFORM_QT_WORK_RUNNER_H_
