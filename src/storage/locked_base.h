// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_LOCKED_BASE_H_
#define SPRAVKA_STORAGE_LOCKED_BASE_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "storage/base_file.h"
#include "storage/file_identity.h"
#include "storage/file_system.h"
#include "storage/status.h"

namespace spravka {

// What a writer checks under the lock before it writes anything.
struct WriteChecks {
  // The file as the caller loaded it, or as it last wrote it: kBaseChanged
  // when the file on the disk is another (changed by another program or
  // window since). None for a caller that reads the base only here.
  std::optional<BaseFileId> expected;
  // kOpenInWindow when a window holds the base open: a command replacing
  // a base under a window refuses unless it was given leave to.
  bool refuse_open_in_window = false;

  // A window's writer: the file it loaded or wrote last.
  static WriteChecks Expecting(const std::optional<BaseFileId>& file) {
    return {file, false};
  }
  // A command that reads the base only under the lock.
  static WriteChecks ForCommand(bool refuse_open_in_window) {
    return {std::nullopt, refuse_open_in_window};
  }
};

// The way every writer of an existing base begins: it takes the writers'
// lock, reads the whole file under it and compares it with what the caller
// expects (WriteChecks); nothing read or checked before the lock counts.
// Then the writer builds its new file from file() and writes it with
// Replace() (or, rebuilding, beside path() itself), still under the lock,
// which is held until the object goes.
class LockedBase {
 public:
  explicit LockedBase(FileSystem& fs) : fs_(fs) {}
  LockedBase(const LockedBase&) = delete;
  LockedBase& operator=(const LockedBase&) = delete;

  // Locks, reads and checks the base `link` names. On failure nothing is
  // held and file() is unspecified.
  Status Open(const std::string& link, const WriteChecks& checks);

  FileSystem& fs() { return fs_; }
  // The base file, a link resolved: where it is rewritten and backed up.
  const std::string& path() const { return path_; }
  // The file as read under the lock; the writer may take its bytes.
  BaseFile& file() { return file_; }

  // Puts `bytes` in place of the whole file in one rename; a read-only file
  // is made writable. On success written() identifies the new file.
  Status Replace(std::string_view bytes);
  const BaseFileId& written() const { return written_; }

 private:
  FileSystem& fs_;
  std::string path_;
  std::unique_ptr<FileLock> lock_;
  BaseFile file_;
  BaseFileId written_;
};

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_LOCKED_BASE_H_
