// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/work_runner.h"

#include "util/scope_exit.h"

namespace spravka {

void WorkRunner::Run(const std::function<void()>& job) {
  if (running_.exchange(true)) throw WorkRefused();
  {
    ScopeExit ended([this] { running_ = false; });
    RunJob(job);
  }
  AfterJob();
}

}  // namespace spravka
