// SPDX-License-Identifier: GPL-3.0-or-later
// The clipboard's text forms: the row copy, the grid copy and the paste.
#include "editing/clipboard_text.h"

#include <gtest/gtest.h>

#include "editing/record_editor.h"
#include "support/fake_edit_grid.h"
#include "storage/record_key.h"
#include "support/base_builder.h"

namespace spravka {
namespace {

using testing::FakeEditGrid;
using testing::Fields;
using testing::RecordText;
using testing::TableRecords;

constexpr TableId kHome = TableId::kHome;
using testing::UsedBytes;

class ClipboardTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(LoadBaseFromBytes(
                  testing::MakeBaseFile(
                      {{"111", "Ann", "Oak"}, {"222", "", ""}}, {{"9", "x"}}),
                  &store_)
                  .code(),
              StatusCode::kOk);
    grid_.ShowAll(store_.HomeData, 3);
  }
  // The records a paste appended, in table order.
  std::vector<Fields> Pasted(const std::string& text) {
    const size_t before = TableRecords(store_.HomeData, 3).size();
    EXPECT_TRUE(PasteRecords(store_, kHome, text).has_value());
    std::vector<Fields> all = TableRecords(store_.HomeData, 3);
    return std::vector<Fields>(all.begin() + static_cast<long>(before),
                               all.end());
  }

  RecordStore store_;
  FakeEditGrid grid_{3};
};

TEST_F(ClipboardTextTest, RowCopyIsOneLineOfBlankLedFields) {
  grid_.SetCurrent(2, 1);
  EXPECT_EQ(RowCopyText(grid_, 3), " 111 Ann Oak");
  grid_.SetCurrent(2, 2);
  EXPECT_EQ(RowCopyText(grid_, 3), " 222  ");
  grid_.SetCurrent(2, 0);
  EXPECT_EQ(RowCopyText(grid_, 3), "");
}

TEST_F(ClipboardTextTest, GridCopyHasTabsAfterEveryFieldAndCrLineEnds) {
  grid_.ShowAll(store_.HomeData, 3, /*capped=*/true);
  EXPECT_EQ(GridCopyText(grid_, 3),
            "Caption1\tCaption2\tCaption3\t\r"
            "111\tAnn\tOak\t\r"
            "222\t\t\t\r"
            ". . . . .\t. . . . .\t. . . . .\t\r");
}

TEST_F(ClipboardTextTest, PasteLines) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<Fields> records;
  };
  const std::string long_line(70000, 'w');
  const Case cases[] = {
      {"all fields", "a\tb\tc", {{"a", "b", "c"}}},
      {"fewer fields", "a\tb", {{"a", "b", ""}}},
      {"more fields", "a\tb\tc\td\te", {{"a", "b", "c"}}},
      {"the trailing tab of a copy", "a\tb\tc\t\r", {{"a", "b", "c"}}},
      {"tabs only", "\t\t", {{"", "", ""}}},
      {"CR LF", "a\r\nb\r\n", {{"a", "", ""}, {"b", "", ""}}},
      {"LF", "a\nb", {{"a", "", ""}, {"b", "", ""}}},
      {"CR CR", "a\r\rb\r", {{"a", "", ""}, {"b", "", ""}}},
      {"empty lines", "\r\n\r\n\n\r", {}},
      {"nothing", "", {}},
      {"control bytes",
       std::string("a\x01"
                   "b\x1F"
                   "c\x1E\x7F"),
       {{"abc\x7F", "", ""}}},
      {"a row copy", " 222  ", {{" 222  ", "", ""}}},
      {"a line too long",
       long_line + "\tb",
       {{std::string(64000, 'w'), "", ""}}},
  };
  for (const Case& c : cases) {
    SetUp();
    EXPECT_EQ(Pasted(c.text), c.records) << c.what;
  }
}

TEST_F(ClipboardTextTest, PastedRecordsAreNumberedOnAndEnteredAsChanges) {
  ASSERT_EQ(PasteRecords(store_, kHome, "x\ty\tz\rp\tq\tr\r"), 2u);
  const std::vector<uint32_t> numbers = testing::TableNumbers(store_.HomeData);
  EXPECT_EQ(numbers, (std::vector<uint32_t>{1, 2, 3, 4}));
  EXPECT_EQ(*store_.HomeChanges.Find(3),
            RecordText({"x", "y", "z"}));
  EXPECT_EQ(*store_.HomeChanges.Find(4),
            RecordText({"p", "q", "r"}));
  // The table stays well formed: adding goes on after them.
  EXPECT_EQ(NextRecordNumber(store_.HomeData), 5u);
}

TEST_F(ClipboardTextTest, AGridCopyPastedBackAddsTheCaptionsToo) {
  grid_.ShowAll(store_.HomeData, 3, /*capped=*/true);
  EXPECT_EQ(Pasted(GridCopyText(grid_, 3)),
            (std::vector<Fields>{{"Caption1", "Caption2", "Caption3"},
                                 {"111", "Ann", "Oak"},
                                 {"222", "", ""},
                                 {". . . . .", ". . . . .", ". . . . ."}}));
}

TEST_F(ClipboardTextTest, ATableThatDoesNotEndWellTakesNothing) {
  store_.HomeData.used -= 1;
  const std::string before = UsedBytes(store_.HomeData);
  EXPECT_EQ(PasteRecords(store_, kHome, "a\tb\tc\r"), std::nullopt);
  EXPECT_EQ(UsedBytes(store_.HomeData), before);
  EXPECT_TRUE(store_.HomeChanges.empty());
}

}  // namespace
}  // namespace spravka
