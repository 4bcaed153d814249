// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_RULES_NEW_BASE_LAYOUT_H_
#define SPRAVKA_APP_RULES_NEW_BASE_LAYOUT_H_

#include <array>
#include <cstdint>

#include "storage/base_header.h"

namespace spravka {

// Default place of one field kind on the detailed-search panel and the
// default width of its grid column, before a new base closes up the gaps of
// the kinds it leaves out.
struct DefaultKindPlace {
  int32_t label_left;  // 0: the kind is a column without a search edit
  int32_t edit_left;
  int32_t edit_width;
  int32_t column_width;
};

// The label left of the end marker behind the last kind of either table.
constexpr int32_t kPanelEndMarker = 525;

extern const std::array<DefaultKindPlace, kHomeKinds> kDefaultHomePlaces;
extern const std::array<DefaultKindPlace, kOrgKinds> kDefaultOrgPlaces;

// The two kinds of each table that a new base always has: number and
// subscriber (residential), number and organisation.
constexpr uint8_t kFixedHomeFields = 0b11;
constexpr uint16_t kFixedOrgFields = 0b11;
constexpr uint8_t kAllHomeFields = 0x7F;
constexpr uint16_t kAllOrgFields = 0xFF;

// The search places and column widths of a new base with the given field
// kinds (bit k = kind k). Column width slots beyond the field count stay 0.
struct NewBaseLayout {
  std::array<EditPlace, kHomeKinds> HomeEditPlaces{};
  std::array<int32_t, kHomeKinds> HomeColWidths{};
  std::array<EditPlace, kOrgKinds> OrgEditPlaces{};
  std::array<int32_t, kOrgKinds> OrgColWidths{};
};

NewBaseLayout LayOutNewBase(uint8_t home_fields, uint16_t org_fields);

// Sets the field bits, field counts, places and widths of `header`.
void ApplyNewBaseLayout(uint8_t home_fields, uint16_t org_fields,
                        BaseHeader* header);

}  // namespace spravka

#endif  // SPRAVKA_APP_RULES_NEW_BASE_LAYOUT_H_
