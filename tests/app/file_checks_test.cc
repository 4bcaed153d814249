// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/file_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "support/base_builder.h"
#include "util/paths.h"

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
  EXPECT_TRUE(fs::is_empty(PathFromUtf8(dir)));

  WriteBytes(dir + "/$$$.$$$", "somebody's file");
  ProbeResult probe = files.ProbeWrite(dir);
  EXPECT_TRUE(probe.writable);
  EXPECT_TRUE(probe.cleanup.ok());
  EXPECT_EQ(ReadBytes(dir + "/$$$.$$$"), "somebody's file");
  EXPECT_EQ(
      std::distance(fs::directory_iterator(PathFromUtf8(dir)),
                    fs::directory_iterator()),
      1);

  EXPECT_FALSE(files.ProbeWrite(dir + "/no such folder").writable);
}

TEST(FileChecksTest, ListsBaseFilesInAnyCaseAndFindsThemByRealName) {
  RealFileChecks files;
  const std::string dir = TempDir();
  auto in = [&](const std::string& name) { return JoinPath(dir, name); };
  for (const char* name : {"Kiev.qz", "Город.QZ", "notes.txt", "x.qzip"}) {
    WriteBytes(in(name), "");
  }
  fs::create_directory(PathFromUtf8(in("folder.qz")));
  std::vector<std::string> names;
  ASSERT_TRUE(files.ListBaseFiles(dir, &names).ok());
  EXPECT_EQ(Sorted(names), (std::vector<std::string>{"Kiev.qz", "Город.QZ"}));
  // A folder that cannot be scanned is a failure, not an empty list.
  const Status missing = files.ListBaseFiles(in("no such folder"), &names);
  EXPECT_EQ(missing.code(), StatusCode::kIoError);
  EXPECT_EQ(missing.operation(), FileOperation::kListFolder);
  EXPECT_EQ(missing.error_number(), ENOENT);
  EXPECT_TRUE(names.empty());

  EXPECT_EQ(files.FindBaseFile(in("Kiev")), in("Kiev.qz"));
  EXPECT_EQ(files.FindBaseFile(in("Город")), in("Город.QZ"));
  EXPECT_EQ(files.FindBaseFile(in("гОРОД")), in("Город.QZ"));
  EXPECT_EQ(files.FindBaseFile(in("folder")), std::nullopt);
  EXPECT_EQ(files.FindBaseFile(in("Moscow")), std::nullopt);

#ifndef _WIN32  // where names that differ only in case are one file
  // Names that differ only in case: each entry opens its own file.
  WriteBytes(in("kiev.QZ"), "");
  EXPECT_EQ(files.FindBaseFile(in("Kiev")), in("Kiev.qz"));
  EXPECT_EQ(files.FindBaseFile(in("kiev")), in("kiev.QZ"));
  EXPECT_EQ(files.FindBaseFile(in("KIEV")), std::nullopt);
#endif
}

TEST(FileChecksTest, SameFolderSeesThroughSpellingsAndLinks) {
  RealFileChecks files;
  const std::string dir = TempDir();
  fs::create_directory(PathFromUtf8(dir + "/sub"));
  EXPECT_TRUE(files.SameFolder(dir + "/sub", dir + "/sub/../sub/"));
  EXPECT_FALSE(files.SameFolder(dir + "/sub", dir));
#ifndef _WIN32  // MinGW's std::filesystem makes no links
  fs::create_directory_symlink(dir + "/sub", dir + "/link");
  EXPECT_TRUE(files.SameFolder(dir + "/sub", dir + "/link"));
#endif
}

}  // namespace
}  // namespace spravka
