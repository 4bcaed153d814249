// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_CREATE_BASE_H_
#define SPRAVKA_APP_CREATE_BASE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/rules/new_base_layout.h"
#include "storage/base_header.h"
#include "storage/file_system.h"
#include "storage/status.h"

namespace spravka {

// Limits of the new-base dialog's fields, in characters.
inline constexpr size_t kBaseNameLimit = 30;
inline constexpr size_t kCaptionLimit = kCaptionCapacity;
inline constexpr size_t kDescriptionLimit = kDescriptionCapacity;

// Digits of a subscriber number; a text that is no number counts as the
// least.
inline constexpr int32_t kMinNumberLength = 4;
inline constexpr int32_t kMaxNumberLength = 7;
inline constexpr int32_t kDefaultNumberLength = 6;

// A new base reserves this much room in front of each table.
inline constexpr int32_t kNewBaseTableGrowth = 10000;

// The base a blank name gives.
inline constexpr char kBlankBaseName[] = "User_Base";

// What the new-base dialog describes. Texts are Windows-1251.
struct NewBaseParams {
  std::string name;  // as typed: cut, trimmed and defaulted by NewBaseName
  int32_t number_length = kDefaultNumberLength;
  std::string caption;      // the main window's caption for this base
  std::string description;  // shown in the information dialog and as hint
  uint8_t home_fields = kAllHomeFields;  // bit k: residential kind k
  uint16_t org_fields = kAllOrgFields;   // bit k: organisation kind k
};

// The dialog's values before the user changes them: "Новый справочник",
// six digits, "Телефонный cправочник" (a Latin "c"), no description, every
// field.
NewBaseParams DefaultNewBaseParams();

// The base name a typed name gives: its first 30 characters without
// leading and trailing blanks and control characters, or "User_Base" when
// nothing is left. Windows-1251 in and out.
std::string NewBaseName(std::string_view typed_name);

// Whether a base name can name a base file in the working folder on every
// platform: no "/" or "\", not "." or "..", none of the characters Windows
// forbids in file names (control characters and < > : " | ? *), and not a
// Windows device name (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, with any
// extension, in any letter case). The error's message says why, in
// Russian: the refusal's text; none for a name that may be used. `name` is
// Windows-1251, as NewBaseName returns it.
std::optional<std::string> CheckBaseName(std::string_view name);

// The path of the base file of `name` (UTF-8) in `working_folder`.
std::string NewBasePath(const std::string& working_folder,
                        const std::string& name);

// The question asked before a base of that name (UTF-8) is replaced.
std::string ReplaceBaseQuestion(std::string_view name);

// The header of a new base: both tags "A", the program's title, the
// caption, digits, field kinds with their layout, a table growth of 10000,
// no origin tag, the description; every other byte 0.
BaseHeader NewBaseHeader(const NewBaseParams& params);

// What CreateBase did.
struct CreatedBase {
  // False when there is no template, the name was refused or the write
  // failed.
  bool created = false;
  // The base name used (UTF-8), the new current base; set once the name
  // is accepted.
  std::string name;
  // Why the name was refused (CheckBaseName); nothing was written.
  std::optional<std::string> refusal;
};

// Writes a new base into `working_folder`: the template with the header
// composed from `params`. The whole file is written beside its place and
// renamed into place, so that a failure leaves neither a half-written base
// nor a damaged one that it was to replace. Without a template (none, or
// too short to hold a header) nothing happens; a refused name writes
// nothing. The status is the write's. The caller makes the name
// the current base and adds its town entry.
Status CreateBase(const NewBaseParams& params,
                  const std::optional<std::string>& base_template,
                  const std::string& working_folder, FileSystem& fs,
                  CreatedBase* made);

}  // namespace spravka

#endif  // SPRAVKA_APP_CREATE_BASE_H_
