// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/record_scanner.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "search/match_record.h"
#include "search/table_scan.h"
#include "search_test_util.h"

namespace spravka {
namespace {

using testing::MakeTable;
using testing::PlainScan;
using testing::Rec;
using testing::W;

std::vector<size_t> Positions(const SearchResult& result) {
  std::vector<size_t> positions;
  for (const ResultRow& row : result.rows) positions.push_back(row.position);
  return positions;
}

// Scans in slices of `budget` bytes, as the engine does between pauses.
std::vector<size_t> SlicedScan(const Table& table, const std::string& pattern,
                               const MatchOptions& options, size_t budget,
                               size_t limit) {
  RecordScanner scanner(pattern, options);
  scanner.Start();
  std::vector<size_t> found;
  while (!scanner.Step(table, budget, limit, &found)) {
  }
  return found;
}

TEST(ScanTableTest, CapAndMarker) {
  std::vector<std::string> texts(1001, Rec({"1", "Иванов"}));
  texts.push_back(Rec({"2", "Петров"}));
  const Table table = MakeTable(texts);

  const SearchResult all = ScanTable(table, W("иван\x1F"), true);
  EXPECT_EQ(all.count(), 1000u);
  EXPECT_TRUE(all.capped);  // the 1001st match is the marker row
  EXPECT_EQ(all.rows[999].Field(2), W("Иванов"));

  const SearchResult uncapped = ScanTable(table, W("иван\x1F"), true, kNoCap);
  EXPECT_EQ(uncapped.count(), 1001u);
  EXPECT_FALSE(uncapped.capped);

  texts.erase(texts.begin());  // exactly 1000 matches: no marker
  const SearchResult exact = ScanTable(MakeTable(texts), W("иван\x1F"), true);
  EXPECT_EQ(exact.count(), 1000u);
  EXPECT_FALSE(exact.capped);
}

TEST(ScanTableTest, EmptyTableAndEmptyPattern) {
  EXPECT_EQ(ScanTable(Table(), "\x1F", true).count(), 0u);
  const Table table = MakeTable({Rec({"1"}), Rec({"2"})});
  EXPECT_EQ(Positions(ScanTable(table, "\x1F", false)),
            (std::vector<size_t>{1, 1 + 5 + 3}));
}

// A damaged table ends the scan at the damage: no loop, no read outside the
// used part (the table has no spare room, so a sanitizer sees any overrun).
TEST(ScanTableTest, DamagedTablesStopTheScan) {
  const std::string good = Rec({"1", "Иванов"});
  const size_t length = good.size() + kRecordHeadSize;
  const struct {
    const char* what;
    size_t head_length;  // written into the second record's head
    bool cut_end;        // the table's used part ends inside that record
    bool lose_end;       // its closing 0x1F is overwritten
  } cases[] = {
      {"length 0", 0, false, false},
      {"length inside the head", 3, false, false},
      {"length past the used part", 60000, false, false},
      {"used part ends inside a record", length, true, false},
      {"record without its closing byte", length, false, true},
  };
  const std::vector<std::string> patterns = {
      W("ов\x1F"),                                 // probe path
      "\x1F",                                      // every record
      std::string("\x02\x1E") + W("ов") + "\x1F",  // detailed probe
      "?\x1F",                                     // no literal
  };
  for (const auto& c : cases) {
    Table table = MakeTable({good, good, good});
    uint8_t* second = table.at(1 + length);
    second[3] = static_cast<uint8_t>(c.head_length);
    second[4] = static_cast<uint8_t>(c.head_length >> 8);
    if (c.cut_end) table.used = length + 10;
    if (c.lose_end) second[length - 1] = 'x';
    table.bytes.resize(table.used + 1);
    for (const std::string& pattern : patterns) {
      const bool universal = pattern[0] != '\x02';
      RecordScanner scanner(pattern, universal);
      scanner.Start();
      std::vector<size_t> found;
      int steps = 0;
      while (!scanner.Step(table, 7, kNoCap, &found)) {
        ASSERT_LT(++steps, 1000) << c.what;
      }
      // A probe that finds nothing behind the damage need not walk there.
      if (pattern == "\x1F") {
        EXPECT_TRUE(scanner.damaged()) << c.what;
      }
      EXPECT_EQ(found, std::vector<size_t>{1}) << c.what;
    }
    // Cached positions are checked the same way.
    RecordScanner scanner(W("ов\x1F"), true);
    scanner.Start({1, 1 + length, 1 + 2 * length}, true);
    std::vector<size_t> found;
    while (!scanner.Step(table, 7, kNoCap, &found)) {
    }
    EXPECT_EQ(found, std::vector<size_t>{1}) << c.what;
  }
}

// The literal probe only leaps over records that cannot match: random
// patterns over random records give exactly the records MatchRecord picks,
// whole or in slices, capped or not, with "е" for "ё" and with slips (the
// probes then look for either side of a byte of a word).
TEST(ScanTableTest, FastScanEqualsPlainMatcher) {
  std::mt19937 rng(7);
  auto pick = [&](size_t n) {
    return std::uniform_int_distribution<size_t>(0, n - 1)(rng);
  };
  auto text = [&](const std::string& alphabet, size_t max_length) {
    std::string t;
    for (size_t n = pick(max_length + 1); n > 0; --n) {
      t.push_back(alphabet[pick(alphabet.size())]);
    }
    return t;
  };
  const std::string letters = W("абвАБВоОеЕёЁ12 ,$?");
  const std::string pattern_bytes = W("абвоеёО12 ?$");
  for (int round = 0; round < 40; ++round) {
    std::vector<std::string> texts;
    for (int i = 0; i < 300; ++i) {
      std::string r;
      for (char tag = 1; tag <= 4; ++tag) {
        r.push_back(tag);
        r += text(letters, 9);
      }
      texts.push_back(r + '\x1F');
    }
    Table table = MakeTable(texts);
    table.bytes.resize(table.used + 1);
    for (int p = 0; p < 60; ++p) {
      const MatchOptions options{
          .universal = pick(2) == 0, .yo = pick(2) == 0, .slip = pick(2) == 0};
      const bool universal = options.universal;
      std::string pattern;
      if (universal) {
        pattern = text(pattern_bytes, 8);
      } else {
        for (char tag = 1; tag <= 4; ++tag) {
          if (pick(2)) continue;
          pattern.push_back(tag);
          pattern.push_back(pick(2) ? kPrefixItem : kSubstringItem);
          pattern += text(pattern_bytes, 6);
        }
      }
      pattern.push_back('\x1F');
      const std::vector<size_t> plain =
          PlainScan(table, pattern, options, kNoCap);
      const std::string what = ::testing::PrintToString(pattern) +
                               (options.yo ? " yo" : "") +
                               (options.slip ? " slip" : "");
      ASSERT_EQ(Positions(ScanTable(table, pattern, options, kNoCap)), plain)
          << what;
      ASSERT_EQ(SlicedScan(table, pattern, options, 1 + pick(80), kNoCap),
                plain)
          << what;
      const size_t limit = 1 + pick(20);
      ASSERT_EQ(SlicedScan(table, pattern, options, 1 + pick(80), limit),
                PlainScan(table, pattern, options, limit))
          << what;
    }
  }
}

}  // namespace
}  // namespace spravka
