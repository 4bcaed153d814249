// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/restore.h"

#include <memory>

#include "storage/base_file.h"

namespace spravka {

Status RestoreBasePart(const std::string& path, FileSystem& fs) {
  std::unique_ptr<FileLock> lock;
  Status status = fs.LockForWriting(path, &lock);
  if (!status.ok()) return status;
  BaseFile base;
  status = ReadBaseFile(path, BaseFileAccess::kWrite, fs, &base);
  if (!status.ok()) return status;
  const size_t base_part = static_cast<size_t>(base.layout.BasePartLength);
  if (base.bytes.size() == base_part) return Status::Ok();  // nothing to cut
  base.bytes.resize(base_part);
  {
    // A record a change entry hid may be one the loader refuses: a base
    // part that would not load is kept with its changes.
    RecordStore alone;
    if (!LoadBaseFromBytes(base.bytes, &alone).ok()) {
      return Status::Damaged(StatusCode::kBasePartUnloadable);
    }
  }
  return fs.ReplaceFile(path, base.bytes, FileSystem::ReadOnly::kReplace);
}

}  // namespace spravka
