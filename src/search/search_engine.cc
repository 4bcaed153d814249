// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_engine.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "search/record_scanner.h"
#include "search/search_pattern.h"
#include "search/slip_match.h"
#include "search/table_scan.h"
#include "storage/base_header.h"

namespace spravka {
namespace {

using Clock = std::chrono::steady_clock;

int Index(TableId table) { return static_cast<int>(table); }

TableId Other(TableId table) {
  return table == TableId::kHome ? TableId::kOrg : TableId::kHome;
}

int KindCount(TableId table) {
  return table == TableId::kHome ? kHomeKinds : kOrgKinds;
}

}  // namespace

struct SearchEngine::Impl {
  Impl(const RecordStore* s, SearchView* v) : store(s), view(v) {}
  const RecordStore* store;
  SearchView* view;
  std::array<size_t, 2> counts{};
  std::array<SearchCache, 2> caches;
  std::array<ScanStats, 2> stats;
  // The table whose scan runs; at most one at a time.
  std::optional<TableId> scanning;
  // Requests for the other table that arrived during a scan.
  std::array<bool, 2> pending{};
  int depth = 0;  // Run() frames that got past the early returns
  bool store_changed = false;
  Clock::duration yield_interval = std::chrono::milliseconds(5);
  size_t slice = 64 * 1024;
};

SearchEngine::SearchEngine(const RecordStore* store, SearchView* view)
    : impl_(std::make_unique<Impl>(store, view)) {}

SearchEngine::~SearchEngine() = default;

void SearchEngine::SetUniversalMode(bool universal) {
  if (universal == universal_mode_) return;
  ClearAllCaches();
  universal_mode_ = universal;
}

bool SearchEngine::busy() const { return impl_->scanning.has_value(); }

size_t SearchEngine::result_count(TableId table) const {
  return impl_->counts[Index(table)];
}

const SearchEngine::ScanStats& SearchEngine::last_scan(TableId table) const {
  return impl_->stats[Index(table)];
}

const SearchCache& SearchEngine::cache(TableId table) const {
  return impl_->caches[Index(table)];
}

void SearchEngine::SetYieldInterval(std::chrono::nanoseconds interval) {
  impl_->yield_interval = std::chrono::duration_cast<Clock::duration>(interval);
}

void SearchEngine::SetScanSlice(size_t bytes) {
  impl_->slice = bytes > 0 ? bytes : 1;
}

void SearchEngine::ClearSearchCache(TableId table) {
  impl_->caches[Index(table)].Clear();
}

void SearchEngine::ClearAllCaches() {
  ClearSearchCache(TableId::kHome);
  ClearSearchCache(TableId::kOrg);
}

void SearchEngine::StoreChanged() {
  ClearAllCaches();
  if (impl_->scanning) {
    impl_->store_changed = true;
    restart_ = true;
  }
}

void SearchEngine::Run(TableId table) {
  if (muted_) return;
  if (impl_->scanning) {
    // The window types into the running table's controls: start over with
    // them. A request for the other table waits for the scan to end, unless
    // a later one for the running table shows that the user came back (a
    // page's search runs anyway when the page is selected again; run late,
    // it would make its page active over the user's choice).
    if (*impl_->scanning == table) {
      restart_ = true;
      impl_->pending[Index(Other(table))] = false;
    } else {
      impl_->pending[Index(table)] = true;
    }
    return;
  }
  impl_->pending[Index(table)] = false;
  {
    // Left also when a closing step throws, or no waiting request would
    // ever run again.
    struct Frame {
      int* depth;
      explicit Frame(int* d) : depth(d) { ++*depth; }
      ~Frame() { --*depth; }
    } frame(&impl_->depth);
    RunSearch(table);
  }
  if (impl_->depth > 0) return;
  // Only the outermost search runs the waiting ones, so that none of them
  // runs in the middle of another search's closing steps.
  for (;;) {
    TableId next;
    if (impl_->pending[Index(TableId::kHome)]) {
      next = TableId::kHome;
    } else if (impl_->pending[Index(TableId::kOrg)]) {
      next = TableId::kOrg;
    } else {
      break;
    }
    impl_->pending[Index(next)] = false;
    Run(next);
  }
}

std::string SearchEngine::BuildPattern(TableId table,
                                       std::string* number_text) {
  SearchView& view = *impl_->view;
  if (universal_mode_) {
    *number_text = view.UniversalText();
    return UniversalPattern(*number_text);
  }
  const int kinds = KindCount(table);
  const int number_length = impl_->store->header.NumberLength;
  *number_text = view.EditText(table, 0);
  if (IsFullNumber(*number_text, number_length)) {
    // A complete number replaces all other criteria.
    SearchMute mute(this);
    for (int kind = 1; kind < kinds; ++kind) view.SetEditText(table, kind, "");
  }
  std::vector<std::string> edits(kinds);
  for (int kind = 0; kind < kinds; ++kind)
    edits[kind] = view.EditText(table, kind);
  return DetailedPattern(table, edits, impl_->store->maps, number_length);
}

void SearchEngine::RunSearch(TableId table) {
  Impl& s = *impl_;
  SearchView& view = *s.view;
  const int t = Index(table);
  restart_ = false;
  s.scanning = table;
  view.SearchStarted(table);

  SearchResult result;
  std::string number_text;
  ScanStats stats;
  // The matches of the current pass and the table generation they belong to.
  std::vector<size_t> positions;
  uint64_t generation = 0;
  bool filled = false;  // result holds the rows of the finished pass
  Clock::time_point last_yield = Clock::now();

  // One scan of the table (or of a cached result) into `positions`; false
  // when it was to start over. Stores or promotes its cache slot.
  const auto scan = [&](const std::string& pattern, const MatchOptions& options,
                        int* slot_used) {
    SearchCache& cache = s.caches[t];
    const int slot = cache.Lookup(pattern, options);
    const uint64_t cache_version = cache.version();
    positions.clear();
    RecordScanner scanner(pattern, options);
    if (slot == 0) {
      scanner.Start();
    } else {
      // A copy: the slot may change while the scan is suspended.
      scanner.Start(cache.CacheRows[slot],
                    cache.CacheRows[slot].size() >= kSearchCap);
    }
    while (!scanner.Step(s.store->table(table), s.slice, kSearchCap + 1,
                         &positions)) {
      if (Clock::now() - last_yield < s.yield_interval) continue;
      view.ProcessEvents();
      last_yield = Clock::now();
      // Never go on over changed data.
      if (s.store_changed || s.store->generation(table) != generation) {
        restart_ = true;
      }
      if (restart_) return false;
    }
    *slot_used = slot;
    stats.records_checked += scanner.records_checked();
    stats.damaged = stats.damaged || scanner.damaged();
    // Store only what is known to belong to the cache as it stands.
    if (cache.version() == cache_version && cache.generation == generation) {
      if (slot >= 1 && slot <= SearchCache::kSmallSlots) {
        cache.Promote(slot);
      } else {
        const size_t count = std::min(positions.size(), kSearchCap);
        std::vector<size_t> rows(positions.begin(), positions.begin() + count);
        if (count == kSearchCap) {
          cache.StoreOverflow(pattern, options, std::move(rows));
        } else {
          cache.StoreSmall(pattern, options, std::move(rows));
        }
      }
    }
    return true;
  };

  try {
    do {
      restart_ = false;
      s.store_changed = false;
      const int passes = stats.passes + 1;
      stats = ScanStats();
      stats.passes = passes;
      result = SearchResult();
      positions.clear();
      const std::string pattern = BuildPattern(table, &number_text);
      MatchOptions options{.universal = universal_mode_, .yo = settings_.yo};

      SearchCache& cache = s.caches[t];
      generation = s.store->generation(table);
      if (cache.generation != generation) {
        cache.Clear();
        cache.generation = generation;
      }
      if (!scan(pattern, options, &stats.cache_slot)) continue;
      // Nothing as typed: what one slip a word finds.
      bool similar = false;
      if (positions.empty() && settings_.similar &&
          PatternMaySlip(pattern, options.universal)) {
        options.slip = true;
        stats.slip_scan = true;
        if (!scan(pattern, options, &stats.slip_cache_slot)) continue;
        similar = !positions.empty();
      }

      FillResult(s.store->table(table), positions, kSearchCap, &result);
      result.similar = similar;
      filled = true;
    } while (restart_);
  } catch (...) {
    // The closing steps run whatever happened; the cache keeps what the
    // scans that ended stored, and the grid shows the rows found so far
    // (unless the table changed under them).
    if (!filled) {
      try {
        result = SearchResult();
        if (!s.store_changed && s.store->generation(table) == generation) {
          FillResult(s.store->table(table), positions, kSearchCap, &result);
          result.similar = stats.slip_scan && result.count() > 0;
        }
      } catch (...) {
        result = SearchResult();
      }
    }
  }

  restart_ = false;
  s.scanning.reset();
  s.counts[t] = result.count();
  s.stats[t] = stats;
  view.SearchFinished(table, result);
  result = SearchResult();  // the grid has it now
  NumberFallback(table, number_text);
  view.SearchSettled(table);
}

// A complete number that this table lacks is looked up in the other one,
// whose page becomes active when it has it.
void SearchEngine::NumberFallback(TableId table,
                                  const std::string& number_text) {
  SearchView& view = *impl_->view;
  const TableId other = Other(table);
  if (view.ActivePage() == table && result_count(table) == 0 &&
      IsFullNumber(number_text, impl_->store->header.NumberLength)) {
    if (universal_mode_) {
      Run(other);
    } else {
      {
        SearchMute mute(this);
        for (int kind = 1; kind < KindCount(other); ++kind) {
          view.SetEditText(other, kind, "");
        }
      }
      // The change runs the other search through the window.
      view.SetEditText(other, 0, view.EditText(table, 0));
    }
  }
  if (view.ActivePage() != table) {
    if (result_count(table) > 0) {
      view.SetActivePage(table);
    } else {
      SearchMute mute(this);
      view.SetEditText(table, 0, "");
    }
  }
}

}  // namespace spravka
