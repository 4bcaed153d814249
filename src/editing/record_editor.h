// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_EDITING_RECORD_EDITOR_H_
#define SPRAVKA_EDITING_RECORD_EDITOR_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editing/edit_grid.h"
#include "storage/record_store.h"

namespace spravka {

// The most bytes a record text (tag 1 through 0x1F) gets from an edit or a
// paste, so that with its head it stays within its 2-byte length.
constexpr size_t kMaxRecordText = 64000;

// Every change below is made at once in the working table of `table` and
// recorded, whole, in its change list; nothing is written to the file. A
// function returns true when it changed a record: the caller then marks the
// base modified and clears the table's search cache. Anything
// malformed (a row without a record, a record without the edited field's
// tags) makes it stop without a change.

// A cell edit: cell (column, row) of `grid` now shows `value`. The field is
// rewritten in the record of the row; the records behind it move, and the
// positions the grid shows for them follow. Control bytes in `value` become
// blanks (they would end the field or the record); a value longer than the
// record's room is cut, the cell keeps it.
bool ApplyCellEdit(RecordStore& store, TableId table, EditGrid& grid,
                   int column, int row, std::string_view value);

// Esc in the cell editor: the current cell gets back the text it had when
// it became current, and the record takes it.
bool RestoreCurrentCell(RecordStore& store, TableId table, EditGrid& grid);

// The number the next appended record of a table gets: 1 for an empty
// table, else one above the last record's. None when the table does not end
// with a whole record, or the number would not fit a seven-digit key.
std::optional<uint32_t> NextRecordNumber(const Table& table);

// Adding: appends an empty record (its number `NumberLength`
// zeros) and shows it as the last row, with its number cell current and
// the grid focused, the cell editor closed.
bool AddRecord(RecordStore& store, TableId table, EditGrid& grid);

// The question a deletion asks first (UTF-8).
std::string DeleteQuestion(const EditGrid& grid);

// Deleting after a Yes: deletes the record of the current row
// (its change entry becomes the deletion mark). The caller runs the
// table's search again.
bool DeleteCurrentRecord(RecordStore& store, TableId table, EditGrid& grid);

}  // namespace spravka

#endif  // SPRAVKA_EDITING_RECORD_EDITOR_H_
