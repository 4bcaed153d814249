// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "search/search_pattern.h"
#include "search_test_util.h"
#include "storage/base_file.h"
#include "support/base_builder.h"
#include "support/fake_search_view.h"

namespace spravka {
namespace {

using testing::FakeSearchView;
using testing::MakeTable;
using testing::PlainScan;
using testing::Rec;
using testing::W;
constexpr TableId kHome = TableId::kHome;
constexpr TableId kOrg = TableId::kOrg;

std::string Home(int number, const char* name, const char* street) {
  return Rec(
      {std::to_string(100000 + number), name, street, "1", "", "2", "Центр"});
}
std::string Org(int number, const char* name) {
  return Rec({std::to_string(200000 + number), name, "", "Мира", "1", "", "",
              "Центр"});
}

class SearchEngineTest : public ::testing::Test {
 protected:
  SearchEngineTest() {
    store_.header = testing::FullHeader();  // six-digit numbers
    store_.maps = ColumnMaps::FromHeader(store_.header);
    view_.engine = &engine_;
  }

  void SetTable(TableId table, const std::vector<std::string>& texts) {
    store_.table(table) = MakeTable(texts);
    store_.TableChanged(table);
  }
  // Pause after every few records, so that a test can act mid-scan.
  void PauseOften() {
    engine_.SetYieldInterval(std::chrono::nanoseconds(0));
    engine_.SetScanSlice(64);
  }
  void Type(TableId table, int kind, const char* utf8) {
    view_.SetEditText(table, kind, W(utf8));
  }

  std::vector<size_t> Shown(TableId table) const {
    std::vector<size_t> positions;
    for (const ResultRow& row : view_.result(table).rows) {
      positions.push_back(row.position);
    }
    return positions;
  }
  // What a plain scan over the current controls gives.
  std::vector<size_t> Expected(TableId table) const {
    std::vector<std::string> edits(view_.edits[static_cast<int>(table)].begin(),
                                   view_.edits[static_cast<int>(table)].end());
    const std::string pattern =
        engine_.universal_mode() ? UniversalPattern(view_.full)
                                 : DetailedPattern(table, edits, store_.maps,
                                                   store_.header.NumberLength);
    return PlainScan(store_.table(table), pattern, engine_.universal_mode(),
                     kSearchCap);
  }

