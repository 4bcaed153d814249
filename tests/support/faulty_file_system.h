// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_TESTS_SUPPORT_FAULTY_FILE_SYSTEM_H_
#define SPRAVKA_TESTS_SUPPORT_FAULTY_FILE_SYSTEM_H_

#include <cerrno>
#include <stdexcept>
#include <string>

#include "storage/file_system.h"

namespace spravka::testing {

// What an injected failure throws when failures throw.
class InjectedFault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The real file system, except that writes stop after a budget of bytes (as
// on a full disk: the part that fit stays on the disk) and chosen
// operations fail.
//
// `fail_at` = N fails the N-th file operation of any kind (1 = the first),
// with an error returned or, when `throws`, an InjectedFault thrown. A
// failing write leaves the first half of its data on the disk. Exists and
// ResolveLinks, which have no error to return, fail only by throwing.
// Every operation counts in `operations`, so a run with `fail_at` beyond
// it completed without meeting the failure.
class FaultyFileSystem : public FileSystem {
 public:
  long long write_budget = -1;  // bytes that may still be written; -1 = any
  int failing_rename = 0;       // which rename fails (1 = the first); 0 = none
  bool later_renames_fail = false;  // and every rename after it
  int renames = 0;
  // Every WriteFile fails (returned, or thrown when `throws`), as when the
  // compressor or the disk gives out; nothing is written.
  bool writes_fail = false;

  int fail_at = 0;
  bool throws = false;
  int operations = 0;
  bool failed = false;  // the failure has happened

  Status ReadFile(const std::string& path, std::string* contents) override {
    if (Fails()) return Fault(FileOperation::kRead, path);
    return RealFileSystem().ReadFile(path, contents);
  }
  Status WriteFile(const std::string& path, std::string_view data) override {
    if (writes_fail) {
      if (throws) throw InjectedFault("Сбой сжатия");
      return Status::IoError(FileOperation::kWrite, path, ENOSPC);
    }
    if (Fails()) {
      IgnoreError(
          RealFileSystem().WriteFile(path, data.substr(0, data.size() / 2)));
      return Fault(FileOperation::kWrite, path);
    }
    if (write_budget >= 0 &&
        static_cast<long long>(data.size()) > write_budget) {
      IgnoreError(
          RealFileSystem().WriteFile(path, data.substr(0, write_budget)));
      write_budget = 0;
      return Status::IoError(FileOperation::kWrite, path, ENOSPC);
    }
    if (write_budget >= 0) write_budget -= static_cast<long long>(data.size());
    return RealFileSystem().WriteFile(path, data);
  }
  Status WriteAt(const std::string& path, uint64_t offset,
                 std::string_view data) override {
    if (Fails()) return Fault(FileOperation::kWrite, path);
    if (write_budget >= 0 &&
        static_cast<long long>(data.size()) > write_budget) {
      return Status::IoError(FileOperation::kWrite, path, ENOSPC);
    }
    return RealFileSystem().WriteAt(path, offset, data);
  }
  Status Rename(const std::string& from, const std::string& to) override {
    if (Fails()) return Fault(FileOperation::kRename, from);
    ++renames;
    if (failing_rename > 0 &&
        (renames == failing_rename ||
         (later_renames_fail && renames > failing_rename))) {
      return Status::IoError(FileOperation::kRename, from, EACCES);
    }
    return RealFileSystem().Rename(from, to);
  }
  // Every Link fails, as on a file system without links.
  bool links_fail = false;
  Status Link(const std::string& existing, const std::string& to) override {
    if (Fails()) return Fault(FileOperation::kWrite, to);
    if (links_fail) return FileSystem::Link(existing, to);
    return RealFileSystem().Link(existing, to);
  }
  Status Remove(const std::string& path) override {
    if (Fails()) return Fault(FileOperation::kRemove, path);
    return RealFileSystem().Remove(path);
  }
  bool Exists(const std::string& path) override {
    if (Fails() && throws) IgnoreError(Fault(FileOperation::kRead, path));
    return RealFileSystem().Exists(path);
  }
  std::string ResolveLinks(const std::string& path) override {
    if (Fails() && throws) IgnoreError(Fault(FileOperation::kRead, path));
    return RealFileSystem().ResolveLinks(path);
  }
  Status MakeWritable(const std::string& path) override {
    if (Fails()) return Fault(FileOperation::kWrite, path);
    return RealFileSystem().MakeWritable(path);
  }
  Status CopyPermissions(const std::string& from,
                         const std::string& to) override {
    if (Fails()) return Fault(FileOperation::kWrite, to);
    return RealFileSystem().CopyPermissions(from, to);
  }
  Status ListFolder(const std::string& folder,
                    std::vector<std::string>* names) override {
    return RealFileSystem().ListFolder(folder, names);
  }
  Status RenameNoReplace(const std::string& from,
                         const std::string& to) override {
    if (Fails()) return Fault(FileOperation::kRename, from);
    ++renames;
    if (failing_rename > 0 &&
        (renames == failing_rename ||
         (later_renames_fail && renames > failing_rename))) {
      return Status::IoError(FileOperation::kRename, from, EACCES);
    }
    return RealFileSystem().RenameNoReplace(from, to);
  }
  // The real locks, with a writer's wait of `lock_wait`.
  Status LockFile(const std::string& path, std::chrono::milliseconds,
                  bool make_lock_file,
                  std::unique_ptr<FileLock>* lock) override {
    return RealFileSystem().LockFile(path, lock_wait, make_lock_file, lock);
  }
  std::unique_ptr<FileLock> MarkOpen(const std::string& path,
                                     bool* open_elsewhere) override {
    return RealFileSystem().MarkOpen(path, open_elsewhere);
  }
  bool IsMarkedOpen(const std::string& path) override {
    return RealFileSystem().IsMarkedOpen(path);
  }
  std::chrono::milliseconds lock_wait{0};

 private:
  bool Fails() { return ++operations == fail_at; }
  // An injected failure comes as an input/output error (EIO), or thrown.
  Status Fault(FileOperation operation, const std::string& path) {
    failed = true;
    if (throws) throw InjectedFault("Injected failure: " + path);
    return Status::IoError(operation, path, EIO);
  }
};

}  // namespace spravka::testing

#endif  // SPRAVKA_TESTS_SUPPORT_FAULTY_FILE_SYSTEM_H_
