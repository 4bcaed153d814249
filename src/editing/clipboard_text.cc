// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/clipboard_text.h"

#include "editing/record_editor.h"
#include "storage/record_key.h"

namespace spravka {
namespace {

constexpr char kTab = '\t';
constexpr char kCr = '\r';
constexpr char kLf = '\n';

bool IsLineEnd(char c) { return c == kCr || c == kLf; }

}  // namespace

std::string RowCopyText(const EditGrid& grid, int field_count) {
  const int row = grid.Row();
  if (row <= 0) return {};
  std::string text;
  for (int k = 1; k <= field_count; ++k) {
    text += ' ';
    text += grid.Cell(k, row);
  }
  return text;
}

std::string GridCopyText(const EditGrid& grid, int field_count) {
  std::string text;
  for (int row = 0; row < grid.RowCount(); ++row) {
    for (int k = 1; k <= field_count; ++k) {
      text += grid.Cell(k, row);
      text += kTab;
    }
    text += kCr;
  }
  return text;
}

std::optional<size_t> PasteRecords(RecordStore& store, TableId table,
                                   std::string_view text) {
  std::optional<uint32_t> next = NextRecordNumber(store.table(table));
  if (!next) return std::nullopt;
  uint32_t number = *next;
  const int n = store.FieldCount(table);
  size_t appended = 0;
  std::string record;  // the fields of the line, tags 2..n before theirs
  int field = 1;
  bool skipping = false;  // past the table's last field, up to the line end
  // The text ends with a line end of its own, so its last line counts.
  const auto end_line = [&] {
    if (record.size() > kMaxRecordText) record.resize(kMaxRecordText);
    if (!record.empty() && number <= kMaxKeyedRecordNumber) {
      for (int tag = 2; tag <= n; ++tag) {
        if (record.find(static_cast<char>(tag)) == std::string::npos) {
          record.push_back(static_cast<char>(tag));
        }
      }
      const std::string value = "\x01" + record + static_cast<char>(kRecordEnd);
      store.SetChange(table, number, value);
      store.AppendRecord(table, number, value);
      ++number;
      ++appended;
    }
    record.clear();
    field = 1;
    skipping = false;
  };
  for (const char c : text) {
    if (IsLineEnd(c)) {
      end_line();
    } else if (skipping) {
      continue;
    } else if (c == kTab) {
      ++field;
      if (field <= n) {
        record.push_back(static_cast<char>(field));
      } else {
        skipping = true;
      }
    } else if (static_cast<unsigned char>(c) >= 0x20) {
      record.push_back(c);
    }
  }
  end_line();
  return appended;
}

}  // namespace spravka
