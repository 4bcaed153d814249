// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/tsv_table.h"

#include <gtest/gtest.h>

#include <string>

#include "storage/cp1251.h"

namespace spravka::cli {
namespace {

std::string Cp(const std::string& utf8) { return *Utf8ToCp1251(utf8); }

TEST(TsvTableTest, LinesBecomeSectionRecords) {
  struct Case {
    const char* name;
    std::string tsv;
    std::string text;  // UTF-8; \2 \3 are the field tags
    size_t records;
  };
  const Case cases[] = {
      {"full line", "1\tИванов\tЛенина\n", "1\2Иванов\3Ленина\x1F", 1},
      {"missing fields become empty", "1\n2\tБ\n",
       "1\2\3\x1F"
       "2\2Б\3\x1F",
       2},
      {"empty fields stay", "\t\t\n", "\2\3\x1F", 1},
      {"no line end at the end", "1\tА\tБ", "1\2А\3Б\x1F", 1},
      {"CRLF, BOM and blank lines",
       "\xEF\xBB\xBF"
       "1\r\n\r\n\n2\r\n",
       "1\2\3\x1F"
       "2\2\3\x1F",
       2},
      {"nothing", "", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TsvTable table;
    std::string error;
    ASSERT_TRUE(ReadTsvTable(c.tsv, "t.tsv", 3, &table, &error)) << error;
    EXPECT_EQ(table.section_text, Cp(c.text));
    EXPECT_EQ(table.records, c.records);
  }
}

TEST(TsvTableTest, RefusesBadLinesNamingFileAndLine) {
  struct Case {
    std::string tsv;
    std::string error;
  };
  const Case cases[] = {
      {"1\n2\t\t\t\n", "h.tsv:2: полей 4, а в таблице 3"},
      {"1\n\n2\x01x\n", "h.tsv:3: управляющий знак 0x01 в поле 1"},
      {"1\t\x7F\n", "h.tsv:1: управляющий знак 0x7F в поле 2"},
      {"1\tа\xC2\x98\n", "h.tsv:1: управляющий знак U+0098 в поле 2"},
      {"1\t\t中\n",
       "h.tsv:1: знак «中» нельзя записать в Windows-1251 (поле 3)"},
      {"ok\n1\t\xD0\n", "h.tsv:2: текст не в кодировке UTF-8 (поле 2)"},
      // Bytes that look like a sequence but are none: a surrogate, an
      // overlong form, beyond U+10FFFF. The message never quotes them.
      {"1\t\xED\xA0\x80\n", "h.tsv:1: текст не в кодировке UTF-8 (поле 2)"},
      {"1\t\xE0\x80\x80\n", "h.tsv:1: текст не в кодировке UTF-8 (поле 2)"},
      {"1\t\xF4\x90\x80\x80\n", "h.tsv:1: текст не в кодировке UTF-8 (поле 2)"},
      {"1\t\xF7\xBF\xBF\xBF\n", "h.tsv:1: текст не в кодировке UTF-8 (поле 2)"},
      {"1\t\xF0\x9F\x98\x80\n",
       "h.tsv:1: знак «\xF0\x9F\x98\x80» нельзя записать в Windows-1251 (поле "
       "2)"},
      {"1\t" + std::string(65535, 'x') + "\n",
       "h.tsv:1: запись длиннее 65535 байт"},
  };
  for (const Case& c : cases) {
    TsvTable table;
    std::string error;
    EXPECT_FALSE(ReadTsvTable(c.tsv, "h.tsv", 3, &table, &error));
    EXPECT_EQ(error, c.error);
  }
}

TEST(TsvTableTest, LongestRecordThatFitsIsTaken) {
  // Head 5, tag 1, the text, two more tags, 0x1F: 65535 in all.
  const std::string value(65535 - 5 - 1 - 2 - 1, 'x');
  TsvTable table;
  std::string error;
  ASSERT_TRUE(ReadTsvTable(value, "h.tsv", 3, &table, &error)) << error;
  EXPECT_EQ(table.records, 1u);
}

}  // namespace
}  // namespace spravka::cli
