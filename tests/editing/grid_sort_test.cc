// SPDX-License-Identifier: GPL-3.0-or-later
// Sorting the shown rows by a column.
#include "editing/grid_sort.h"

#include <gtest/gtest.h>

#include "editing/record_editor.h"
#include "support/fake_edit_grid.h"
#include "storage/record_key.h"
#include "support/base_builder.h"

namespace spravka {
namespace {

using testing::FakeEditGrid;
using testing::Fields;

constexpr TableId kHome = TableId::kHome;

// Byte order stands in for the platform's comparison here: 0xFF is last.
bool ByteLess(const std::string& a, const std::string& b) { return a < b; }

class GridSortTest : public ::testing::Test {
 protected:
  void Load(const std::vector<Fields>& home, bool capped = false) {
    ASSERT_EQ(
        LoadBaseFromBytes(testing::MakeBaseFile(home, {{"9", "x"}}), &store_)
            .code(),
        StatusCode::kOk);
    grid_ = FakeEditGrid(2);
    grid_.ShowAll(store_.HomeData, 2, capped);
  }
  std::vector<std::string> Column(int c) {
    std::vector<std::string> cells;
    for (int row = 1; row < grid_.RowCount(); ++row)
      cells.push_back(grid_.Cell(c, row));
    return cells;
  }
  bool Sort(int column) {
    return SortGridByColumn(store_, kHome, grid_, column, ByteLess);
  }

  RecordStore store_;
  FakeEditGrid grid_{2};
};

TEST(SortKeyTest, LeadingDigitsBecomeSevenDigits) {
  EXPECT_EQ(SortKey("9"), "0000009");
  EXPECT_EQ(SortKey("10"), "0000010");
  EXPECT_EQ(SortKey("12а"), "0000012а");
  EXPECT_EQ(SortKey("123456789"), "3456789");
  EXPECT_EQ(SortKey("Мира"), "Мира");
  EXPECT_EQ(SortKey(""), "");
}

TEST_F(GridSortTest, NumbersSortByValueAndRowsComeFromTheTable) {
  Load({{"10", "a"}, {"9", "b"}, {"100", "c"}, {"9a", "d"}});
  grid_.SetCell(2, 1, "typed, not stored");
  EXPECT_TRUE(Sort(1));
  // "9" is a beginning of "9a": compared at 0xFF, it goes after.
  EXPECT_EQ(Column(1), (std::vector<std::string>{"9a", "9", "10", "100"}));
  EXPECT_EQ(Column(2), (std::vector<std::string>{"d", "b", "a", "c"}));
  for (int row = 1; row <= 4; ++row) {
    const size_t p = static_cast<size_t>(KeyToNumber(grid_.Cell(0, row)));
    EXPECT_EQ(std::string(FieldOf(store_.HomeData.TextAt(p), 1)),
              grid_.Cell(1, row));
  }
  // Column 0 sorts by position, the table's order.
  EXPECT_TRUE(Sort(0));
  EXPECT_EQ(Column(1), (std::vector<std::string>{"10", "9", "100", "9a"}));
}

TEST_F(GridSortTest, AKeyThatBeginsALongerOneGoesAfterIt) {
  Load({{"1", "Ив"}, {"2", "Иванов"}, {"3", "Иб"}});
  EXPECT_TRUE(Sort(2));
  EXPECT_EQ(Column(2), (std::vector<std::string>{"Иб", "Иванов", "Ив"}));
}

TEST_F(GridSortTest, TheOverflowRowStaysLastAndOneRowIsNotSorted) {
  Load({{"2", "b"}, {"1", "a"}}, /*capped=*/true);
  EXPECT_TRUE(Sort(1));
  EXPECT_EQ(Column(1), (std::vector<std::string>{"1", "2", ". . . . ."}));

  Load({{"2", "b"}});
  grid_.SetCell(1, 1, "left as it is");
  EXPECT_FALSE(Sort(1));
  EXPECT_EQ(Column(1), (std::vector<std::string>{"left as it is"}));
}

TEST_F(GridSortTest, TheEditorClosesAndEscPutsBackTheNewCellsText) {
  Load({{"2", "b"}, {"1", "a"}});
  grid_.SetCurrent(2, 1);  // "b"
  grid_.editor_open = true;
  ASSERT_TRUE(Sort(1));
  EXPECT_FALSE(grid_.editor_open);
  EXPECT_EQ(grid_.Cell(2, 1), "a");
  EXPECT_EQ(grid_.CellUndo(), "a");
  grid_.SetCell(2, 1, "zzz");
  ASSERT_TRUE(ApplyCellEdit(store_, kHome, grid_, 2, 1, "zzz"));
  ASSERT_TRUE(RestoreCurrentCell(store_, kHome, grid_));
  EXPECT_EQ(testing::TableRecords(store_.HomeData, 2),
            (std::vector<Fields>{{"2", "b"}, {"1", "a"}}));
}

}  // namespace
}  // namespace spravka
