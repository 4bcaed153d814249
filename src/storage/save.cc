// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/save.h"

#include <memory>

#include "storage/base_file.h"

namespace spravka {

Status SaveChanges(const std::string& path, const RecordStore& store,
                   FileSystem& fs) {
  const std::string section =
      WriteChangeSection(store.BaseStamp, store.HomeChanges, store.OrgChanges);
  std::unique_ptr<FileLock> lock;
  Status status = fs.LockForWriting(path, &lock);
  if (!status.ok()) return status;
  BaseFile base;
  status = ReadBaseFile(path, BaseFileAccess::kWrite, fs, &base);
  if (!status.ok()) return status;
  // Changes saved behind another build of the base part would be ignored
  // by the next load: they stay unsaved instead.
  status = CheckSameBasePart(store, base);
  if (!status.ok()) return status;
  // The old change section goes before the new one comes in: the file is
  // never held twice over.
  base.bytes.resize(base.layout.BasePartLength);
  base.bytes.shrink_to_fit();
  base.bytes.append(section);
  return fs.ReplaceFile(path, base.bytes, FileSystem::ReadOnly::kReplace);
}

Status SaveColumnWidths(const std::string& path,
                        const std::array<int32_t, kHomeKinds>& home,
                        const std::array<int32_t, kOrgKinds>& org,
                        RecordStore* store, FileSystem& fs) {
  std::unique_ptr<FileLock> lock;
  Status status = fs.LockForWriting(path, &lock);
  if (!status.ok()) return status;
  BaseFile base;
  status = ReadBaseFile(path, BaseFileAccess::kWrite, fs, &base);
  if (!status.ok()) return status;
  if (!base.header.TagsAgree()) {
    return Status::Damaged(StatusCode::kDamagedHeader);
  }
  status = CheckSameBasePart(*store, base);
  if (!status.ok()) return status;
  BaseHeader header = base.header;
  header.SetColumnWidths(home, org);
  // The whole file is rewritten beside the old one and renamed into place:
  // a header written in place could be left half old, half new.
  base.PutHeader(header);
  status = fs.ReplaceFile(path, base.bytes, FileSystem::ReadOnly::kReplace);
  if (!status.ok()) return status;
  store->header.SetColumnWidths(home, org);
  if (store->loaded_part) store->loaded_part = BasePartIdOf(base);
  return Status::Ok();
}

}  // namespace spravka
