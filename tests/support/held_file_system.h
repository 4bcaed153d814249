// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_TESTS_SUPPORT_HELD_FILE_SYSTEM_H_
#define SPRAVKA_TESTS_SUPPORT_HELD_FILE_SYSTEM_H_

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "support/faulty_file_system.h"

namespace spravka::testing {

// The real file system (with FaultyFileSystem's faults), except that the
// first whole-file write after HoldNextWrite() waits, on the thread that
// makes it, until Release(): the file work stays running for as long as a
// test needs. A hold that is never released gives way after a minute, so
// that a failing test cannot hang.
class HeldFileSystem : public FaultyFileSystem {
 public:
  void HoldNextWrite() {
    std::lock_guard<std::mutex> lock(mutex_);
    armed_ = true;
    released_ = false;
  }
  // A write waits for Release().
  bool waiting() const { return waiting_; }
  void Release() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      released_ = true;
    }
    released_signal_.notify_all();
  }

  Status WriteFile(const std::string& path, std::string_view data) override {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (armed_) {
        armed_ = false;
        waiting_ = true;
        released_signal_.wait_for(lock, std::chrono::minutes(1),
                                  [this] { return released_; });
        waiting_ = false;
      }
    }
    return FaultyFileSystem::WriteFile(path, data);
  }

 private:
  std::mutex mutex_;
  std::condition_variable released_signal_;
  bool armed_ = false;
  bool released_ = false;
  std::atomic<bool> waiting_{false};
};

}  // namespace spravka::testing

#endif  // SPRAVKA_TESTS_SUPPORT_HELD_FILE_SYSTEM_H_
