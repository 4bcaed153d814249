// SPDX-License-Identifier: GPL-3.0-or-later
// Editing records in the grid: cell edits, Esc, adding and deleting.
#include "editing/record_editor.h"

#include <gtest/gtest.h>

#include "support/fake_edit_grid.h"
#include "storage/record_key.h"
#include "support/base_builder.h"

namespace spravka {
namespace {

using testing::FakeEditGrid;
using testing::Fields;
using testing::RecordText;
using testing::TableNumbers;
using testing::TableRecords;

constexpr TableId kHome = TableId::kHome;
using testing::UsedBytes;

class RecordEditorTest : public ::testing::Test {
 protected:
  void Load(const std::vector<Fields>& home) {
    ASSERT_EQ(
        LoadBaseFromBytes(testing::MakeBaseFile(home, {{"9", "x"}}), &store_)
            .code(),
        StatusCode::kOk);
    grid_ = FakeEditGrid(3);
    grid_.ShowAll(store_.HomeData, 3);
  }
  void SetUp() override {
    Load({{"111", "Ann", "Oak"}, {"222", "Bob", "Elm"}, {"333", "Cid", "Ash"}});
  }
  // The user's typing: the cell shows the text, then the record takes it.
  bool Type(int column, int row, const std::string& text) {
    grid_.SetCell(column, row, text);
    return ApplyCellEdit(store_, kHome, grid_, column, row, text);
  }
  std::vector<Fields> Records() { return TableRecords(store_.HomeData, 3); }
  std::string Change(int number) {
    const std::optional<std::string_view> d = store_.HomeChanges.Find(number);
    return d ? std::string(*d) : "(none)";
  }

