// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_type_registrar.h"

#include <QThread>
#include <QTimer>
#include <utility>

namespace spravka {

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
  // A QThread, not a bare thread: the refresh tools run through QProcess,
  // which wants a thread with an event dispatcher.
  thread_.reset(QThread::create(std::move(job_)));
  job_ = nullptr;
  thread_->start(QThread::LowPriority);
}

bool FileTypeRegistrar::Wait() {
  Begin();
  if (thread_) thread_->wait();
  return written_;
}

}  // namespace spravka
