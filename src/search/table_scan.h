// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_TABLE_SCAN_H_
#define SPRAVKA_SEARCH_TABLE_SCAN_H_

#include <cstddef>
#include <limits>
#include <string_view>

#include "search/match_record.h"
#include "search/search_result.h"
#include "storage/record_table.h"

namespace spravka {

constexpr size_t kNoCap = std::numeric_limits<size_t>::max();

// The records of a whole table that a pattern matches, in table order, as a
// grid shows them: at most `cap` rows and the marker when more matched.
// With kNoCap every match is a row. No cache, no pausing.
SearchResult ScanTable(const Table& table, std::string_view pattern,
                       bool universal, size_t cap = kSearchCap);
SearchResult ScanTable(const Table& table, std::string_view pattern,
                       const MatchOptions& options, size_t cap = kSearchCap);

// How the searches compare typed text, as the user set it.
struct SearchSettings {
  bool yo = false;       // a typed "е" also finds "ё"
  bool similar = false;  // a search that finds nothing tries one slip a word
  bool operator==(const SearchSettings&) const = default;
};

// A search as the window runs it, without its cache: the scan of the
// pattern as typed and, when that finds nothing and `similar` is set and a
// word of the pattern may hold a slip, the scan that lets it (its result
// marked similar).
SearchResult SearchTable(const Table& table, std::string_view pattern,
                         bool universal, const SearchSettings& settings,
                         size_t cap = kSearchCap);

// Copies the shown rows of matching positions into a result: the first
// `cap` positions become rows, and a further one makes the marker row.
void FillResult(const Table& table, const std::vector<size_t>& positions,
                size_t cap, SearchResult* result);

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_TABLE_SCAN_H_
