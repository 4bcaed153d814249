// SPDX-License-Identifier: GPL-3.0-or-later
// Search on a demo town of 1,000,000 residential records: full scans that
// find nothing, a broad search stopped by the cap, and refined searches
// answered from the result cache. bench/compare-search sets these against
// grep and SQLite on the same records.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "quiet_search_view.h"
#include "search/search_engine.h"
#include "search/search_pattern.h"
#include "search/table_scan.h"
#include "storage/base_file.h"
#include "storage/cp1251.h"
#include "storage/record_store.h"
#include "tools/demo_town.h"

namespace spravka {
namespace {

constexpr size_t kHomeRecords = 1000000;

// What the user types, in UTF-8. The rare words are in no record: one whose
// last letter is common (hard for grep's skip loop), one whose last letter
// is rare (easy for it), one of common letters only (hardest for the
// search's probe). The benchmark argument picks one.
constexpr const char* kRareWords[] = {"жмыхов", "шульц", "ованов"};
constexpr char kBroadWord[] = "ов";

std::string Cp1251(const char* utf8) { return Utf8ToCp1251(utf8).value(); }

const RecordStore& Town() {
  static const RecordStore* store = [] {
    const DemoTown town = MakeDemoTown(kHomeRecords, 1000, 1);
    auto* s = new RecordStore;
    if (LoadBaseFromBytes(
            WriteBasePart(town.header, 1, town.home_text, town.org_text), s)
            .code() != StatusCode::kOk) {
      std::abort();
    }
    return s;
  }();
  return *store;
}

std::string Detailed(int kind, const char* utf8) {
  std::vector<std::string> edits(kHomeKinds);
  edits[kind] = Cp1251(utf8);
  return DetailedPattern(TableId::kHome, edits, Town().maps,
                         Town().header.NumberLength);
}

void Scan(benchmark::State& state, const std::string& pattern, bool universal,
          size_t expected_max) {
  const Table& table = Town().HomeData;
  size_t found = 0;
  for (auto _ : state) {
    const SearchResult result = ScanTable(table, pattern, universal);
    found = result.count();
    benchmark::DoNotOptimize(found);
  }
  if (found > expected_max) state.SkipWithError("found more than expected");
  state.counters["rows"] = static_cast<double>(found);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(table.used));
}

// A rare keyword in the universal line: every record is looked at.
void BM_FullScanUniversalRare(benchmark::State& state) {
  Scan(state, UniversalPattern(Cp1251(kRareWords[state.range(0)])), true, 0);
}
BENCHMARK(BM_FullScanUniversalRare)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A rare surname in the subscriber edit.
void BM_FullScanDetailedRare(benchmark::State& state) {
  Scan(state, Detailed(1, kRareWords[state.range(0)]), false, 0);
}
BENCHMARK(BM_FullScanDetailedRare)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// How the options cost on full scans: each word as typed, with "е" also
// finding "ё", and with one slip a word (the scan that runs after an empty
// result, with "е" for "ё" too, as the window has it by default). The first
// argument picks the word, the second the options. None of the words is in
// the town as typed; «ованов» and «кузнецво» are one slip from surnames
// (the scan with slips stops at the cap), the others are not.
constexpr const char* kOptionWords[] = {"жмыхов", "шульц",  "ованов",
                                        "жмелев", "щебнев", "кузнецво"};
constexpr MatchOptions kOptionSets[] = {
    {.universal = true},
    {.universal = true, .yo = true},
    {.universal = true, .yo = true, .slip = true},
    {.universal = false},
    {.universal = false, .yo = true},
    {.universal = false, .yo = true, .slip = true},
};

void BM_FullScanOptions(benchmark::State& state) {
  const char* word = kOptionWords[state.range(0)];
  const MatchOptions& options = kOptionSets[state.range(1)];
  const std::string pattern =
      options.universal ? UniversalPattern(Cp1251(word)) : Detailed(1, word);
  const Table& table = Town().HomeData;
  size_t found = 0;
  for (auto _ : state) {
    const SearchResult result = ScanTable(table, pattern, options);
    found = result.count();
    benchmark::DoNotOptimize(found);
  }
  state.counters["rows"] = static_cast<double>(found);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(table.used));
}
BENCHMARK(BM_FullScanOptions)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A common syllable: the scan stops at the 1001st match.
void BM_BroadSearchToTheCap(benchmark::State& state) {
  Scan(state, UniversalPattern(Cp1251(kBroadWord)), true, kSearchCap);
}
BENCHMARK(BM_BroadSearchToTheCap)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The engine's own full scan, pausing for events every 5 ms.
void BM_EngineFullScanRare(benchmark::State& state) {
  RecordStore& store = const_cast<RecordStore&>(Town());
  QuietSearchView view;
  SearchEngine engine(&store, &view);
  engine.SetUniversalMode(true);
  view.full = Cp1251(kRareWords[0]);
  for (auto _ : state) {
    engine.ClearSearchCache(TableId::kHome);
    engine.RunHomeSearch();
  }
  state.counters["rows"] =
      static_cast<double>(engine.result_count(TableId::kHome));
}
BENCHMARK(BM_EngineFullScanRare)->Unit(benchmark::kMillisecond)->UseRealTime();

// A refined search (one more criterion) scans only the cached result of the
// search before it. `steps` are typed in order; the last one is measured.
void Refine(benchmark::State& state, bool universal,
            const std::vector<std::pair<int, const char*>>& steps) {
  RecordStore& store = const_cast<RecordStore&>(Town());
  QuietSearchView view;
  SearchEngine engine(&store, &view);
  engine.SetUniversalMode(universal);
  for (const auto& [kind, text] : steps) {
    if (universal) {
      view.full = Cp1251(text);
    } else {
      view.edits[0][kind] = Cp1251(text);
    }
    engine.RunHomeSearch();
  }
  for (auto _ : state) engine.RunHomeSearch();
  const SearchEngine::ScanStats& stats = engine.last_scan(TableId::kHome);
  if (stats.cache_slot == 0) state.SkipWithError("the cache was not used");
  state.counters["rows"] =
      static_cast<double>(engine.result_count(TableId::kHome));
  state.counters["checked"] = static_cast<double>(stats.records_checked);
}

void BM_RefinedFromCacheDetailed(benchmark::State& state) {
  Refine(state, false, {{1, "Щербаков"}, {2, "Ленина"}, {3, "1"}});
}
BENCHMARK(BM_RefinedFromCacheDetailed)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

void BM_RefinedFromCacheUniversal(benchmark::State& state) {
  Refine(state, true,
         {{-1, "щербакова"}, {-1, "щербакова лен"}, {-1, "щербакова ленина"}});
}
BENCHMARK(BM_RefinedFromCacheUniversal)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

}  // namespace
}  // namespace spravka

BENCHMARK_MAIN();
