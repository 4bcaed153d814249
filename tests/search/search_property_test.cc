// SPDX-License-Identifier: GPL-3.0-or-later
// Typing and deleting at random over a generated town, with slips of the
// hand, and with "е" for "ё" and the widening after an empty result
// switched at random: after every keystroke the engine, with its cache,
// shows exactly what a plain scan of the whole table with the same controls
// gives (the scan with one slip a word when the scan as typed found
// nothing).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "search/pattern_cover.h"
#include "search/search_engine.h"
#include "search/search_pattern.h"
#include "search/slip_match.h"
#include "search/table_scan.h"
#include "search/text_fold.h"
#include "search_test_util.h"
#include "storage/base_file.h"
#include "storage/record_store.h"
#include "support/fake_search_view.h"
#include "tools/demo_town.h"

namespace spravka {
namespace {

using testing::FakeSearchView;
using testing::PlainScan;
using testing::W;

class SearchPropertyTest : public ::testing::Test {
 protected:
  SearchPropertyTest() {
    const DemoTown town = MakeDemoTown(4000, 600, 11);
    const Status status = LoadBaseFromBytes(
        WriteBasePart(town.header, 77, town.home_text, town.org_text), &store_);
    EXPECT_TRUE(status.ok());
    // Typed numbers never become complete, so the number fallback between
    // the tables (tested on its own) stays out of the way.
    store_.header.NumberLength = 20;
    // Every third record writes its first "е" as "ё", every fifth its
    // first "Е" as "Ё" (in place: the lengths stay).
    for (TableId table : {TableId::kHome, TableId::kOrg}) {
      Table& data = store_.table(table);
      int n = 0;
      for (size_t p = 1; p < data.used; p += data.LengthAt(p), ++n) {
        uint8_t* text = data.at(p + kRecordHeadSize);
        const size_t length = data.LengthAt(p) - kRecordHeadSize;
        for (size_t i = 0; i < length; ++i) {
          if (n % 3 == 0 && text[i] == kSmallIe) {
            text[i] = kSmallYo;
            break;
          }
          if (n % 5 == 0 && text[i] == 0xC5) {  // Е
            text[i] = 0xA8;                     // Ё
            break;
          }
        }
      }
      store_.TableChanged(table);
    }
    view_.engine = &engine_;
  }

  size_t Pick(size_t n) {
    return std::uniform_int_distribution<size_t>(0, n - 1)(rng_);
  }

  // What the user means to type into an edit: a field of a random record
  // (a few keywords from it in the universal mode), so that searches find
  // something.
  std::string Target(TableId table, int kind) {
    const Table& data = store_.table(table);
    std::vector<size_t>& rows = positions_[static_cast<int>(table)];
    rows.clear();
    for (size_t p = 1; p < data.used; p += data.LengthAt(p)) rows.push_back(p);
    const std::string_view text = data.TextAt(rows[Pick(rows.size())]);
    if (kind >= 0) {
      const uint8_t column = table == TableId::kHome
                                 ? store_.maps.HomeFieldColumn[kind]
                                 : store_.maps.OrgFieldColumn[kind];
      return std::string(FieldOf(text, column));
    }
    // Universal keywords are short beginnings of a few fields: "иван лен".
    std::string words;
    for (int c = 1; c <= store_.FieldCount(table); ++c) {
      const std::string_view field = FieldOf(text, c);
      if (field.empty() || Pick(3)) continue;
      if (!words.empty()) words += ' ';
      words += field.substr(0, 2 + Pick(4));
    }
    return words;
  }

