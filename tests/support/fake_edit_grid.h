// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_TESTS_SUPPORT_FAKE_EDIT_GRID_H_
#define SPRAVKA_TESTS_SUPPORT_FAKE_EDIT_GRID_H_

#include <string>
#include <string_view>
#include <vector>

#include "editing/edit_grid.h"
#include "storage/record_key.h"
#include "storage/record_store.h"

namespace spravka::testing {

// A string grid as the window's grids behave: rows of cells, row 0 the
// captions, a current cell whose selection remembers its text.
class FakeEditGrid : public EditGrid {
 public:
  explicit FakeEditGrid(int field_count)
      : rows(1, std::vector<std::string>(field_count + 1)) {
    for (int c = 1; c <= field_count; ++c)
      rows[0][c] = "Caption" + std::to_string(c);
  }

  // Shows every record of `table`, as a search that matched them all
  // would; `capped` adds the ". . . . ." row.
  void ShowAll(const Table& table, int field_count, bool capped = false) {
    rows.resize(1);
    for (size_t p = 1; p < table.used; p += table.LengthAt(p)) {
      std::vector<std::string> row(field_count + 1);
      row[0] = RecordKey(static_cast<int64_t>(p));
      for (int c = 1; c <= field_count; ++c)
        row[c] = std::string(FieldOf(table.TextAt(p), c));
      rows.push_back(row);
    }
    if (capped) rows.emplace_back(field_count + 1, ". . . . .");
    visible = rows.size() > 1;
    SetCurrent(1, rows.size() > 1 ? 1 : 0);
  }

  int RowCount() const override { return static_cast<int>(rows.size()); }
  std::string Cell(int column, int row) const override {
    return rows.at(row).at(column);
  }
  void SetCell(int column, int row, std::string_view text) override {
    rows.at(row).at(column) = std::string(text);
  }
  int Row() const override { return row_; }
  int Col() const override { return col_; }
  void SetCurrent(int column, int row) override {
    if (column == col_ && row == row_) return;  // no selection change
    col_ = column;
    row_ = row;
    RememberCurrentCell();
  }
  bool IsVisible() const override { return visible; }
  void AddRow() override { rows.emplace_back(rows[0].size()); }
  void ShowOneRow() override {
    rows.resize(1);
    rows.emplace_back(rows[0].size());
    visible = true;
  }
  void CloseEditor() override { editor_open = false; }
  void TakeFocus() override { focused = true; }
  std::string CellUndo() const override { return undo_; }
  void RememberCurrentCell() override {
    undo_ = row_ < RowCount() ? rows[row_][col_] : std::string();
  }

  // The user types a cell's new text, as the cell editor reports it.
  std::vector<std::vector<std::string>> rows;
  bool visible = false;
  bool editor_open = false;
  bool focused = false;

 private:
  int row_ = 0;
  int col_ = 1;
  std::string undo_;
};

}  // namespace spravka::testing

#endif  // SPRAVKA_TESTS_SUPPORT_FAKE_EDIT_GRID_H_
