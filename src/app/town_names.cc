// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/town_names.h"

#include <cctype>

#include "util/paths.h"

namespace spravka {

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

}  // namespace spravka
