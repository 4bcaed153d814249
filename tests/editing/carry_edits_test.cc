// SPDX-License-Identifier: GPL-3.0-or-later
// Carrying a window's unsaved edits into its base after another program
// changed the file: random edits in the window (saved part way now and
// then), random changes on the disk (an optimisation, a reset to the base
// part, another window's saved edits, a file replaced by another base),
// and the result checked against a plain list of record texts worked by
// the rule; then saved and loaded again.
#include "editing/carry_edits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "editing/record_editor.h"
#include "storage/base_file.h"
#include "storage/optimiser.h"
#include "storage/restore.h"
#include "storage/save.h"
#include "support/base_builder.h"
#include "support/fake_edit_grid.h"

namespace spravka {
namespace {

using testing::Fields;
using testing::RecordText;

constexpr TableId kHome = TableId::kHome;
constexpr TableId kOrg = TableId::kOrg;
constexpr int kFields = 2;

using Texts = std::map<uint32_t, std::string>;

Texts TableTexts(const Table& table) {
  Texts texts;
  for (size_t p = 1; p < table.used; p += table.LengthAt(p)) {
    texts[table.NumberAt(p)] = std::string(table.TextAt(p));
  }
  return texts;
}

std::vector<std::string> InOrder(const Table& table) {
  std::vector<std::string> texts;
  for (size_t p = 1; p < table.used; p += table.LengthAt(p)) {
    texts.emplace_back(table.TextAt(p));
  }
  return texts;
}

// A user at work on a store, through the editing functions and a grid
// that shows every record. Few texts, so that records often share one.
class User {
 public:
  explicit User(std::mt19937* random) : random_(*random) {}

  size_t Below(size_t n) {
    return std::uniform_int_distribution<size_t>(0, n - 1)(random_);
  }
  Fields RecordFields() {
    return {std::string(1, static_cast<char>('a' + Below(3))),
            std::string(1, static_cast<char>('x' + Below(2)))};
  }
  std::vector<Fields> Records(size_t most) {
    std::vector<Fields> records;
    for (size_t i = 0, n = Below(most + 1); i < n; ++i) {
      records.push_back(RecordFields());
    }
    return records;
  }

  void Edit(RecordStore& store, int steps) {
    testing::FakeEditGrid grid(kFields);
    for (int step = 0; step < steps; ++step) {
      grid.ShowAll(store.HomeData, kFields);
      const int rows = grid.RowCount() - 1;
      const size_t op = Below(6);
      if (op < 3 && rows > 0) {
        const int row = 1 + static_cast<int>(Below(rows));
        const int column = 1 + static_cast<int>(Below(kFields));
        const std::string value = RecordFields()[column - 1];
        grid.SetCell(column, row, value);
        ASSERT_TRUE(ApplyCellEdit(store, kHome, grid, column, row, value));
      } else if (op == 3) {
        ASSERT_TRUE(AddRecord(store, kHome, grid));
      } else if (op == 4 && rows > 0) {
        grid.SetCurrent(1, 1 + static_cast<int>(Below(rows)));
        ASSERT_TRUE(DeleteCurrentRecord(store, kHome, grid));
      }
    }
  }

