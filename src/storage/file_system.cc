// SPDX-License-Identifier: GPL-3.0-or-later
// What every file system shares: the names beside a base (its lock file,
// its temporary files), the writers' lock, and replacing a file through a
// temporary one.
#include "storage/file_system.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include "storage/file_identity.h"

namespace spravka {

namespace {

// Where the file name of `path` starts.
size_t NameStart(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? 0 : slash + 1;
}

// Names beside a base are made of its name with a few bytes around it; a
// name longer than this is stood for by its beginning and a hash, so that
// they stay within the 255 bytes a file name may have.
constexpr size_t kLongestNameKept = 230;
constexpr size_t kBeginningKept = 200;

// The base's name as the names beside it carry it.
std::string NameStandIn(std::string_view name) {
  if (name.size() <= kLongestNameKept) return std::string(name);
  size_t cut = kBeginningKept;
  // Never in the middle of a UTF-8 character.
  while (cut > 0 && (static_cast<uint8_t>(name[cut]) & 0xC0) == 0x80) --cut;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string stand_in(name.substr(0, cut));
  stand_in += '~';
  const uint64_t hash = Hash64(name);
  for (int shift = 60; shift >= 0; shift -= 4)
    stand_in += kHex[(hash >> shift) & 15];
  return stand_in;
}

constexpr std::string_view kTemporaryEnd = ".tmp";

}  // namespace

std::string LockFileOf(const std::string& path) {
  const size_t name_start = NameStart(path);
  return path.substr(0, name_start) + "." +
         NameStandIn(std::string_view(path).substr(name_start)) + ".lock";
}

std::optional<std::string> TemporaryNameBeside(FileSystem& fs,
                                               const std::string& path) {
  static std::mt19937 random(std::random_device{}());
  const size_t name_start = NameStart(path);
  const std::string prefix =
      path.substr(0, name_start) + "." +
      NameStandIn(std::string_view(path).substr(name_start)) + ".";
  for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
    const std::string name = prefix + std::to_string(random() % 1000000) +
                             std::string(kTemporaryEnd);
    if (!fs.Exists(name)) return name;
  }
  return std::nullopt;
}

bool IsTemporaryNameOf(std::string_view name, const std::string& path) {
  const std::string stand_in =
      NameStandIn(std::string_view(path).substr(NameStart(path)));
  // "." + the base's name + "." + digits + ".tmp", and nothing else.
  if (name.size() < stand_in.size() + 3 + kTemporaryEnd.size() ||
      name[0] != '.' || name.substr(1, stand_in.size()) != stand_in ||
      name[1 + stand_in.size()] != '.' || !name.ends_with(kTemporaryEnd)) {
    return false;
  }
  const std::string_view digits =
      name.substr(2 + stand_in.size(),
                  name.size() - 2 - stand_in.size() - kTemporaryEnd.size());
  return !digits.empty() &&
         std::all_of(digits.begin(), digits.end(),
                     [](char c) { return c >= '0' && c <= '9'; });
}

Status FileSystem::LockForWriting(const std::string& link,
                                  std::unique_ptr<FileLock>* lock,
                                  LockTarget target) {
  const std::string path = ResolveLinks(link);
  const bool make_lock_file = target == LockTarget::kNewBase || Exists(path);
  Status status = LockFile(path, kWriterLockWait, make_lock_file, lock);
  if (!status.ok() || !*lock) return status;
  const size_t name_start = NameStart(path);
  const std::string folder = name_start == 0 ? "." : path.substr(0, name_start);
  std::vector<std::string> names;
  // Leftovers only take room: failing to remove them fails no writer.
  if (!ListFolder(folder, &names).ok()) return Status::Ok();
  for (const std::string& name : names) {
    if (IsTemporaryNameOf(name, path)) {
      IgnoreError(Remove(path.substr(0, name_start) + name));
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
