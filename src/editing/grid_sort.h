// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_EDITING_GRID_SORT_H_
#define SPRAVKA_EDITING_GRID_SORT_H_

#include <functional>
#include <string>
#include <string_view>

#include "editing/edit_grid.h"
#include "storage/record_store.h"

namespace spravka {

// Orders two sort items (Windows-1251): the platform's comparison of the
// user's language, letter case ignored.
using SortLess = std::function<bool(const std::string&, const std::string&)>;

// The sort key of a cell text: a leading run of digits becomes exactly
// seven digits (padded with zeros on the left, or only its last seven), so
// that 9 sorts before 10; any other text stays as it is.
std::string SortKey(std::string_view cell_text);

// `SortGridByColumn`: the rows that show records are put in ascending
// order of `column` and refilled from the working table; rows without a
// record (the ". . . . ." row) stay at the end. Needs two record rows. The
// cell editor is closed and the current cell's undo text follows the new
// contents. False when nothing was sorted.
bool SortGridByColumn(const RecordStore& store, TableId table, EditGrid& grid,
                      int column, const SortLess& less);

}  // namespace spravka

#endif  // SPRAVKA_EDITING_GRID_SORT_H_
