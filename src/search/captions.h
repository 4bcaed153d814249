// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_CAPTIONS_H_
#define SPRAVKA_SEARCH_CAPTIONS_H_

#include <array>
#include <string_view>

#include "storage/base_header.h"
#include "storage/record_table.h"

namespace spravka {

// Grid column captions by field kind, in UTF-8.
inline constexpr std::array<std::string_view, kHomeKinds> HomeCaptions = {
    "Номер", "ФИО", "улица", "дом", "корп.", "кв.", "район"};
inline constexpr std::array<std::string_view, kOrgKinds> OrgCaptions = {
    "Номер", "Организация", "подразделение", "улица",
    "дом",   "корп.",       "офис",          "район"};

// The caption of a field kind of a table; empty for a kind out of range.
inline std::string_view Caption(TableId table, int kind) {
  if (kind < 0) return {};
  if (table == TableId::kHome) {
    return kind < kHomeKinds ? HomeCaptions[kind] : std::string_view();
  }
  return kind < kOrgKinds ? OrgCaptions[kind] : std::string_view();
}

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_CAPTIONS_H_
