// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_SEARCH_ENGINE_H_
#define SPRAVKA_SEARCH_SEARCH_ENGINE_H_

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "search/search_cache.h"
#include "search/search_result.h"
#include "search/search_view.h"
#include "search/table_scan.h"
#include "storage/record_store.h"

namespace spravka {

// The searches of both tables with their result caches and the restart
// protocol that lets a keystroke interrupt a running scan. Runs on the
// window's thread; the view's ProcessEvents may call back into Run().
// The engine keeps `store` for its whole life: loading another base loads
// into the same store (its generations change, which the engine notices).
class SearchEngine {
 public:
  SearchEngine(const RecordStore* store, SearchView* view);
  ~SearchEngine();
  SearchEngine(const SearchEngine&) = delete;
  SearchEngine& operator=(const SearchEngine&) = delete;

  // Read the controls, scan, fill the
  // grid, apply the number fallback between the tables. A request that
  // arrives while a scan runs makes that scan start over (same table) or
  // runs after it (other table; dropped when a later request for the
  // running table shows the user back on its page).
  void Run(TableId table);
  void RunHomeSearch() { Run(TableId::kHome); }
  void RunOrgSearch() { Run(TableId::kOrg); }

  // Forgets the cached results of a table: called whenever its working
  // table changes, when a base is loaded and when the search mode changes.
  // (A cache also forgets by itself when its table's generation moves, and
  // a cached pattern is only ever tested in its own mode.)
  void ClearSearchCache(TableId table);
  void ClearAllCaches();

  // The store was replaced or a table changed under a suspended scan: a
  // running scan starts over on the new data. (Also noticed by itself
  // through the store's generations.)
  void StoreChanged();

  // The search mode: one line of keywords (universal) or a pattern field by
  // field (detailed). A change of mode forgets both caches: a pattern of one
  // mode means nothing in the other.
  bool universal_mode() const { return universal_mode_; }
  void SetUniversalMode(bool universal);
  // How the searches compare typed text: "е" also finding "ё", and a
  // second scan letting each word hold one slip after a search that found
  // nothing. Both off unless set. The caches need no clearing: each slot
  // knows how its pattern was matched.
  const SearchSettings& settings() const { return settings_; }
  void SetSettings(const SearchSettings& settings) { settings_ = settings; }
  // A scan runs, perhaps suspended while the window processes events.
  bool busy() const;
  // The running scan is to start over at its next look at the events.
  bool restart_pending() const { return restart_; }
  // A muted engine runs nothing: the window's own changes to the controls
  // search nothing (SearchMute sets it for a scope).
  bool muted() const { return muted_; }
  void SetMuted(bool muted) { muted_ = muted; }

  // How many records the last search of a table handed to its grid.
  size_t result_count(TableId table) const;

  // What the last completed search of a table did.
  struct ScanStats {
    int cache_slot = 0;          // the slot it reused, 0 for a full scan
    size_t records_checked = 0;  // records tested with MatchRecord
    // The search as typed found nothing and the scan with slips ran; the
    // slot that one reused.
    bool slip_scan = false;
    int slip_cache_slot = 0;
    bool damaged = false;  // the scan stopped at a damaged record
    int passes = 0;        // 1 + the number of restarts
  };
  const ScanStats& last_scan(TableId table) const;
  const SearchCache& cache(TableId table) const;

  // A scan lets the window process events when this much time has passed
  // since it last did (5 ms by default; 0: after every slice).
  void SetYieldInterval(std::chrono::nanoseconds interval);
  // How many table bytes a scan covers between looks at the clock.
  void SetScanSlice(size_t bytes);

 private:
  struct Impl;
  void RunSearch(TableId table);
  std::string BuildPattern(TableId table, std::string* number_text);
  void NumberFallback(TableId table, const std::string& number_text);

  std::unique_ptr<Impl> impl_;
  bool universal_mode_ = false;
  SearchSettings settings_;
  bool restart_ = false;
  bool muted_ = false;
};

// Mutes the engine for its lifetime: programmatic edit changes run nothing.
class SearchMute {
 public:
  explicit SearchMute(SearchEngine* engine)
      : engine_(engine), was_muted_(engine->muted()) {
    engine_->SetMuted(true);
  }
  ~SearchMute() { engine_->SetMuted(was_muted_); }
  SearchMute(const SearchMute&) = delete;
  SearchMute& operator=(const SearchMute&) = delete;

 private:
  SearchEngine* engine_;
  bool was_muted_;
};

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_SEARCH_ENGINE_H_
