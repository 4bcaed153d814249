// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_CLI_RECORD_FIELDS_H_
#define SPRAVKA_CLI_RECORD_FIELDS_H_

#include <string>
#include <string_view>

namespace spravka::cli {

// Appends fields 1..`field_count` of a record text (tag 1, field 1, ...,
// 0x1F) separated by tabs, without a line end. A field whose tag is missing
// comes out empty, so every line has the same number of fields.
void AppendRecordFields(std::string_view text, int field_count,
                        std::string* out);

}  // namespace spravka::cli

#endif  // SPRAVKA_CLI_RECORD_FIELDS_H_
