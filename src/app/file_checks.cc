#include "app/file_checks.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/town_list.h"
#include "app/town_names.h"

namespace spravka {
namespace fs = std::filesystem;

namespace {

fs::path U8Path(const std::string& s) {
  return fs::path(std::u8string(s.begin(), s.end()));
}

std::string U8String(const fs::path& p) {
  std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

}  // namespace

std::string AbsolutePathFrom(const std::string& folder,
                             const std::string& path) {
  fs::path p = U8Path(path);
  if (p.is_relative()) p = U8Path(folder) / p;
  std::string s = U8String(p.lexically_normal());
  while (s.size() > 1 && IsPathSeparator(s.back())) s.pop_back();
  return s;
}

std::vector<std::string> RealFileChecks::ListBaseFiles(
    const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(U8Path(folder), ec), end; !ec && it != end;
       it.increment(ec)) {
    std::string name = U8String(it->path().filename());
    std::error_code dir_ec;
    if (HasQzExtension(name) && !it->is_directory(dir_ec))
      names.push_back(name);
  }
  return names;
}

std::optional<std::string> RealFileChecks::FindBaseFile(
    const std::string& base) {
  std::error_code ec;
  std::string exact = base + ".qz";
  if (fs::is_regular_file(U8Path(exact), ec)) return exact;
  std::string folder = FolderPart(base);
  std::string wanted = FileNamePart(exact);
  const std::vector<std::string> names =
      ListBaseFiles(folder.empty() ? "." : folder);
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
  if (found && !fs::is_regular_file(U8Path(*found), ec)) return std::nullopt;
  return found;
}

bool RealFileChecks::SameFolder(const std::string& a, const std::string& b) {
  std::error_code ec;
  bool same = fs::equivalent(U8Path(a), U8Path(b), ec);
  if (ec) {
    return fs::weakly_canonical(U8Path(a), ec) ==
           fs::weakly_canonical(U8Path(b), ec);
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
    if (std::fclose(f) != 0 || std::remove(path.c_str()) != 0) {
      result.error = std::strerror(errno);
    }
    return result;
  }
  return result;
}

}  // namespace spravka
