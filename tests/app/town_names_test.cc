// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/town_names.h"

#include <gtest/gtest.h>

#include "app/town_list.h"

namespace spravka {
namespace {

TEST(TownNamesTest, BaseToTownNameAndBack) {
  struct Case {
    const char* base;
    const char* entry;
    const char* back;  // TownToBaseName(entry)
  };
  const Case cases[] = {
      {"Town", " Town", "Town"},
      {"/bases/Town", " Town */bases", "/bases/Town"},
      {"/Town", " Town */", "/Town"},
      {"", " ", ""},
      {"Демоград", " Демоград", "Демоград"},
      {"/дом/Новый город", " Новый город */дом", "/дом/Новый город"},
      // A base name has no ".qz" of its file: what looks like one is part
      // of the name (the base of the file "my.qz.qz").
      {"my.qzone", " my.qzone", "my.qzone"},
      {"my.qz", " my.qz", "my.qz"},
      {"/bases/my.qz", " my.qz */bases", "/bases/my.qz"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BaseToTownName(c.base), c.entry) << c.base;
    EXPECT_EQ(TownToBaseName(c.entry), c.back) << c.entry;
  }
}

TEST(TownNamesTest, TownToBaseNameTrimsAndCopesWithOddTexts) {
  EXPECT_EQ(TownToBaseName(""), "");
  EXPECT_EQ(TownToBaseName("  Town \t"), "Town");
  EXPECT_EQ(TownToBaseName("*"), "");
  EXPECT_EQ(TownToBaseName(" *"), "");
}

TEST(TownListTest, SortsWithoutRegardToCaseAndFindsWholeTexts) {
  TownList list = BuildTownList(
      {"Moscow.qz", "Kiev.qz", "notes.txt", "Архив.QZ", "абакан.qz",
       "Ёлкино.qz", "Ялта.qz", "Жуков.qz", "Елец.qz", "big.qz.bak", "a.qzone"});
  EXPECT_EQ(list.entries(),
            (std::vector<std::string>{" Kiev", " Moscow", " абакан", " Архив",
                                      " Елец", " Ёлкино", " Жуков", " Ялта"}));
  EXPECT_EQ(list.Find(" MOSCOW"), 1);
  EXPECT_EQ(list.Find(" архив"), 3);
  EXPECT_EQ(list.Find(" Mos"), -1);
  EXPECT_EQ(list.Find(BaseToTownName("")), -1);

  TownList twins = BuildTownList({"Kiev.qz", "kiev.QZ"});
  EXPECT_EQ(twins[twins.Find(" kiev")], " kiev");
  EXPECT_EQ(twins[twins.Find(" Kiev")], " Kiev");
  EXPECT_GE(twins.Find(" KIEV"), 0);

  EXPECT_EQ(list.Add(" london"), 1);
  EXPECT_EQ(list[1], " london");
  EXPECT_EQ(list.Add(" Town */bases"), 3);
}

TEST(TownListTest, CompareNoCaseFoldsLatinAndCyrillicLetters) {
  EXPECT_EQ(CompareNoCase("ЁЖ", "ёж"), 0);
  EXPECT_EQ(CompareNoCase("Abc", "aBC"), 0);
  EXPECT_LT(CompareNoCase("ab", "abc"), 0);
  EXPECT_GT(CompareNoCase("я", "А"), 0);
  EXPECT_LT(CompareNoCase("ё", "Ж"), 0);
  EXPECT_NE(CompareNoCase("e", "é"), 0);
}

}  // namespace
}  // namespace spravka
