#ifndef SPRAVKA_APP_TOWN_NAMES_H_
#define SPRAVKA_APP_TOWN_NAMES_H_

#include <string>
#include <string_view>

namespace spravka {

// Base names and town-list entries. A base name is the base file's path
// without ".qz": the bare file name for a base in the working folder, the
// full path otherwise. An entry is a blank and the file name, followed by
// " *" and the folder for a base outside the working folder.
//
// Paths use the platform's rules: "/" separates folders here ("\" and "/"
// and a drive colon on Windows). Names are UTF-8.

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

// Whether the name ends in ".qz", in any letter case.
bool HasQzExtension(std::string_view name);

// The name without a final ".qz" (any case); other names unchanged.
std::string StripQzExtension(std::string_view name);

// Leading and trailing blanks and control characters removed.
std::string TrimBlanks(std::string_view text);

// `BaseToTownName`: base name or path -> entry. A base name never has the
// file's ".qz": the base of "a.qz.qz" is "a.qz", and its entry " a.qz".
std::string BaseToTownName(std::string_view base);

// `TownToBaseName`: entry -> base name or path.
std::string TownToBaseName(std::string_view entry);

// `LongPathName`: the path with long component names. Only Windows has
// short (8.3) names; everywhere else a path is already long.
std::string LongPathName(std::string_view path);

// Joins a folder and a name without doubling the separator.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace spravka

#endif  // SPRAVKA_APP_TOWN_NAMES_H_
