// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/tsv_table.h"

#include <cstdio>
#include <optional>

#include "storage/cp1251.h"
#include "storage/record_key.h"
#include "storage/record_table.h"

namespace spravka::cli {
namespace {

// Record numbers become seven-digit keys in the change section.
constexpr size_t kMaxRecords = kMaxKeyedRecordNumber;

// Why the character at `offset` cannot go into the base. The message is
// UTF-8 itself: a character is quoted only when it is a well-formed one.
std::string DescribeBadCharacter(std::string_view line, size_t offset) {
  const size_t length = Utf8CharacterLength(line, offset);
  if (length == 0) return "текст не в кодировке UTF-8";
  return "знак «" + std::string(line.substr(offset, length)) +
         "» нельзя записать в Windows-1251";
}

// A control character: C0 except the tab, DEL, or C1 (U+0080..U+009F).
std::optional<size_t> FindControl(std::string_view line) {
  for (size_t i = 0; i < line.size(); ++i) {
    const auto b = static_cast<uint8_t>(line[i]);
    if ((b < 0x20 && b != '\t') || b == 0x7F) return i;
    if (b == 0xC2 && i + 1 < line.size()) {
      const auto next = static_cast<uint8_t>(line[i + 1]);
      if (next >= 0x80 && next <= 0x9F) return i;
    }
  }
  return std::nullopt;
}

size_t FieldNumberAt(std::string_view line, size_t offset) {
  size_t field = 1;
  for (size_t i = 0; i < offset; ++i) field += line[i] == '\t';
  return field;
}

}  // namespace

bool ReadTsvTable(std::string_view tsv, std::string_view file_name,
                  int field_count, TsvTable* table, std::string* error) {
  if (tsv.starts_with("\xEF\xBB\xBF")) tsv.remove_prefix(3);
  table->section_text.clear();
  table->section_text.reserve(tsv.size());
  table->records = 0;

  size_t line_number = 0;
  auto refuse = [&](const std::string& reason) {
    *error = std::string(file_name) + ":" + std::to_string(line_number) + ": " +
             reason;
    return false;
  };

  size_t start = 0;
  while (start < tsv.size()) {
    size_t end = tsv.find('\n', start);
    if (end == std::string_view::npos) end = tsv.size();
    std::string_view line = tsv.substr(start, end - start);
    start = end + 1;
    ++line_number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty()) continue;

    if (const std::optional<size_t> at = FindControl(line)) {
      char code[8];
      const auto b = static_cast<uint8_t>(line[*at]);
      std::snprintf(code, sizeof code, "%02X",
                    b == 0xC2 ? static_cast<uint8_t>(line[*at + 1]) : b);
      return refuse("управляющий знак " +
                    std::string(b == 0xC2 ? "U+00" : "0x") + code + " в поле " +
                    std::to_string(FieldNumberAt(line, *at)));
    }
    size_t bad_offset = 0;
    const std::optional<std::string> cp = Utf8ToCp1251(line, &bad_offset);
    if (!cp) {
      return refuse(DescribeBadCharacter(line, bad_offset) + " (поле " +
                    std::to_string(FieldNumberAt(line, bad_offset)) + ")");
    }

    size_t fields = 1;
    for (const char ch : *cp) fields += ch == '\t';
    if (fields > static_cast<size_t>(field_count)) {
      return refuse("полей " + std::to_string(fields) + ", а в таблице " +
                    std::to_string(field_count));
    }
    // In memory the record gains its head, tag 1 and the missing tags.
    const size_t record_length =
        kRecordHeadSize + 1 + cp->size() + (field_count - fields) + 1;
    if (record_length > kMaxRecordLength) {
      return refuse("запись длиннее " + std::to_string(kMaxRecordLength) +
                    " байт");
    }
    if (table->records == kMaxRecords) {
      return refuse("записей больше " + std::to_string(kMaxRecords));
    }

    int column = 1;
    for (const char ch : *cp) {
      if (ch == '\t') {
        table->section_text.push_back(static_cast<char>(++column));
      } else {
        table->section_text.push_back(ch);
      }
    }
    while (column < field_count) {
      table->section_text.push_back(static_cast<char>(++column));
    }
    table->section_text.push_back(static_cast<char>(kRecordEnd));
    ++table->records;
  }
  return true;
}

}  // namespace spravka::cli
