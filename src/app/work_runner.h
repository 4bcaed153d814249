// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_WORK_RUNNER_H_
#define SPRAVKA_APP_WORK_RUNNER_H_

#include <functional>

namespace spravka {

// Runs the file work of a long operation (a load, a save, an optimisation,
// a restore, making a base). A window runs it on a worker thread and keeps
// its own thread painting while input waits; this one runs it right here.
// Run() returns when the job has ended and throws what the job threw.
//
// A job asks no question and shows no message, and touches only what its
// caller gave it: while it runs, the window's thread neither changes the
// store nor searches it.
class WorkRunner {
 public:
  virtual ~WorkRunner() = default;
  virtual void Run(const std::function<void()>& job) { job(); }
  // From inside a job: `step` runs on the window's thread, before Run()
  // returns (here: at once).
  virtual void OnWindowThread(const std::function<void()>& step) { step(); }
};

}  // namespace spravka

#endif  // SPRAVKA_APP_WORK_RUNNER_H_
