// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/optimiser.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "storage/base_file.h"
#include "storage/byte_order.h"
#include "storage/record_key.h"
#include "storage/save.h"
#include "support/base_builder.h"
#include "support/faulty_file_system.h"

namespace spravka {
namespace {

using testing::Fields;
using testing::RecordText;
using testing::TableNumbers;
using testing::TableRecords;

TEST(BackupNameTest, ReplacesOnlyATrailingExtension) {
  EXPECT_EQ(BackupName("a/Town.qz"), "a/Town.~qz");
  EXPECT_EQ(BackupName("Town.QZ"), "Town.~qz");
  EXPECT_EQ(BackupName("x.qz.d/Town"), "x.qz.d/Town.~qz");
}

class OptimiserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = testing::TempDir() + "/town.qz";
    std::vector<Fields> home;
    for (int i = 1; i <= 6; ++i)
      home.push_back({std::to_string(i), "h" + std::to_string(i)});
    ChangeList home_changes;
    home_changes.Add(2, "\x1F");                       // deleted
    home_changes.Add(4, RecordText({"4", "edited"}));  // replaced
    home_changes.Add(7, RecordText({"7", "added"}));   // appended
    ChangeList org_changes;
    org_changes.Add(1, "\x1F");
    original_ = testing::MakeBaseFile(home, {{"o1", "x"}, {"o2", "y"}}, 55,
                                      &home_changes, &org_changes);
    testing::WriteBytes(path_, original_);
    ASSERT_EQ(LoadBase(path_, &store_).code(), StatusCode::kOk);
  }

  struct Optimised {
    Status status;
    OptimiseReport counts;
  };
  Optimised Optimise(FileSystem& fs = RealFileSystem()) {
    Optimised result;
    result.status =
        OptimiseBase(path_, store_, {70, 71, 0, 0, 0, 0, 0},
                     {80, 81, 0, 0, 0, 0, 0, 0}, 12345, &result.counts, fs);
    return result;
  }

  std::string path_;
  std::string original_;
  RecordStore store_;
};

