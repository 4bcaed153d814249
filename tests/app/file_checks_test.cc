// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/file_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "support/base_builder.h"

namespace spravka {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

TEST(FileChecksTest, ProbeLeavesAnExistingProbeFileAndNothingElse) {
  RealFileChecks files;
  const std::string dir = TempDir();
  ASSERT_TRUE(files.ProbeWrite(dir).writable);
  EXPECT_TRUE(fs::is_empty(dir));

  WriteBytes(dir + "/$$$.$$$", "somebody's file");
  ProbeResult probe = files.ProbeWrite(dir);
  EXPECT_TRUE(probe.writable);
  EXPECT_TRUE(probe.cleanup.ok());
  EXPECT_EQ(ReadBytes(dir + "/$$$.$$$"), "somebody's file");
  EXPECT_EQ(
      std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

  EXPECT_FALSE(files.ProbeWrite(dir + "/no such folder").writable);
}

TEST(FileChecksTest, ListsBaseFilesInAnyCaseAndFindsThemByRealName) {
  RealFileChecks files;
  const std::string dir = TempDir();
  for (const char* name : {"Kiev.qz", "Город.QZ", "notes.txt", "x.qzip"}) {
    WriteBytes(dir + "/" + name, "");
  }
  fs::create_directory(dir + "/folder.qz");
  std::vector<std::string> names;
  ASSERT_TRUE(files.ListBaseFiles(dir, &names).ok());
  EXPECT_EQ(Sorted(names), (std::vector<std::string>{"Kiev.qz", "Город.QZ"}));
  // A folder that cannot be scanned is a failure, not an empty list.
  const Status missing = files.ListBaseFiles(dir + "/no such folder", &names);
  EXPECT_EQ(missing.code(), StatusCode::kIoError);
  EXPECT_EQ(missing.operation(), FileOperation::kListFolder);
  EXPECT_EQ(missing.error_number(), ENOENT);
  EXPECT_TRUE(names.empty());

  EXPECT_EQ(files.FindBaseFile(dir + "/Kiev"), dir + "/Kiev.qz");
  EXPECT_EQ(files.FindBaseFile(dir + "/Город"), dir + "/Город.QZ");
  EXPECT_EQ(files.FindBaseFile(dir + "/гОРОД"), dir + "/Город.QZ");
  EXPECT_EQ(files.FindBaseFile(dir + "/folder"), std::nullopt);
  EXPECT_EQ(files.FindBaseFile(dir + "/Moscow"), std::nullopt);

  // Names that differ only in case: each entry opens its own file.
  WriteBytes(dir + "/kiev.QZ", "");
  EXPECT_EQ(files.FindBaseFile(dir + "/Kiev"), dir + "/Kiev.qz");
  EXPECT_EQ(files.FindBaseFile(dir + "/kiev"), dir + "/kiev.QZ");
  EXPECT_EQ(files.FindBaseFile(dir + "/KIEV"), std::nullopt);
}

TEST(FileChecksTest, SameFolderSeesThroughSpellingsAndLinks) {
  RealFileChecks files;
  const std::string dir = TempDir();
  fs::create_directory(dir + "/sub");
  fs::create_directory_symlink(dir + "/sub", dir + "/link");
  EXPECT_TRUE(files.SameFolder(dir + "/sub", dir + "/sub/../sub/"));
  EXPECT_TRUE(files.SameFolder(dir + "/sub", dir + "/link"));
  EXPECT_FALSE(files.SameFolder(dir + "/sub", dir));
}

}  // namespace
}  // namespace spravka
