// SPDX-License-Identifier: GPL-3.0-or-later
// The file system of Windows, through the wide-character API: names are
// UTF-8 in the program and UTF-16 here, so Cyrillic names work whatever the
// system's code page, and paths beyond 260 characters take the "\\?\" form.
// Files are flushed before they count as written, and a file is replaced in
// one MoveFileExW written through to the disk.
//
// The writers' lock and a window's mark lie on the base's lock file beside
// it (LockFileOf), as on other systems; on the base itself they could not
// lie here anyway: Windows replaces a file by renaming only while nothing
// holds it open.
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "storage/file_system.h"
#include "storage/windows_wide_text.h"

namespace spravka {
namespace {

// The portable (errno) code of a Windows error, for the failures the
// user's message explains (a file another program holds open above all);
// none for the rest, which keep the system's own text.
std::optional<int> PortableError(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
      return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
      return EBUSY;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
      return ENOSPC;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_HANDLE_EOF:
      return EIO;
    default:
      return std::nullopt;
  }
}

Status Failure(FileOperation operation, const std::string& path, DWORD error) {
  if (const std::optional<int> code = PortableError(error))
    return Status::IoError(operation, path, *code);
  const std::string text = SystemErrorText(error);
  return Status::IoError(operation, path,
                         (text.empty() ? "Windows error" : text) + " (" +
                             std::to_string(error) + ")");
}

// The name to hand to the API. Past this length a path goes in its "\\?\"
// form, which has no length limit but is taken literally: so it is made
// absolute and normal first ("/" to "\", no "." or "..").
constexpr size_t kPlainPathLimit = 240;

std::wstring ApiPath(const std::string& path) {
  std::wstring wide = WideFromUtf8(path);
  if (wide.size() < kPlainPathLimit || wide.starts_with(L"\\\\?\\")) {
    return wide;
  }
  const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return wide;
  std::wstring full(size, L'\0');
  const DWORD length =
      GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return wide;
  full.resize(length);
  if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\")) return full;
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

// An open file handle, closed when it goes.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (valid()) CloseHandle(handle_);
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  // Closes now; false when closing failed.
  bool Close() {
    const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
    return CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

// WriteFile takes at most this much at once.
constexpr size_t kMaxTransfer = DWORD{1} << 30;

Status WriteAll(HANDLE file, std::string_view data, const std::string& path) {
  while (!data.empty()) {
    DWORD written = 0;
    const DWORD piece =
        static_cast<DWORD>(std::min<size_t>(data.size(), kMaxTransfer));
    if (!::WriteFile(file, data.data(), piece, &written, nullptr)) {
      return Failure(FileOperation::kWrite, path, GetLastError());
    }
    if (written == 0)
      return Failure(FileOperation::kWrite, path, ERROR_DISK_FULL);
    data.remove_prefix(written);
  }
  return Status::Ok();
}

// Flushes and closes a written file; a failed flush or close is a failed
// write.
Status FinishWrite(Handle& file, Status status, const std::string& path) {
  if (status.ok() && !FlushFileBuffers(file.get()))
    status = Failure(FileOperation::kWrite, path, GetLastError());
  if (!file.Close() && status.ok())
    status = Failure(FileOperation::kWrite, path, GetLastError());
  return status;
}

// The attributes SetFileAttributesW can give a file.
constexpr DWORD kSettableAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
    FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE;

bool SetAttributes(const std::wstring& path, DWORD attributes) {
  attributes &= kSettableAttributes;
  return SetFileAttributesW(path.c_str(),
                            attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
}

// Whether another program has the file open: then it cannot be opened for
// this program alone.
bool IsHeldOpen(const std::wstring& path) {
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return false;
  }
  return GetLastError() == ERROR_SHARING_VIOLATION;
}

// Opens the base's lock file, made when missing and `make` says so: hidden,
// and never removed. Every holder lets every other open it. (It is not
// opened to be deleted on close: once one such handle has closed while
// another is open, Windows refuses every new open of the file until the
// last one closes, so a window holding its mark would lock every writer
// out.) INVALID_HANDLE_VALUE with the error when it cannot be had.
HANDLE OpenLockFile(const std::wstring& name, bool make, bool write = true) {
  return CreateFileW(name.c_str(), GENERIC_READ | (write ? GENERIC_WRITE : 0),
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, make ? OPEN_ALWAYS : OPEN_EXISTING,
                     FILE_ATTRIBUTE_HIDDEN, nullptr);
}

// Locks one byte of the lock file, failing at once when another handle
// holds it in a way that excludes this one. The file is empty: locks past
// its end are allowed, and no read or write ever meets them.
bool LockByte(HANDLE file, uint64_t byte, bool exclusive) {
  OVERLAPPED at = {};
  at.Offset = static_cast<DWORD>(byte);
  const DWORD flags =
      LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
  return LockFileEx(file, flags, 0, 1, 0, &at) != 0;
}

void UnlockByte(HANDLE file, uint64_t byte) {
  OVERLAPPED at = {};
  at.Offset = static_cast<DWORD>(byte);
  UnlockFileEx(file, 0, 1, 0, &at);
}

// Whether another handle holds the window's mark: then this one cannot
// have the byte alone for a moment.
bool MarkHeldElsewhere(HANDLE file) {
  if (!LockByte(file, kOpenMarkByte, true)) return true;
  UnlockByte(file, kOpenMarkByte);
  return false;
}

// A lock held through an open handle of the lock file; closing it lets go.
class HandleLock : public FileLock {
 public:
  explicit HandleLock(HANDLE handle) : handle_(handle) {}
  HandleLock(const HandleLock&) = delete;
  HandleLock& operator=(const HandleLock&) = delete;
  ~HandleLock() override { CloseHandle(handle_); }

 private:
  HANDLE handle_;
};

constexpr std::chrono::milliseconds kLockPoll{10};
// How long a window waits for its share of the mark byte, which another
// window or command holds alone for the moment of its probe.
constexpr std::chrono::milliseconds kMarkWait{200};

class WindowsFileSystem : public FileSystem {
 public:
  Status ReadFile(const std::string& path, std::string* contents) override {
    // Others may read along, but a file another program is writing is not
    // read half written.
    Handle file(CreateFileW(ApiPath(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid())
      return Failure(FileOperation::kRead, path, GetLastError());
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size))
      return Failure(FileOperation::kRead, path, GetLastError());
    contents->resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < contents->size()) {
      DWORD read = 0;
      const DWORD piece = static_cast<DWORD>(
          std::min<size_t>(contents->size() - done, kMaxTransfer));
      if (!::ReadFile(file.get(), contents->data() + done, piece, &read,
                      nullptr)) {
        return Failure(FileOperation::kRead, path, GetLastError());
      }
      if (read == 0)
        return Failure(FileOperation::kRead, path, ERROR_HANDLE_EOF);
      done += read;
    }
    return Status::Ok();
  }

  Status WriteFile(const std::string& path, std::string_view data) override {
    Handle file(CreateFileW(ApiPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
      return Failure(FileOperation::kWrite, path, GetLastError());
    return FinishWrite(file, WriteAll(file.get(), data, path), path);
  }

  Status WriteAt(const std::string& path, uint64_t offset,
                 std::string_view data) override {
    Handle file(CreateFileW(ApiPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
      return Failure(FileOperation::kWrite, path, GetLastError());
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    Status status;
    if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN)) {
      status = Failure(FileOperation::kWrite, path, GetLastError());
    } else {
      status = WriteAll(file.get(), data, path);
    }
    return FinishWrite(file, status, path);
  }

  // A read-only file is not replaced (Wine would replace it, Windows does
  // not: the rule is kept here so that both behave alike). When the file
  // replaced is what stands in the way (read-only, or held open by another
  // program), the failure names it rather than the file renamed.
  Status Rename(const std::string& from, const std::string& to) override {
    const std::wstring source = ApiPath(from);
    const std::wstring target = ApiPath(to);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_READONLY)) {
      return Failure(FileOperation::kRename, to, ERROR_ACCESS_DENIED);
    }
    if (MoveFileExW(source.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return Status::Ok();
    }
    const DWORD error = GetLastError();
    // A file another program holds open can be refused as "access denied";
    // the user is told what to do about it.
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) {
      if (IsHeldOpen(target))
        return Failure(FileOperation::kRename, to, ERROR_SHARING_VIOLATION);
      if (IsHeldOpen(source))
        return Failure(FileOperation::kRename, from, ERROR_SHARING_VIOLATION);
    }
    // The file renamed is a temporary file with a short name: a name too
    // long is the new one.
    if (error == ERROR_FILENAME_EXCED_RANGE)
      return Failure(FileOperation::kRename, to, error);
    return Failure(FileOperation::kRename, from, error);
  }

  // MoveFileExW without leave to replace: a file that has the name already
  // stays.
  Status RenameNoReplace(const std::string& from,
                         const std::string& to) override {
    if (MoveFileExW(ApiPath(from).c_str(), ApiPath(to).c_str(),
                    MOVEFILE_WRITE_THROUGH)) {
      return Status::Ok();
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ||
        error == ERROR_FILENAME_EXCED_RANGE) {
      return Failure(FileOperation::kRename, to, error);
    }
    return Failure(FileOperation::kRename, from, error);
  }

  // A read-only file goes too, as it does on other systems.
  Status Remove(const std::string& path) override {
    const std::wstring name = ApiPath(path);
    if (DeleteFileW(name.c_str())) return Status::Ok();
    DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED) {
      const DWORD attributes = GetFileAttributesW(name.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES &&
          (attributes & FILE_ATTRIBUTE_READONLY) &&
          !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
          SetAttributes(name, attributes & ~FILE_ATTRIBUTE_READONLY)) {
        if (DeleteFileW(name.c_str())) return Status::Ok();
        error = GetLastError();
        SetAttributes(name, attributes);
      }
    }
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
      return Status::Ok();
    return Failure(FileOperation::kRemove, path, error);
  }

  bool Exists(const std::string& path) override {
    return GetFileAttributesW(ApiPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  // Only the read-only attribute goes; hidden, system and the others stay.
  Status MakeWritable(const std::string& path) override {
    const std::wstring name = ApiPath(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
      return Failure(FileOperation::kWrite, path, GetLastError());
    if (!(attributes & FILE_ATTRIBUTE_READONLY)) return Status::Ok();
    if (!SetAttributes(name, attributes & ~FILE_ATTRIBUTE_READONLY))
      return Failure(FileOperation::kWrite, path, GetLastError());
    return Status::Ok();
  }

  // A file's permissions here are its attributes.
  Status CopyPermissions(const std::string& from,
                         const std::string& to) override {
    const DWORD attributes = GetFileAttributesW(ApiPath(from).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
      return Failure(FileOperation::kRead, from, GetLastError());
    if (!SetAttributes(ApiPath(to), attributes))
      return Failure(FileOperation::kWrite, to, GetLastError());
    return Status::Ok();
  }

  // A hard link where the volume has them (NTFS); elsewhere the caller
  // copies. A file another program holds open without letting it be
  // renamed gets no second name: that name could be neither renamed nor
  // removed.
  Status Link(const std::string& existing, const std::string& to) override {
    const std::wstring source = ApiPath(existing);
    {
      Handle file(
          CreateFileW(source.c_str(), DELETE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, 0, nullptr));
      if (!file.valid()) {
        return Failure(FileOperation::kWrite, existing, GetLastError());
      }
    }
    if (CreateHardLinkW(ApiPath(to).c_str(), source.c_str(), nullptr)) {
      return Status::Ok();
    }
    return Failure(FileOperation::kWrite, to, GetLastError());
  }

  Status ListFolder(const std::string& folder,
                    std::vector<std::string>* names) override {
    names->clear();
    const bool ends_in_separator =
        !folder.empty() && (folder.back() == '/' || folder.back() == '\\');
    const std::wstring pattern =
        ApiPath(folder + (ends_in_separator ? "*" : "\\*"));
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_NOT_FOUND) return Status::Ok();  // empty
      return Failure(FileOperation::kListFolder, folder, error);
    }
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") names->push_back(Utf8FromWide(name));
    } while (FindNextFileW(search, &found));
    const DWORD error = GetLastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES) {
      return Failure(FileOperation::kListFolder, folder, error);
    }
    return Status::Ok();
  }

  // A base that is missing makes no lock file unless asked; one in a
  // folder where no lock file can be made is written without the lock
  // (nothing can be written there: its writer fails with the reason).
  Status LockFile(const std::string& path, std::chrono::milliseconds wait,
                  bool make_lock_file,
                  std::unique_ptr<FileLock>* lock) override {
    lock->reset();
    const DWORD attributes = GetFileAttributesW(ApiPath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return Status::OfFile(StatusCode::kNotRegularFile, path);
    }
    const std::string lock_name = LockFileOf(path);
    const std::wstring name = ApiPath(lock_name);
    const HANDLE file = OpenLockFile(name, make_lock_file);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      const bool exists =
          GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
      if (!exists &&
          (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT)) {
        return Status::Ok();
      }
      if (error == ERROR_WRITE_PROTECT) return Status::Ok();
      return Failure(FileOperation::kWrite, lock_name, error);
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
      if (LockByte(file, kWriterLockByte, true)) {
        *lock = std::make_unique<HandleLock>(file);
        return Status::Ok();
      }
      const DWORD error = GetLastError();
      if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
        CloseHandle(file);
        return Failure(FileOperation::kWrite, lock_name, error);
      }
      if (std::chrono::steady_clock::now() >= deadline) {
        CloseHandle(file);
        return Status::OfFile(StatusCode::kBaseLocked, path);
      }
      std::this_thread::sleep_for(kLockPoll);
    }
  }

  std::unique_ptr<FileLock> MarkOpen(const std::string& link,
                                     bool* open_elsewhere) override {
    *open_elsewhere = false;
    const std::string path = ResolveLinks(link);
    if (GetFileAttributesW(ApiPath(path).c_str()) == INVALID_FILE_ATTRIBUTES) {
      return nullptr;
    }
    const std::wstring name = ApiPath(LockFileOf(path));
    HANDLE file = OpenLockFile(name, true);
    // A lock file that is there but may not be written still takes a mark.
    if (file == INVALID_HANDLE_VALUE) file = OpenLockFile(name, false, false);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    *open_elsewhere = MarkHeldElsewhere(file);
    const auto deadline = std::chrono::steady_clock::now() + kMarkWait;
    while (!LockByte(file, kOpenMarkByte, false)) {
      if (std::chrono::steady_clock::now() >= deadline) {
        CloseHandle(file);
        return nullptr;
      }
      std::this_thread::sleep_for(kLockPoll);
    }
    return std::make_unique<HandleLock>(file);
  }

  bool IsMarkedOpen(const std::string& link) override {
    const std::wstring name = ApiPath(LockFileOf(ResolveLinks(link)));
    Handle file(OpenLockFile(name, false, false));
    return file.valid() && MarkHeldElsewhere(file.get());
  }

  std::string ResolveLinks(const std::string& path) override {
    const std::wstring name = ApiPath(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      return path;
    }
    Handle file(CreateFileW(
        name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) return path;
    const DWORD size =
        GetFinalPathNameByHandleW(file.get(), nullptr, 0, VOLUME_NAME_DOS);
    if (size == 0) return path;
    std::wstring target(size, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(file.get(), target.data(),
                                                   size, VOLUME_NAME_DOS);
    if (length == 0 || length >= size) return path;
    target.resize(length);
    // "\\?\C:\..." back to "C:\..." where the plain form can hold it.
    if (target.starts_with(L"\\\\?\\UNC\\") &&
        target.size() < kPlainPathLimit) {
      target = L"\\\\" + target.substr(8);
    } else if (target.starts_with(L"\\\\?\\") &&
               target.size() < kPlainPathLimit) {
      target = target.substr(4);
    }
    return Utf8FromWide(target);
  }
};

}  // namespace

FileSystem& RealFileSystem() {
  static WindowsFileSystem fs;
  return fs;
}

// Windows has no such limit or signal.
void IgnoreFileSizeLimitSignal() {}

}  // namespace spravka
