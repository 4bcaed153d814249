// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/restore.h"

#include "storage/base_file.h"
#include "storage/record_store.h"

namespace spravka {

Status RestoreBasePart(const std::string& path, const WriteChecks& checks,
                       RestoreReport* report, FileSystem& fs) {
  LockedBase base(fs);
  Status status = base.Open(path, checks);
  if (!status.ok()) return status;
  BaseFile& file = base.file();
  if (!file.header.TagsAgree()) {
    return Status::Damaged(StatusCode::kDamagedHeader);
  }
  if (file.header.OriginTag.empty()) {
    return Status::Damaged(StatusCode::kNoOriginState);
  }
  const size_t base_part = static_cast<size_t>(file.layout.BasePartLength);
  const size_t removed = file.bytes.size() - base_part;
  file.bytes.resize(base_part);
  {
    // A record a change entry hid may be one the loader refuses: a base
    // part that would not load is kept with its changes. With nothing to
    // cut, a base that does not load is no base in its clean state.
    RecordStore alone;
    status = LoadBaseFromBytes(file.bytes, &alone);
    if (!status.ok()) {
      return removed == 0 ? status
                          : Status::Damaged(StatusCode::kBasePartUnloadable);
    }
  }
  if (removed > 0) status = base.Replace(file.bytes);
  if (status.ok() && report) report->removed_bytes = removed;
  return status;
}

}  // namespace spravka
