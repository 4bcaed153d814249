// SPDX-License-Identifier: GPL-3.0-or-later
// The file system of a POSIX system: open, write, fsync, rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "storage/file_system.h"
#include "storage/posix_file_support.h"

namespace spravka {
namespace {

Status WriteAll(int fd, std::string_view data, const std::string& path) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return Status::IoError(FileOperation::kWrite, path, errno);
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return Status::Ok();
}

// Closes `fd`; a failed close is a failed write.
Status FinishWrite(int fd, Status status, const std::string& path) {
  if (status.ok() && ::fsync(fd) != 0)
    status = Status::IoError(FileOperation::kWrite, path, errno);
  if (::close(fd) != 0 && status.ok())
    status = Status::IoError(FileOperation::kWrite, path, errno);
  return status;
}

// A failed rename, put down to the file that stands in the way: the new
// name when it is the one too long or taken by a folder (the file renamed
// is a temporary file with a short name), else the file renamed.
Status RenameFailure(const std::string& from, const std::string& to,
                     int error) {
  const bool target = error == ENAMETOOLONG || error == EISDIR ||
                      error == ENOTEMPTY || error == EEXIST;
  return Status::IoError(FileOperation::kRename, target ? to : from, error);
}

class PosixFileSystem : public FileSystem {
 public:
  Status ReadFile(const std::string& path, std::string* contents) override {
    return PosixReadRegularFile(path, contents);
  }

  Status WriteFile(const std::string& path, std::string_view data) override {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return Status::IoError(FileOperation::kWrite, path, errno);
    return FinishWrite(fd, WriteAll(fd, data, path), path);
  }

  Status WriteAt(const std::string& path, uint64_t offset,
                 std::string_view data) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return Status::IoError(FileOperation::kWrite, path, errno);
    Status status;
    if (::lseek(fd, static_cast<off_t>(offset), SEEK_SET) < 0) {
      status = Status::IoError(FileOperation::kWrite, path, errno);
    } else {
      status = WriteAll(fd, data, path);
    }
    return FinishWrite(fd, status, path);
  }

  Status Rename(const std::string& from, const std::string& to) override {
    if (std::rename(from.c_str(), to.c_str()) != 0) {
      return RenameFailure(from, to, errno);
    }
    return PosixSyncFolderOf(to);
  }

  Status RenameNoReplace(const std::string& from,
                         const std::string& to) override {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(),
                    RENAME_NOREPLACE) == 0) {
      return PosixSyncFolderOf(to);
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
      return RenameFailure(from, to, errno);
    }
    // A file system without the flag: a second name, which link() gives
    // only when it is free, then the first name goes.
    if (::link(from.c_str(), to.c_str()) == 0) {
      // A first name that stays is a leftover the next writer removes.
      IgnoreError(Remove(from));
      return PosixSyncFolderOf(to);
    }
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP) {
      return RenameFailure(from, to, errno);
    }
    // Nor links: the name is claimed by creating it empty, then the file
    // takes the place of its own claim.
    const int claim =
        ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (claim < 0) return RenameFailure(from, to, errno);
    ::close(claim);
    return Rename(from, to);
  }

  Status Link(const std::string& existing, const std::string& to) override {
    if (::link(existing.c_str(), to.c_str()) != 0) {
      return Status::IoError(FileOperation::kWrite, to, errno);
    }
    return Status::Ok();
  }

  Status Remove(const std::string& path) override {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
      return Status::IoError(FileOperation::kRemove, path, errno);
    }
    return Status::Ok();
  }

  bool Exists(const std::string& path) override {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
  }

  Status MakeWritable(const std::string& path) override {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
      return Status::IoError(FileOperation::kWrite, path, errno);
    if (st.st_mode & S_IWUSR) return Status::Ok();
    if (::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) != 0) {
      return Status::IoError(FileOperation::kWrite, path, errno);
    }
    return Status::Ok();
  }

  std::string ResolveLinks(const std::string& path) override {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return path;
    std::string target = resolved;
    std::free(resolved);
    return target;
  }

  Status LockFile(const std::string& path, std::chrono::milliseconds wait,
                  bool make_lock_file,
                  std::unique_ptr<FileLock>* lock) override {
    return PosixLockForWriting(path, wait, make_lock_file, lock);
  }

  Status ListFolder(const std::string& folder,
                    std::vector<std::string>* names) override {
    return PosixListFolder(folder, names);
  }

  std::unique_ptr<FileLock> MarkOpen(const std::string& path,
                                     bool* open_elsewhere) override {
    return PosixMarkOpen(ResolveLinks(path), open_elsewhere);
  }

  bool IsMarkedOpen(const std::string& path) override {
    return PosixIsMarkedOpen(ResolveLinks(path));
  }

  Status CopyPermissions(const std::string& from,
                         const std::string& to) override {
    struct stat st;
    if (::stat(from.c_str(), &st) != 0)
      return Status::IoError(FileOperation::kRead, from, errno);
    if (::chmod(to.c_str(), st.st_mode & 07777) != 0) {
      return Status::IoError(FileOperation::kWrite, to, errno);
    }
    return Status::Ok();
  }
};

}  // namespace

FileSystem& RealFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

void IgnoreFileSizeLimitSignal() {
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
}

}  // namespace spravka
