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

std::string BackupName(const std::string& path) {
  const size_t n = path.size();
  if (n >= 3 && path[n - 3] == '.' && (path[n - 2] | 0x20) == 'q' &&
      (path[n - 1] | 0x20) == 'z') {
    return path.substr(0, n - 3) + ".~qz";
  }
  return path + ".~qz";
}

Status KeepAsBackup(FileSystem& fs, const std::string& path,
                    const std::string& backup) {
  // Named beside the base: its writers' leftovers are the ones removed.
  TemporaryFile second_name(fs, path);
  if (!second_name.status().ok()) return second_name.status();
  if (!fs.Link(path, second_name.path()).ok()) {
    std::string bytes;
    Status status = fs.ReadFile(path, &bytes);
    if (status.ok()) status = fs.WriteFile(second_name.path(), bytes);
    if (status.ok()) status = fs.CopyPermissions(path, second_name.path());
    if (!status.ok()) return status;
  }
  Status status = fs.Rename(second_name.path(), backup);
  if (status.ok()) second_name.Keep();
  return status;
}

Status OptimiseBase(const std::string& link, const RecordStore& store,
                    const std::array<int32_t, kHomeKinds>& home_widths,
                    const std::array<int32_t, kOrgKinds>& org_widths,
                    int32_t stamp, OptimiseReport* report, FileSystem& fs,
                    const std::function<void()>& home_written,
                    WriterLock writer_lock) {
  OptimiseReport counts;
  // A base reached through a link is rebuilt, and backed up, where it lies.
  const std::string path = fs.ResolveLinks(link);
  std::unique_ptr<FileLock> lock;
  Status status;
  if (writer_lock == WriterLock::kTake) status = fs.LockForWriting(path, &lock);
  if (!status.ok()) return status;
  BaseFile base;
  status = ReadBaseFile(path, BaseFileAccess::kWrite, fs, &base);
  if (!status.ok()) return status;
  BaseHeader header = base.header;
  if (!header.TagsAgree()) return Status::Damaged(StatusCode::kDamagedHeader);
  // Rebuilt from tables loaded from another build, the new part would drop
  // whatever that build holds.
  status = CheckSameBasePart(store, base);
  if (!status.ok()) return status;
  base = BaseFile();  // not needed any more; keeps the peak memory down
  header.SetColumnWidths(home_widths, org_widths);
  if (header.OriginTag.empty()) header.OriginTag = kUserOriginTag;

  // The new base part is complete on the disk, and reads back as the next
  // load will read it, before anything is replaced.
  TemporaryFile temporary(fs, path);
  if (!temporary.status().ok()) return temporary.status();
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
  // A read-only file is not replaced by a rename on every system; the
  // backup keeps the old file's other attributes.
  status = fs.MakeWritable(path);
  const bool had_backup = fs.Exists(counts.backup);
  if (status.ok()) status = KeepAsBackup(fs, path, counts.backup);
  if (!status.ok()) return status;
  status = fs.Rename(temporary.path(), path);
  if (!status.ok()) {
    // The base stays as it was (a file another program holds open, say);
    // a backup made only for this optimisation goes with it.
    if (!had_backup) IgnoreError(fs.Remove(counts.backup));
    return status;
  }
  temporary.Keep();
  if (report) *report = counts;
  return Status::Ok();
}

}  // namespace spravka
