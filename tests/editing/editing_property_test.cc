// SPDX-License-Identifier: GPL-3.0-or-later
// Random sequences of edits, additions, deletions and pastes, checked
// against a plain list of records after every step, and the saved change
// section checked by loading it again: the base then holds exactly what
// the user saw.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "editing/clipboard_text.h"
#include "editing/record_editor.h"
#include "support/fake_edit_grid.h"
#include "storage/record_key.h"
#include "storage/save.h"
#include "support/base_builder.h"

namespace spravka {
namespace {

using testing::FakeEditGrid;
using testing::Fields;

constexpr TableId kHome = TableId::kHome;
constexpr int kFields = 3;

struct ModelRecord {
  uint32_t number;
  Fields fields;
  bool operator==(const ModelRecord&) const = default;
  friend void PrintTo(const ModelRecord& r, std::ostream* out) {
    *out << r.number << ":";
    for (const std::string& f : r.fields) *out << "[" << f << "]";
  }
};

class EditingModel {
 public:
  explicit EditingModel(uint32_t seed) : random_(seed) {}

  std::string Text(size_t max) {
    std::string text;
    const size_t size = Below(max + 1);
    for (size_t i = 0; i < size; ++i) {
      // Mostly letters, now and then a blank or a control byte.
      const uint32_t pick = Below(40);
      text.push_back(pick == 0   ? '\t'
                     : pick == 1 ? ' '
                                 : char('a' + pick % 26));
    }
    return text;
  }
  size_t Below(size_t n) {
    return std::uniform_int_distribution<size_t>(0, n - 1)(random_);
  }

 private:
  std::mt19937 random_;
};

std::vector<ModelRecord> StoreRecords(const Table& table) {
  std::vector<ModelRecord> records;
  const std::vector<Fields> fields = testing::TableRecords(table, kFields);
  const std::vector<uint32_t> numbers = testing::TableNumbers(table);
  for (size_t i = 0; i < fields.size(); ++i) {
    records.push_back({numbers[i], fields[i]});
  }
  return records;
}

TEST(EditingPropertyTest, TheWorkingTableTheGridAndTheSavedBaseAgree) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    EditingModel random(seed);
    std::vector<ModelRecord> model;
    std::vector<Fields> base;
    for (uint32_t i = 1; i <= 1 + random.Below(6); ++i) {
      base.push_back({std::to_string(100 + i), random.Text(6), random.Text(6)});
      model.push_back({i, base.back()});
    }
    const std::string path = testing::TempDir() + "/town.qz";
    testing::WriteBytes(path, testing::MakeBaseFile(base, {{"1", "x"}}));
    RecordStore store;
    ASSERT_EQ(LoadBase(path, &store).code(), StatusCode::kOk);
    store.header.NumberLength = 6;
    FakeEditGrid grid(kFields);
    grid.ShowAll(store.HomeData, kFields);

    for (int step = 0; step < 60; ++step) {
      const size_t op = random.Below(10);
      const int rows = grid.RowCount() - 1;
      if (op < 6 && rows > 0) {  // type into a cell
        const int row = 1 + static_cast<int>(random.Below(rows));
        const int column = 1 + static_cast<int>(random.Below(kFields));
        std::string value = random.Text(12);
        grid.SetCell(column, row, value);
        ASSERT_TRUE(ApplyCellEdit(store, kHome, grid, column, row, value));
        for (char& c : value) {
          if (c == '\t') c = ' ';
        }
        model[row - 1].fields[column - 1] = value;
      } else if (op == 6) {
        ASSERT_TRUE(AddRecord(store, kHome, grid));
        model.push_back(
            {model.empty() ? 1 : model.back().number + 1, {"000000", "", ""}});
      } else if (op == 7 && rows > 0) {
        const int row = 1 + static_cast<int>(random.Below(rows));
        grid.SetCurrent(1, row);
        ASSERT_TRUE(DeleteCurrentRecord(store, kHome, grid));
        model.erase(model.begin() + row - 1);
        grid.ShowAll(store.HomeData, kFields);  // the search runs again
      } else if (op == 8) {
        std::string text;
        const size_t lines = random.Below(3);
        for (size_t i = 0; i < lines; ++i) {
          std::string a = "p" + random.Text(4);
          std::replace(a.begin(), a.end(), '\t', 'x');
          text += a + "\tq\r\n";
          model.push_back(
              {model.empty() ? 1 : model.back().number + 1, {a, "q", ""}});
        }
        ASSERT_TRUE(PasteRecords(store, kHome, text).has_value());
        grid.ShowAll(store.HomeData, kFields);
      }
      ASSERT_EQ(StoreRecords(store.HomeData), model) << "step " << step;
      for (int row = 1; row < grid.RowCount(); ++row) {
        const size_t p = static_cast<size_t>(KeyToNumber(grid.Cell(0, row)));
        ASSERT_TRUE(store.HomeData.HoldsRecordAt(p));
        ASSERT_EQ(store.HomeData.NumberAt(p), model[row - 1].number);
      }
    }
    ASSERT_TRUE(SaveChanges(path, store).ok());
    RecordStore reloaded;
    ASSERT_EQ(LoadBase(path, &reloaded).code(), StatusCode::kOk);
    EXPECT_EQ(StoreRecords(reloaded.HomeData), model);
  }
}

}  // namespace
}  // namespace spravka
