// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_TABLE_SCAN_H_
#define SPRAVKA_SEARCH_TABLE_SCAN_H_

#include <cstddef>
#include <limits>
#include <string_view>

#include "search/search_result.h"
#include "storage/record_table.h"

namespace spravka {

constexpr size_t kNoCap = std::numeric_limits<size_t>::max();

// The records of a whole table that a pattern matches, in table order, as a
// grid shows them: at most `cap` rows and the marker when more matched.
// With kNoCap every match is a row. No cache, no pausing.
SearchResult ScanTable(const Table& table, std::string_view pattern,
                       bool universal, size_t cap = kSearchCap);

// Copies the shown rows of matching positions into a result: the first
// `cap` positions become rows, and a further one makes the marker row.
void FillResult(const Table& table, const std::vector<size_t>& positions,
                size_t cap, SearchResult* result);

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_TABLE_SCAN_H_
