// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UTIL_SCOPE_EXIT_H_
#define SPRAVKA_UTIL_SCOPE_EXIT_H_

#include <utility>

namespace spravka {

// Runs an action when the scope is left, whichever way: a state flag or
// cursor set before an operation is put back also when the operation
// throws.
template <typename Action>
class ScopeExit {
 public:
  explicit ScopeExit(Action action) : action_(std::move(action)) {}
  ~ScopeExit() {
    if (armed_) action_();
  }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

  // The operation succeeded: the action is not needed any more.
  void Dismiss() { armed_ = false; }

 private:
  Action action_;
  bool armed_ = true;
};

}  // namespace spravka

#endif  // SPRAVKA_UTIL_SCOPE_EXIT_H_
