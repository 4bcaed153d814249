// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/file_checks.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "app/town_list.h"
#include "app/town_names.h"
#include "util/paths.h"

namespace spravka {
namespace fs = std::filesystem;
namespace {

// Creates `path` for writing only when no file of that name exists (a file
// that is there stays untouched): a descriptor, or -1 with errno set
// (EEXIST when the name is taken). Windows takes the name in UTF-16.
int CreateNewFile(const std::string& path) {
#ifdef _WIN32
  return _wopen(PathFromUtf8(path).c_str(),
                _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                _S_IREAD | _S_IWRITE);
#else
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
#endif
}

int CloseFile(int file) {
#ifdef _WIN32
  return _close(file);
#else
  return ::close(file);
#endif
}

#ifdef _WIN32
// Whether two names lead to one file or folder, by its volume and index;
// none when either cannot be opened.
std::optional<bool> SameFileOnWindows(const std::string& a,
                                      const std::string& b) {
  BY_HANDLE_FILE_INFORMATION info[2];
  const std::string* names[2] = {&a, &b};
  for (int i = 0; i < 2; ++i) {
    const HANDLE file = CreateFileW(
        PathFromUtf8(*names[i]).c_str(), 0,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    const bool known = GetFileInformationByHandle(file, &info[i]);
    CloseHandle(file);
    if (!known) return std::nullopt;
  }
  return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
         info[0].nFileIndexHigh == info[1].nFileIndexHigh &&
         info[0].nFileIndexLow == info[1].nFileIndexLow;
}
#endif

}  // namespace

Status RealFileChecks::ListBaseFiles(const std::string& folder,
                                     std::vector<std::string>* names) {
  names->clear();
  std::error_code ec;
  for (fs::directory_iterator it(PathFromUtf8(folder), ec), end;
       !ec && it != end; it.increment(ec)) {
    std::string name = Utf8FromPath(it->path().filename());
    std::error_code dir_ec;
    if (HasQzExtension(name) && !it->is_directory(dir_ec))
      names->push_back(name);
  }
  if (ec) {
    // The portable (errno) form of the system's error.
    return Status::IoError(FileOperation::kListFolder, folder,
                           ec.default_error_condition().value());
  }
  return Status::Ok();
}

std::optional<std::string> RealFileChecks::FindBaseFile(
    const std::string& base) {
  std::error_code ec;
  const std::string exact = base + ".qz";
  const bool exact_exists = fs::is_regular_file(PathFromUtf8(exact), ec);
  const std::string folder = FolderPart(base);
  const std::string wanted = FileNamePart(exact);
  // A folder that cannot be read to the end may hide the file: what was
  // read is all there is to go by.
  std::vector<std::string> names;
  IgnoreError(ListBaseFiles(folder.empty() ? "." : folder, &names));
  // Where the file system ignores letter case (Windows), the exact name
  // opens a file spelt otherwise: it counts as exact only when the folder
  // holds it so spelt, and the file's own spelling is looked for first.
  if (exact_exists &&
      std::find(names.begin(), names.end(), wanted) != names.end()) {
    return exact;
  }
  // The name as written with ".qz" in another case first, then the name
  // in any case; more than one candidate is no answer.
  auto unique = [&](auto matches) -> std::optional<std::string> {
    std::optional<std::string> found;
    for (const std::string& name : names) {
      if (!matches(name)) continue;
      if (found) return std::nullopt;
      found = JoinPath(folder, name);
    }
    return found;
  };
  const std::string stem = StripQzExtension(wanted);
  std::optional<std::string> found = unique(
      [&](const std::string& name) { return StripQzExtension(name) == stem; });
  if (!found) {
    found = unique([&](const std::string& name) {
      return CompareNoCase(name, wanted) == 0;
    });
  }
  if (found && fs::is_regular_file(PathFromUtf8(*found), ec)) return found;
  if (exact_exists) return exact;
  return std::nullopt;
}

bool RealFileChecks::SameFolder(const std::string& a, const std::string& b) {
#ifdef _WIN32
  // MinGW's std::filesystem cannot tell: the volume and file index can.
  if (const std::optional<bool> same = SameFileOnWindows(a, b)) return *same;
#endif
  std::error_code ec;
  bool same = fs::equivalent(PathFromUtf8(a), PathFromUtf8(b), ec);
  if (ec) {
    return fs::weakly_canonical(PathFromUtf8(a), ec) ==
           fs::weakly_canonical(PathFromUtf8(b), ec);
  }
  return same;
}

ProbeResult RealFileChecks::ProbeWrite(const std::string& folder) {
  ProbeResult result;
  // "$$$.$$$" first; when a file of that name is already there it is left
  // alone and another unused name is tried.
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = attempt == 0 ? std::string(kProbeFileName)
                                    : "$$$" + std::to_string(attempt) + ".$$$";
    std::string path = JoinPath(folder, name);
    const int file = CreateNewFile(path);
    if (file < 0) {
      if (errno == EEXIST) continue;
      return result;  // the folder cannot be written
    }
    result.writable = true;
    std::error_code ec;
    if (CloseFile(file) != 0) {
      result.cleanup = Status::IoError(FileOperation::kWrite, path, errno);
    } else if (!fs::remove(PathFromUtf8(path), ec) && ec) {
      result.cleanup = Status::IoError(FileOperation::kRemove, path,
                                       ec.default_error_condition().value());
    }
    return result;
  }
  return result;
}

}  // namespace spravka
