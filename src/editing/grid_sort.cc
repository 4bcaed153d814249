// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/grid_sort.h"

#include <algorithm>
#include <vector>

#include "storage/record_key.h"

namespace spravka {
namespace {

constexpr int kKeyDigits = 7;
// Follows every key, so that a key that begins a longer one is compared
// against the longer one's next character, not ended before it; 0x1F
// separates the key from the row's position.
constexpr std::string_view kKeyEnd = "\xFF\xFF\xFF\x1F";

struct SortItem {
  std::string text;  // the key, kKeyEnd, the position's text
  size_t position;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The cells of a record's fields: the text between a field's tag and the
// next one (the last field ends at 0x1F); a cell whose tags are not found
// in order keeps what it shows.
void FillRow(EditGrid& grid, int row, std::string_view text, int fields,
             size_t position) {
  for (int k = 1; k <= fields; ++k) {
    const size_t start = text.find(static_cast<char>(k));
    const size_t stop = k == fields ? text.find(static_cast<char>(kRecordEnd))
                                    : text.find(static_cast<char>(k + 1));
    if (start != std::string_view::npos && stop != std::string_view::npos &&
        stop > start) {
      grid.SetCell(k, row, text.substr(start + 1, stop - start - 1));
    }
  }
  grid.SetCell(0, row, RecordKey(static_cast<int64_t>(position)));
}

}  // namespace

std::string SortKey(std::string_view cell_text) {
  std::string key = std::string(kKeyDigits, '0') + std::string(cell_text);
  const size_t digits = static_cast<size_t>(
      std::find_if_not(key.begin(), key.end(), IsDigit) - key.begin());
  key.erase(0, digits == kKeyDigits ? kKeyDigits : digits - kKeyDigits);
  return key;
}

bool SortGridByColumn(const RecordStore& store, TableId table, EditGrid& grid,
                      int column, const SortLess& less) {
  if (grid.RowCount() < 3) return false;
  grid.CloseEditor();
  const Table& t = store.table(table);
  std::vector<SortItem> items;
  for (int row = 1; row < grid.RowCount(); ++row) {
    const std::string position_text = grid.Cell(0, row);
    const int64_t position = KeyToNumber(position_text);
    if (position <= 0) continue;
    items.push_back(
        {SortKey(grid.Cell(column, row)) + std::string(kKeyEnd) + position_text,
         static_cast<size_t>(position)});
  }
  std::stable_sort(items.begin(), items.end(),
                   [&less](const SortItem& a, const SortItem& b) {
                     return less(a.text, b.text);
                   });
  const int fields = store.FieldCount(table);
  for (size_t i = 0; i < items.size(); ++i) {
    if (!t.HoldsRecordAt(items[i].position)) continue;
    FillRow(grid, static_cast<int>(i) + 1, t.TextAt(items[i].position), fields,
            items[i].position);
  }
  grid.RememberCurrentCell();
  return true;
}

}  // namespace spravka
