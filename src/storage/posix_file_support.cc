// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/posix_file_support.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "storage/byte_buffer.h"

namespace spravka {
namespace {

class DescriptorLock : public FileLock {
 public:
  explicit DescriptorLock(int fd) : fd_(fd) {}
  DescriptorLock(const DescriptorLock&) = delete;
  DescriptorLock& operator=(const DescriptorLock&) = delete;
  ~DescriptorLock() override { ::close(fd_); }  // closing lets go

 private:
  int fd_;
};

constexpr std::chrono::milliseconds kLockPoll{10};

// One byte of a lock file, for fcntl's open-file-description locks: they
// belong to the open file, so two opens in one process exclude each other
// as two processes do, and closing any other descriptor lets none go.
struct flock ByteLock(short type, uint64_t byte) {
  struct flock at = {};
  at.l_type = type;
  at.l_whence = SEEK_SET;
  at.l_start = static_cast<off_t>(byte);
  at.l_len = 1;
  return at;
}

// Whether another open file holds a lock on `byte` that an exclusive one
// would meet.
bool HeldElsewhere(int fd, uint64_t byte) {
  struct flock probe = ByteLock(F_WRLCK, byte);
  return ::fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

int OpenLockFile(const std::string& name, int flags) {
  return ::open(name.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
}

}  // namespace

Status PosixLockForWriting(const std::string& path,
                           std::chrono::milliseconds wait, bool make_lock_file,
                           std::unique_ptr<FileLock>* lock) {
  lock->reset();
  struct stat base;
  if (::stat(path.c_str(), &base) == 0 && !S_ISREG(base.st_mode)) {
    return Status::OfFile(StatusCode::kNotRegularFile, path);
  }
  const std::string name = LockFileOf(path);
  const int fd = OpenLockFile(name, O_RDWR | (make_lock_file ? O_CREAT : 0));
  if (fd < 0) {
    const int error = errno;
    struct stat there;
    const bool exists = ::lstat(name.c_str(), &there) == 0;
    // No lock file, and none to be made: the base is missing, or its
    // folder is gone or cannot be written, so nothing can be written there.
    if (!exists && (error == ENOENT || error == EACCES || error == EPERM ||
                    error == EROFS)) {
      return Status::Ok();
    }
    if (error == EROFS) return Status::Ok();
    return Status::IoError(FileOperation::kWrite, name, error);
  }
  struct stat held;
  if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
    ::close(fd);
    return Status::OfFile(StatusCode::kNotRegularFile, name);
  }
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    struct flock exclusive = ByteLock(F_WRLCK, kWriterLockByte);
    if (::fcntl(fd, F_OFD_SETLK, &exclusive) == 0) {
      *lock = std::make_unique<DescriptorLock>(fd);
      return Status::Ok();
    }
    const int error = errno;
    if (error != EAGAIN && error != EACCES && error != EINTR) {
      ::close(fd);
      return Status::IoError(FileOperation::kWrite, name, error);
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      ::close(fd);
      return Status::OfFile(StatusCode::kBaseLocked, path);
    }
    std::this_thread::sleep_for(kLockPoll);
  }
}

std::unique_ptr<FileLock> PosixMarkOpen(const std::string& path,
                                        bool* open_elsewhere) {
  *open_elsewhere = false;
  struct stat base;
  if (::stat(path.c_str(), &base) != 0) return nullptr;
  const std::string name = LockFileOf(path);
  int fd = OpenLockFile(name, O_RDWR | O_CREAT);
  // A lock file that is there but may not be written still takes a mark.
  if (fd < 0) fd = OpenLockFile(name, O_RDONLY);
  if (fd < 0) return nullptr;
  struct stat held;
  if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  *open_elsewhere = HeldElsewhere(fd, kOpenMarkByte);
  struct flock mark = ByteLock(F_RDLCK, kOpenMarkByte);
  if (::fcntl(fd, F_OFD_SETLK, &mark) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<DescriptorLock>(fd);
}

bool PosixIsMarkedOpen(const std::string& path) {
  const int fd = OpenLockFile(LockFileOf(path), O_RDONLY);
  if (fd < 0) return false;  // no lock file: no window ever marked it
  struct stat held;
  const bool marked = ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
                      HeldElsewhere(fd, kOpenMarkByte);
  ::close(fd);
  return marked;
}

Status PosixReadRegularFile(const std::string& path, std::string* contents) {
  const int fd =
      ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return Status::IoError(FileOperation::kRead, path, errno);
  const auto failed = [&](int error) {
    ::close(fd);
    return Status::IoError(FileOperation::kRead, path, error);
  };
  struct stat st;
  if (::fstat(fd, &st) != 0) return failed(errno);
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return Status::OfFile(StatusCode::kNotRegularFile, path);
  }
  // The size is where reading starts to look for the end, not the end.
  const auto expected = static_cast<size_t>(st.st_size) + 1;
  if (contents->capacity() < expected) {
    contents->clear();
    contents->shrink_to_fit();
    ReserveLarge(contents, expected);
  }
  contents->resize(expected);
  size_t done = 0;
  for (;;) {
    if (done == contents->size()) contents->resize(done + done / 2 + 4096);
    const ssize_t n =
        ::read(fd, contents->data() + done, contents->size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return failed(errno);
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  contents->resize(done);
  ::close(fd);
  return Status::Ok();
}

Status PosixListFolder(const std::string& folder,
                       std::vector<std::string>* names) {
  names->clear();
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return Status::IoError(FileOperation::kListFolder, folder, errno);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names->push_back(name);
  }
  ::closedir(dir);
  return Status::Ok();
}

Status PosixSyncFolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : path.substr(0, slash);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return Status::IoError(FileOperation::kWrite, folder, errno);
  Status status;
  if (::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP) {
    status = Status::IoError(FileOperation::kWrite, folder, errno);
  }
  ::close(fd);
  return status;
}

}  // namespace spravka
