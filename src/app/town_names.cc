#include "app/town_names.h"

#include <cctype>

namespace spravka {
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

bool HasQzExtension(std::string_view name) {
  if (name.size() < 3) return false;
  std::string_view ext = name.substr(name.size() - 3);
  return ext[0] == '.' &&
         std::tolower(static_cast<unsigned char>(ext[1])) == 'q' &&
         std::tolower(static_cast<unsigned char>(ext[2])) == 'z';
}

std::string StripQzExtension(std::string_view name) {
  return std::string(HasQzExtension(name) ? name.substr(0, name.size() - 3)
                                          : name);
}

std::string TrimBlanks(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return std::string(text.substr(begin, end - begin));
}

std::string BaseToTownName(std::string_view base) {
  std::string entry = " " + FileNamePart(base);
  std::string folder = FolderPart(base);
  if (!folder.empty()) entry += " *" + folder;
  return entry;
}

std::string TownToBaseName(std::string_view entry) {
  size_t star = entry.find('*');
  if (star == std::string_view::npos) return TrimBlanks(entry);
  std::string_view folder = entry.substr(star + 1);
  // The name stands between the leading blank and the blank before "*".
  std::string_view name =
      star >= 2 ? entry.substr(1, star - 2) : std::string_view();
  return TrimBlanks(JoinPath(folder, name));
}

std::string LongPathName(std::string_view path) { return std::string(path); }

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && !IsNameDelimiter(path.back())) path += kPathSeparator;
  path += name;
  return path;
}

}  // namespace spravka
