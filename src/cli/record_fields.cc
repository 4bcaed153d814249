// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/record_fields.h"

#include "storage/record_table.h"

namespace spravka::cli {

void AppendRecordFields(std::string_view text, int field_count,
                        std::string* out) {
  int column = 0;     // the field being written; 0 before tag 1
  bool keep = false;  // inside a field that is written out
  for (const char ch : text) {
    const auto byte = static_cast<uint8_t>(ch);
    if (byte == kRecordEnd) break;
    if (byte >= 1 && byte <= 8) {
      // Tags only ever go up; one out of order starts nothing new.
      keep = byte > column && byte <= field_count;
      if (keep) {
        out->append(byte - (column == 0 ? 1 : column), '\t');
        column = byte;
      }
      continue;
    }
    if (keep) out->push_back(ch);
  }
  if (column == 0) column = 1;
  if (field_count > column) out->append(field_count - column, '\t');
}

}  // namespace spravka::cli
