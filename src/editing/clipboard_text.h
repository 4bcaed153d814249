// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_EDITING_CLIPBOARD_TEXT_H_
#define SPRAVKA_EDITING_CLIPBOARD_TEXT_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "editing/edit_grid.h"
#include "storage/record_store.h"

namespace spravka {

// The three plain-text forms records take on the clipboard (Windows-1251).

// Copying a row: the fields of the current row, each after one blank, on one
// line without a line end. Empty when no record row is current.
std::string RowCopyText(const EditGrid& grid, int field_count);

// Copying the result: every row of the grid, the captions first and a
// ". . . . ." row as it stands: each field followed by a tab, each line by
// a CR.
std::string GridCopyText(const EditGrid& grid, int field_count);

// Pasting: appends a record for every line of `text` that holds
// anything (fields separated by tabs, fields beyond the table's dropped,
// missing ones empty, a line cut to the room of a record), numbered on from
// `NextRecordNumber` and entered in the change list as added records. A CR
// and an LF each end a line, so text with CR LF, LF or CR line ends pastes
// alike; other control bytes are dropped. The number of records appended,
// or none when the table does not end with a whole record (nothing is
// changed then).
std::optional<size_t> PasteRecords(RecordStore& store, TableId table,
                                   std::string_view text);

}  // namespace spravka

#endif  // SPRAVKA_EDITING_CLIPBOARD_TEXT_H_
