// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_INFORM_TEXT_H_
#define SPRAVKA_APP_INFORM_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

namespace spravka {

// The information dialog's text: Windows-1251 lines. From line 20 on
// stands the loaded base's description, followed by a line holding the
// marker "* *".
inline constexpr int kDescriptionLine = 20;
inline constexpr char kDescriptionMarker[] = "* *";

// The lines under the title (line 0) that name the program's version and
// its licence; the stored text keeps them empty.
inline constexpr int kVersionLine = 1;
inline constexpr int kLicenceLine = 2;
static_assert(kVersionLine < kLicenceLine && kLicenceLine < kDescriptionLine);

// The stored form is scrambled: each character, line after line, XORed
// with the next value for range 30 of the generator seeded with 7851.
// The same call turns the plain text into the stored form.
std::vector<std::string> UnscrambleInformText(std::vector<std::string> lines);

// The information text as stored in the program.
const std::vector<std::string>& StoredInformText();

// Writes "версия `version`" (the version is ASCII) into the version line,
// centred under the title by blanks.
void PlaceVersion(std::string_view version, std::vector<std::string>* lines);

// Writes the program's licence, GPL version 3 or later, into the licence
// line, centred under the title by blanks.
void PlaceLicence(std::vector<std::string>* lines);

// Replaces what stands between line 20 and the marker line by
// `description` and one empty line.
void PlaceDescription(const std::string& description,
                      std::vector<std::string>* lines);

// The help text the information dialog shows for the new-base dialog,
// UTF-8.
const std::vector<std::string>& NewBaseHelpText();

}  // namespace spravka

#endif  // SPRAVKA_APP_INFORM_TEXT_H_
