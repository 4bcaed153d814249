// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_COLUMN_MAPS_H_
#define SPRAVKA_STORAGE_COLUMN_MAPS_H_

#include <array>
#include <cstdint>

#include "storage/base_header.h"

namespace spravka {

// Derived from a header on every load. Index 0 of the column-to-field maps
// is unused (columns are 1-based).
struct ColumnMaps {
  // Field kind -> column (= tag) when the kind is present and has a search
  // edit (label left > 0), else 0.
  std::array<uint8_t, kHomeKinds> HomeFieldColumn{};
  std::array<uint8_t, kOrgKinds> OrgFieldColumn{};
  // Column 1..n -> field kind.
  std::array<uint8_t, kHomeKinds + 1> HomeColumnField{};
  std::array<uint8_t, kOrgKinds + 1> OrgColumnField{};

  static ColumnMaps FromHeader(const BaseHeader& header);
};

inline ColumnMaps ColumnMaps::FromHeader(const BaseHeader& h) {
  ColumnMaps m;
  int c = 1;
  for (int k = 0; k < kHomeKinds; ++k) {
    if (!(h.HomeFields >> k & 1)) continue;
    if (h.HomeEditPlaces[k].label_left > 0) m.HomeFieldColumn[k] = c;
    m.HomeColumnField[c++] = static_cast<uint8_t>(k);
  }
  c = 1;
  for (int k = 0; k < kOrgKinds; ++k) {
    if (!(h.OrgFields >> k & 1)) continue;
    if (h.OrgEditPlaces[k].label_left > 0) m.OrgFieldColumn[k] = c;
    m.OrgColumnField[c++] = static_cast<uint8_t>(k);
  }
  return m;
}

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_COLUMN_MAPS_H_