 private:
  std::mt19937& random_;
};

// The rule, worked on plain lists: the window's edits are the records
// whose text differs between the table as loaded (or saved) and now.
struct Expected {
  std::vector<std::string> table;
  CarryReport report;
};

std::string WithTagOne(const std::string& text) {
  return !text.empty() && text[0] == '\x01' ? text : "\x01" + text;
}

Expected WorkTheRule(const Texts& then, const Texts& now,
                     const std::vector<std::string>& fresh, bool same_fields) {
  std::map<uint32_t,
           std::pair<std::optional<std::string>, std::optional<std::string>>>
      edits;
  for (const auto& [number, text] : then) edits[number].first = text;
  for (const auto& [number, text] : now) edits[number].second = text;
  Expected expected;
  CarryReport& report = expected.report;
  std::vector<std::optional<std::string>> table(fresh.begin(), fresh.end());
  std::vector<bool> taken(fresh.size());
  std::vector<std::string> added;
  for (const auto& [number, edit] : edits) {
    const auto& [before, after] = edit;
    if (before == after) continue;
    const EditKind kind = !before ? EditKind::kAdded
                          : after ? EditKind::kEdited
                                  : EditKind::kDeleted;
    const std::string shown = after ? *after : *before;
    if (!same_fields) {
      report.not_carried.push_back(
          {kHome, kind, shown, NotCarriedReason::kFieldsDiffer});
      continue;
    }
    size_t i = 0;
    while (before && i < fresh.size() &&
           (taken[i] || WithTagOne(fresh[i]) != WithTagOne(*before))) {
      ++i;
    }
    if (before && i < fresh.size()) {
      taken[i] = true;
      table[i] = after;
      ++(after ? report.edited : report.deleted);
    } else if (kind == EditKind::kDeleted) {
      report.not_carried.push_back(
          {kHome, kind, shown, NotCarriedReason::kRecordGone});
    } else {
      added.push_back(*after);
      if (kind == EditKind::kAdded) {
        ++report.added;
      } else {
        report.added_as_new.push_back({kHome, kind, shown});
      }
    }
  }
  for (const auto& text : table) {
    if (text) expected.table.push_back(*text);
  }
  expected.table.insert(expected.table.end(), added.begin(), added.end());
  return expected;
}

constexpr int32_t kStamp = 4242;

// A base of these residential records with `kinds` fields each and one
// organisation.
std::string BaseFile(const std::vector<Fields>& records, int kinds) {
  // Tagged, so that the base can be reset.
  return testing::WithOriginTag(
      WriteBasePart(testing::HeaderWithKinds(kinds, 2), kStamp,
                    testing::SectionText(records),
                    testing::SectionText({{"1", "o"}})));
}

enum class Change { kOptimised, kReset, kSavedElsewhere, kReplaced };

TEST(CarryEditsTest, TheResultIsTheRuleWorkedOnPlainListsAndSavesAsShown) {
  for (uint32_t seed = 1; seed <= 80; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    User user(&random);
    const std::string path = testing::TempDir() + "/town.qz";
    // A base with saved changes, so that a reset changes what it shows.
    {
      const std::vector<Fields> records = user.Records(8);
      RecordStore made;
      ASSERT_TRUE(LoadBaseFromBytes(BaseFile(records, kFields), &made).ok());
      user.Edit(made, 4);
      testing::WriteBytes(path, BaseFile(records, kFields) +
                                    WriteChangeSection(kStamp, made.HomeChanges,
                                                       made.OrgChanges));
    }
    RecordStore window;
    ASSERT_TRUE(LoadBase(path, &window).ok());
    Texts then = TableTexts(window.HomeData);
    user.Edit(window, 1 + static_cast<int>(user.Below(12)));
    if (user.Below(4) == 0) {  // the window saved part way
      ASSERT_TRUE(SaveChanges(path, window).ok());
      window.EditsSaved();
      then = TableTexts(window.HomeData);
      user.Edit(window, 1 + static_cast<int>(user.Below(6)));
    }
    const Texts now = TableTexts(window.HomeData);

    const auto change = static_cast<Change>(user.Below(4));
    bool same_fields = true;
    if (change == Change::kOptimised || change == Change::kSavedElsewhere) {
      RecordStore other;
      ASSERT_TRUE(LoadBase(path, &other).ok());
      if (change == Change::kSavedElsewhere) {
        user.Edit(other, 1 + static_cast<int>(user.Below(8)));
        ASSERT_TRUE(SaveChanges(path, other).ok());
      } else {
        ASSERT_TRUE(OptimiseBase(path, other, other.header.HomeColWidths,
                                 other.header.OrgColWidths, 99, nullptr)
                        .ok());
      }
    } else if (change == Change::kReset) {
      ASSERT_TRUE(RestoreBasePart(path, WriteChecks::ForCommand(false)).ok());
    } else {
      std::vector<Fields> records = user.Records(8);
      same_fields = user.Below(4) != 0;
      if (!same_fields) {
        for (Fields& fields : records) fields.push_back("z");
      }
      testing::WriteBytes(
          path, BaseFile(records, same_fields ? kFields : kFields + 1));
    }

    RecordStore fresh;
    ASSERT_TRUE(LoadBase(path, &fresh).ok());
    const Texts fresh_then = TableTexts(fresh.HomeData);
    const std::vector<std::string> before = InOrder(fresh.HomeData);
    const Expected expected = WorkTheRule(then, now, before, same_fields);
    const CarryReport report = CarryEdits(window, &fresh);
    EXPECT_EQ(report, expected.report);
    ASSERT_EQ(InOrder(fresh.HomeData), expected.table)
        << "change " << static_cast<int>(change);
    // Optimising renumbers and keeps every text: the window's records come
    // through as the window shows them.
    if (change == Change::kOptimised) {
      std::vector<std::string> shown;
      for (const auto& [number, text] : now) shown.push_back(text);
      std::vector<std::string> carried = expected.table;
      std::sort(shown.begin(), shown.end());
      std::sort(carried.begin(), carried.end());
      EXPECT_EQ(carried, shown);
    }
    // What was carried is the new store's unsaved edits, saved as shown.
    const auto edits = fresh.UnsavedEdits(kHome);
    const Texts fresh_now = TableTexts(fresh.HomeData);
    size_t differing = 0;
    for (const auto& [number, text] : fresh_now) {
      differing +=
          fresh_then.count(number) == 0 || fresh_then.at(number) != text;
    }
    for (const auto& [number, text] : fresh_then) {
      differing += fresh_now.count(number) == 0;
    }
    EXPECT_EQ(edits.size(), differing);
    EXPECT_TRUE(fresh.UnsavedEdits(kOrg).empty());
    ASSERT_TRUE(SaveChanges(path, fresh).ok());
    RecordStore reloaded;
    ASSERT_TRUE(LoadBase(path, &reloaded).ok());
    EXPECT_EQ(InOrder(reloaded.HomeData), expected.table);
  }
}

// The rule's cases side by side. The window loaded `loaded`; it made its
// edits; the new base holds `fresh`.
TEST(CarryEditsTest, RecordsAreFoundByTextInOrder) {
  const std::string a = RecordText({"1", "a"});
  const std::string b = RecordText({"2", "b"});
  const std::string c = RecordText({"3", "c"});
  const std::string a2 = RecordText({"1", "a2"});
  const std::string b2 = RecordText({"2", "b2"});
  struct WindowEdit {
    size_t index;  // of the loaded record; past them: added
    std::optional<std::string> now;
  };
  struct Case {
    const char* name;
    std::vector<std::string> loaded;
    std::vector<WindowEdit> edits;
    std::vector<std::string> fresh;
    std::vector<std::string> result;
    size_t edited, deleted, added, added_as_new, not_carried;
  };
  const std::vector<Case> cases = {
      {"two like records: the first one",
       {a, b},
       {{0, a2}},
       {a, a},
       {a2, a},
       1,
       0,
       0,
       0,
       0},
      {"two edits of one text, one record left: the second is added",
       {a, a},
       {{0, a2}, {1, b2}},
       {c, a},
       {c, a2, b2},
       1,
       0,
       0,
       1,
       0},
      {"deletions of one text take the records in order",
       {a, a, b},
       {{0, std::nullopt}, {1, std::nullopt}},
       {a, b, a, a},
       {b, a},
       0,
       2,
       0,
       0,
       0},
      {"a deletion of a record gone is dropped",
       {a, b},
       {{1, std::nullopt}},
       {a, c},
       {a, c},
       0,
       0,
       0,
       0,
       1},
      {"an added record follows the last one",
       {a},
       {{1, b}},
       {c},
       {c, b},
       0,
       0,
       1,
       0,
       0},
      {"a record without its first tag is found with it",
       {a},
       {{0, b2}},
       {a.substr(1), c},
       {b2, c},
       1,
       0,
       0,
       0,
       0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    RecordStore window;
    for (size_t i = 0; i < k.loaded.size(); ++i) {
      window.HomeData.Append(static_cast<uint32_t>(i + 1), k.loaded[i]);
    }
    window.header.HomeFieldCount = kFields;
    for (const WindowEdit& edit : k.edits) {
      const auto number = static_cast<uint32_t>(edit.index + 1);
      size_t p = 1;
      while (p < window.HomeData.used && window.HomeData.NumberAt(p) < number) {
        p += window.HomeData.LengthAt(p);
      }
      if (edit.index >= k.loaded.size()) {
        window.AppendRecord(kHome, number, *edit.now);
      } else if (edit.now) {
        window.ReplaceRecordText(kHome, p, *edit.now);
      } else {
        window.RemoveRecord(kHome, p);
      }
    }
    RecordStore fresh;
    fresh.header.HomeFieldCount = kFields;
    for (size_t i = 0; i < k.fresh.size(); ++i) {
      fresh.HomeData.Append(static_cast<uint32_t>(i + 1), k.fresh[i]);
    }
    const CarryReport report = CarryEdits(window, &fresh);
    EXPECT_EQ(InOrder(fresh.HomeData), k.result);
    EXPECT_EQ(report.edited, k.edited);
    EXPECT_EQ(report.deleted, k.deleted);
    EXPECT_EQ(report.added, k.added);
    EXPECT_EQ(report.added_as_new.size(), k.added_as_new);
    EXPECT_EQ(report.not_carried.size(), k.not_carried);
    // Every carried record has its change entry.
    size_t entries = 0;
    for (const ChangeEntry& entry : fresh.HomeChanges) {
      (void)entry;
      ++entries;
    }
    EXPECT_EQ(entries, report.carried());
  }
}

}  // namespace
}  // namespace spravka
