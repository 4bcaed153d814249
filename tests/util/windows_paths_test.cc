// SPDX-License-Identifier: GPL-3.0-or-later
// Paths by the rules of Windows: "\" and "/" both separate, a drive's colon
// ends a folder, and a root keeps its separator.
#include <gtest/gtest.h>

#include "util/paths.h"

namespace spravka {
namespace {

TEST(WindowsPathsTest, FolderAndFileNameParts) {
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

TEST(WindowsPathsTest, AbsolutePathsAreLexicallyNormal) {
  EXPECT_EQ(AbsolutePathFrom("C:\\a\\b", "..\\c\\"), "C:\\a\\c");
  EXPECT_EQ(AbsolutePathFrom("C:\\a", "D:/x/./y"), "D:\\x\\y");
  EXPECT_EQ(AbsolutePathFrom("C:\\дом", "Город.qz"), "C:\\дом\\Город.qz");
  // A drive's root keeps its separator: "C:" alone is a folder of its own.
  EXPECT_EQ(AbsolutePathFrom("C:\\a", "C:\\"), "C:\\");
  EXPECT_EQ(AbsolutePathFrom("C:\\a", ".."), "C:\\");
}

}  // namespace
}  // namespace spravka
