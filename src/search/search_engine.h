#ifndef SPRAVKA_SEARCH_SEARCH_ENGINE_H_
#define SPRAVKA_SEARCH_SEARCH_ENGINE_H_

#include <string>

#include "search/search_result.h"
#include "search/search_view.h"
#include "storage/record_store.h"

namespace spravka {

// The searches of both tables with their result caches and the restart
// protocol that lets a keystroke interrupt a running scan. Runs on the
// window's thread; the view's ProcessEvents may call back into Run().
class SearchEngine {
 public:
  SearchEngine(RecordStore* store, SearchView* view);
  ~SearchEngine();

  // `RunHomeSearch` / `RunOrgSearch`: read the controls, scan, fill the
  // grid, apply the number fallback between the tables. A request that
  // arrives while a scan runs makes that scan start over (same table) or
  // runs after it (other table).
  void Run(TableId table);
  void RunHomeSearch() { Run(TableId::kHome); }
  void RunOrgSearch() { Run(TableId::kOrg); }

  // Forgets the cached results of a table: called whenever its working
  // table changes, when a base is loaded and when the search mode changes.
  void ClearSearchCache(TableId table);
  void ClearAllCaches();

  // The store was replaced or a table changed under a suspended scan: a
  // running scan starts over on the new data. (Also noticed by itself
  // through the store's generations.)
  void StoreChanged();

  // The search state of the window.
  bool UniversalMode = false;
  bool SearchBusy = false;
  bool SearchRestart = false;
  bool SearchMuted = false;

  // The result the grid of a table shows now.
  const SearchResult& result(TableId table) const;

 private:
  struct Impl;
  Impl* impl_;
};

// Sets SearchMuted for its lifetime: programmatic edit changes run nothing.
class SearchMute {
 public:
  explicit SearchMute(SearchEngine* engine) : engine_(engine) {
    engine_->SearchMuted = true;
  }
  ~SearchMute() { engine_->SearchMuted = false; }
  SearchMute(const SearchMute&) = delete;
  SearchMute& operator=(const SearchMute&) = delete;

 private:
  SearchEngine* engine_;
};

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_SEARCH_ENGINE_H_
