// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_SEARCH_VIEW_H_
#define SPRAVKA_SEARCH_SEARCH_VIEW_H_

#include <string>

#include "search/search_result.h"
#include "storage/record_table.h"

namespace spravka {

// The window as the search engine sees it: the search controls, the page
// control and the grids. The window implements it; tests use a fake.
// All texts are Windows-1251 bytes.
class SearchView {
 public:
  virtual ~SearchView() = default;

  // The text of the detailed-search edit of a field kind (empty for kinds
  // the base has no edit for).
  virtual std::string EditText(TableId table, int kind) const = 0;
  // Sets an edit's text. A real change of the text is a change event: the
  // window's change handler calls SearchEngine::Run for that table (which
  // returns at once while the engine is muted). Setting the text it already
  // holds changes nothing and runs nothing.
  virtual void SetEditText(TableId table, int kind,
                           const std::string& text) = 0;
  // The universal search line.
  virtual std::string UniversalText() const = 0;

  virtual TableId ActivePage() const = 0;
  // Makes a page active without running the page-change search.
  virtual void SetActivePage(TableId page) = 0;

  // A scan of `table` starts: hide its grid, show the hourglass cursor.
  virtual void SearchStarted(TableId table) = 0;
  // The scan ended: fill the grid from `result` (shown when it has rows),
  // restore the cursor. Called after a completed or failed scan. The grid
  // owns what it shows from then on (edits change it in place); the engine
  // keeps only the count.
  virtual void SearchFinished(TableId table, const SearchResult& result) = 0;
  // After the number fallback: refresh the count label and the editing
  // state that depends on the shown rows.
  virtual void SearchSettled(TableId table) = 0;

  // Lets the window handle pending events (typing, clicks) in the middle of
  // a long scan. The engine calls it every few milliseconds of scanning.
  virtual void ProcessEvents() = 0;
};

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_SEARCH_VIEW_H_
