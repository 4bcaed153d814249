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

  // The writers' lock on the base `path` names (after links): every writer
  // of a base holds it for its whole read, check and write, so that two
  // writers never interleave. It lies on the base's lock file
  // (LockFileOf), which no writer replaces, so it holds however often the
  // base itself is replaced. Another holder is waited for up to
  // kWriterLockWait, then kBaseLocked. A base that does not exist makes no
  // lock file (`*lock` stays empty and the writer's read fails) unless
  // `target` is a new base; a folder where no lock file can be made (read
  // only) gives none either, since nothing can be written there.
  // Holding the lock, the writer removes what writers of this base killed
  // on their way left behind: their temporary files, and no other base's.
  enum class LockTarget { kExistingBase, kNewBase };
  Status LockForWriting(const std::string& path,
                        std::unique_ptr<FileLock>* lock,
                        LockTarget target = LockTarget::kExistingBase);
  // LockForWriting on the base `path` (links resolved) with the wait
  // given; `make_lock_file` says whether a missing lock file is made. The
  // default locks nothing.
  virtual Status LockFile(const std::string& /*path*/,
                          std::chrono::milliseconds /*wait*/,
                          bool /*make_lock_file*/,
                          std::unique_ptr<FileLock>* lock) {
    lock->reset();
    return Status::Ok();
  }
  // Marks the base at `path` as open in a window for as long as the result
  // lives; `*open_elsewhere` says whether another window holds such a mark.
  // The mark lies on the base's lock file, beside the writers' lock, so a
  // base replaced by a writer stays marked. Writers do not wait for it.
  // The default marks nothing.
  virtual std::unique_ptr<FileLock> MarkOpen(const std::string& /*path*/,
                                             bool* open_elsewhere) {
    *open_elsewhere = false;
    return nullptr;
  }
  // Whether a window holds the base at `path` open (MarkOpen); a command
  // that replaces a base asks it under the writers' lock. The default sees
  // none.
  virtual bool IsMarkedOpen(const std::string& /*path*/) { return false; }

  // Gives the file `from` the name `to` only while no file has that name
  // (a file that appeared meanwhile is never replaced): kIoError with
  // EEXIST on `to` when one has. Like Rename, it outlives a power loss.
  virtual Status RenameNoReplace(const std::string& from,
                                 const std::string& to) = 0;

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

// The bytes of a lock file: the writers lock the first alone, each window
// shares the second.
inline constexpr uint64_t kWriterLockByte = 0;
inline constexpr uint64_t kOpenMarkByte = 1;

// The lock file of the base at `path` (a link already resolved): hidden,
// in the base's folder, named after it (".Город.qz.lock" for "Город.qz").
// It is made on first need and never removed or renamed.
std::string LockFileOf(const std::string& path);

// How many names TemporaryNameBeside tries before it gives up.
inline constexpr int kTemporaryNameTries = 100;

// A name for a temporary file beside `path` that does not exist yet; none
// when every name tried exists. It names the base it belongs to
// (".Город.qz.123456.tmp"), so that a writer tells its own base's
// leftovers from any other's; a base name too long for that is stood for
// by its beginning and a 64-bit hash of it.
std::optional<std::string> TemporaryNameBeside(FileSystem& fs,
                                               const std::string& path);
// Whether `name` (a file name without its folder) is the name of a
// temporary file of the base `path`.
bool IsTemporaryNameOf(std::string_view name, const std::string& path);

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
