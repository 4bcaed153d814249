// SPDX-License-Identifier: GPL-3.0-or-later
// Base names and town-list entries by the rules of Windows paths: "\" and
// "/" both separate, a drive's colon ends a folder, and a network path
// begins with two separators.
#include <gtest/gtest.h>

#include "app/town_names.h"
#include "util/paths.h"

namespace spravka {
namespace {

TEST(WindowsTownNamesTest, BaseToTownNameAndBack) {
  struct Case {
    const char* base;
    const char* entry;
    const char* back;  // TownToBaseName(entry)
  };
  const Case cases[] = {
      {"Town", " Town", "Town"},
      {"Город.QZ", " Город", "Город"},
      {"C:\\bases\\Town.qz", " Town *C:\\bases", "C:\\bases\\Town"},
      {"C:/bases/Town.qz", " Town *C:/bases", "C:/bases\\Town"},
      {"C:\\Town.qz", " Town *C:\\", "C:\\Town"},
      {"C:Town.qz", " Town *C:", "C:Town"},
      {"\\\\server\\share\\Town.qz", " Town *\\\\server\\share",
       "\\\\server\\share\\Town"},
      {"D:\\Мои базы\\Новый город.qz", " Новый город *D:\\Мои базы",
       "D:\\Мои базы\\Новый город"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BaseToTownName(c.base), c.entry) << c.base;
    EXPECT_EQ(TownToBaseName(c.entry), c.back) << c.entry;
  }
}

TEST(WindowsTownNamesTest, FolderParts) {
  EXPECT_EQ(FolderPart("C:\\a\\b\\Town.qz"), "C:\\a\\b");
  EXPECT_EQ(FolderPart("C:\\Town.qz"), "C:\\");
  EXPECT_EQ(FolderPart("C:Town.qz"), "C:");
  EXPECT_EQ(FolderPart("C:/a/Town.qz"), "C:/a");
  EXPECT_EQ(FolderPart("\\\\Town"), "\\\\");
  EXPECT_EQ(FileNamePart("C:\\a/b\\Town.qz"), "Town.qz");
  EXPECT_EQ(FileNamePart("C:Town.qz"), "Town.qz");
  EXPECT_EQ(JoinPath("C:\\a", "Town"), "C:\\a\\Town");
  EXPECT_EQ(JoinPath("C:\\", "Town"), "C:\\Town");
  EXPECT_EQ(JoinPath("C:", "Town"), "C:Town");
  EXPECT_EQ(JoinPath("C:/a/", "Town"), "C:/a/Town");
}

}  // namespace
}  // namespace spravka
