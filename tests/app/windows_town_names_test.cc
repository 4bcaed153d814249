// SPDX-License-Identifier: GPL-3.0-or-later
// Base names and town-list entries by the rules of Windows paths: "\" and
// "/" both separate, a drive's colon ends a folder, and a network path
// begins with two separators.
#include <gtest/gtest.h>

#include "app/town_names.h"

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
      {"C:\\bases\\Town", " Town *C:\\bases", "C:\\bases\\Town"},
      {"C:/bases/Town", " Town *C:/bases", "C:/bases\\Town"},
      {"C:\\Town", " Town *C:\\", "C:\\Town"},
      {"C:Town", " Town *C:", "C:Town"},
      {"\\\\server\\share\\Town", " Town *\\\\server\\share",
       "\\\\server\\share\\Town"},
      {"D:\\Мои базы\\Новый город", " Новый город *D:\\Мои базы",
       "D:\\Мои базы\\Новый город"},
      {"C:\\bases\\my.qz", " my.qz *C:\\bases", "C:\\bases\\my.qz"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BaseToTownName(c.base), c.entry) << c.base;
    EXPECT_EQ(TownToBaseName(c.entry), c.back) << c.entry;
  }
}

}  // namespace
}  // namespace spravka
