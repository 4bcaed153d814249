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

namespace {

// Renames done so far, undone in reverse order by Undo(), or when the guard
// goes before Commit() by an error thrown.
class RenameUndo {
 public:
  explicit RenameUndo(FileSystem& fs) : fs_(fs) {}
  RenameUndo(const RenameUndo&) = delete;
  RenameUndo& operator=(const RenameUndo&) = delete;
  ~RenameUndo() {
    for (auto it = done_.rbegin(); it != done_.rend(); ++it) {
      try {
        // On the way out of an error thrown: put back what can be put back.
        IgnoreError(fs_.Rename(it->second, it->first));
      } catch (...) {
      }
    }
  }

  Status Rename(const std::string& from, const std::string& to) {
    Status status = fs_.Rename(from, to);
    if (status.ok()) done_.emplace_back(from, to);
    return status;
  }
  void Commit() { done_.clear(); }

  // Undoes the renames after `failure`, which it returns; when the rename
  // of `base` cannot be undone, the status says where the base lies.
  Status Undo(Status failure, const std::string& base) {
    for (auto it = done_.rbegin(); it != done_.rend(); ++it) {
      bool undone = false;
      try {
        undone = fs_.Rename(it->second, it->first).ok();
      } catch (...) {
      }
      if (!undone && it->first == base) {
        failure = std::move(failure).WithBaseMovedTo(it->second);
      }
    }
    done_.clear();
    return failure;
  }

 private:
  FileSystem& fs_;
  std::vector<std::pair<std::string, std::string>> done_;
};

}  // namespace

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
    std::string home_text =
        StripRecordHeads(store.HomeData, &counts.home_records);
    std::string org_text = StripRecordHeads(store.OrgData, &counts.org_records);
    header.TableGrowth = static_cast<int32_t>(PlausibleTableGrowth(
        std::max(counts.home_records, counts.org_records)));
    const std::string part =
        WriteBasePart(header, stamp, home_text, org_text, home_written);
    home_text = std::string();
    org_text = std::string();
    status = fs.WriteFile(temporary.path(), part);
  }
  if (status.ok()) status = fs.CopyPermissions(path, temporary.path());
  if (status.ok()) {
    std::string written;
    status = fs.ReadFile(temporary.path(), &written);
    if (status.ok()) {
      status = VerifyBasePart(written, stamp, counts.home_records,
                              counts.org_records);
    }
  }
  if (!status.ok()) return status;

  // The base becomes the backup and the new part takes its place. The
  // previous backup steps aside until then, so that any failure can put
  // every file back.
  const std::string backup = BackupName(path);
  std::optional<std::string> old_backup;
  {
    RenameUndo undo(fs);
    if (fs.Exists(backup)) {
      old_backup = TemporaryNameBeside(fs, backup);
      status = old_backup
                   ? undo.Rename(backup, *old_backup)
                   : Status::IoError(FileOperation::kRename, backup, EEXIST);
    }
    if (status.ok()) status = undo.Rename(path, backup);
    if (status.ok()) status = fs.Rename(temporary.path(), path);
    if (!status.ok()) return undo.Undo(std::move(status), path);
    undo.Commit();
    temporary.Keep();
  }
  // The base is optimised; a previous backup that cannot be removed only
  // stays beside it.
  if (old_backup) {
    try {
      IgnoreError(fs.Remove(*old_backup));
    } catch (...) {
    }
  }
  if (report) *report = counts;
  return Status::Ok();
}

}  // namespace spravka
