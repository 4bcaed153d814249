// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_pattern.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/match_record.h"
#include "search_test_util.h"
#include "storage/base_header.h"
#include "support/base_builder.h"

namespace spravka {
namespace {

using testing::W;

TEST(UniversalPatternTest, FixesLayoutFoldsAndKeepsBlanks) {
  EXPECT_EQ(UniversalPattern(W("Bdfyjd ЛЕНИНА ")), W("иванов ленина \x1F"));
  EXPECT_EQ(UniversalPattern(""), "\x1F");
  // A stray 0x1F would end the pattern before the next keyword.
  EXPECT_EQ(UniversalPattern(W("ив\x1Fпет")), W("ив пет\x1F"));
}

class DetailedPatternTest : public ::testing::Test {
 protected:
  std::string Home(std::vector<std::string> edits) {
    for (auto& e : edits) e = W(e);
    return DetailedPattern(TableId::kHome, edits, maps_, 6);
  }
  std::string Org(std::vector<std::string> edits) {
    for (auto& e : edits) e = W(e);
    return DetailedPattern(TableId::kOrg, edits, maps_, 6);
  }
  // Columns = kind + 1 for every kind.
  ColumnMaps maps_ = ColumnMaps::FromHeader(testing::FullHeader());
};

std::string Item(int tag, uint8_t mode, const char* text) {
  return std::string(1, static_cast<char>(tag)) + static_cast<char>(mode) +
         W(text);
}

TEST_F(DetailedPatternTest, ItemsPerFieldInKindOrder) {
  EXPECT_EQ(Home({}), "\x1F");
  EXPECT_EQ(
      Home({"", "Иванов", "", "12"}),
      Item(2, kSubstringItem, "иванов") + Item(4, kPrefixItem, "12") + "\x1F");
  // Caret rule in the text fields, "^" an ordinary byte in the others.
  EXPECT_EQ(Home({"", "^Bdfyjd", "^", "^1", "", "", "^Цент"}),
            Item(2, kPrefixItem, "иванов") + Item(4, kPrefixItem, "^1") +
                Item(7, kPrefixItem, "цент") + "\x1F");
  EXPECT_EQ(Org({"", "", "^ЦЕХ", "^Мира", "", "", "^2", "Центр"}),
            Item(3, kPrefixItem, "цех") + Item(4, kPrefixItem, "мира") +
                Item(7, kPrefixItem, "^2") + Item(8, kSubstringItem, "центр") +
                "\x1F");
  // At most 100 characters after a "^".
  EXPECT_EQ(Home({"", "^" + std::string(150, '7')}),
            Item(2, kPrefixItem, "") + std::string(100, '7') + "\x1F");
  // Control bytes would end an item early.
  EXPECT_EQ(Home({"", "ив\tан"}), Item(2, kSubstringItem, "иван") + "\x1F");
}

TEST_F(DetailedPatternTest, NumberItem) {
  // Residential numbers are only folded; organisation numbers are text.
  EXPECT_EQ(Home({"Ab1"}), Item(1, kPrefixItem, "Ab1") + "\x1F");
  EXPECT_EQ(Org({"Ab1"}), Item(1, kPrefixItem, "фи1") + "\x1F");
  // A complete number is the only criterion.
  EXPECT_EQ(Home({"123456", "Иванов", "Мира"}),
            Item(1, kPrefixItem, "123456") + "\x1F");
  EXPECT_EQ(Home({"12345", "Иванов"}), Item(1, kPrefixItem, "12345") +
                                           Item(2, kSubstringItem, "иванов") +
                                           "\x1F");
}

TEST_F(DetailedPatternTest, FieldsWithoutSearchBoxGiveNoItem) {
  BaseHeader header = testing::FullHeader();
  header.HomeEditPlaces[1].label_left = 0;  // subscriber shown, not searched
  maps_ = ColumnMaps::FromHeader(header);
  EXPECT_EQ(Home({"", "Иванов", "Мира"}),
            Item(3, kSubstringItem, "мира") + "\x1F");
}

TEST(IsFullNumberTest, ExactlyNumberLengthDigits) {
  const struct {
    const char* text;
    bool full;
  } cases[] = {
      {"123456", true},  {" 123456\t", true}, {"012345", false},
      {"+12345", false}, {"12345", false},    {"1234567", false},
      {"12 456", false}, {"12a456", false},   {"", false},
      {"-12345", true},  // an integer of six characters, read literally
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsFullNumber(c.text, 6), c.full) << "«" << c.text << "»";
  }
  EXPECT_TRUE(IsFullNumber("-1", 2));
  EXPECT_FALSE(IsFullNumber("", 0));
}

}  // namespace
}  // namespace spravka
