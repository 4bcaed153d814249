// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/base_template.h"

#include <cstdint>

#include "storage/byte_order.h"

namespace spravka {
namespace {

constexpr int32_t kTemplateStamp = 758950572;

// Level-9 zlib stream of one placeholder record: "00000", the tags 2..8, 0x1F.
constexpr uint8_t kPlaceholderStream[] = {0x78, 0xDA, 0x33, 0x30, 0x00, 0x02, 0x26,
                                          0x66, 0x16, 0x56, 0x36, 0x76, 0x0E, 0x79,
                                          0x00, 0x0B, 0x0F, 0x01, 0x33};
// Level-9 zlib stream of "0000001" 0x1F 0x1E "0000001" 0x1F: the placeholder
// of each table deleted.
constexpr uint8_t kDeletionStream[] = {0x78, 0xDA, 0x33, 0x30, 0x00, 0x01,
                                       0x43, 0x79, 0x39, 0x03, 0x28, 0x03,
                                       0x00, 0x1B, 0x71, 0x02, 0xFF};

std::string MakeTemplate() {
  std::string out;
  AppendInt32(&out, 806);             // BasePartLength
  out.append(736, '\0');              // header slot
  AppendInt32(&out, kTemplateStamp);  // BaseStamp
  for (int table = 0; table < 2; ++table) {
    AppendInt32(&out, 13);
    AppendInt32(&out, sizeof kPlaceholderStream);
    out.append(reinterpret_cast<const char*>(kPlaceholderStream),
               sizeof kPlaceholderStream);
  }
  AppendInt32(&out, 66);  // HeaderDistance
  AppendInt32(&out, kTemplateStamp);
  AppendInt32(&out, kTemplateStamp);  // change section
  AppendInt32(&out, 806);             // size hint
  out.append(reinterpret_cast<const char*>(kDeletionStream), sizeof kDeletionStream);
  return out;
}

}  // namespace

const std::string& BaseTemplate() {
  static const std::string bytes = MakeTemplate();
  return bytes;
}

}  // namespace spravka
