// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/rules/new_base_layout.h"

#include <bit>
#include <cstdint>

namespace spravka {

const std::array<DefaultKindPlace, kHomeKinds> kDefaultHomePlaces = {{
    {3, 19, 54, 44},      // number
    {80, 110, 58, 224},   // subscriber
    {178, 194, 65, 143},  // street
    {270, 294, 32, 41},   // house
    {334, 364, 32, 39},   // building
    {405, 422, 32, 39},   // flat
    {464, 482, 43, 50},   // district
}};

const std::array<DefaultKindPlace, kOrgKinds> kDefaultOrgPlaces = {{
    {3, 19, 54, 54},      // number
    {80, 107, 75, 178},   // organisation
    {191, 222, 67, 132},  // department
    {297, 315, 67, 110},  // street
    {391, 414, 33, 30},   // house
    {0, 0, 0, 30},        // building: a column without a search edit
    {0, 0, 0, 30},        // office: likewise
    {455, 474, 50, 54},   // district
}};

namespace {

// The grid is about this wide; the widths of the chosen columns are scaled
// to fill it.
constexpr int64_t kGridWidth = 575;

// Lays out one table. `part_divisor` decides how much of the room freed by
// left-out kinds goes to the third edit rather than the second.
template <size_t N>
void LayOutTable(const std::array<DefaultKindPlace, N>& defaults,
                 unsigned fields, int32_t part_divisor,
                 std::array<EditPlace, N>& places,
                 std::array<int32_t, N>& widths) {
  places = {};
  widths = {};
  int32_t shift = 0;
  int32_t total = 0;
  size_t slot = 0;
  for (size_t k = 0; k < N; ++k) {
    const DefaultKindPlace& d = defaults[k];
    if (fields >> k & 1) {
      // Ticked kinds close up to the left over the gaps seen so far.
      if (d.label_left > 0) {
        places[k] = {d.label_left - shift, d.edit_left - shift, d.edit_width};
      }
      widths[slot++] = d.column_width;
      total += d.column_width;
    } else if (d.label_left > 0) {
      // The gap runs up to the next kind that stands on the panel.
      int32_t next = kPanelEndMarker;
      for (size_t m = k + 1; m < N; ++m) {
        if (defaults[m].label_left != 0) {
          next = defaults[m].label_left;
          break;
        }
      }
      shift += next - d.label_left;
    }
  }

  if (shift > 0) {
    // The freed room goes back from the left: the second edit grows, the
    // third grows by its part and moves, everything after moves by all of it.
    const bool third_placed = places[2].label_left > 0;
    const int32_t part = third_placed ? shift / part_divisor : 0;
    const int32_t rest = shift - part;
    places[1].edit_width += rest;
    if (third_placed) {
      places[2].edit_width += part;
      places[2].label_left += rest;
      places[2].edit_left += rest;
    }
    for (size_t k = 3; k < N; ++k) {
      if (places[k].label_left > 0) {
        places[k].label_left += shift;
        places[k].edit_left += shift;
      }
    }
  }

  if (total > 0) {
    // width * 575 / total, rounded to the nearest integer with halves going
    // to the even neighbour. Exact integers: in binary floating point a true
    // half such as 50 * 575 / 500 = 57.5 can come out just below it.
    for (size_t c = 0; c < slot; ++c) {
      const int64_t scaled = int64_t{widths[c]} * kGridWidth;
      int64_t rounded = scaled / total;
      const int64_t twice_remainder = 2 * (scaled % total);
      if (twice_remainder > total ||
          (twice_remainder == total && rounded % 2 != 0)) {
        ++rounded;
      }
      widths[c] = static_cast<int32_t>(rounded);
    }
  }
}

}  // namespace

NewBaseLayout LayOutNewBase(uint8_t home_fields, uint16_t org_fields) {
  NewBaseLayout layout;
  LayOutTable(kDefaultHomePlaces, home_fields, 3, layout.HomeEditPlaces,
              layout.HomeColWidths);
  LayOutTable(kDefaultOrgPlaces, org_fields & kAllOrgFields, 2,
              layout.OrgEditPlaces, layout.OrgColWidths);
  return layout;
}

void ApplyNewBaseLayout(uint8_t home_fields, uint16_t org_fields,
                        BaseHeader* header) {
  home_fields &= kAllHomeFields;
  org_fields &= kAllOrgFields;
  const NewBaseLayout layout = LayOutNewBase(home_fields, org_fields);
  header->HomeFields = home_fields;
  header->OrgFields = org_fields;
  header->HomeFieldCount = std::popcount(home_fields);
  header->OrgFieldCount = std::popcount(org_fields);
  header->HomeEditPlaces = layout.HomeEditPlaces;
  header->HomeColWidths = layout.HomeColWidths;
  header->OrgEditPlaces = layout.OrgEditPlaces;
  header->OrgColWidths = layout.OrgColWidths;
}

}  // namespace spravka
