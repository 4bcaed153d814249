// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and searching a demo town read from a file, for comparing towns
// of different sizes (bench/scale makes them): the load, a full scan that
// finds nothing, and a refinement answered from the result cache.
// Usage: scale_bench [benchmark flags] BASE_FILE
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "quiet_search_view.h"
#include "search/search_engine.h"
#include "search/search_pattern.h"
#include "search/table_scan.h"
#include "storage/cp1251.h"
#include "storage/record_store.h"

namespace spravka {
namespace {

std::string base_path;

std::string Cp1251(const char* utf8) { return Utf8ToCp1251(utf8).value(); }

RecordStore& Town() {
  static RecordStore* store = [] {
    auto* s = new RecordStore;
    if (LoadBase(base_path, s).code() != StatusCode::kOk) std::abort();
    return s;
  }();
  return *store;
}

// From the file in the page cache, as the program loads it; freeing the
// store is not timed.
void BM_Load(benchmark::State& state) {
  for (auto _ : state) {
    auto store = std::make_unique<RecordStore>();
    if (LoadBase(base_path, store.get()).code() != StatusCode::kOk)
      std::abort();
    state.PauseTiming();
    store.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->UseRealTime();

// A word in no record, in the universal line: every record is looked at.
void BM_FullScan(benchmark::State& state) {
  const Table& table = Town().HomeData;
  const std::string pattern = UniversalPattern(Cp1251("жмыхов"));
  size_t found = 0;
  for (auto _ : state) {
    found = ScanTable(table, pattern, true).count();
    benchmark::DoNotOptimize(found);
  }
  state.counters["rows"] = static_cast<double>(found);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(table.used));
}
BENCHMARK(BM_FullScan)->Unit(benchmark::kMillisecond)->UseRealTime();

// The last of three words typed in the universal line, answered from the
// cached result of the two before it.
void BM_CachedRefinement(benchmark::State& state) {
  QuietSearchView view;
  SearchEngine engine(&Town(), &view);
  engine.SetUniversalMode(true);
  for (const char* typed : {"щербакова", "щербакова лен", "щербакова ленина"}) {
    view.full = Cp1251(typed);
    engine.RunHomeSearch();
  }
  for (auto _ : state) engine.RunHomeSearch();
  const SearchEngine::ScanStats& stats = engine.last_scan(TableId::kHome);
  if (stats.cache_slot == 0) state.SkipWithError("the cache was not used");
  state.counters["rows"] =
      static_cast<double>(engine.result_count(TableId::kHome));
  state.counters["checked"] = static_cast<double>(stats.records_checked);
}
BENCHMARK(BM_CachedRefinement)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace spravka

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: scale_bench [benchmark flags] BASE_FILE\n");
    return 2;
  }
  spravka::base_path = argv[1];
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
