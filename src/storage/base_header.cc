// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/base_header.h"

#include <algorithm>

#include "storage/byte_order.h"
#include "storage/keystream.h"

namespace spravka {
namespace {

// Offsets inside the header.
constexpr size_t kTitleAt = 1;
constexpr size_t kCaptionAt = 32;
constexpr size_t kNumberLengthAt = 84;
constexpr size_t kHomeFieldCountAt = 88;
constexpr size_t kOrgFieldCountAt = 92;
constexpr size_t kTableGrowthAt = 96;
constexpr size_t kHomeFieldsAt = 100;
constexpr size_t kOrgFieldsAt = 101;
constexpr size_t kHomeEditPlacesAt = 104;
constexpr size_t kOrgEditPlacesAt = 188;
// Grid column 1's width; column c's is 4 * (c - 1) bytes further (the
// hidden column 0's stands 4 bytes before).
constexpr size_t kHomeColWidthsAt = 288;
constexpr size_t kOrgColWidthsAt = 320;
constexpr size_t kOriginTagAt = 352;
constexpr size_t kDescriptionAt = 383;
constexpr size_t kCheckTagAt = 734;

std::string ReadCounted(const HeaderBytes& b, size_t at, size_t capacity) {
  const size_t length = std::min<size_t>(b[at], capacity);
  return std::string(reinterpret_cast<const char*>(&b[at + 1]), length);
}

void WriteCounted(HeaderBytes& b, size_t at, size_t capacity,
                  const std::string& text) {
  if (ReadCounted(b, at, capacity) == text) return;  // as read
  const size_t length = std::min(text.size(), capacity);
  b[at] = static_cast<uint8_t>(length);
  std::copy_n(text.begin(), length, &b[at + 1]);
}

template <size_t N>
void ReadPlaces(const HeaderBytes& b, size_t at,
                std::array<EditPlace, N>& places) {
  for (size_t k = 0; k < N; ++k) {
    const uint8_t* p = &b[at + 12 * k];
    places[k] = {ReadInt32(p), ReadInt32(p + 4), ReadInt32(p + 8)};
  }
}

template <size_t N>
void WritePlaces(HeaderBytes& b, size_t at,
                 const std::array<EditPlace, N>& places) {
  for (size_t k = 0; k < N; ++k) {
    uint8_t* p = &b[at + 12 * k];
    WriteInt32(p, places[k].label_left);
    WriteInt32(p + 4, places[k].edit_left);
    WriteInt32(p + 8, places[k].edit_width);
  }
}

}  // namespace

BaseHeader BaseHeader::Unpack(const HeaderBytes& b) {
  BaseHeader h;
  h.raw = b;
  h.FormatTag = b[0];
  h.Title = ReadCounted(b, kTitleAt, kTitleCapacity);
  h.Caption = ReadCounted(b, kCaptionAt, kCaptionCapacity);
  h.NumberLength = ReadInt32(&b[kNumberLengthAt]);
  h.HomeFieldCount = ReadInt32(&b[kHomeFieldCountAt]);
  h.OrgFieldCount = ReadInt32(&b[kOrgFieldCountAt]);
  h.TableGrowth = ReadInt32(&b[kTableGrowthAt]);
  h.HomeFields = b[kHomeFieldsAt];
  h.OrgFields = static_cast<uint16_t>(b[kOrgFieldsAt] | b[kOrgFieldsAt + 1] << 8);
  ReadPlaces(b, kHomeEditPlacesAt, h.HomeEditPlaces);
  ReadPlaces(b, kOrgEditPlacesAt, h.OrgEditPlaces);
  for (int c = 0; c < kHomeKinds; ++c) {
    h.HomeColWidths[c] = ReadInt32(&b[kHomeColWidthsAt + 4 * c]);
  }
  for (int c = 0; c < kOrgKinds; ++c) {
    h.OrgColWidths[c] = ReadInt32(&b[kOrgColWidthsAt + 4 * c]);
  }
  h.OriginTag = ReadCounted(b, kOriginTagAt, kOriginTagCapacity);
  h.Description = ReadCounted(b, kDescriptionAt, kDescriptionCapacity);
  h.CheckTag = b[kCheckTagAt];
  return h;
}

HeaderBytes BaseHeader::Pack() const {
  HeaderBytes b = raw;
  b[0] = FormatTag;
  WriteCounted(b, kTitleAt, kTitleCapacity, Title);
  WriteCounted(b, kCaptionAt, kCaptionCapacity, Caption);
  WriteInt32(&b[kNumberLengthAt], NumberLength);
  WriteInt32(&b[kHomeFieldCountAt], HomeFieldCount);
  WriteInt32(&b[kOrgFieldCountAt], OrgFieldCount);
  WriteInt32(&b[kTableGrowthAt], TableGrowth);
  b[kHomeFieldsAt] = HomeFields;
  b[kOrgFieldsAt] = static_cast<uint8_t>(OrgFields);
  b[kOrgFieldsAt + 1] = static_cast<uint8_t>(OrgFields >> 8);
  WritePlaces(b, kHomeEditPlacesAt, HomeEditPlaces);
  WritePlaces(b, kOrgEditPlacesAt, OrgEditPlaces);
  for (int c = 0; c < kHomeKinds; ++c) {
    WriteInt32(&b[kHomeColWidthsAt + 4 * c], HomeColWidths[c]);
  }
  for (int c = 0; c < kOrgKinds; ++c) {
    WriteInt32(&b[kOrgColWidthsAt + 4 * c], OrgColWidths[c]);
  }
  WriteCounted(b, kOriginTagAt, kOriginTagCapacity, OriginTag);
  WriteCounted(b, kDescriptionAt, kDescriptionCapacity, Description);
  b[kCheckTagAt] = CheckTag;
  return b;
}

BaseHeader BaseHeader::FromFile(const HeaderBytes& scrambled) {
  HeaderBytes plain = scrambled;
  ScrambleHeader(plain.data());
  return Unpack(plain);
}

HeaderBytes BaseHeader::ToFile() const {
  HeaderBytes bytes = Pack();
  ScrambleHeader(bytes.data());
  return bytes;
}

void BaseHeader::SetColumnWidths(const std::array<int32_t, kHomeKinds>& home,
                                 const std::array<int32_t, kOrgKinds>& org) {
  const int home_columns = std::clamp(HomeFieldCount, 0, kHomeKinds);
  const int org_columns = std::clamp(OrgFieldCount, 0, kOrgKinds);
  std::copy_n(home.begin(), home_columns, HomeColWidths.begin());
  std::copy_n(org.begin(), org_columns, OrgColWidths.begin());
}

Status CheckHeader(const BaseHeader& header) {
  if (!header.TagsAgree()) return Status::Damaged(StatusCode::kDamagedHeader);
  if (header.FormatTag != kFormatLetter) {
    return Status::Damaged(StatusCode::kUnsupportedFormat);
  }
  if (!header.FieldCountsValid()) {
    return Status::Damaged(StatusCode::kDamagedHeader);
  }
  return Status::Ok();
}

bool BaseHeader::FieldCountsValid() const {
  return HomeFieldCount >= 1 && HomeFieldCount <= kHomeKinds &&
         OrgFieldCount >= 1 && OrgFieldCount <= kOrgKinds;
}

}  // namespace spravka
