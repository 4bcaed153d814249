// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/restore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "storage/base_file.h"
#include "storage/record_store.h"
#include "support/base_builder.h"

namespace spravka {
namespace {

using testing::Fields;
using testing::RecordText;

class RestoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = testing::TempDir() + "/town.qz";
    base_part_ = testing::WithOriginTag(
        testing::MakeBaseFile({{"1", "a"}, {"2", "b"}}, {{"9", "o"}}, 8));
    ChangeList home;
    home.Add(1, "\x1F");
    home.Add(3, RecordText({"3", "c"}));
    section_ = WriteChangeSection(8, home, ChangeList());
    testing::WriteBytes(path_, base_part_ + section_);
  }

  std::string path_;
  std::string base_part_;
  std::string section_;
};

TEST_F(RestoreTest, CutsTheFileToItsBasePartAndKeepsItsPermissions) {
  ASSERT_EQ(chmod(path_.c_str(), 0640), 0);
  RestoreReport report;
  ASSERT_TRUE(RestoreBasePart(path_, {}, &report).ok());
  EXPECT_EQ(report.removed_bytes, section_.size());
  EXPECT_TRUE(testing::ReadBytes(path_) == base_part_);
  struct stat st;
  ASSERT_EQ(stat(path_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  RecordStore store;
  ChangeSectionStatus changes = ChangeSectionStatus::kApplied;
  ASSERT_TRUE(LoadBase(path_, &store, RealFileSystem(), &changes).ok());
  EXPECT_EQ(changes, ChangeSectionStatus::kAbsent);
  EXPECT_EQ(testing::TableRecords(store.HomeData, 2),
            (std::vector<Fields>{{"1", "a"}, {"2", "b"}}));
  // A base without changes stays as it is.
  ASSERT_TRUE(RestoreBasePart(path_, {}, &report).ok());
  EXPECT_EQ(report.removed_bytes, 0u);
  EXPECT_TRUE(testing::ReadBytes(path_) == base_part_);
}

TEST_F(RestoreTest, AReadOnlyFileBecomesWritableForItsOwner) {
  ASSERT_EQ(chmod(path_.c_str(), 0444), 0);
  ASSERT_TRUE(RestoreBasePart(path_, {}).ok());
  struct stat st;
  ASSERT_EQ(stat(path_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
  EXPECT_TRUE(testing::ReadBytes(path_) == base_part_);
}

TEST_F(RestoreTest, ALinkStaysALinkToTheRestoredFile) {
  const std::string link = testing::TempDir() + "/linked.qz";
  std::filesystem::create_symlink(path_, link);
  ASSERT_TRUE(RestoreBasePart(link, {}).ok());
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_TRUE(testing::ReadBytes(path_) == base_part_);
}

// What is refused leaves the file byte for byte, and no file beside it but
// the base's lock file.
TEST_F(RestoreTest, WhatCannotBeRestoredIsLeftAlone) {
  const std::filesystem::path folder =
      std::filesystem::path(path_).parent_path();
  // Record 2 is longer than the loader takes; only its change entry lets
  // the base load.
  ChangeList hides;
  hides.Add(2, RecordText({"2", "short"}));
  const std::string unloadable_part =
      testing::WithOriginTag(testing::MakeBaseFile(
          {{"1", "a"}, {"2", std::string(65535, 'b')}}, {}, 8));
  struct Case {
    const char* name;
    std::string file;
    StatusCode code;
  };
  const Case cases[] = {
      {"too short for a base", "short", StatusCode::kDamagedLayout},
      {"one byte short", base_part_.substr(0, base_part_.size() - 1),
       StatusCode::kDamagedLayout},
      {"length past the end",
       std::string("\xFF\xFF\xFF\x7F") + base_part_.substr(4),
       StatusCode::kDamagedLayout},
      {"a user's base: no clean state",
       testing::MakeBaseFile({{"1", "a"}}, {}, 8) + section_,
       StatusCode::kNoOriginState},
      {"a base part that needs its changes to load",
       unloadable_part + WriteChangeSection(8, hides, ChangeList()),
       StatusCode::kBasePartUnloadable},
      // Nothing to cut, and it does not load: no base in its clean state.
      {"an unloadable base without changes", unloadable_part,
       StatusCode::kDamagedBase},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::WriteBytes(path_, c.file);
    EXPECT_EQ(RestoreBasePart(path_, {}).code(), c.code);
    EXPECT_TRUE(testing::ReadBytes(path_) == c.file);
  }
  EXPECT_FALSE(RestoreBasePart(path_ + ".absent", {}).ok());
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"town.qz", ".town.qz.lock"}));
}

// A restore behind a loaded base resets only the file that was loaded.
TEST_F(RestoreTest, AFileChangedSinceItWasLoadedIsNotReset) {
  RecordStore loaded;
  ASSERT_TRUE(LoadBase(path_, &loaded).ok());
  const std::string changed = base_part_ + WriteChangeSection(8, {}, {});
  testing::WriteBytes(path_, changed);
  EXPECT_EQ(
      RestoreBasePart(path_, WriteChecks::Expecting(loaded.loaded_file)).code(),
      StatusCode::kBaseChanged);
  EXPECT_TRUE(testing::ReadBytes(path_) == changed);
  ASSERT_TRUE(LoadBase(path_, &loaded).ok());
  EXPECT_TRUE(
      RestoreBasePart(path_, WriteChecks::Expecting(loaded.loaded_file)).ok());
  EXPECT_TRUE(testing::ReadBytes(path_) == base_part_);
}

}  // namespace
}  // namespace spravka
