// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/optimiser.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "storage/base_file.h"
#include "storage/base_section.h"
#include "storage/byte_order.h"
#include "storage/keystream.h"

namespace spravka {

int32_t NewBaseStamp() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  Keystream keys(static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
  return static_cast<int32_t>(keys.Next(uint32_t{kMaxBaseStamp} + 1));
}

Status OptimiseBase(const std::string& path, const RecordStore& store,
                    const std::array<int32_t, kHomeKinds>& home_widths,
                    const std::array<int32_t, kOrgKinds>& org_widths,
                    int32_t stamp, OptimiseReport* report, FileSystem& fs,
                    const std::function<void()>& home_written) {
  // Rebuilt from tables loaded from another version of the file, the new
  // part would drop whatever that version holds.
  LockedBase base(fs);
  const Status status =
      base.Open(path, WriteChecks::Expecting(store.loaded_file));
  if (!status.ok()) return status;
  return OptimiseLockedBase(base, store, home_widths, org_widths, stamp, report,
                            home_written);
}

Status OptimiseLockedBase(LockedBase& base, const RecordStore& store,
                          const std::array<int32_t, kHomeKinds>& home_widths,
                          const std::array<int32_t, kOrgKinds>& org_widths,
                          int32_t stamp, OptimiseReport* report,
                          const std::function<void()>& home_written) {
  FileSystem& fs = base.fs();
  // A base reached through a link is rebuilt, and backed up, where it lies.
  const std::string& path = base.path();
  BaseHeader header = base.file().header;
  if (!header.TagsAgree()) return Status::Damaged(StatusCode::kDamagedHeader);
  // Not needed any more; keeps the peak memory down.
  base.file().bytes = std::string();
  header.SetColumnWidths(home_widths, org_widths);
  if (header.OriginTag.empty()) header.OriginTag = kUserOriginTag;

  OptimiseReport counts;
  // The new base part is complete on the disk, and reads back as the next
  // load will read it, before anything is replaced.
  TemporaryFile temporary(fs, path);
  if (!temporary.status().ok()) return temporary.status();
  Status status;
  {
    // Each section is compressed as its text is made: the table texts are
    // never held whole beside the working tables.
    CompressedSection home = CompressTableSection(store.HomeData);
    if (home_written) home_written();
    CompressedSection org = CompressTableSection(store.OrgData);
    counts.home_records = home.records;
    counts.org_records = org.records;
    header.TableGrowth = static_cast<int32_t>(PlausibleTableGrowth(
        std::max(counts.home_records, counts.org_records)));
    const std::string part = WriteBasePartFromSections(
        header, stamp, std::move(home), std::move(org));
    status = fs.WriteFile(temporary.path(), part);
  }
  if (status.ok()) status = fs.CopyPermissions(path, temporary.path());
  if (status.ok()) status = fs.MakeWritable(temporary.path());
  if (status.ok()) {
    std::string written;
    status = fs.ReadFile(temporary.path(), &written);
    if (status.ok()) {
      status = VerifyBasePart(written, stamp, counts.home_records,
                              counts.org_records);
    }
  }
  if (!status.ok()) return status;

  // The previous file becomes the backup without the base's name ever
  // lacking a file: a second name for it (a link, or a copy where links
  // are not to be had) replaces the backup, then the new part replaces the
  // base in one rename. A failure before that last rename leaves the base
  // as it was.
  counts.backup = BackupName(path);
  status = PutInPlaceKeepingBackup(fs, temporary, path, counts.backup);
  if (!status.ok()) return status;
  if (report) *report = counts;
  return Status::Ok();
}

}  // namespace spravka
