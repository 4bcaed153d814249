// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/save.h"

#include "storage/base_file.h"
#include "storage/locked_base.h"

namespace spravka {

Status SaveChanges(const std::string& path, const RecordStore& store,
                   FileSystem& fs, BaseFileId* written) {
  const std::string section =
      WriteChangeSection(store.BaseStamp, store.HomeChanges, store.OrgChanges);
  // Changes saved behind another version of the file would drop what that
  // version holds, or be ignored by the next load: they stay unsaved.
  LockedBase base(fs);
  Status status = base.Open(path, WriteChecks::Expecting(store.loaded_file));
  if (!status.ok()) return status;
  // The old change section goes before the new one comes in: the file is
  // never held twice over.
  std::string& bytes = base.file().bytes;
  bytes.resize(base.file().layout.BasePartLength);
  bytes.shrink_to_fit();
  bytes.append(section);
  status = base.Replace(bytes);
  if (status.ok() && written) *written = base.written();
  return status;
}

Status SaveColumnWidths(const std::string& path,
                        const std::array<int32_t, kHomeKinds>& home,
                        const std::array<int32_t, kOrgKinds>& org,
                        RecordStore* store, FileSystem& fs) {
  LockedBase base(fs);
  Status status = base.Open(path, WriteChecks::Expecting(store->loaded_file));
  if (!status.ok()) return status;
  BaseFile& file = base.file();
  if (!file.header.TagsAgree()) {
    return Status::Damaged(StatusCode::kDamagedHeader);
  }
  BaseHeader header = file.header;
  header.SetColumnWidths(home, org);
  // The whole file is rewritten beside the old one and renamed into place:
  // a header written in place could be left half old, half new.
  file.PutHeader(header);
  status = base.Replace(file.bytes);
  if (!status.ok()) return status;
  store->header.SetColumnWidths(home, org);
  if (store->loaded_file) store->loaded_file = base.written();
  return Status::Ok();
}

}  // namespace spravka
