// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/rules/new_base_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace spravka {
namespace {

template <size_t N>
std::vector<int32_t> Widths(const std::array<int32_t, N>& slots) {
  std::vector<int32_t> used;
  for (int32_t w : slots) {
    if (w != 0) used.push_back(w);
  }
  return used;
}

TEST(NewBaseLayoutTest, AllKindsKeepDefaultPlacesAndScaleWidths) {
  const NewBaseLayout layout = LayOutNewBase(kAllHomeFields, kAllOrgFields);
  for (int k = 0; k < kHomeKinds; ++k) {
    const DefaultKindPlace& d = kDefaultHomePlaces[k];
    EXPECT_EQ(layout.HomeEditPlaces[k],
              (EditPlace{d.label_left, d.edit_left, d.edit_width}))
        << "kind " << k;
  }
  EXPECT_EQ(Widths(layout.HomeColWidths),
            (std::vector<int32_t>{44, 222, 142, 41, 39, 39, 50}));
  EXPECT_EQ(Widths(layout.OrgColWidths),
            (std::vector<int32_t>{50, 166, 123, 102, 28, 28, 28, 50}));
  // Building and office are columns 6 and 7 without search edits.
  EXPECT_EQ(layout.OrgEditPlaces[5], (EditPlace{}));
  EXPECT_EQ(layout.OrgEditPlaces[6], (EditPlace{}));
  EXPECT_EQ(layout.OrgEditPlaces[7], (EditPlace{455, 474, 50}));
}

TEST(NewBaseLayoutTest, WithoutStreetTheSubscriberEditTakesAllTheRoom) {
  const uint8_t home = kAllHomeFields & ~(1 << 2);
  const NewBaseLayout layout = LayOutNewBase(home, kAllOrgFields);
  EXPECT_EQ(layout.HomeEditPlaces[1], (EditPlace{80, 110, 150}));
  EXPECT_EQ(layout.HomeEditPlaces[2], (EditPlace{}));
  EXPECT_EQ(layout.HomeEditPlaces[3], (EditPlace{270, 294, 32}));
  EXPECT_EQ(layout.HomeEditPlaces[4], (EditPlace{334, 364, 32}));
  EXPECT_EQ(layout.HomeEditPlaces[5], (EditPlace{405, 422, 32}));
  EXPECT_EQ(layout.HomeEditPlaces[6], (EditPlace{464, 482, 43}));
  EXPECT_EQ(layout.HomeColWidths,
            (std::array<int32_t, kHomeKinds>{58, 295, 54, 51, 51, 66, 0}));
}

TEST(NewBaseLayoutTest, AnExactHalfGoesToTheEvenNeighbour) {
  // Without house and flat the widths add up to 500: the district's
  // 50 * 575 / 500 is exactly 57.5, which rounds to 58, not 57.
  const uint8_t home = kAllHomeFields & ~(1 << 3) & ~(1 << 5);
  EXPECT_EQ(LayOutNewBase(home, kAllOrgFields).HomeColWidths,
            (std::array<int32_t, kHomeKinds>{51, 258, 164, 45, 58, 0, 0}));
}

TEST(NewBaseLayoutTest, WithoutHouseTheStreetTakesItsPartAndMoves) {
  const uint8_t home = kAllHomeFields & ~(1 << 3);
  const NewBaseLayout layout = LayOutNewBase(home, kAllOrgFields);
  EXPECT_EQ(layout.HomeEditPlaces[1], (EditPlace{80, 110, 101}));
  EXPECT_EQ(layout.HomeEditPlaces[2], (EditPlace{221, 237, 86}));
  EXPECT_EQ(layout.HomeEditPlaces[3], (EditPlace{}));
  EXPECT_EQ(layout.HomeEditPlaces[4], (EditPlace{334, 364, 32}));
  EXPECT_EQ(layout.HomeEditPlaces[5], (EditPlace{405, 422, 32}));
  EXPECT_EQ(layout.HomeEditPlaces[6], (EditPlace{464, 482, 43}));
}

TEST(NewBaseLayoutTest, OrganisationBuildingAndOfficeAreColumnsWithoutEdits) {
  // Number, organisation, building and office: the last two become columns 3
  // and 4 but stand nowhere on the panel.
  const uint16_t org = 0b0110'0011;
  const NewBaseLayout layout = LayOutNewBase(kAllHomeFields, org);
  EXPECT_EQ(layout.OrgEditPlaces[5], (EditPlace{}));
  EXPECT_EQ(layout.OrgEditPlaces[6], (EditPlace{}));
  // Department (191) up to street, street up to house, house up to district,
  // district up to the end marker: 106 + 94 + 64 + 70. With no department
  // edit all of it goes to the organisation edit.
  EXPECT_EQ(layout.OrgEditPlaces[1], (EditPlace{80, 107, 75 + 334}));
  EXPECT_EQ(layout.OrgEditPlaces[2], (EditPlace{}));
  // 54 + 178 + 30 + 30 = 292 scaled to 575.
  EXPECT_EQ(layout.OrgColWidths,
            (std::array<int32_t, kOrgKinds>{106, 351, 59, 59, 0, 0, 0, 0}));
}

TEST(NewBaseLayoutTest, OrganisationFreedRoomIsSplitInHalves) {
  // Without street (297 up to 391): 47 to the department, 47 to the
  // organisation; house and district keep their places.
  const uint16_t org = kAllOrgFields & ~(1 << 3);
  const NewBaseLayout layout = LayOutNewBase(kAllHomeFields, org);
  EXPECT_EQ(layout.OrgEditPlaces[1], (EditPlace{80, 107, 122}));
  EXPECT_EQ(layout.OrgEditPlaces[2], (EditPlace{238, 269, 114}));
  EXPECT_EQ(layout.OrgEditPlaces[4], (EditPlace{391, 414, 33}));
  EXPECT_EQ(layout.OrgEditPlaces[7], (EditPlace{455, 474, 50}));
}

TEST(NewBaseLayoutTest, ApplySetsBitsAndCounts) {
  BaseHeader header;
  ApplyNewBaseLayout(0b0000'0111, 0b1000'0011, &header);
  EXPECT_EQ(header.HomeFields, 0b0000'0111);
  EXPECT_EQ(header.OrgFields, 0b1000'0011);
  EXPECT_EQ(header.HomeFieldCount, 3);
  EXPECT_EQ(header.OrgFieldCount, 3);
  EXPECT_EQ(header.HomeColWidths,
            LayOutNewBase(0b0000'0111, 0b1000'0011).HomeColWidths);
}

}  // namespace
}  // namespace spravka
