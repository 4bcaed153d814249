// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/table_scan.h"

#include <string>
#include <vector>

#include "search/record_scanner.h"
#include "search/slip_match.h"

namespace spravka {

SearchResult ScanTable(const Table& table, std::string_view pattern,
                       bool universal, size_t cap) {
  return ScanTable(table, pattern, MatchOptions{.universal = universal}, cap);
}

SearchResult ScanTable(const Table& table, std::string_view pattern,
                       const MatchOptions& options, size_t cap) {
  RecordScanner scanner{std::string(pattern), options};
  scanner.Start();
  std::vector<size_t> positions;
  const size_t limit = cap == kNoCap ? kNoCap : cap + 1;
  while (!scanner.Step(table, kNoCap / 2, limit, &positions)) {
  }
  SearchResult result;
  FillResult(table, positions, cap, &result);
  return result;
}

SearchResult SearchTable(const Table& table, std::string_view pattern,
                         bool universal, const SearchSettings& settings,
                         size_t cap) {
  MatchOptions options{.universal = universal, .yo = settings.yo};
  SearchResult result = ScanTable(table, pattern, options, cap);
  if (result.count() > 0 || !settings.similar ||
      !PatternMaySlip(pattern, universal)) {
    return result;
  }
  options.slip = true;
  result = ScanTable(table, pattern, options, cap);
  result.similar = result.count() > 0;
  return result;
}

void FillResult(const Table& table, const std::vector<size_t>& positions,
                size_t cap, SearchResult* result) {
  const size_t shown = std::min(positions.size(), cap);
  result->rows.clear();
  result->rows.reserve(shown);
  for (size_t i = 0; i < shown; ++i) {
    result->rows.push_back(
        ResultRow{positions[i], std::string(table.TextAt(positions[i]))});
  }
  result->capped = positions.size() > cap;
}

}  // namespace spravka
