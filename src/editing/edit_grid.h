// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_EDITING_EDIT_GRID_H_
#define SPRAVKA_EDITING_EDIT_GRID_H_

#include <string>
#include <string_view>

namespace spravka {

// A result grid as the editing commands see it, in the terms of a string
// grid: row 0 holds the column captions, rows 1..RowCount()-1 the shown
// records (and possibly the ". . . . ." row of a cut result), column 0 the
// record's position in its working table as `RecordKey` text, columns 1..n
// its fields. Texts are Windows-1251. The window implements it over its
// grids; tests use a fake.
class EditGrid {
 public:
  virtual ~EditGrid() = default;

  virtual int RowCount() const = 0;  // the caption row included
  virtual std::string Cell(int column, int row) const = 0;
  virtual void SetCell(int column, int row, std::string_view text) = 0;

  // The current cell; row 0 when no record row is current.
  virtual int Row() const = 0;
  virtual int Col() const = 0;
  // Makes a cell current as a click would (the grid's own selection
  // handling runs).
  virtual void SetCurrent(int column, int row) = 0;

  virtual bool IsVisible() const = 0;
  // Adds an empty row at the end of a visible grid.
  virtual void AddRow() = 0;
  // Shows a hidden grid with one empty record row.
  virtual void ShowOneRow() = 0;

  virtual void CloseEditor() = 0;
  virtual void TakeFocus() = 0;

  // The undo text: the text of the current cell when it
  // became current, which Esc puts back.
  virtual std::string CellUndo() const = 0;
  virtual void RememberCurrentCell() = 0;
};

}  // namespace spravka

#endif  // SPRAVKA_EDITING_EDIT_GRID_H_
