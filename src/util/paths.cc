// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/paths.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace spravka {
namespace fs = std::filesystem;
namespace {

// A character after which a file name begins: a separator, or on Windows
// the colon of a drive.
bool IsNameDelimiter(char c) {
#ifdef _WIN32
  return IsPathSeparator(c) || c == ':';
#else
  return IsPathSeparator(c);
#endif
}

size_t LastDelimiter(std::string_view path) {
  for (size_t i = path.size(); i > 0; --i) {
    if (IsNameDelimiter(path[i - 1])) return i - 1;
  }
  return std::string_view::npos;
}

}  // namespace

bool IsPathSeparator(char c) {
#ifdef _WIN32
  return c == '\\' || c == '/';
#else
  return c == '/';
#endif
}

std::string FileNamePart(std::string_view path) {
  size_t d = LastDelimiter(path);
  return std::string(d == std::string_view::npos ? path : path.substr(d + 1));
}

std::string FolderPart(std::string_view path) {
  size_t d = LastDelimiter(path);
  if (d == std::string_view::npos) return "";
  // A separator that follows a drive colon or another separator, or stands
  // first, belongs to a root and stays.
  if (IsPathSeparator(path[d]) && d > 0 && !IsNameDelimiter(path[d - 1])) {
    return std::string(path.substr(0, d));
  }
  return std::string(path.substr(0, d + 1));
}

#ifdef _WIN32
std::string LongPathName(std::string_view path) {
  const std::wstring name = PathFromUtf8(std::string(path)).wstring();
  const DWORD size = GetLongPathNameW(name.c_str(), nullptr, 0);
  if (size == 0) return std::string(path);
  std::wstring long_name(size, L'\0');
  const DWORD length = GetLongPathNameW(name.c_str(), long_name.data(), size);
  if (length == 0 || length >= size) return std::string(path);
  long_name.resize(length);
  return Utf8FromPath(fs::path(long_name));
}
#else
std::string LongPathName(std::string_view path) { return std::string(path); }
#endif

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && !IsNameDelimiter(path.back())) path += kPathSeparator;
  path += name;
  return path;
}

std::string AbsolutePathFrom(const std::string& folder,
                             const std::string& path) {
  fs::path p = PathFromUtf8(path);
  if (p.is_relative()) p = PathFromUtf8(folder) / p;
  std::string s = Utf8FromPath(p.lexically_normal());
  // A root's separator stays ("/", "C:\"): without it "C:" would name the
  // current folder of drive C.
  while (s.size() > 1 && IsPathSeparator(s.back()) &&
         !IsNameDelimiter(s[s.size() - 2])) {
    s.pop_back();
  }
  return s;
}

fs::path PathFromUtf8(const std::string& path) {
  return fs::path(std::u8string(path.begin(), path.end()));
}

std::string Utf8FromPath(const fs::path& path) {
  std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

}  // namespace spravka