  // One keystroke: mostly the next character of the target (now and then
  // with "е" for "ё", a wrong letter, or the target's next two swapped or
  // one skipped), now and then a wildcard, word end, caret, blank or Latin
  // key, a correction anywhere in the text, a double-clicked cell, or a
  // cleared edit.
  std::string Keystroke(std::string text, std::string* target, bool universal) {
    auto special = [&] { return "?$^ "[Pick(4)]; };
    auto next = [&] {
      if (text.size() >= target->size()) return special();
      const char c = (*target)[text.size()];
      const uint8_t b = static_cast<uint8_t>(c);
      if ((b | 0x10) == kSmallYo && Pick(2)) return static_cast<char>(kSmallIe);
      if (Pick(25) == 0) return static_cast<char>(0xE0 + Pick(32));  // а..я
      if (Pick(30) == 0 && text.size() + 1 < target->size()) {
        std::swap((*target)[text.size()], (*target)[text.size() + 1]);
        return (*target)[text.size()];
      }
      if (Pick(30) == 0 && text.size() + 1 < target->size()) {
        target->erase(text.size(), 1);  // a letter left out
        return (*target)[text.size()];
      }
      return Pick(6) ? c : static_cast<char>(FoldCyrillic(c));
    };
    auto at = [&](size_t extra) { return Pick(text.size() + extra); };
    // Pasted text (a Ukrainian letter in it becomes "?"), or a grid cell
    // double-clicked: appended to the universal line, or replacing the edit.
    auto paste = [&] {
      std::string cell = *target;
      if (!cell.empty() && Pick(2)) cell[Pick(cell.size())] = '?';
      return universal && !text.empty() ? text + ' ' + cell : cell;
    };
    const int r = static_cast<int>(Pick(100));
    if (text.empty() && r < 40) {
      return r < 20 ? std::string("^") : paste();  // a fresh start
    }
    if (text.starts_with('^') && r < 8) return text.substr(1);  // changed mind
    if (r < 60) {
      text.push_back(next());
    } else if (r < 66) {
      text.push_back(special());
    } else if (r < 68) {
      text.push_back("dbjn,"[Pick(5)]);  // typed in the Latin layout
    } else if (r < 82) {
      if (!text.empty()) text.pop_back();
    } else if (r < 85) {
      if (!text.empty()) text.erase(text.begin() + at(0));
    } else if (r < 87) {
      if (!text.empty()) text.erase(text.begin());  // Home, Delete
    } else if (r < 93) {
      // Overtyped: a wildcard most often becomes a blank or a letter.
      const size_t wild = text.find('?');
      if (wild != std::string::npos && Pick(3)) {
        text[wild] = Pick(2) ? ' ' : next();
      } else if (!text.empty()) {
        text[at(0)] = special();
      }
    } else if (r < 95) {
      text.insert(text.begin() + at(1), special());
    } else if (r < 97) {
      text = paste();
    } else {
      text.clear();
    }
    return text;
  }

  void ExpectPlainResult(TableId table, const std::string& what) {
    const int t = static_cast<int>(table);
    std::vector<std::string> edits(view_.edits[t].begin(),
                                   view_.edits[t].end());
    const std::string pattern =
        engine_.universal_mode() ? UniversalPattern(view_.full)
                                 : DetailedPattern(table, edits, store_.maps,
                                                   store_.header.NumberLength);
    const SearchSettings settings = engine_.settings();
    MatchOptions options{.universal = engine_.universal_mode(),
                         .yo = settings.yo};
    std::vector<size_t> all =
        PlainScan(store_.table(table), pattern, options, kNoCap);
    ASSERT_NO_FATAL_FAILURE(
        ExpectCachedSlotsHold(table, pattern, options, all, what));
    const bool widened = all.empty() && settings.similar &&
                         PatternMaySlip(pattern, options.universal);
    if (widened) {
      options.slip = true;
      all = PlainScan(store_.table(table), pattern, options, kNoCap);
      ASSERT_NO_FATAL_FAILURE(
          ExpectCachedSlotsHold(table, pattern, options, all, what));
      if (!all.empty()) ++similar_results_;
    }
    const SearchResult& shown = view_.result(table);
    ASSERT_EQ(shown.similar, widened && !all.empty()) << what;
    std::vector<size_t> got;
    for (const ResultRow& row : shown.rows) got.push_back(row.position);
    const bool capped = all.size() > kSearchCap;
    const std::vector<size_t> want(
        all.begin(), all.begin() + (capped ? kSearchCap : all.size()));
    ASSERT_EQ(got, want) << what << " pattern "
                         << ::testing::PrintToString(pattern);
    ASSERT_EQ(shown.capped, capped) << what;
  }