  RecordStore store_;
  FakeEditGrid grid_{3};
};

TEST_F(RecordEditorTest, ACellEditRewritesTheRecordAndItsChangeEntry) {
  const uint64_t generation = store_.generation(kHome);
  EXPECT_TRUE(Type(2, 1, "Anna"));
  EXPECT_EQ(Records(), (std::vector<Fields>{{"111", "Anna", "Oak"},
                                            {"222", "Bob", "Elm"},
                                            {"333", "Cid", "Ash"}}));
  EXPECT_EQ(Change(1), RecordText({"111", "Anna", "Oak"}));
  EXPECT_GT(store_.generation(kHome), generation);

  // The same length again moves nothing but replaces the entry.
  const size_t used = store_.HomeData.used;
  EXPECT_TRUE(Type(2, 1, "Anny"));
  EXPECT_EQ(store_.HomeData.used, used);
  EXPECT_EQ(Change(1), RecordText({"111", "Anny", "Oak"}));
  EXPECT_EQ(store_.HomeChanges.size(), 1u);
}

TEST_F(RecordEditorTest, LaterRowsFollowTheirRecordsAfterALengthChange) {
  // Shorter, longer, then edits of later rows reach the right records.
  for (const char* text : {"A", "Annabelle-Marie"}) {
    ASSERT_TRUE(Type(2, 1, text));
    ASSERT_TRUE(Type(3, 2, std::string("Elm-") + text));
    ASSERT_TRUE(Type(1, 3, std::string("33") + text));
    EXPECT_EQ(Records(),
              (std::vector<Fields>{{"111", text, "Oak"},
                                   {"222", "Bob", std::string("Elm-") + text},
                                   {std::string("33") + text, "Cid", "Ash"}}));
  }
  EXPECT_EQ(TableNumbers(store_.HomeData), (std::vector<uint32_t>{1, 2, 3}));
  // The rows' positions are the records' positions.
  for (int row = 1; row <= 3; ++row) {
    const size_t p = static_cast<size_t>(KeyToNumber(grid_.Cell(0, row)));
    EXPECT_EQ(store_.HomeData.NumberAt(p), static_cast<uint32_t>(row));
  }
}

TEST_F(RecordEditorTest, EditsThatCannotReachARecordChangeNothing) {
  grid_ = FakeEditGrid(3);
  grid_.ShowAll(store_.HomeData, 3, /*capped=*/true);
  const std::string before = UsedBytes(store_.HomeData);
  struct Case {
    const char* what;
    std::string position;
    int column;
  };
  const Case cases[] = {
      {"the overflow row", ". . . . .", 1},
      {"position 0", "0000000", 1},
      {"a position behind the table", RecordKey(99999), 1},
      {"inside a record, not its start", "0000002", 1},
      {"a column the table lacks", "0000001", 4},
  };
  for (const Case& c : cases) {
    grid_.SetCell(0, 4, c.position);
    EXPECT_FALSE(ApplyCellEdit(store_, kHome, grid_, c.column, 4, "x"))
        << c.what;
    if (c.column <= 3) {
      EXPECT_EQ(grid_.Cell(c.column, 4), ". . . . .") << c.what;
    }
  }
  EXPECT_EQ(UsedBytes(store_.HomeData), before);
  EXPECT_TRUE(store_.HomeChanges.empty());

  // A record without the tag of the edited field.
  Load({{"111"}, {"222"}});
  store_.header.HomeFieldCount = 3;
  grid_.SetCell(0, 1, "0000001");
  EXPECT_FALSE(ApplyCellEdit(store_, kHome, grid_, 2, 1, "x"));
}

TEST_F(RecordEditorTest, AValueTooLongIsCutToTheRecordsRoomAndTheCellKeepsIt) {
  const std::string huge(70000, 'z');
  EXPECT_TRUE(Type(2, 2, huge));
  const size_t p = static_cast<size_t>(KeyToNumber(grid_.Cell(0, 2)));
  EXPECT_EQ(store_.HomeData.TextAt(p).size(), kMaxRecordText);
  EXPECT_EQ(store_.HomeData.LengthAt(p), kMaxRecordText + kRecordHeadSize);
  EXPECT_EQ(grid_.Cell(2, 2), huge);
  // The record after it is still whole and still reached.
  EXPECT_TRUE(Type(2, 3, "Cy"));
  EXPECT_EQ(Records()[2], (Fields{"333", "Cy", "Ash"}));
  // A record already full takes nothing more, without harm.
  EXPECT_TRUE(Type(3, 2, "longer street name"));
  EXPECT_EQ(store_.HomeData.TextAt(p).size(), kMaxRecordText);
}

TEST_F(RecordEditorTest, ControlBytesTypedOrPastedBecomeBlanks) {
  EXPECT_TRUE(Type(2, 1,
                   std::string("a\tb\nc\x1F"
                               "d\x01")));
  EXPECT_EQ(Records()[0], (Fields{"111", "a b c d ", "Oak"}));
  EXPECT_EQ(Change(1), RecordText({"111", "a b c d ", "Oak"}));
}

TEST_F(RecordEditorTest, EscPutsBackTheTextTheCellHadWhenSelected) {
  grid_.SetCurrent(2, 2);
  for (const char* typed : {"B", "Bo", "Bor", "Bori"}) Type(2, 2, typed);
  EXPECT_TRUE(RestoreCurrentCell(store_, kHome, grid_));
  EXPECT_EQ(grid_.Cell(2, 2), "Bob");
  EXPECT_EQ(Records()[1], (Fields{"222", "Bob", "Elm"}));
  // The entry stays, though the record equals the base's again.
  EXPECT_EQ(Change(2), RecordText({"222", "Bob", "Elm"}));

  // Edited earlier in the same stay on the cell: still the first text.
  Type(2, 2, "Boris");
  grid_.RememberCurrentCell();  // a search refilled the grid
  Type(2, 2, "Borislav");
  EXPECT_TRUE(RestoreCurrentCell(store_, kHome, grid_));
  EXPECT_EQ(Records()[1], (Fields{"222", "Boris", "Elm"}));
}

TEST_F(RecordEditorTest, NextRecordNumber) {
  Table empty;
  EXPECT_EQ(NextRecordNumber(empty), 1u);
  EXPECT_EQ(NextRecordNumber(store_.HomeData), 4u);

  Table t = store_.HomeData;
  *t.at(t.used) = 'x';  // no terminator at the end
  EXPECT_EQ(NextRecordNumber(t), std::nullopt);
  t = store_.HomeData;
  t.used -= 1;  // the last record's length does not meet the end
  *t.at(t.used) = 0x1F;
  EXPECT_EQ(NextRecordNumber(t), std::nullopt);
  // A text without tag 1: the scan stops at the table's start.
  Table bare;
  bare.bytes = ByteBuffer(10, '\x1F');
  bare.used = 9;
  EXPECT_EQ(NextRecordNumber(bare), std::nullopt);
  // Numbers stay within seven-digit keys.
  Table full;
  full.Append(9999999, RecordText({"1"}));
  EXPECT_EQ(NextRecordNumber(full), std::nullopt);
}

TEST_F(RecordEditorTest, AddingOnAnEmptyTableGivesRecordOneAtPositionOne) {
  Load({});
  store_.header.HomeFieldCount = 3;
  store_.header.NumberLength = 6;
  grid_ = FakeEditGrid(3);
  ASSERT_FALSE(grid_.IsVisible());
  grid_.editor_open = true;
  EXPECT_TRUE(AddRecord(store_, kHome, grid_));
  EXPECT_TRUE(grid_.IsVisible());
  EXPECT_FALSE(grid_.editor_open);
  EXPECT_TRUE(grid_.focused);
  ASSERT_EQ(grid_.RowCount(), 2);
  EXPECT_EQ(grid_.rows[1],
            (std::vector<std::string>{"0000001", "000000", "", ""}));
  EXPECT_EQ(grid_.Row(), 1);
  EXPECT_EQ(grid_.Col(), 1);
  EXPECT_EQ(grid_.CellUndo(), "000000");
  EXPECT_EQ(store_.HomeData.NumberAt(1), 1u);
  EXPECT_EQ(Change(1), RecordText({"000000", "", ""}));
}

TEST_F(RecordEditorTest, AddingShowsTheNewRowBelowTheResultAndEscKeepsToIt) {
  // The user stood on an edited number cell of another row.
  grid_.SetCurrent(1, 2);
  Type(1, 2, "2229");
  ASSERT_TRUE(AddRecord(store_, kHome, grid_));
  ASSERT_EQ(grid_.RowCount(), 5);
  EXPECT_EQ(grid_.Row(), 4);
  const size_t p = static_cast<size_t>(KeyToNumber(grid_.Cell(0, 4)));
  ASSERT_TRUE(store_.HomeData.HoldsRecordAt(p));
  EXPECT_EQ(store_.HomeData.NumberAt(p), 4u);
  Type(1, 4, "444");
  EXPECT_TRUE(RestoreCurrentCell(store_, kHome, grid_));
  EXPECT_EQ(Records()[3], (Fields{"000000", "", ""}));
  EXPECT_EQ(Records()[1], (Fields{"2229", "Bob", "Elm"}));
}

TEST_F(RecordEditorTest, AddingToATableThatDoesNotEndWellChangesNothing) {
  store_.HomeData.used -= 1;
  const FakeEditGrid before = grid_;
  EXPECT_FALSE(AddRecord(store_, kHome, grid_));
  EXPECT_EQ(grid_.rows, before.rows);
  EXPECT_TRUE(store_.HomeChanges.empty());
}

TEST_F(RecordEditorTest, DeletingTheLastRecordFreesItsNumber) {
  grid_.SetCurrent(1, 3);
  EXPECT_EQ(DeleteQuestion(grid_),
            "Удалить запись для абонента\r\nс номером: 333\r\nCid ?");
  const size_t last = static_cast<size_t>(KeyToNumber(grid_.Cell(0, 3)));
  EXPECT_TRUE(DeleteCurrentRecord(store_, kHome, grid_));
  EXPECT_EQ(store_.HomeData.used, last - 1);
  EXPECT_EQ(Change(3), "\x1F");
  ASSERT_TRUE(AddRecord(store_, kHome, grid_));
  EXPECT_EQ(TableNumbers(store_.HomeData), (std::vector<uint32_t>{1, 2, 3}));
  EXPECT_EQ(Change(3), RecordText({"000000", "", ""}));
}

TEST_F(RecordEditorTest, DeletingAMiddleRecordKeepsTheTableWhole) {
  grid_.SetCurrent(2, 2);
  EXPECT_TRUE(DeleteCurrentRecord(store_, kHome, grid_));
  EXPECT_EQ(Records(), (std::vector<Fields>{{"111", "Ann", "Oak"},
                                            {"333", "Cid", "Ash"}}));
  EXPECT_EQ(Change(2), "\x1F");
  grid_.ShowAll(store_.HomeData, 3);  // the search runs again
  ASSERT_TRUE(AddRecord(store_, kHome, grid_));
  EXPECT_EQ(TableNumbers(store_.HomeData), (std::vector<uint32_t>{1, 3, 4}));
}

TEST_F(RecordEditorTest, DeletingTheOverflowRowChangesNothing) {
  grid_.ShowAll(store_.HomeData, 3, /*capped=*/true);
  grid_.SetCurrent(1, 4);
  EXPECT_EQ(
      DeleteQuestion(grid_),
      "Удалить запись для абонента\r\nс номером: . . . . .\r\n. . . . . ?");
  const std::string before = UsedBytes(store_.HomeData);
  EXPECT_FALSE(DeleteCurrentRecord(store_, kHome, grid_));
  EXPECT_EQ(UsedBytes(store_.HomeData), before);
  EXPECT_TRUE(store_.HomeChanges.empty());
}

}  // namespace
}  // namespace spravka
