// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/paths.h"

#include <gtest/gtest.h>

namespace spravka {
namespace {

TEST(PathsTest, FolderAndFileNameParts) {
  EXPECT_EQ(FolderPart("Town"), "");
  EXPECT_EQ(FolderPart("/Town"), "/");
  EXPECT_EQ(FolderPart("/a/b/Town.qz"), "/a/b");
  EXPECT_EQ(FolderPart("//Town"), "//");
  EXPECT_EQ(FileNamePart("/a/b/Town.qz"), "Town.qz");
  EXPECT_EQ(FileNamePart("Town"), "Town");
  EXPECT_EQ(JoinPath("/", "Town"), "/Town");
  EXPECT_EQ(JoinPath("/a", "Town"), "/a/Town");
  EXPECT_EQ(JoinPath("", "Town"), "Town");
  // Only Windows has short names to expand.
  EXPECT_EQ(LongPathName("/a/TOWN~1.QZ"), "/a/TOWN~1.QZ");
}

TEST(PathsTest, AbsolutePathsAreLexicallyNormal) {
  EXPECT_EQ(AbsolutePathFrom("/a/b", "../c/"), "/a/c");
  EXPECT_EQ(AbsolutePathFrom("/a/b", "/x/./y"), "/x/y");
  EXPECT_EQ(AbsolutePathFrom("/a", "/"), "/");
  EXPECT_EQ(AbsolutePathFrom("/дом", "Город.qz"), "/дом/Город.qz");
}

}  // namespace
}  // namespace spravka