  // Every slot the lookup could take for a scan holds all the records that
  // scan wants (for the overflow slot: up to its last position).
  void ExpectCachedSlotsHold(TableId table, const std::string& pattern,
                             const MatchOptions& options,
                             const std::vector<size_t>& all,
                             const std::string& what) {
    const SearchCache& cache = engine_.cache(table);
    if (cache.generation != store_.generation(table)) return;
    for (const uint8_t slot : cache.CacheOrder) {
      if (slot == 0 ||
          !PatternCovers(cache.CacheKey[slot], cache.CacheOptions[slot],
                         pattern, options)) {
        continue;
      }
      const std::vector<size_t>& rows = cache.CacheRows[slot];
      for (const size_t p : all) {
        if (slot == SearchCache::kOverflowSlot && p > rows.back()) break;
        ASSERT_TRUE(std::binary_search(rows.begin(), rows.end(), p))
            << what << ": slot " << int{slot} << " "
            << ::testing::PrintToString(cache.CacheKey[slot])
            << " lacks a record of " << ::testing::PrintToString(pattern);
      }
    }
  }

  RecordStore store_;
  FakeSearchView view_;
  SearchEngine engine_{&store_, &view_};
  std::mt19937 rng_{2026};
  std::vector<size_t> positions_[2];
  int similar_results_ = 0;
};

TEST_F(SearchPropertyTest, CachedSearchEqualsPlainScanAfterEveryKeystroke) {
  int cache_hits = 0;
  for (int sequence = 0; sequence < 300; ++sequence) {
    // Modes change without clearing the caches: a cached pattern is only
    // ever tried in its own mode.
    engine_.SetUniversalMode(Pick(2) == 0);
    engine_.SetSettings({.yo = Pick(3) != 0, .similar = Pick(3) != 0});
    const TableId table = Pick(4) == 0 ? TableId::kOrg : TableId::kHome;
    view_.page = table;  // the user types into the visible page
    engine_.Run(table);  // as a page or mode switch does
    const int kinds = table == TableId::kHome ? kHomeKinds : kOrgKinds;
    std::string targets[kOrgKinds + 1];
    int kind = -1;
    for (int key = 0; key < 30; ++key) {
      std::string what = "sequence " + std::to_string(sequence) + " key " +
                         std::to_string(key);
      // The user stays with one edit for a while, and often empties it
      // (a double-click) before going on to another.
      if (!engine_.universal_mode() && (kind < 0 || Pick(5) == 0)) {
        if (kind >= 0 && Pick(2)) view_.SetEditText(table, kind, "");
        kind = static_cast<int>(Pick(kinds));
      }
      // F12 twice, or an edit in the grid, empties the cache: whatever is
      // typed next is stored as it stands.
      if (Pick(6) == 0) engine_.ClearSearchCache(table);
      // A setting switched in the menu, which searches again; the cache
      // stays.
      if (Pick(25) == 0) {
        SearchSettings settings = engine_.settings();
        (Pick(2) ? settings.yo : settings.similar) ^= true;
        engine_.SetSettings(settings);
        engine_.Run(table);
      }
      std::string& target = targets[kind + 1];
      if (target.empty() || Pick(30) == 0) target = Target(table, kind);
      if (engine_.universal_mode()) {
        view_.TypeUniversal(Keystroke(view_.full, &target, true));
      } else {
        const std::string& typed = view_.edits[static_cast<int>(table)][kind];
        view_.SetEditText(table, kind, Keystroke(typed, &target, false));
      }
      if (Pick(40) == 0) {
        // An edit elsewhere in the program: the table changes under the
        // cache, which the window may or may not have cleared.
        Table& data = store_.table(table);
        const std::string copy(data.TextAt(1));
        data.Append(4000000 + key, copy);
        store_.TableChanged(table);
        if (Pick(2)) engine_.ClearSearchCache(table);
        what += " after a change";
        engine_.Run(table);
      }
      ASSERT_NO_FATAL_FAILURE(ExpectPlainResult(table, what));
      if (engine_.last_scan(table).cache_slot != 0) ++cache_hits;
    }
    if (Pick(3)) {
      view_.edits = {};
      view_.full.clear();
    }
  }
  EXPECT_GT(cache_hits, 300);       // the cache was really exercised
  EXPECT_GT(similar_results_, 30);  // and so was the widening
}

}  // namespace
}  // namespace spravka
