// SPDX-License-Identifier: GPL-3.0-or-later
// What every file system shares: temporary files beside a file, and
// replacing a file through one.
#include "storage/file_system.h"

#include <cerrno>
#include <optional>
#include <random>
#include <utility>
#include <vector>

namespace spravka {

std::string TemporaryPrefix(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  const size_t name_start = slash == std::string::npos ? 0 : slash + 1;
  // FNV-1a of the file's name: the temporary files of one base are told
  // from those of another in the same folder without repeating its name.
  uint32_t hash = 2166136261u;
  for (size_t i = name_start; i < path.size(); ++i) {
    hash = (hash ^ static_cast<uint8_t>(path[i])) * 16777619u;
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string prefix = path.substr(0, name_start) + ".~";
  for (int shift = 28; shift >= 0; shift -= 4)
    prefix += kHex[(hash >> shift) & 15];
  return prefix + ".";
}

std::optional<std::string> TemporaryNameBeside(FileSystem& fs,
                                               const std::string& path) {
  static std::mt19937 random(std::random_device{}());
  const std::string prefix = TemporaryPrefix(path);
  for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
    const std::string name = prefix + std::to_string(random() % 1000000);
    if (!fs.Exists(name)) return name;
  }
  return std::nullopt;
}

Status FileSystem::LockForWriting(const std::string& link,
                                  std::unique_ptr<FileLock>* lock) {
  Status status = LockFile(link, kWriterLockWait, lock);
  if (!status.ok() || !*lock) return status;
  const std::string path = ResolveLinks(link);
  const std::string prefix = TemporaryPrefix(path);
  const size_t slash = prefix.find_last_of("/\\");
  const std::string folder =
      slash == std::string::npos ? "." : prefix.substr(0, slash + 1);
  const std::string name_prefix =
      slash == std::string::npos ? prefix : prefix.substr(slash + 1);
  std::vector<std::string> names;
  // Leftovers only take room: failing to remove them fails no writer.
  if (!ListFolder(folder, &names).ok()) return Status::Ok();
  for (const std::string& name : names) {
    if (name.size() > name_prefix.size() && name.starts_with(name_prefix)) {
      IgnoreError(Remove(prefix + name.substr(name_prefix.size())));
    }
  }
  return Status::Ok();
}

TemporaryFile::TemporaryFile(FileSystem& fs, const std::string& beside)
    : fs_(fs) {
  std::optional<std::string> name = TemporaryNameBeside(fs, beside);
  if (name) {
    path_ = std::move(*name);
  } else {
    status_ = Status::IoError(FileOperation::kWrite, beside, EEXIST);
  }
}

TemporaryFile::~TemporaryFile() {
  if (kept_ || path_.empty()) return;
  try {
    // A temporary file that cannot be removed only stays beside the base:
    // the operation's own outcome is what the caller reports.
    IgnoreError(fs_.Remove(path_));
  } catch (...) {
    // Nothing more can be done about it here, and a destructor must not
    // throw while another failure is on its way out.
  }
}

Status FileSystem::ReplaceFile(const std::string& link, std::string_view data,
                               ReadOnly read_only) {
  const std::string path = ResolveLinks(link);
  TemporaryFile temporary(*this, path);
  if (!temporary.status().ok()) return temporary.status();
  Status status = WriteFile(temporary.path(), data);
  if (status.ok() && Exists(path))
    status = CopyPermissions(path, temporary.path());
  // A read-only base becomes writable for its owner: the new file, not the
  // old one, so that a write that fails leaves the old one as it was.
  if (status.ok()) status = MakeWritable(temporary.path());
  if (status.ok() && read_only == ReadOnly::kReplace && Exists(path))
    status = MakeWritable(path);
  if (status.ok()) status = Rename(temporary.path(), path);
  if (status.ok()) temporary.Keep();
  return status;
}

}  // namespace spravka
