// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_TOWN_NAMES_H_
#define SPRAVKA_APP_TOWN_NAMES_H_

#include <string>
#include <string_view>

namespace spravka {

// Base names and town-list entries. A base name is the base file's path
// without ".qz": the bare file name for a base in the working folder, the
// full path otherwise. An entry is a blank and the file name, followed by
// " *" and the folder for a base outside the working folder. Names are
// UTF-8; paths follow util/paths.h.

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

}  // namespace spravka

#endif  // SPRAVKA_APP_TOWN_NAMES_H_
