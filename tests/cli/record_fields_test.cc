// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/record_fields.h"

#include <gtest/gtest.h>

namespace spravka::cli {
namespace {

TEST(RecordFieldsTest, EveryLineHasAllFields) {
  struct Case {
    const char* name;
    std::string text;
    std::string fields;
  };
  const Case cases[] = {
      {"well formed", "\1a\2b\3c\x1F", "a\tb\tc"},
      {"empty values", "\1\2\3\x1F", "\t\t"},
      {"missing tags", "\1a\3c\x1F", "a\t\tc"},
      {"short record", "\1a\x1F", "a\t\t"},
      {"tag beyond the table", "\1a\2b\3c\4d\x1F", "a\tb\tc"},
      {"stops at the terminator", "\1a\2b\3c\x1F\1z", "a\tb\tc"},
  };
  for (const Case& c : cases) {
    std::string out;
    AppendRecordFields(c.text, 3, &out);
    EXPECT_EQ(out, c.fields) << c.name;
  }
}

}  // namespace
}  // namespace spravka::cli
