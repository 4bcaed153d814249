// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/locked_base.h"

namespace spravka {

Status LockedBase::Open(const std::string& link, const WriteChecks& checks) {
  path_ = fs_.ResolveLinks(link);
  const bool existed = fs_.Exists(path_);
  for (int attempt = 0;; ++attempt) {
    Status status = fs_.LockForWriting(path_, &lock_);
    if (!status.ok()) return status;
    status = ReadBaseFile(path_, BaseFileAccess::kWrite, fs_, &file_);
    // The identity is that of the bytes read, whether they parse or not.
    if (checks.expected && status.code() != StatusCode::kIoError &&
        status.code() != StatusCode::kNotRegularFile &&
        file_.id != *checks.expected) {
      lock_.reset();
      return Status::Damaged(StatusCode::kBaseChanged);
    }
    if (!status.ok()) {
      lock_.reset();
      return status;
    }
    // No lock file was made while the base was missing; it has appeared
    // since, so it is locked now and read again under the lock. (A base in
    // a folder where no lock file can be made is written without one:
    // nothing can be written there.)
    if (lock_ || existed || attempt > 0) break;
  }
  if (checks.refuse_open_in_window && fs_.IsMarkedOpen(path_)) {
    lock_.reset();
    return Status::OfFile(StatusCode::kOpenInWindow, path_);
  }
  return Status::Ok();
}

Status LockedBase::Replace(std::string_view bytes) {
  Status status = fs_.ReplaceFile(path_, bytes, FileSystem::ReadOnly::kReplace);
  if (status.ok()) written_ = FileIdOf(bytes);
  return status;
}

}  // namespace spravka
