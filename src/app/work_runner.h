// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_WORK_RUNNER_H_
#define SPRAVKA_APP_WORK_RUNNER_H_

#include <atomic>
#include <functional>
#include <stdexcept>

#include "app/file_work_gate.h"

namespace spravka {

// What Run() throws for a job asked for while another one runs.
class WorkRefused : public std::runtime_error {
 public:
  WorkRefused() : std::runtime_error(kWorkRunningText) {}
};

// Runs the file work of a long operation (a load, a save, an optimisation,
// a restore, making a base). A window runs it on a worker thread and keeps
// its own thread painting while input waits; this one runs it right here.
//
// A job asks no question and shows no message, and touches only what its
// caller gave it. While it runs, the window's thread may read the open
// base's store but changes nothing the job reads: the window's file-work
// gate holds or refuses every event that would.
class WorkRunner {
 public:
  virtual ~WorkRunner() = default;

  // Runs `job` and returns when it has ended, throwing what it threw. One
  // job at a time: a job asked for while one runs (from an event that the
  // window's thread handles as it waits, or from the job itself) does not
  // run, and WorkRefused is thrown.
  void Run(const std::function<void()>& job);
  // A job runs.
  bool running() const { return running_; }

  // From inside a job: `step` runs on the window's thread, before Run()
  // returns (here: at once).
  virtual void OnWindowThread(const std::function<void()>& step) { step(); }

 protected:
  // Runs one job, and returns when it has ended.
  virtual void RunJob(const std::function<void()>& job) { job(); }
  // After a job that ended well, before Run() returns: what the window
  // held back while it ran is handled now (here: nothing is held back).
  virtual void AfterJob() {}

 private:
  std::atomic<bool> running_{false};
};

}  // namespace spravka

#endif  // SPRAVKA_APP_WORK_RUNNER_H_
