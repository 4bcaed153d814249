// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/file_checks.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/town_list.h"
#include "app/town_names.h"
#include "util/paths.h"

namespace spravka {
namespace fs = std::filesystem;

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
  std::string exact = base + ".qz";
  if (fs::is_regular_file(PathFromUtf8(exact), ec)) return exact;
  std::string folder = FolderPart(base);
  std::string wanted = FileNamePart(exact);
  // A folder that cannot be read to the end may hide the file: what was
  // read is all there is to go by.
  std::vector<std::string> names;
  IgnoreError(ListBaseFiles(folder.empty() ? "." : folder, &names));
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
  if (found && !fs::is_regular_file(PathFromUtf8(*found), ec)) return std::nullopt;
  return found;
}

bool RealFileChecks::SameFolder(const std::string& a, const std::string& b) {
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
    std::FILE* f = std::fopen(path.c_str(), "wbx");
    if (f == nullptr) {
      if (errno == EEXIST) continue;
      return result;  // the folder cannot be written
    }
    result.writable = true;
    if (std::fclose(f) != 0) {
      result.cleanup = Status::IoError(FileOperation::kWrite, path, errno);
    } else if (std::remove(path.c_str()) != 0) {
      result.cleanup = Status::IoError(FileOperation::kRemove, path, errno);
    }
    return result;
  }
  return result;
}

}  // namespace spravka
