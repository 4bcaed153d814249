// SPDX-License-Identifier: GPL-3.0-or-later
// Storage on a large demo town (1,000,000 residential and 100,000
// organisation records): loading, against zlib inflating its two streams
// (and libdeflate doing it); saving 10,000 change entries; optimising;
// making the town.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "storage/base_file.h"
#include "storage/base_section.h"
#include "storage/byte_order.h"
#include "storage/keystream.h"
#include "storage/optimiser.h"
#include "storage/record_key.h"
#include "storage/record_store.h"
#include "storage/save.h"
#include "storage/zlib_codec.h"
#include "tools/demo_town.h"

namespace spravka {
namespace {

constexpr size_t kHomeRecords = 1000000;
constexpr size_t kOrgRecords = 100000;
constexpr size_t kChanges = 10000;

// The town is made once and written to a scratch folder that goes away at
// exit.
class TownFiles {
 public:
  TownFiles() {
    const char* tmp = std::getenv("TMPDIR");
    folder_ = std::filesystem::path(tmp != nullptr ? tmp : "/tmp") /
              ("spravka-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    const DemoTown town = MakeDemoTown(kHomeRecords, kOrgRecords, 1);
    bytes_ = WriteBasePart(town.header, 1, town.home_text, town.org_text);
    if (!RealFileSystem().WriteFile(Path("town.qz"), bytes_).ok()) std::abort();
  }
  ~TownFiles() { std::filesystem::remove_all(folder_); }

  const std::string& bytes() const { return bytes_; }
  std::string Path(const std::string& name) const { return folder_ / name; }

  // A copy of the town's file under another name, to be changed.
  std::string Copy(const std::string& name) const {
    const std::string path = Path(name);
    if (!RealFileSystem().WriteFile(path, bytes_).ok()) std::abort();
    return path;
  }

 private:
  std::filesystem::path folder_;
  std::string bytes_;
};

const TownFiles& Town() {
  static const TownFiles town;
  return town;
}

// One descrambled table stream and the size of its text.
struct Stream {
  std::string data;
  size_t text_size;
};

// The two streams as the loader finds them, descrambled.
std::pair<Stream, Stream> TownStreams() {
  const std::string& file = Town().bytes();
  BaseFileLayout layout;
  if (!ReadBaseFileLayout(file, &layout).ok()) std::abort();
  const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());
  size_t at = layout.header_offset + kHeaderSize + 4;
  auto next = [&](void (*descramble)(uint8_t*, size_t)) {
    Stream s;
    s.text_size = static_cast<size_t>(ReadInt32(bytes + at));
    const auto length = static_cast<size_t>(ReadInt32(bytes + at + 4));
    s.data = file.substr(at + 8, length);
    descramble(reinterpret_cast<uint8_t*>(s.data.data()), length);
    at += 8 + length;
    return s;
  };
  Stream home = next(ScrambleHomeStream);
  Stream org = next(ScrambleOrgStream);
  return {std::move(home), std::move(org)};
}

// Inflating both streams into fresh buffers, one after the other, and
// nothing else: with zlib (the yardstick a load is measured against) and
// with libdeflate (what the load uses).
void InflateStreams(benchmark::State& state,
                    bool (*inflate)(std::string_view, char*, size_t)) {
  const auto [home, org] = TownStreams();
  for (auto _ : state) {
    for (const Stream* s : {&home, &org}) {
      std::unique_ptr<char[]> out(new char[s->text_size]);
      if (!inflate(s->data, out.get(), s->text_size)) std::abort();
      benchmark::DoNotOptimize(out.get());
    }
  }
  state.SetBytesProcessed(state.iterations() *
                          (home.text_size + org.text_size));
}

void BM_InflateStreams(benchmark::State& state) {
  InflateStreams(state, [](std::string_view stream, char* out, size_t size) {
    return InflateExact(stream, out, size);
  });
}
BENCHMARK(BM_InflateStreams)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_InflateStreamsLibdeflate(benchmark::State& state) {
  InflateStreams(state, InflateSection);
}
BENCHMARK(BM_InflateStreamsLibdeflate)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Loading from the bytes of the file: what the floor is compared with.
void BM_LoadBaseFromBytes(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::string file = Town().bytes();
    auto store = std::make_unique<RecordStore>();
    state.ResumeTiming();
    if (!LoadBaseFromBytes(std::move(file), store.get()).ok()) {
      std::abort();
    }
    state.PauseTiming();
    store.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoadBaseFromBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

// Times loads of one base file; freeing the store is not timed.
void TimeLoads(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    auto store = std::make_unique<RecordStore>();
    if (LoadBase(path, store.get()).code() != StatusCode::kOk) std::abort();
    state.PauseTiming();
    store.reset();
    state.ResumeTiming();
  }
}

// Loading from the file, as the program does (the file in the page cache).
void BM_LoadBase(benchmark::State& state) {
  const std::string path = Town().Path("town.qz");
  TimeLoads(state, path);
}
BENCHMARK(BM_LoadBase)->Unit(benchmark::kMillisecond)->UseRealTime();

// A store of the town with 10,000 change entries: mostly rewritten records,
// some deleted, some added, in both tables.
RecordStore StoreWithChanges() {
  RecordStore store;
  if (LoadBaseFromBytes(Town().bytes(), &store).code() != StatusCode::kOk) {
    std::abort();
  }
  const Table& home = store.HomeData;
  size_t p = 1;
  for (size_t i = 0; i < kChanges * 9 / 10; ++i) {
    std::string text(home.TextAt(p));
    text.insert(text.size() - 1, "1");  // one more digit of the district
    store.HomeChanges.Add(home.NumberAt(p), text);
    // Every 97th record, so that changes spread over the whole table.
    for (int skip = 0; skip < 97 && p < home.used; ++skip)
      p += home.LengthAt(p);
  }
  for (size_t i = 0; i < kChanges / 20; ++i) {
    store.OrgChanges.Add(1 + i * 13, "\x1F");
  }
  for (size_t i = 0; i < kChanges / 20; ++i) {
    store.HomeChanges.Add(kHomeRecords + 1 + i,
                          "\1"
                          "123456\2Novikov A.A.\3\4\5\6\7\x1F");
  }
  return store;
}

void BM_SaveChanges(benchmark::State& state) {
  const RecordStore store = StoreWithChanges();
  const std::string path = Town().Copy("save.qz");
  for (auto _ : state) {
    if (!SaveChanges(path, store).ok()) std::abort();
  }
  state.counters["changes"] =
      static_cast<double>(store.HomeChanges.size() + store.OrgChanges.size());
}
BENCHMARK(BM_SaveChanges)->Unit(benchmark::kMillisecond)->UseRealTime();

// Loading a base that carries the 10,000 changes: the merge's share.
void BM_LoadBaseWithChanges(benchmark::State& state) {
  const RecordStore changed = StoreWithChanges();
  const std::string path = Town().Copy("changed.qz");
  if (!SaveChanges(path, changed).ok()) std::abort();
  TimeLoads(state, path);
}
BENCHMARK(BM_LoadBaseWithChanges)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Optimise(benchmark::State& state) {
  const RecordStore store = StoreWithChanges();
  const std::string path = Town().Copy("optimise.qz");
  for (auto _ : state) {
    if (!OptimiseBase(path, store, store.header.HomeColWidths,
                      store.header.OrgColWidths, 1, nullptr)
             .ok()) {
      std::abort();
    }
  }
}
BENCHMARK(BM_Optimise)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);

// What `spravka-cli demo` does for the same town: make it and write it.
void BM_MakeDemoTown(benchmark::State& state) {
  for (auto _ : state) {
    const DemoTown town = MakeDemoTown(kHomeRecords, kOrgRecords, 2);
    benchmark::DoNotOptimize(
        WriteBasePart(town.header, 1, town.home_text, town.org_text));
  }
}
BENCHMARK(BM_MakeDemoTown)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(2);

}  // namespace
}  // namespace spravka

BENCHMARK_MAIN();
