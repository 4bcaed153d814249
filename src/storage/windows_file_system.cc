// SPDX-License-Identifier: GPL-3.0-or-later
// The file system of Windows, through the wide-character API: names are
// UTF-8 in the program and UTF-16 here, so Cyrillic names work whatever the
// system's code page, and paths beyond 260 characters take the "\\?\" form.
// Files are flushed before they count as written, and a file is replaced in
// one MoveFileExW written through to the disk.
#include "storage/file_system.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>

#include "storage/windows_wide_text.h"

namespace spravka {
namespace {

constexpr char kCannotRead[] = "Не удалось прочитать файл";
constexpr char kCannotWrite[] = "Не удалось записать файл";

// Why an operation failed, in the user's words for the failures a user can
// mend (a file another program holds open above all), else in the system's.
std::string ErrorText(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return "файл не найден";
    case ERROR_PATH_NOT_FOUND:
      return "папка не найдена";
    case ERROR_ACCESS_DENIED:
      return "доступ запрещён";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return "файл занят другой программой";
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
      return "диск переполнен";
    case ERROR_WRITE_PROTECT:
      return "диск защищён от записи";
    case ERROR_NOT_READY:
      return "устройство не готово";
    case ERROR_INVALID_NAME:
      return "недопустимое имя файла";
    case ERROR_FILENAME_EXCED_RANGE:
      return "слишком длинное имя файла";
    default: {
      const std::string text = SystemErrorText(error);
      return (text.empty() ? "ошибка Windows" : text) + " (" +
             std::to_string(error) + ")";
    }
  }
}

Status Failure(const char* what, const std::string& path, DWORD error) {
  return Status::Error(std::string(what) + " " + path + ": " + ErrorText(error));
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
      return Failure(kCannotWrite, path, GetLastError());
    }
    if (written == 0) return Failure(kCannotWrite, path, ERROR_DISK_FULL);
    data.remove_prefix(written);
  }
  return Status::Ok();
}

// Flushes and closes a written file; a failed flush or close is a failed
// write.
Status FinishWrite(Handle& file, Status status, const std::string& path) {
  if (status.ok() && !FlushFileBuffers(file.get()))
    status = Failure(kCannotWrite, path, GetLastError());
  if (!file.Close() && status.ok())
    status = Failure(kCannotWrite, path, GetLastError());
  return status;
}

// The attributes SetFileAttributesW can give a file.
constexpr DWORD kSettableAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
    FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE;

bool SetAttributes(const std::wstring& path, DWORD attributes) {
  attributes &= kSettableAttributes;
  return SetFileAttributesW(path.c_str(), attributes ? attributes
                                                     : FILE_ATTRIBUTE_NORMAL);
}

// Whether another program has the file open: then it cannot be opened for
// this program alone.
bool IsHeldOpen(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return false;
  }
  return GetLastError() == ERROR_SHARING_VIOLATION;
}

class WindowsFileSystem : public FileSystem {
 public:
  Status ReadFile(const std::string& path, std::string* contents) override {
    // Others may read along, but a file another program is writing is not
    // read half written.
    Handle file(CreateFileW(ApiPath(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) return Failure(kCannotRead, path, GetLastError());
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size))
      return Failure(kCannotRead, path, GetLastError());
    contents->resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < contents->size()) {
      DWORD read = 0;
      const DWORD piece = static_cast<DWORD>(
          std::min<size_t>(contents->size() - done, kMaxTransfer));
      if (!::ReadFile(file.get(), contents->data() + done, piece, &read,
                      nullptr)) {
        return Failure(kCannotRead, path, GetLastError());
      }
      if (read == 0) return Failure(kCannotRead, path, ERROR_HANDLE_EOF);
      done += read;
    }
    return Status::Ok();
  }

  Status WriteFile(const std::string& path, std::string_view data) override {
    Handle file(CreateFileW(ApiPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return Failure(kCannotWrite, path, GetLastError());
    return FinishWrite(file, WriteAll(file.get(), data, path), path);
  }

  Status WriteAt(const std::string& path, uint64_t offset,
                 std::string_view data) override {
    Handle file(CreateFileW(ApiPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return Failure(kCannotWrite, path, GetLastError());
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    Status status;
    if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN)) {
      status = Failure(kCannotWrite, path, GetLastError());
    } else {
      status = WriteAll(file.get(), data, path);
    }
    return FinishWrite(file, status, path);
  }

  // A read-only file is not replaced (Wine would replace it, Windows does
  // not: the rule is kept here so that both behave alike).
  Status Rename(const std::string& from, const std::string& to) override {
    const std::wstring source = ApiPath(from);
    const std::wstring target = ApiPath(to);
    DWORD error = ERROR_SUCCESS;
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_READONLY)) {
      error = ERROR_ACCESS_DENIED;
    } else if (!MoveFileExW(source.c_str(), target.c_str(),
                            MOVEFILE_REPLACE_EXISTING |
                                MOVEFILE_WRITE_THROUGH)) {
      error = GetLastError();
      // A file another program holds open can be refused as "access
      // denied"; the user is told what to do about it.
      if (error == ERROR_ACCESS_DENIED &&
          (IsHeldOpen(source) || IsHeldOpen(target))) {
        error = ERROR_SHARING_VIOLATION;
      }
    }
    if (error != ERROR_SUCCESS) {
      return Failure("Не удалось переименовать файл", from + " -> " + to,
                     error);
    }
    return Status::Ok();
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
    return Failure("Не удалось удалить файл", path, error);
  }

  bool Exists(const std::string& path) override {
    return GetFileAttributesW(ApiPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  // Only the read-only attribute goes; hidden, system and the others stay.
  Status MakeWritable(const std::string& path) override {
    const std::wstring name = ApiPath(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
      return Failure(kCannotWrite, path, GetLastError());
    if (!(attributes & FILE_ATTRIBUTE_READONLY)) return Status::Ok();
    if (!SetAttributes(name, attributes & ~FILE_ATTRIBUTE_READONLY))
      return Failure(kCannotWrite, path, GetLastError());
    return Status::Ok();
  }

  // A file's permissions here are its attributes.
  Status CopyPermissions(const std::string& from,
                         const std::string& to) override {
    const DWORD attributes = GetFileAttributesW(ApiPath(from).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
      return Failure(kCannotRead, from, GetLastError());
    if (!SetAttributes(ApiPath(to), attributes))
      return Failure(kCannotWrite, to, GetLastError());
    return Status::Ok();
  }

  std::string ResolveLinks(const std::string& path) override {
    const std::wstring name = ApiPath(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      return path;
    }
    Handle file(CreateFileW(name.c_str(), 0,
                            FILE_SHARE_READ | FILE_SHARE_WRITE |
                                FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) return path;
    const DWORD size = GetFinalPathNameByHandleW(file.get(), nullptr, 0,
                                                 VOLUME_NAME_DOS);
    if (size == 0) return path;
    std::wstring target(size, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(
        file.get(), target.data(), size, VOLUME_NAME_DOS);
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
