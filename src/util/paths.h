// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UTIL_PATHS_H_
#define SPRAVKA_UTIL_PATHS_H_

#include <filesystem>
#include <string>
#include <string_view>

namespace spravka {

// Paths use the platform's rules: "/" separates folders here ("\\" and "/"
// and a drive colon on Windows). Paths are UTF-8.

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

bool IsPathSeparator(char c);

// The text after the last separator.
std::string FileNamePart(std::string_view path);

// The text up to the last separator, without that separator unless it is
// the root's ("/" for "/Town", "" for "Town", "/bases" for "/bases/Town").
std::string FolderPart(std::string_view path);

// `LongPathName`: the path with long component names. Only Windows has
// short (8.3) names; everywhere else a path is already long. A path that
// does not lead to a file comes back as it is.
std::string LongPathName(std::string_view path);

// Joins a folder and a name without doubling the separator.
std::string JoinPath(std::string_view folder, std::string_view name);

// An absolute, lexically normal form of `path`, relative paths taken from
// `folder`; no trailing separator except the root's.
std::string AbsolutePathFrom(const std::string& folder,
                             const std::string& path);

// A UTF-8 path as the standard library's path, and back.
std::filesystem::path PathFromUtf8(const std::string& path);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace spravka

#endif  // SPRAVKA_UTIL_PATHS_H_
