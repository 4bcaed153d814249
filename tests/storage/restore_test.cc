// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/restore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

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
    base_part_ =
        testing::MakeBaseFile({{"1", "a"}, {"2", "b"}}, {{"9", "o"}}, 8);
    ChangeList home;
    home.Add(1, "\x1F");
    home.Add(3, RecordText({"3", "c"}));
    testing::WriteBytes(path_,
                        base_part_ + WriteChangeSection(8, home, ChangeList()));
  }

  std::string path_;
  std::string base_part_;
};

TEST_F(RestoreTest, CutsTheFileToItsBasePartAndKeepsItsPermissions) {
  ASSERT_EQ(chmod(path_.c_str(), 0640), 0);
  ASSERT_TRUE(RestoreBasePart(path_).ok());
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
  ASSERT_TRUE(RestoreBasePart(path_).ok());
  EXPECT_TRUE(testing::ReadBytes(path_) == base_part_);
}

TEST_F(RestoreTest, AReadOnlyFileBecomesWritableForItsOwner) {
  ASSERT_EQ(chmod(path_.c_str(), 0444), 0);
  ASSERT_TRUE(RestoreBasePart(path_).ok());
  struct stat st;
  ASSERT_EQ(stat(path_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
  EXPECT_TRUE(testing::ReadBytes(path_) == base_part_);
}

TEST_F(RestoreTest, ALinkStaysALinkToTheRestoredFile) {
  const std::string link = testing::TempDir() + "/linked.qz";
  std::filesystem::create_symlink(path_, link);
  ASSERT_TRUE(RestoreBasePart(link).ok());
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_TRUE(testing::ReadBytes(path_) == base_part_);
}

TEST_F(RestoreTest, AFileWithoutAReadableLayoutIsLeftAlone) {
  for (const std::string& file :
       {std::string("short"), base_part_.substr(0, base_part_.size() - 1),
        std::string("\xFF\xFF\xFF\x7F") + base_part_.substr(4)}) {
    testing::WriteBytes(path_, file);
    EXPECT_EQ(RestoreBasePart(path_).code(), StatusCode::kDamagedLayout);
    EXPECT_TRUE(testing::ReadBytes(path_) == file);
  }
  EXPECT_FALSE(RestoreBasePart(path_ + ".absent").ok());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(
                              std::filesystem::path(path_).parent_path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(RestoreTest, ABasePartThatWouldNotLoadAloneIsKeptWithItsChanges) {
  // Record 2 is longer than the loader takes; only its change entry lets
  // the base load.
  ChangeList home;
  home.Add(2, RecordText({"2", "short"}));
  const std::string file = testing::MakeBaseFile(
      {{"1", "a"}, {"2", std::string(65535, 'b')}}, {}, 8, &home);
  testing::WriteBytes(path_, file);
  RecordStore store;
  ASSERT_TRUE(LoadBase(path_, &store).ok());
  EXPECT_EQ(RestoreBasePart(path_).code(), StatusCode::kBasePartUnloadable);
  EXPECT_TRUE(testing::ReadBytes(path_) == file);
}

}  // namespace
}  // namespace spravka