TEST_F(OptimiserTest, FoldsChangesRenumbersAndKeepsABackup) {
  const auto home_before = TableRecords(store_.HomeData, 2);
  const Optimised report = Optimise();
  ASSERT_TRUE(report.status.ok());
  EXPECT_EQ(report.counts.home_records, 6u);
  EXPECT_EQ(report.counts.org_records, 1u);
  EXPECT_EQ(testing::ReadBytes(BackupName(path_)), original_);

  RecordStore rebuilt;
  ChangeSectionStatus changes = ChangeSectionStatus::kApplied;
  ASSERT_TRUE(LoadBase(path_, &rebuilt, RealFileSystem(), &changes).ok());
  EXPECT_EQ(changes, ChangeSectionStatus::kAbsent);
  EXPECT_EQ(TableRecords(rebuilt.HomeData, 2), home_before);
  EXPECT_EQ(TableNumbers(rebuilt.HomeData),
            (std::vector<uint32_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(TableRecords(rebuilt.OrgData, 2),
            (std::vector<Fields>{{"o2", "y"}}));
  EXPECT_EQ(rebuilt.BaseStamp, 12345);
  EXPECT_EQ(rebuilt.header.OriginTag, kUserOriginTag);
  EXPECT_EQ(rebuilt.header.HomeColWidths[0], 70);
  EXPECT_EQ(rebuilt.header.HomeColWidths[1], 71);
  EXPECT_EQ(rebuilt.header.OrgColWidths[1], 81);

  // The stored reserve: 6 per record of the larger table, plus 100000.
  std::string file = testing::ReadBytes(path_);
  EXPECT_EQ(file.size(),
            static_cast<size_t>(static_cast<uint8_t>(file[0]) |
                                static_cast<uint8_t>(file[1]) << 8));
  HeaderBytes header;
  std::memcpy(header.data(), file.data() + 4, kHeaderSize);
  EXPECT_EQ(BaseHeader::FromFile(header).TableGrowth, 6 * 6 + 100000);
}

TEST_F(OptimiserTest, EditsSavedReloadedAndOptimisedGiveTheSameTables) {
  ASSERT_TRUE(SaveChanges(path_, store_).ok());
  RecordStore reloaded;
  ASSERT_EQ(LoadBase(path_, &reloaded).code(), StatusCode::kOk);
  EXPECT_EQ(TableRecords(reloaded.HomeData, 2),
            TableRecords(store_.HomeData, 2));
  EXPECT_EQ(TableNumbers(reloaded.HomeData), TableNumbers(store_.HomeData));
  ASSERT_TRUE(Optimise().status.ok());
  RecordStore rebuilt;
  ASSERT_EQ(LoadBase(path_, &rebuilt).code(), StatusCode::kOk);
  EXPECT_EQ(TableRecords(rebuilt.HomeData, 2),
            TableRecords(store_.HomeData, 2));
  EXPECT_EQ(TableRecords(rebuilt.OrgData, 2), TableRecords(store_.OrgData, 2));
}

TEST_F(OptimiserTest, TheRebuiltFileKeepsThePermissionsOfThePreviousOne) {
  ASSERT_EQ(chmod(path_.c_str(), 0600), 0);
  ASSERT_TRUE(Optimise().status.ok());
  struct stat st;
  ASSERT_EQ(stat(path_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

TEST_F(OptimiserTest, AnOriginTagIsKeptAndAnOldBackupReplaced) {
  BaseHeader header = testing::HeaderWithKinds(2, 2);
  header.OriginTag = "Shipped";
  testing::WriteBytes(path_, WriteBasePart(header, 1,
                                           "a\x02"
                                           "b\x1F",
                                           ""));
  testing::WriteBytes(BackupName(path_), "old backup");
  ASSERT_EQ(LoadBase(path_, &store_).code(), StatusCode::kOk);
  ASSERT_TRUE(Optimise().status.ok());
  RecordStore rebuilt;
  ASSERT_EQ(LoadBase(path_, &rebuilt).code(), StatusCode::kOk);
  EXPECT_EQ(rebuilt.header.OriginTag, "Shipped");
  EXPECT_NE(testing::ReadBytes(BackupName(path_)), "old backup");
}

// The base's name never lacks a file: whichever rename fails, the base is
// there as it was; without links the backup is a copy.
TEST_F(OptimiserTest, TheBaseKeepsItsNameWhateverRenameFails) {
  for (const int failing : {1, 2}) {  // the backup's name, the base's name
    SCOPED_TRACE(failing);
    testing::WriteBytes(path_, original_);
    testing::WriteBytes(BackupName(path_), "old backup");
    testing::FaultyFileSystem fs;
    fs.failing_rename = failing;
    const Status status = Optimise(fs).status;
    EXPECT_EQ(status.code(), StatusCode::kIoError);
    EXPECT_EQ(status.operation(), FileOperation::kRename);
    EXPECT_TRUE(testing::ReadBytes(path_) == original_);
    EXPECT_EQ(testing::ReadBytes(BackupName(path_)),
              failing == 1 ? "old backup" : original_);
  }
  testing::FaultyFileSystem no_links;
  no_links.links_fail = true;
  ASSERT_TRUE(Optimise(no_links).status.ok());
  EXPECT_TRUE(testing::ReadBytes(BackupName(path_)) == original_);
  struct stat base;
  struct stat backup;
  ASSERT_EQ(stat(path_.c_str(), &base), 0);
  ASSERT_EQ(stat(BackupName(path_).c_str(), &backup), 0);
  EXPECT_EQ(backup.st_nlink, 1u);
}

TEST_F(OptimiserTest, DamagedHeaderChangesNothing) {
  std::string file = original_;
  file[4 + 734] ^= 0x01;
  testing::WriteBytes(path_, file);
  // Tables that expect no particular file: the header's own check refuses.
  store_.loaded_file.reset();
  EXPECT_EQ(Optimise().status.code(), StatusCode::kDamagedHeader);
  EXPECT_TRUE(testing::ReadBytes(path_) == file);
  EXPECT_FALSE(std::filesystem::exists(BackupName(path_)));
}

TEST_F(OptimiserTest, ARecordWithoutTagOneKeepsEveryByte) {
  // No writer of ours makes such a record, but a change section may hold one.
  store_.HomeData.Append(9, "\x02street\x1F");
  ASSERT_TRUE(Optimise().status.ok());
  RecordStore rebuilt;
  ASSERT_EQ(LoadBase(path_, &rebuilt).code(), StatusCode::kOk);
  EXPECT_EQ(TableRecords(rebuilt.HomeData, 2).back(), (Fields{"", "street"}));
}

TEST_F(OptimiserTest,
       ARecordTheNextLoadCouldNotReadIsRefusedAndNothingChanges) {
  // 65,535 bytes in memory as it stands; without tag 1 it keeps every byte
  // in the section and gains the tag on loading: one byte too many.
  store_.HomeData.Append(9, "\x02" + std::string(65528, 'L') + "\x1F");
  testing::WriteBytes(BackupName(path_), "old backup");
  const Status status = Optimise().status;
  EXPECT_EQ(status.code(), StatusCode::kRebuiltUnreadable);
  EXPECT_EQ(status.problem(), BaseProblem::kSectionRecords);
  EXPECT_EQ(status.problem_table(), ProblemTable::kHome);
  EXPECT_TRUE(testing::ReadBytes(path_) == original_);
  EXPECT_EQ(testing::ReadBytes(BackupName(path_)), "old backup");
  // The base, its backup and its lock file; no temporary file.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(
                              std::filesystem::path(path_).parent_path()),
                          std::filesystem::directory_iterator()),
            3);
}

TEST(VerifyBasePartTest, FindsWhatTheNextLoadWouldNotRead) {
  const std::string part = WriteBasePart(testing::HeaderWithKinds(2, 2), 3,
                                         "a\x02"
                                         "b\x1F"
                                         "c\x02"
                                         "d\x1F",
                                         "e\x02"
                                         "f\x1F");
  const auto problem = [](const Status& status) {
    EXPECT_TRUE(status.ok() || status.code() == StatusCode::kRebuiltUnreadable);
    return std::pair(status.problem(), status.problem_table());
  };
  using P = std::pair<BaseProblem, ProblemTable>;
  EXPECT_TRUE(VerifyBasePart(part, 3, 2, 1).ok());
  EXPECT_EQ(problem(VerifyBasePart(part, 4, 2, 1)),
            P(BaseProblem::kStampDiffers, ProblemTable::kNone));
  const Status count = VerifyBasePart(part, 3, 3, 1);
  EXPECT_EQ(problem(count), P(BaseProblem::kRecordCount, ProblemTable::kHome));
  EXPECT_EQ(count.figure(), 2);
  EXPECT_EQ(count.expected(), 3);
  EXPECT_EQ(problem(VerifyBasePart(part, 3, 2, 2)),
            P(BaseProblem::kRecordCount, ProblemTable::kOrg));
  EXPECT_EQ(problem(VerifyBasePart(part + "x", 3, 2, 1)),
            P(BaseProblem::kBytesAfterBasePart, ProblemTable::kNone));
  // The last byte of the residential stream's checksum.
  constexpr size_t kHomeBlock = kHeaderOffset + kHeaderSize + 4;
  const auto home_stream_size = static_cast<size_t>(ReadInt32(
      reinterpret_cast<const uint8_t*>(part.data()) + kHomeBlock + 4));
  std::string damaged = part;
  damaged[kHomeBlock + 8 + home_stream_size - 1] ^= 0x40;
  EXPECT_EQ(problem(VerifyBasePart(damaged, 3, 2, 1)),
            P(BaseProblem::kSectionInflates, ProblemTable::kHome));
  EXPECT_EQ(problem(VerifyBasePart(part.substr(0, part.size() - 1), 3, 2, 1)),
            P(BaseProblem::kLengthPastEnd, ProblemTable::kNone));
  EXPECT_EQ(
      problem(VerifyBasePart(WriteBasePart(testing::HeaderWithKinds(2, 2), 3,
                                           "a\x02"
                                           "b",
                                           ""),
                             3, 1, 0)),
      P(BaseProblem::kSectionRecords, ProblemTable::kHome));  // no end
}

TEST_F(OptimiserTest, ABaseReachedThroughALinkIsRebuiltAndBackedUpWhereItLies) {
  const std::string link = testing::TempDir() + "/linked.qz";
  std::filesystem::create_symlink(path_, link);
  ASSERT_TRUE(OptimiseBase(link, store_, {}, {}, 1, nullptr).ok());
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_FALSE(std::filesystem::exists(BackupName(link)));
  EXPECT_TRUE(testing::ReadBytes(BackupName(path_)) == original_);
  RecordStore rebuilt;
  ASSERT_EQ(LoadBase(link, &rebuilt).code(), StatusCode::kOk);
  EXPECT_EQ(rebuilt.BaseStamp, 1);
}

}  // namespace
}  // namespace spravka
