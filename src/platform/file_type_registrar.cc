// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_type_registrar.h"

#include <QThread>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>

namespace spravka {
namespace {

// A QThread, not a bare thread: the refresh tools run through QProcess,
// which wants a thread with an event dispatcher. (Not QThread::create,
// whose std::future makes the program need the dynamic loader's own
// library for its thread-local storage.)
class JobThread : public QThread {
 public:
  explicit JobThread(std::function<void()> job) : job_(std::move(job)) {}

 protected:
  void run() override { job_(); }

 private:
  std::function<void()> job_;
};

}  // namespace

FileTypeRegistrar::FileTypeRegistrar(FileTypeStore* store, int delay_ms)
    : store_(store), delay_ms_(delay_ms) {}

FileTypeRegistrar::~FileTypeRegistrar() {
  if (thread_) thread_->wait();
}

void FileTypeRegistrar::Request(bool folder_read_only,
                                std::string program_folder,
                                std::string executable) {
  if (store_ == nullptr || job_ || thread_) return;
  job_ = [this, folder_read_only, folder = std::move(program_folder),
          executable = std::move(executable)] {
    written_ = RegisterFileType(folder_read_only, folder, executable, *store_);
    finished_ = true;
  };
  QTimer::singleShot(delay_ms_, this, &FileTypeRegistrar::Begin);
}

void FileTypeRegistrar::Begin() {
  if (!job_ || thread_) return;
  thread_ = std::make_unique<JobThread>(std::move(job_));
  job_ = nullptr;
  thread_->start(QThread::LowPriority);
}

bool FileTypeRegistrar::Wait() {
  Begin();
  if (thread_) thread_->wait();
  return written_;
}

}  // namespace spravka
