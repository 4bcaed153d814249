// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_PLATFORM_QT_WORK_RUNNER_H_
#define SPRAVKA_PLATFORM_QT_WORK_RUNNER_H_

#include <QObject>
#include <functional>

#include "app/work_runner.h"

namespace spravka {

// Long work on a worker thread while the window's thread keeps its event
// loop: windows are exposed and painted (the splash window with its
// current text), user input waits until the work has ended and is then
// handled as it came, a request to close a window is refused meanwhile,
// and the cursor is the hourglass. One job at a time; a job started from
// inside another runs on the worker at once.
class QtWorkRunner : public QObject, public WorkRunner {
 public:
  void Run(const std::function<void()>& job) override;
  void OnWindowThread(const std::function<void()>& step) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool running_ = false;
};

}  // namespace spravka

#endif  // SPRAVKA_PLATFORM_QT_WORK_RUNNER_H_
