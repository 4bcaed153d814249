// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_FILE_SYSTEM_H_
#define SPRAVKA_STORAGE_FILE_SYSTEM_H_

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/status.h"

namespace spravka {

// A lock on a file, held until the object goes.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

// How long a writer waits for another writer of the same base to finish.
inline constexpr std::chrono::milliseconds kWriterLockWait{1500};

// The few file operations the storage needs. Every result is checked: a
// failed write, flush, close or rename is reported, never taken for success.
// Paths are UTF-8 (on Windows too, where they go to the system as UTF-16).
// Tests substitute a file system that fails on purpose.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual Status ReadFile(const std::string& path, std::string* contents) = 0;
  // Creates or truncates `path` and writes `data`, flushed to the disk.
  virtual Status WriteFile(const std::string& path, std::string_view data) = 0;
  // Overwrites bytes in place in an existing file.
  virtual Status WriteAt(const std::string& path, uint64_t offset,
                         std::string_view data) = 0;
  // Replaces `to` when it exists. Once it returns, the rename outlives a
  // power loss (the folder is synced where the system allows).
  virtual Status Rename(const std::string& from, const std::string& to) = 0;
  // Gives the file `existing` the second name `to`, which must not exist.
  // Fails where the file system has no such links (the default).
  virtual Status Link(const std::string& /*existing*/, const std::string& to) {
    return Status::IoError(FileOperation::kWrite, to, "no links");
  }
  virtual Status Remove(const std::string& path) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // A file the owner may not write becomes writable for the owner; nothing
  // else about its permissions changes.
  virtual Status MakeWritable(const std::string& path) = 0;
  // Gives `to` the permissions of `from`. A file system without
  // permissions has nothing to copy.
  virtual Status CopyPermissions(const std::string& /*from*/,
                                 const std::string& /*to*/) {
    return Status::Ok();
  }

  // The names of the entries of `folder`. The default lists none.
  virtual Status ListFolder(const std::string& /*folder*/,
                            std::vector<std::string>* names) {
    names->clear();
    return Status::Ok();
  }

  // The file a path names after following symbolic links: a file that is
  // replaced or renamed is this one, so that a link to a base stays a link.
  virtual std::string ResolveLinks(const std::string& path) { return path; }

  // The writers' lock on the file `path` names (after links): every writer
  // of a base holds it for its whole read, check and write, so that two
  // writers never interleave. Another holder is waited for up to
  // kWriterLockWait, then kBaseLocked. A file that does not exist is not
  // locked (`*lock` stays empty).
  // Holding the lock, the writer removes what writers of this base killed
  // on their way left behind: their temporary files.
  Status LockForWriting(const std::string& path,
                        std::unique_ptr<FileLock>* lock);
  // LockForWriting with the wait given. The default locks nothing.
  virtual Status LockFile(const std::string& /*path*/,
                          std::chrono::milliseconds /*wait*/,
                          std::unique_ptr<FileLock>* lock) {
    lock->reset();
    return Status::Ok();
  }
  // Marks the base at `path` as open in a window for as long as the result
  // lives; `*open_elsewhere` says whether another window holds such a mark.
  // Writers do not wait for it. The default marks nothing.
  virtual std::unique_ptr<FileLock> MarkOpen(const std::string& /*path*/,
                                             bool* open_elsewhere) {
    *open_elsewhere = false;
    return nullptr;
  }

  // Writes `data` to a new file beside `path` (beside the file a link
  // names), then puts it in place in one rename: the file is either the old
  // one or the new one. The new file keeps the permissions of the old one,
  // made writable for the owner. A read-only file in the way is made
  // writable once the new file is complete when `read_only` says so (a base
  // the user writes to); else a system that keeps read-only files refuses.
  enum class ReadOnly { kRefuse, kReplace };
  Status ReplaceFile(const std::string& path, std::string_view data,
                     ReadOnly read_only = ReadOnly::kRefuse);
};

// The real file system of this machine.
FileSystem& RealFileSystem();

// How many names TemporaryNameBeside tries before it gives up.
inline constexpr int kTemporaryNameTries = 100;

// A name for a temporary file beside `path` that does not exist yet; none
// when every name tried exists. It is short, whatever the length of the
// base's name, and begins with TemporaryPrefix(path).
std::string TemporaryPrefix(const std::string& path);
std::optional<std::string> TemporaryNameBeside(FileSystem& fs,
                                               const std::string& path);

// A temporary file beside `path`, removed when the guard goes, however it
// goes (a failure returned or an exception thrown), unless Keep() says it
// has become a file in its own right (it was renamed into place). When no
// free name was found, status() says so and there is no file to write.
class TemporaryFile {
 public:
  TemporaryFile(FileSystem& fs, const std::string& beside);
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile();

  const Status& status() const { return status_; }
  const std::string& path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  FileSystem& fs_;
  std::string path_;
  Status status_;
  bool kept_ = false;
};

// A write beyond the process's file-size limit must fail with an error that
// the writer handles (removing its temporary file and reporting it), not end
// the process: programs that write bases call this once at start-up.
void IgnoreFileSizeLimitSignal();

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_FILE_SYSTEM_H_
