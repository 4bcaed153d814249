// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/posix_file_support.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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
// Where a window's mark lies: past the end of any file that can be a base.
constexpr off_t kOpenMarkOffset = off_t{1} << 40;

}  // namespace

Status PosixLockForWriting(const std::string& path,
                           std::chrono::milliseconds wait,
                           std::unique_ptr<FileLock>* lock) {
  lock->reset();
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    const int fd =
        ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
      if (errno == ENOENT) return Status::Ok();  // nothing there to lose
      return Status::IoError(FileOperation::kRead, path, errno);
    }
    struct stat held;
    if (::fstat(fd, &held) != 0) {
      const int error = errno;
      ::close(fd);
      return Status::IoError(FileOperation::kRead, path, error);
    }
    if (!S_ISREG(held.st_mode)) {
      ::close(fd);
      return Status::OfFile(StatusCode::kNotRegularFile, path);
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      struct stat now;
      // The lock is on the file the name means now, not on one a writer
      // has since put aside.
      if (::stat(path.c_str(), &now) == 0 && now.st_dev == held.st_dev &&
          now.st_ino == held.st_ino) {
        *lock = std::make_unique<DescriptorLock>(fd);
        return Status::Ok();
      }
      ::close(fd);
      continue;
    }
    const int error = errno;
    ::close(fd);
    if (error != EWOULDBLOCK && error != EINTR) {
      return Status::IoError(FileOperation::kRead, path, error);
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      return Status::OfFile(StatusCode::kBaseLocked, path);
    }
    std::this_thread::sleep_for(kLockPoll);
  }
}

std::unique_ptr<FileLock> PosixMarkOpen(const std::string& path,
                                        bool* open_elsewhere) {
  *open_elsewhere = false;
  const int fd =
      ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct flock probe = {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  probe.l_start = kOpenMarkOffset;
  probe.l_len = 1;
  if (::fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK) {
    *open_elsewhere = true;
  }
  struct flock mark = {};
  mark.l_type = F_RDLCK;
  mark.l_whence = SEEK_SET;
  mark.l_start = kOpenMarkOffset;
  mark.l_len = 1;
  if (::fcntl(fd, F_OFD_SETLK, &mark) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<DescriptorLock>(fd);
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
