// SPDX-License-Identifier: GPL-3.0-or-later
// What every file system shares: temporary files beside a file, and
// replacing a file through one.
#include "storage/file_system.h"

#include <cerrno>
#include <optional>
#include <random>
#include <utility>

namespace spravka {

std::optional<std::string> TemporaryNameBeside(FileSystem& fs,
                                               const std::string& path) {
  static std::mt19937 random(std::random_device{}());
  for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
    const std::string name = path + ".tmp" + std::to_string(random() % 1000000);
    if (!fs.Exists(name)) return name;
  }
  return std::nullopt;
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

Status FileSystem::ReplaceFile(const std::string& link, std::string_view data) {
  const std::string path = ResolveLinks(link);
  TemporaryFile temporary(*this, path);
  if (!temporary.status().ok()) return temporary.status();
  Status status = WriteFile(temporary.path(), data);
  if (status.ok() && Exists(path))
    status = CopyPermissions(path, temporary.path());
  if (status.ok()) status = Rename(temporary.path(), path);
  if (status.ok()) temporary.Keep();
  return status;
}

}  // namespace spravka
