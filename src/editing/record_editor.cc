// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/record_editor.h"

#include <algorithm>

#include "storage/cp1251.h"
#include "storage/record_key.h"

namespace spravka {
namespace {

// Bytes a record may carry behind its terminator that an edit drops.
constexpr size_t kMaxTrailingBytes = 100;
// A longer run of zeros is no number of any base.
constexpr int kMaxNumberLength = 64;

// The position a grid row shows, when a record stands there.
std::optional<size_t> RecordPosition(const Table& table, const EditGrid& grid,
                                     int row) {
  const int64_t p = KeyToNumber(grid.Cell(0, row));
  if (p < 1 || !table.HoldsRecordAt(static_cast<size_t>(p))) {
    return std::nullopt;
  }
  return static_cast<size_t>(p);
}

// Control bytes would end a field or the record: they become blanks.
std::string FieldValue(std::string_view value) {
  std::string field(value);
  for (char& c : field) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return field;
}

// Rows showing records behind `p` follow their records' move.
void ShiftPositionsBehind(EditGrid& grid, size_t p, int64_t delta) {
  for (int row = 0; row < grid.RowCount(); ++row) {
    const int64_t position = KeyToNumber(grid.Cell(0, row));
    if (position > static_cast<int64_t>(p)) {
      grid.SetCell(0, row, RecordKey(position + delta));
    }
  }
}

}  // namespace

bool ApplyCellEdit(RecordStore& store, TableId table, EditGrid& grid,
                   int column, int row, std::string_view value) {
  const Table& t = store.table(table);
  const std::optional<size_t> p = RecordPosition(t, grid, row);
  const int n = store.FieldCount(table);
  if (!p || column < 1 || column > n) return false;
  std::string text(t.TextAt(*p));
  const size_t old_size = text.size();
  const size_t end = text.find(static_cast<char>(kRecordEnd));
  if (end == std::string::npos) return false;
  text.erase(end + 1, kMaxTrailingBytes);
  const size_t start = text.find(static_cast<char>(column));
  const size_t stop = column == n ? text.find(static_cast<char>(kRecordEnd))
                                  : text.find(static_cast<char>(column + 1));
  if (start == std::string::npos || stop == std::string::npos ||
      stop <= start) {
    return false;
  }
  text.erase(start + 1, stop - start - 1);
  const size_t room =
      text.size() < kMaxRecordText ? kMaxRecordText - text.size() : 0;
  text.insert(start + 1, FieldValue(value.substr(0, room)));

  const uint32_t number = t.NumberAt(*p);
  store.ReplaceRecordText(table, *p, text);
  const int64_t delta =
      static_cast<int64_t>(text.size()) - static_cast<int64_t>(old_size);
  if (delta != 0) ShiftPositionsBehind(grid, *p, delta);
  store.SetChange(table, number, text);
  return true;
}

bool RestoreCurrentCell(RecordStore& store, TableId table, EditGrid& grid) {
  const std::string undo = grid.CellUndo();
  const int column = grid.Col();
  const int row = grid.Row();
  grid.SetCell(column, row, undo);
  return ApplyCellEdit(store, table, grid, column, row, undo);
}

std::optional<uint32_t> NextRecordNumber(const Table& table) {
  const size_t used = table.used;
  if (used < 1) return 1;
  if (*table.at(used) != kRecordEnd) return std::nullopt;
  // Tag 1 of the last record: the scan back never passes the lowest place
  // where that record's head can stand.
  const size_t lowest = std::max<size_t>(
      kRecordHeadSize + 1, used + kRecordHeadSize + 1 > kMaxRecordLength
                               ? used + kRecordHeadSize + 1 - kMaxRecordLength
                               : 0);
  size_t q = used;
  while (q >= lowest && *table.at(q) != 1) --q;
  if (q < lowest) return std::nullopt;
  const size_t head = q - kRecordHeadSize;
  if (head + table.LengthAt(head) - 1 != used) return std::nullopt;
  const uint32_t next = table.NumberAt(head) + 1;
  if (next > kMaxKeyedRecordNumber) return std::nullopt;
  return next;
}

bool AddRecord(RecordStore& store, TableId table, EditGrid& grid) {
  const int n = store.FieldCount(table);
  const std::string zeros(
      std::clamp(store.header.NumberLength, 0, kMaxNumberLength), '0');
  std::string text = "\x01" + zeros;
  for (int tag = 2; tag <= n; ++tag) text.push_back(static_cast<char>(tag));
  text.push_back(static_cast<char>(kRecordEnd));
  const std::optional<uint32_t> number = NextRecordNumber(store.table(table));
  if (!number) return false;

  // The editor of the cell left behind must not write into the new row.
  grid.CloseEditor();
  if (grid.IsVisible()) {
    grid.AddRow();
  } else {
    grid.ShowOneRow();
  }
  const int last = grid.RowCount() - 1;
  grid.SetCell(0, last, RecordKey(store.table(table).used + 1));
  grid.SetCell(1, last, zeros);
  for (int c = 2; c <= n; ++c) grid.SetCell(c, last, "");
  store.SetChange(table, *number, text);
  grid.SetCurrent(1, last);
  grid.TakeFocus();
  grid.RememberCurrentCell();
  store.AppendRecord(table, *number, text);
  return true;
}

std::string DeleteQuestion(const EditGrid& grid) {
  const int row = grid.Row();
  return "Удалить запись для абонента\r\nс номером: " +
         Cp1251ToUtf8(grid.Cell(1, row)) + "\r\n" +
         Cp1251ToUtf8(grid.Cell(2, row)) + " ?";
}

bool DeleteCurrentRecord(RecordStore& store, TableId table, EditGrid& grid) {
  grid.CloseEditor();
  const Table& t = store.table(table);
  const std::optional<size_t> p = RecordPosition(t, grid, grid.Row());
  if (!p) return false;
  store.SetChange(table, t.NumberAt(*p), ChangeList::kDeletion);
  store.RemoveRecord(table, *p);
  return true;
}

}  // namespace spravka
