// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/new_file.h"

namespace spravka {

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

Status PutInPlaceKeepingBackup(FileSystem& fs, TemporaryFile& written,
                               const std::string& path,
                               const std::string& backup) {
  // A read-only file is not replaced by a rename on every system; the
  // backup keeps the old file's other attributes.
  Status status = fs.MakeWritable(path);
  const bool had_backup = fs.Exists(backup);
  if (status.ok()) status = KeepAsBackup(fs, path, backup);
  if (!status.ok()) return status;
  status = fs.Rename(written.path(), path);
  if (!status.ok()) {
    // The base stays as it was (a file another program holds open, say);
    // a backup made only for this write goes with it.
    if (!had_backup) IgnoreError(fs.Remove(backup));
    return status;
  }
  written.Keep();
  return Status::Ok();
}

Status WriteNewFile(FileSystem& fs, const std::string& path,
                    std::string_view bytes, NewFileMode mode) {
  TemporaryFile temporary(fs, path);
  if (!temporary.status().ok()) return temporary.status();
  const bool replacing =
      mode == NewFileMode::kReplaceKeepingBackup && fs.Exists(path);
  Status status = fs.WriteFile(temporary.path(), bytes);
  if (status.ok() && replacing)
    status = fs.CopyPermissions(path, temporary.path());
  if (status.ok()) status = fs.MakeWritable(temporary.path());
  if (!status.ok()) return status;
  if (replacing) {
    return PutInPlaceKeepingBackup(fs, temporary, path, BackupName(path));
  }
  status = fs.RenameNoReplace(temporary.path(), path);
  if (status.ok()) temporary.Keep();
  return status;
}

}  // namespace spravka
