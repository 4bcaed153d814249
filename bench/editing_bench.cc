// SPDX-License-Identifier: GPL-3.0-or-later
// Editing a large demo town (1,000,000 residential and 100,000 organisation
// records): a keystroke in a cell of an early record, which moves the rest
// of the working table each time, pasting 100,000 lines, and carrying a
// window's unsaved edits into the town loaded again.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "editing/carry_edits.h"
#include "editing/clipboard_text.h"
#include "editing/edit_grid.h"
#include "editing/record_editor.h"
#include "storage/base_file.h"
#include "storage/record_key.h"
#include "storage/record_store.h"
#include "tools/demo_town.h"

namespace spravka {
namespace {

constexpr size_t kHomeRecords = 1000000;
constexpr size_t kOrgRecords = 100000;
constexpr size_t kShownRows = 1000;
constexpr size_t kPastedLines = 100000;

const RecordStore& Town() {
  static const RecordStore store = [] {
    const DemoTown town = MakeDemoTown(kHomeRecords, kOrgRecords, 1);
    RecordStore loaded;
    if (LoadBaseFromBytes(
            WriteBasePart(town.header, 1, town.home_text, town.org_text),
            &loaded)
            .code() != StatusCode::kOk) {
      std::abort();
    }
    return loaded;
  }();
  return store;
}

// The grid as a search shows it: the first 1000 records.
class ShownGrid : public EditGrid {
 public:
  ShownGrid(const Table& table, int fields) {
    rows_.emplace_back(fields + 1);
    for (size_t p = 1; p < table.used && rows_.size() <= kShownRows;
         p += table.LengthAt(p)) {
      std::vector<std::string> row(fields + 1);
      row[0] = RecordKey(static_cast<int64_t>(p));
      for (int c = 1; c <= fields; ++c)
        row[c] = std::string(FieldOf(table.TextAt(p), c));
      rows_.push_back(std::move(row));
    }
  }
  int RowCount() const override { return static_cast<int>(rows_.size()); }
  std::string Cell(int column, int row) const override {
    return rows_[row][column];
  }
  void SetCell(int column, int row, std::string_view text) override {
    rows_[row][column] = std::string(text);
  }
  int Row() const override { return 1; }
  int Col() const override { return 2; }
  void SetCurrent(int, int) override {}
  bool IsVisible() const override { return true; }
  void AddRow() override {}
  void ShowOneRow() override {}
  void CloseEditor() override {}
  void TakeFocus() override {}
  std::string CellUndo() const override { return {}; }
  void RememberCurrentCell() override {}

 private:
  std::vector<std::vector<std::string>> rows_;
};

// Typing and erasing one letter in the subscriber of the first record:
// every keystroke moves the 60 MB behind it and renumbers the grid's
// positions.
void BM_KeystrokeInAnEarlyRecord(benchmark::State& state) {
  RecordStore store = Town();
  const int fields = store.FieldCount(TableId::kHome);
  ShownGrid grid(store.HomeData, fields);
  const std::string name = grid.Cell(2, 1);
  bool longer = true;
  for (auto _ : state) {
    const std::string text = longer ? name + "а" : name;
    grid.SetCell(2, 1, text);
    benchmark::DoNotOptimize(
        ApplyCellEdit(store, TableId::kHome, grid, 2, 1, text));
    longer = !longer;
  }
  state.counters["table_MB"] = static_cast<double>(store.HomeData.used) / 1e6;
}
BENCHMARK(BM_KeystrokeInAnEarlyRecord)->Unit(benchmark::kMillisecond);

void BM_Paste100000Lines(benchmark::State& state) {
  std::string text;
  for (size_t i = 0; i < kPastedLines; ++i) {
    text += std::to_string(5000000 + i) +
            "\t\xC8\xE2\xE0\xED\xEE\xE2 \xC8.\xC8.\t\xCC\xE8\xF0\xE0\t" +
            std::to_string(i % 90 + 1) + "\t\t" + std::to_string(i % 200) +
            "\t\xD6\xE5\xED\xF2\xF0\r\n";
  }
  for (auto _ : state) {
    state.PauseTiming();
    RecordStore store = Town();
    state.ResumeTiming();
    benchmark::DoNotOptimize(PasteRecords(store, TableId::kHome, text));
    state.PauseTiming();
    store = RecordStore();  // freed outside the timing
    state.ResumeTiming();
  }
  state.counters["lines"] = static_cast<double>(kPastedLines);
}
BENCHMARK(BM_Paste100000Lines)->Unit(benchmark::kMillisecond)->Iterations(5);

// The window edited 1,000 records and deleted 100 spread over the whole
// residential table, and added 1,000; another program rebuilt the base
// with the same records. Carrying finds every record by its text in one
// walk and rewrites the table in one pass.
void BM_CarryEditsIntoTheTownLoadedAgain(benchmark::State& state) {
  RecordStore window = Town();
  const size_t records = window.HomeData.CountRecords();
  const size_t step = records / 1100;
  std::vector<std::string> texts;
  texts.reserve(1100);
  std::vector<RecordStore::Rewrite> rewrites;
  size_t i = 0;
  for (size_t p = 1; p < window.HomeData.used && rewrites.size() < 1100;
       p += window.HomeData.LengthAt(p), ++i) {
    if (i % step != 0) continue;
    if (rewrites.size() % 11 == 10) {
      rewrites.push_back({p, std::nullopt});
      continue;
    }
    std::string text(window.HomeData.TextAt(p));
    text.insert(text.size() - 1, "\xE0");
    texts.push_back(std::move(text));
    rewrites.push_back({p, texts.back()});
  }
  window.RewriteRecords(TableId::kHome, rewrites);
  for (size_t added = 0; added < 1000; ++added) {
    const uint32_t number = *NextRecordNumber(window.HomeData);
    window.AppendRecord(TableId::kHome, number,
                        "\x01"
                        "5000000\x02\xCD\xEE\xE2\xFB\xE9\x1F");
  }
  CarryReport report;
  for (auto _ : state) {
    state.PauseTiming();
    RecordStore fresh = Town();
    state.ResumeTiming();
    report = CarryEdits(window, &fresh);
    state.PauseTiming();
    fresh = RecordStore();  // freed outside the timing
    state.ResumeTiming();
  }
  state.counters["carried"] = static_cast<double>(report.carried());
  state.counters["table_MB"] = static_cast<double>(window.HomeData.used) / 1e6;
}
BENCHMARK(BM_CarryEditsIntoTheTownLoadedAgain)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace
}  // namespace spravka

BENCHMARK_MAIN();
