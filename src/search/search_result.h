// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_SEARCH_RESULT_H_
#define SPRAVKA_SEARCH_SEARCH_RESULT_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "storage/record_table.h"

namespace spravka {

// The most records a search shows.
constexpr size_t kSearchCap = 1000;

// One shown record: its position in the working table and a copy of its
// text (tag 1 through 0x1F) as it was when the search ran.
struct ResultRow {
  size_t position = 0;
  std::string text;
  std::string_view Field(int column) const { return FieldOf(text, column); }
};

// What a grid shows after a search: rows 1..k in table order, and the
// ". . . . ." marker row when more than kSearchCap records matched.
struct SearchResult {
  std::vector<ResultRow> rows;
  bool capped = false;  // a marker row follows the rows
  // The search as typed found nothing; these are the records it finds when
  // each word may hold a slip.
  bool similar = false;
  size_t count() const { return rows.size(); }  // the result count
};

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_SEARCH_RESULT_H_
