// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_CLI_TSV_TABLE_H_
#define SPRAVKA_CLI_TSV_TABLE_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace spravka::cli {

// A table read from TSV: the text of its file section and its record count.
struct TsvTable {
  std::string section_text;
  size_t records = 0;
};

// Reads TSV text (UTF-8, one record a line, fields separated by tabs in
// column order) into the section text of a table with `field_count`
// columns; lines with fewer fields get empty ones. Blank lines, a leading
// byte order mark and "\r" before a line end are ignored. Refuses text that
// Windows-1251 cannot hold, control characters, and lines with more fields
// than the table has, with a message "FILE:LINE: reason".
bool ReadTsvTable(std::string_view tsv, std::string_view file_name,
                  int field_count, TsvTable* table, std::string* error);

}  // namespace spravka::cli

#endif  // SPRAVKA_CLI_TSV_TABLE_H_
