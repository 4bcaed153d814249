// SPDX-License-Identifier: GPL-3.0-or-later
// Paths by the rules of Windows: "\" and "/" both separate, a drive's colon
// ends a folder, and a root keeps its separator.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/base_builder.h"
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

TEST(WindowsPathsTest, ShortNamesBecomeLong) {
  const std::string path = testing::TempDir() + "\\Справочник Новгорода.qz";
  testing::WriteBytes(path, "");
  const std::wstring wide = PathFromUtf8(path).wstring();
  std::wstring short_name(MAX_PATH, L'\0');
  const DWORD length = GetShortPathNameW(wide.c_str(), short_name.data(),
                                         static_cast<DWORD>(short_name.size()));
  ASSERT_GT(length, 0u);
  short_name.resize(length);
  ASSERT_NE(short_name, wide);
  EXPECT_EQ(LongPathName(Utf8FromPath(short_name)), path);
  EXPECT_EQ(LongPathName(path), path);
  EXPECT_EQ(LongPathName("C:\\Нет такой папки\\ГОРОД~1.QZ"),
            "C:\\Нет такой папки\\ГОРОД~1.QZ");
}

}  // namespace
}  // namespace spravka
