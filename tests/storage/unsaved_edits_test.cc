// SPDX-License-Identifier: GPL-3.0-or-later
// What a store knows of its unsaved edits, against a plain map of record
// number to text kept as loaded and as last saved: random replacements,
// removals, additions (a number freed by deleting the last record taken
// again), rewrites of several records at once, edits back to the text a
// record had, and saves.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "storage/record_store.h"
#include "support/base_builder.h"

namespace spravka {
namespace {

constexpr TableId kHome = TableId::kHome;
using Texts = std::map<uint32_t, std::string>;

struct Edit {
  uint32_t number;
  std::optional<std::string> then;
  std::optional<std::string> now;
  bool operator==(const Edit&) const = default;
  friend void PrintTo(const Edit& e, std::ostream* out) {
    *out << e.number << ": " << ::testing::PrintToString(e.then) << " -> "
         << ::testing::PrintToString(e.now);
  }
};

// The records whose text differs between the two maps, in number order.
std::vector<Edit> Differences(const Texts& then, const Texts& now) {
  std::vector<Edit> edits;
  std::map<uint32_t, Edit> by_number;
  for (const auto& [number, text] : then)
    by_number[number] = {number, text, {}};
  for (const auto& [number, text] : now) {
    by_number.try_emplace(number, Edit{number, {}, {}}).first->second.now =
        text;
  }
  for (const auto& [number, edit] : by_number) {
    if (edit.then != edit.now) edits.push_back(edit);
  }
  return edits;
}

std::vector<Edit> StoreEdits(const RecordStore& store) {
  std::vector<Edit> edits;
  for (const RecordStore::UnsavedEdit& e : store.UnsavedEdits(kHome)) {
    Edit edit{e.number, {}, {}};
    if (e.then) edit.then = std::string(*e.then);
    if (e.now) edit.now = std::string(*e.now);
    edits.push_back(edit);
  }
  return edits;
}

Texts TableTexts(const Table& table) {
  Texts texts;
  for (size_t p = 1; p < table.used; p += table.LengthAt(p)) {
    texts[table.NumberAt(p)] = std::string(table.TextAt(p));
  }
  return texts;
}

size_t PositionOf(const Table& table, size_t index) {
  size_t p = 1;
  for (size_t i = 0; i < index; ++i) p += table.LengthAt(p);
  return p;
}

TEST(UnsavedEditsTest, AreTheDifferenceFromTheTablesAsLoadedOrLastSaved) {
  for (uint32_t seed = 1; seed <= 30; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    const auto below = [&](size_t n) {
      return std::uniform_int_distribution<size_t>(0, n - 1)(random);
    };
    // Few texts, so that an edit often gives a record its text back.
    const auto text = [&] {
      return testing::RecordText({std::string(below(3), 'a'), "b"});
    };
    std::vector<testing::Fields> base;
    for (size_t i = 0; i < 1 + below(8); ++i) base.push_back({"n", "x"});
    // Saved changes too: the record numbers have gaps and added records.
    ChangeList saved;
    saved.Set(2, ChangeList::kDeletion);
    saved.Set(static_cast<uint32_t>(base.size() + 2), text());
    RecordStore store;
    ASSERT_TRUE(
        LoadBaseFromBytes(testing::MakeBaseFile(base, {{"1", "o"}}, 7, &saved),
                          &store)
            .ok());
    Texts now = TableTexts(store.HomeData);
    Texts then = now;

    for (int step = 0; step < 80; ++step) {
      const Table& table = store.HomeData;
      const size_t op = below(12);
      if (op < 5 && !now.empty()) {
        const size_t index = below(now.size());
        const uint32_t number = std::next(now.begin(), index)->first;
        // Now and then straight back to the text it had then.
        const std::string to =
            then.count(number) && below(3) == 0 ? then[number] : text();
        store.ReplaceRecordText(kHome, PositionOf(table, index), to);
        now[number] = to;
      } else if (op < 7 && !now.empty()) {
        const size_t index = below(now.size());
        now.erase(std::next(now.begin(), index));
        store.RemoveRecord(kHome, PositionOf(table, index));
      } else if (op < 9) {
        const uint32_t number = now.empty() ? 1 : now.rbegin()->first + 1;
        const std::string added = text();
        store.AppendRecord(kHome, number, added);
        now[number] = added;
      } else if (op < 11) {
        std::vector<RecordStore::Rewrite> rewrites;
        std::vector<std::string> texts(now.size());
        size_t index = 0;
        for (auto it = now.begin(); it != now.end(); ++index) {
          if (below(3) != 0) {
            ++it;
            continue;
          }
          const size_t p = PositionOf(table, index);
          if (below(3) == 0) {
            rewrites.push_back({p, std::nullopt});
            it = now.erase(it);
          } else {
            texts[index] = text();
            rewrites.push_back({p, texts[index]});
            it->second = texts[index];
            ++it;
          }
        }
        // Positions before the rewrite: counted over the table as it was.
        store.RewriteRecords(kHome, rewrites);
      } else {
        store.EditsSaved();
        then = now;
      }
      ASSERT_EQ(TableTexts(store.HomeData), now) << "step " << step;
      ASSERT_EQ(StoreEdits(store), Differences(then, now)) << "step " << step;
      ASSERT_EQ(store.HasUnsavedEdits(), !Differences(then, now).empty());
    }
  }
}

}  // namespace
}  // namespace spravka