  RecordStore store_;
  FakeSearchView view_;
  SearchEngine engine_{&store_, &view_};
};

TEST_F(SearchEngineTest, EmptyControlsShowTheFirstThousandAndTheMarker) {
  std::vector<std::string> texts;
  for (int i = 0; i < 1500; ++i) texts.push_back(Home(i, "Иванов", "Мира"));
  SetTable(kHome, texts);
  engine_.RunHomeSearch();
  EXPECT_EQ(view_.result(kHome).count(), 1000u);
  EXPECT_TRUE(view_.result(kHome).capped);
  EXPECT_EQ(Shown(kHome), Expected(kHome));
  EXPECT_EQ(view_.result(kHome).rows[0].Field(2), W("Иванов"));
  EXPECT_EQ(view_.log, (std::vector<std::string>{
                           "start home", "finish home 1000+", "settle home"}));
  EXPECT_EQ(engine_.cache(kHome).CacheOrder[4], SearchCache::kOverflowSlot);
  EXPECT_FALSE(engine_.busy());
}

TEST_F(SearchEngineTest, RefinedSearchScansOnlyTheCachedResult) {
  std::vector<std::string> texts;
  for (int i = 0; i < 2000; ++i) {
    texts.push_back(Home(i,
                         i % 50 == 0 ? "Иванов"
                         : i % 2     ? "Ивлев"
                                     : "Петров",
                         "Мира"));
  }
  SetTable(kHome, texts);
  Type(kHome, 1, "Иван");
  EXPECT_EQ(engine_.last_scan(kHome).cache_slot, 0);
  EXPECT_EQ(view_.result(kHome).count(), 40u);

  Type(kHome, 1, "Иванов");  // refined: only the 40 cached records
  EXPECT_NE(engine_.last_scan(kHome).cache_slot, 0);
  EXPECT_EQ(engine_.last_scan(kHome).records_checked, 40u);
  EXPECT_EQ(Shown(kHome), Expected(kHome));

  Type(kHome, 1, "Ив");  // widened: no slot covers it, the whole table
  EXPECT_EQ(engine_.last_scan(kHome).cache_slot, 0);
  EXPECT_EQ(view_.result(kHome).count(), 1000u);
  EXPECT_EQ(Shown(kHome), Expected(kHome));

  Type(kHome, 1, "^Иван");  // a prefix item is narrower than «иван»
  EXPECT_NE(engine_.last_scan(kHome).cache_slot, 0);
  EXPECT_EQ(Shown(kHome), Expected(kHome));
}

// "е" for "ё" and the widening after an empty result, step by step as the
// user types, in both modes: a search that finds something as typed shows
// only that; one that finds nothing shows what one slip a word finds,
// marked similar; a refined similar search scans only the cached similar
// result; either setting off gives the exact search.
TEST_F(SearchEngineTest, YoAndSimilarSearches) {
  std::vector<std::string> texts;
  for (int i = 0; i < 300; ++i) {
    texts.push_back(Home(i,
                         i % 30 == 0   ? "Кузнецов"
                         : i % 30 == 1 ? "Кузнецова"
                         : i % 30 == 2 ? "Семёнов"
                                       : "Петров",
                         "Ленина"));
  }
  texts.push_back(Home(999, "Кузницов", "Мира"));
  SetTable(kHome, texts);
  const struct {
    bool universal;
    SearchSettings settings;
    const char* typed;
    size_t count;
    bool similar;
    bool from_cache;  // the scan with slips reused a slot
  } steps[] = {
      {true, {true, true}, "кузнецов", 20, false, false},  // never widened
      {true, {true, true}, "кузнецв", 20, true, false},
      {true, {true, true}, "кузнецва", 10, true, true},
      {true, {true, false}, "кузнецва", 0, false, false},
      {true, {true, true}, "семенов", 10, false, false},
      {true, {false, true}, "семенов", 10, true, false},  // ё for е: a slip
      {true, {false, false}, "семенов", 0, false, false},
      {true, {true, true}, "пет ленина 7", 0, false, false},  // digits
      {false, {true, true}, "кузнецв", 20, true, false},
      {false, {true, true}, "кузнецва", 10, true, true},
      {false, {true, true}, "куз", 21, false, false},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(std::string(step.typed) +
                 (step.universal ? " universal" : " detailed"));
    engine_.SetUniversalMode(step.universal);
    engine_.SetSettings(step.settings);
    (step.universal ? view_.full : view_.edits[0][1]) = W(step.typed);
    engine_.RunHomeSearch();
    EXPECT_EQ(view_.result(kHome).count(), step.count);
    EXPECT_EQ(view_.result(kHome).similar, step.similar);
    EXPECT_EQ(engine_.last_scan(kHome).slip_cache_slot != 0, step.from_cache);
  }
}

// The overflow slot holds the first 1000 matches; a refined search scans
// them and then goes on through the rest of the table.
TEST_F(SearchEngineTest, OverflowSlotContinuesPastTheThousandthRecord) {
  for (const int matches : {1000, 3000}) {
    std::vector<std::string> texts;
    for (int i = 0; i < matches; ++i) {
      texts.push_back(Home(i, "Иванов", i % 3 ? "Мира" : "Ленина"));
      texts.push_back(Home(i, "Петров", "Ленина"));
    }
    SetTable(kHome, texts);
    view_.edits = {};
    Type(kHome, 1, "Иванов");
    EXPECT_EQ(view_.result(kHome).capped, matches > 1000);
    EXPECT_EQ(engine_.cache(kHome).CacheOrder[4], SearchCache::kOverflowSlot);

    const size_t last_cached = engine_.cache(kHome).CacheRows[5].back();
    Type(kHome, 2, "Ленин");
    EXPECT_EQ(engine_.last_scan(kHome).cache_slot, SearchCache::kOverflowSlot);
    EXPECT_EQ(Shown(kHome), Expected(kHome)) << matches;
    EXPECT_EQ(view_.result(kHome).capped, matches > 1000 * 3);
    if (matches > 1000) {
      EXPECT_GT(Shown(kHome).back(), last_cached);
    }
  }
}

TEST_F(SearchEngineTest, KeystrokeDuringAScanStartsItOver) {
  std::vector<std::string> texts;
  for (int i = 0; i < 3000; ++i) {
    texts.push_back(Home(i, i % 7 ? "Иванов" : "Ивлев", "Мира"));
  }
  SetTable(kHome, texts);
  PauseOften();
  view_.on_events = [&] { Type(kHome, 1, "Ивл"); };
  Type(kHome, 1, "Ив");
  EXPECT_EQ(engine_.last_scan(kHome).passes, 2);
  EXPECT_EQ(Shown(kHome), Expected(kHome));
  EXPECT_EQ(view_.log, (std::vector<std::string>{
                           "start home", "finish home 429", "settle home"}));
  EXPECT_FALSE(engine_.busy() || engine_.restart_pending());
}

TEST_F(SearchEngineTest, OtherTableRequestRunsWhenTheScanEnds) {
  std::vector<std::string> texts;
  for (int i = 0; i < 3000; ++i) texts.push_back(Home(i, "Иванов", "Мира"));
  SetTable(kHome, texts);
  SetTable(kOrg, {Org(1, "Школа"), Org(2, "Почта")});
  PauseOften();
  view_.on_events = [&] { Type(kOrg, 1, "шк"); };
  Type(kHome, 2, "мир");
  EXPECT_EQ(view_.log, (std::vector<std::string>{
                           "start home", "finish home 1000+", "settle home",
                           "start org", "finish org 1", "settle org"}));
}

// The user leaves the page and comes back while a scan of it is suspended:
// the page the user chose last stays, and its search is the one that runs.
TEST_F(SearchEngineTest, ReturningToThePageDropsTheOtherPagesRequest) {
  std::vector<std::string> texts;
  for (int i = 0; i < 3000; ++i) texts.push_back(Home(i, "Иванов", "Мира"));
  SetTable(kHome, texts);
  SetTable(kOrg, {Org(1, "Школа"), Org(2, "Почта")});
  PauseOften();
  view_.on_events = [&] {
    view_.SelectPage(kOrg);
    view_.SelectPage(kHome);
  };
  Type(kHome, 2, "мир");
  EXPECT_EQ(view_.page, kHome);
  EXPECT_EQ(view_.log, (std::vector<std::string>{
                           "start home", "finish home 1000+", "settle home"}));
}

// Whatever fails inside a scan, the closing steps run: the grid shows the
// rows found so far, the flags are cleared and the cache keeps what it had.
// A failure in a closing step reaches the caller and leaves the engine
// working: a request for the other table still runs after a later scan.
TEST_F(SearchEngineTest, FailuresLeaveTheEngineWorking) {
  std::vector<std::string> texts;
  for (int i = 0; i < 3000; ++i) texts.push_back(Home(i, "Иванов", "Мира"));
  SetTable(kHome, texts);
  SetTable(kOrg, {Org(1, "Школа"), Org(2, "Почта")});
  engine_.SetYieldInterval(std::chrono::hours(1));
  Type(kHome, 2, "Мира");  // capped: the overflow slot
  const SearchCache before = engine_.cache(kHome);

  PauseOften();
  view_.on_events = [] { throw std::runtime_error("failed"); };
  Type(kHome, 1, "Ив");
  const std::vector<size_t> shown = Shown(kHome);
  const std::vector<size_t> expected = Expected(kHome);
  EXPECT_FALSE(shown.empty());
  EXPECT_LT(shown.size(), expected.size());
  EXPECT_TRUE(std::equal(shown.begin(), shown.end(), expected.begin()));
  EXPECT_FALSE(view_.result(kHome).capped);
  EXPECT_FALSE(engine_.busy() || engine_.restart_pending());
  EXPECT_EQ(view_.log.back(), "settle home");
  EXPECT_EQ(engine_.cache(kHome).CacheOrder, before.CacheOrder);
  EXPECT_EQ(engine_.cache(kHome).CacheKey[5], before.CacheKey[5]);

  view_.on_settled = [] { throw std::runtime_error("failed"); };
  EXPECT_THROW(Type(kHome, 1, "Иван"), std::runtime_error);
  view_.log.clear();
  view_.on_events = [&] { Type(kOrg, 1, "шк"); };
  Type(kHome, 1, "Ива");
  EXPECT_EQ(view_.log, (std::vector<std::string>{
                           "start home", "finish home 1000+", "settle home",
                           "start org", "finish org 1", "settle org"}));
}

// A suspended scan never goes on over changed data, whether the window
// clears the cache or not.
TEST_F(SearchEngineTest, TableChangedUnderASuspendedScanStartsItOver) {
  std::vector<std::string> texts;
  for (int i = 0; i < 2000; ++i) {
    texts.push_back(Home(i, i % 10 ? "Петров" : "Иванов", "Мира"));
  }
  const std::string other_base =
      testing::MakeBaseFile({{"1", W("Иванов")}, {"2", W("Иванова")}}, {});
  const struct {
    const char* what;
    std::function<void()> change;
  } cases[] = {
      {"record added",
       [&] {
         store_.HomeData.Append(9999, Home(9999, "Иванов", "Мира"));
         store_.TableChanged(kHome);
       }},
      {"record rewritten in place",
       [&] {
         store_.HomeData.at(1 + kRecordHeadSize + 8)[0] = 'X';  // "Иванов"
         store_.TableChanged(kHome);
       }},
      {"another base loaded",
       [&] { ASSERT_TRUE(LoadBaseFromBytes(other_base, &store_).ok()); }},
  };
  for (const auto& c : cases) {
    SetTable(kHome, texts);
    store_.header = testing::FullHeader();
    store_.maps = ColumnMaps::FromHeader(store_.header);
    view_.edits = {};
    engine_.SetYieldInterval(std::chrono::hours(1));
    Type(kHome, 1, "Ив");  // cached
    PauseOften();
    view_.on_events = c.change;
    Type(kHome, 1, "Иван");  // refined from the cache, suspended, changed
    EXPECT_EQ(engine_.last_scan(kHome).passes, 2) << c.what;
    EXPECT_EQ(engine_.last_scan(kHome).cache_slot, 0) << c.what;
    EXPECT_EQ(Shown(kHome), Expected(kHome)) << c.what;
  }
}

TEST_F(SearchEngineTest, CompleteNumberReplacesTheOtherCriteria) {
  SetTable(kHome, {Home(1, "Иванов", "Мира"), Home(2, "Петров", "Ленина")});
  Type(kHome, 1, "Иванов");
  Type(kHome, 2, "Мира");
  view_.log.clear();
  Type(kHome, 0, "100002");
  EXPECT_EQ(view_.edits[0][1], "");
  EXPECT_EQ(view_.edits[0][2], "");
  EXPECT_EQ(view_.result(kHome).count(), 1u);
  EXPECT_EQ(view_.result(kHome).rows[0].Field(2), W("Петров"));
  // Emptying the edits ran no search of its own.
  EXPECT_EQ(view_.log.size(), 3u);
}

TEST_F(SearchEngineTest, NumberFoundOnlyInTheOtherTable) {
  SetTable(kHome, {Home(1, "Иванов", "Мира")});
  SetTable(kOrg, {Org(1, "Школа"), Org(2, "Почта")});
  view_.edits[1][1] = W("Школа");
  Type(kHome, 0, "200002");
  EXPECT_EQ(view_.page, kOrg);
  EXPECT_EQ(view_.edits[1][0], "200002");
  EXPECT_EQ(view_.edits[1][1], "");  // the organisation edits were emptied
  EXPECT_EQ(view_.edits[0][0], "");  // the number moved over
  EXPECT_EQ(view_.result(kOrg).count(), 1u);
  EXPECT_EQ(view_.result(kHome).count(), 0u);
}

TEST_F(SearchEngineTest, NumberFoundInNeitherTable) {
  SetTable(kHome, {Home(1, "Иванов", "Мира")});
  SetTable(kOrg, {Org(1, "Школа")});
  Type(kHome, 0, "300000");
  EXPECT_EQ(view_.page, kHome);
  EXPECT_EQ(view_.edits[0][0], "300000");
  EXPECT_EQ(view_.edits[1][0], "");
  EXPECT_EQ(view_.result(kHome).count(), 0u);
}

TEST_F(SearchEngineTest, UniversalNumberFallback) {
  SetTable(kHome, {Home(1, "Иванов", "Мира")});
  SetTable(kOrg, {Org(1, "Школа"), Org(2, "Почта")});
  engine_.SetUniversalMode(true);
  view_.TypeUniversal("200001");
  EXPECT_EQ(view_.page, kOrg);
  EXPECT_EQ(view_.result(kOrg).count(), 1u);
  EXPECT_EQ(view_.full, "200001");
}

// The fallback the other way round and in the universal mode: the table
// that found nothing empties its number edit when the other one has the
// number and becomes the active page; without it anywhere the page stays.
TEST_F(SearchEngineTest, NumberFallbackFromEitherPageInEitherMode) {
  const struct {
    bool universal;
    TableId page;
    const char* number;
    TableId shown_page;  // the active page afterwards
    size_t home_count, org_count;
  } cases[] = {
      {false, kOrg, "100001", kHome, 1, 0},
      {false, kOrg, "300000", kOrg, 0, 0},
      {true, kOrg, "100001", kHome, 1, 0},
      {true, kHome, "300000", kHome, 0, 0},
      {true, kOrg, "300000", kOrg, 0, 0},
  };
  for (const auto& c : cases) {
    const std::string what = std::string(c.universal ? "universal " : "") +
                             (c.page == kHome ? "home " : "org ") + c.number;
    SetTable(kHome, {Home(1, "Иванов", "Мира"), Home(2, "Петров", "Мира")});
    SetTable(kOrg, {Org(1, "Школа"), Org(2, "Почта")});
    engine_.ClearAllCaches();
    engine_.SetUniversalMode(c.universal);
    view_.edits = {};
    view_.full.clear();
    view_.page = c.page;
    const TableId other = c.page == kHome ? kOrg : kHome;
    view_.edits[static_cast<int>(other)][2] = W("Мира");  // to be emptied
    if (c.universal) {
      view_.TypeUniversal(c.number);
    } else {
      view_.SetEditText(c.page, 0, c.number);
    }
    EXPECT_EQ(view_.page, c.shown_page) << what;
    EXPECT_EQ(view_.result(kHome).count(), c.home_count) << what;
    EXPECT_EQ(view_.result(kOrg).count(), c.org_count) << what;
    const bool moved = c.shown_page != c.page;
    // The number edit of the page left behind is empty; the one shown holds
    // the number in the detailed mode.
    EXPECT_EQ(view_.edits[static_cast<int>(c.page)][0],
              c.universal || moved ? "" : c.number)
        << what;
    if (!c.universal) {
      EXPECT_EQ(view_.edits[static_cast<int>(other)][0], moved ? c.number : "")
          << what;
      EXPECT_EQ(view_.edits[static_cast<int>(other)][2], "") << what;
    }
    EXPECT_EQ(view_.full, c.universal ? c.number : "") << what;
  }
}

TEST_F(SearchEngineTest, MutedEngineRunsNothing) {
  SetTable(kHome, {Home(1, "Иванов", "Мира")});
  {
    SearchMute mute(&engine_);
    Type(kHome, 1, "Ив");
    EXPECT_TRUE(engine_.muted());
  }
  EXPECT_FALSE(engine_.muted());
  EXPECT_TRUE(view_.log.empty());
}

}  // namespace
}  // namespace spravka
