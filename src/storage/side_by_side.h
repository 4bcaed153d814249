// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_SIDE_BY_SIDE_H_
#define SPRAVKA_STORAGE_SIDE_BY_SIDE_H_

#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>

namespace spravka {

// Below this many bytes of text in the smaller table a second thread costs
// more than it saves.
constexpr size_t kParallelTextBytes = size_t{1} << 20;

// Runs `second` on a thread of its own while this thread runs `first`, and
// returns once both have ended; what either threw is thrown then, the
// first's before the second's. Where no thread can be started, runs them
// one after the other.
template <typename First, typename Second>
void RunSideBySide(First&& first, Second&& second) {
  std::exception_ptr second_failure;
  std::thread thread;
  try {
    thread = std::thread([&] {
      try {
        second();
      } catch (...) {
        second_failure = std::current_exception();
      }
    });
  } catch (const std::system_error&) {
    first();
    second();
    return;
  }
  std::exception_ptr first_failure;
  try {
    first();
  } catch (...) {
    first_failure = std::current_exception();
  }
  thread.join();
  if (first_failure) std::rethrow_exception(first_failure);
  if (second_failure) std::rethrow_exception(second_failure);
}

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_SIDE_BY_SIDE_H_
