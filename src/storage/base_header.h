// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_BASE_HEADER_H_
#define SPRAVKA_STORAGE_BASE_HEADER_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "storage/status.h"

namespace spravka {

constexpr size_t kHeaderSize = 736;
constexpr uint8_t kFormatLetter = 65;  // "A"
constexpr int kHomeKinds = 7;          // residential field kinds 0..6
constexpr int kOrgKinds = 8;           // organisation field kinds 0..7

// Capacities of the counted strings of the header.
constexpr size_t kTitleCapacity = 30;
constexpr size_t kCaptionCapacity = 50;
constexpr size_t kOriginTagCapacity = 30;
constexpr size_t kDescriptionCapacity = 250;

// Where the search label and edit of one field kind stand on the panel.
struct EditPlace {
  int32_t label_left = 0;
  int32_t edit_left = 0;
  int32_t edit_width = 0;
  bool operator==(const EditPlace&) const = default;
};

using HeaderBytes = std::array<uint8_t, kHeaderSize>;

// The 736-byte base header, field by field. Texts are Windows-1251 bytes.
// `raw` keeps the bytes as read, so that Pack() changes only what the named
// fields say and every reserved byte and string tail survives a rewrite (a
// counted string left as read keeps even a length beyond its capacity).
struct BaseHeader {
  uint8_t FormatTag = kFormatLetter;
  std::string Title;
  std::string Caption;
  int32_t NumberLength = 6;
  int32_t HomeFieldCount = 0;
  int32_t OrgFieldCount = 0;
  int32_t TableGrowth = 0;
  uint8_t HomeFields = 0;
  uint16_t OrgFields = 0;
  std::array<EditPlace, kHomeKinds> HomeEditPlaces{};
  std::array<EditPlace, kOrgKinds> OrgEditPlaces{};
  std::array<int32_t, kHomeKinds> HomeColWidths{};  // columns 1..7
  std::array<int32_t, kOrgKinds> OrgColWidths{};    // columns 1..8
  std::string OriginTag;
  std::string Description;
  uint8_t CheckTag = kFormatLetter;

  HeaderBytes raw{};

  // From descrambled bytes.
  static BaseHeader Unpack(const HeaderBytes& plain);
  // To descrambled bytes; strings longer than their capacity are cut.
  HeaderBytes Pack() const;

  // Scrambled bytes as they stand in a file, and back.
  static BaseHeader FromFile(const HeaderBytes& scrambled);
  HeaderBytes ToFile() const;

  // The field counts index the 7 and 8 column slots, so anything outside
  // 1..7 and 1..8 makes the header unusable.
  bool FieldCountsValid() const;

  // Both tags are the same letter; otherwise the header is damaged.
  bool TagsAgree() const { return CheckTag == FormatTag; }

  // Sets the widths of the columns the field counts give (1..n of each
  // grid, at most all the slots); every other slot keeps its width.
  void SetColumnWidths(const std::array<int32_t, kHomeKinds>& home,
                       const std::array<int32_t, kOrgKinds>& org);
};

// Whether a base with this header can be loaded: kDamagedHeader when the
// tags differ or the field counts are out of range, kUnsupportedFormat when
// the format tag is not "A".
Status CheckHeader(const BaseHeader& header);

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_BASE_HEADER_H_
