// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/save.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "storage/base_file.h"
#include "storage/byte_order.h"
#include "storage/record_key.h"
#include "support/base_builder.h"
#include "support/faulty_file_system.h"

namespace spravka {
namespace {

using testing::Fields;
using testing::RecordText;
using testing::TableRecords;

const std::vector<Fields> kHome = {{"1", "a"}, {"2", "b"}, {"3", "c"}};
const std::vector<Fields> kOrg = {{"10", "x"}};

class SaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = testing::TempDir() + "/town.qz";
    base_part_ = testing::MakeBaseFile(kHome, kOrg, 31);
    testing::WriteBytes(path_, base_part_);
    ASSERT_EQ(LoadBase(path_, &store_).code(), StatusCode::kOk);
  }

  // Saves `store_` as a window does: its next write expects what it wrote.
  Status Save() {
    BaseFileId written;
    Status status = SaveChanges(path_, store_, RealFileSystem(), &written);
    if (status.ok()) store_.loaded_file = written;
    return status;
  }

  RecordStore Reload() {
    RecordStore reloaded;
    EXPECT_EQ(LoadBase(path_, &reloaded).code(), StatusCode::kOk);
    return reloaded;
  }

  std::string path_;
  std::string base_part_;
  RecordStore store_;
};

TEST_F(SaveTest, EmptyListsStillWriteASectionHoldingOnlyTheSeparator) {
  ASSERT_TRUE(SaveChanges(path_, store_).ok());
  const std::string file = testing::ReadBytes(path_);
  EXPECT_EQ(file.substr(0, base_part_.size()), base_part_);
  EXPECT_EQ(file.substr(base_part_.size()),
            WriteChangeSection(31, ChangeList(), ChangeList()));
  EXPECT_EQ(ReadInt32(reinterpret_cast<const uint8_t*>(file.data()) +
                      base_part_.size() + 4),
            1);
}

TEST_F(SaveTest, ASecondShorterSaveCutsTheFileAndLoadsExactlyTheNewEntries) {
  for (int i = 1; i <= 40; ++i) {
    store_.HomeChanges.Add(
        3 + i, RecordText({"n" + std::to_string(i), std::string(60, 'q')}));
  }
  store_.OrgChanges.Add(1, "\x1F");
  ASSERT_TRUE(Save().ok());
  const size_t long_size = testing::ReadBytes(path_).size();
  EXPECT_EQ(Reload().HomeData.CountRecords(), 43u);

  store_.HomeChanges.clear();
  store_.HomeChanges.Add(2, "\x1F");
  ASSERT_TRUE(Save().ok());
  const std::string file = testing::ReadBytes(path_);
  EXPECT_LT(file.size(), long_size);
  EXPECT_EQ(
      file.size(),
      base_part_.size() +
          WriteChangeSection(31, store_.HomeChanges, store_.OrgChanges).size());
  RecordStore reloaded = Reload();
  EXPECT_EQ(TableRecords(reloaded.HomeData, 2),
            (std::vector<Fields>{{"1", "a"}, {"3", "c"}}));
  EXPECT_EQ(reloaded.OrgData.used, 0u);
  EXPECT_EQ(reloaded.HomeChanges.begin()->value, "\x1F");
}

// A file system where every name is taken: the writer gives up after a
// bounded number of names, writes nothing and says so.
TEST_F(SaveTest, NoFreeTemporaryNameIsAFailureNotAnEndlessSearch) {
  class EveryNameTaken : public testing::FaultyFileSystem {
   public:
    bool Exists(const std::string& path) override {
      if (path == path_) return FaultyFileSystem::Exists(path);
      ++looked_up;
      return true;
    }
    std::string path_;
    int looked_up = 0;
  } fs;
  fs.path_ = path_;
  const std::string before = testing::ReadBytes(path_);
  const Status status = SaveChanges(path_, store_, fs);
  EXPECT_EQ(status.code(), StatusCode::kIoError);
  EXPECT_EQ(status.path(), path_);
  EXPECT_EQ(fs.looked_up, kTemporaryNameTries);
  EXPECT_EQ(testing::ReadBytes(path_), before);
  EXPECT_EQ(std::optional<std::string>(), TemporaryNameBeside(fs, path_));
}

// A read-only file becomes writable for its owner; otherwise the saved file
// keeps the permissions it had (the replacement is a new file on the disk).
TEST_F(SaveTest, KeepsPermissionsAndMakesAReadOnlyFileWritableForItsOwnerOnly) {
  for (const auto& [before, after] : std::vector<std::pair<mode_t, mode_t>>{
           {0444, 0644}, {0400, 0600}, {0600, 0600}, {0664, 0664}}) {
    ASSERT_EQ(chmod(path_.c_str(), before), 0);
    ASSERT_TRUE(Save().ok());
    struct stat st;
    ASSERT_EQ(stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, after) << std::oct << before;
  }
}

TEST_F(SaveTest, ColumnWidthsRewriteOnlyTheUsedSlots) {
  // Three residential columns of seven: slots 4..7 keep their stored values.
  BaseHeader header = testing::HeaderWithKinds(3, 8);
  header.HomeColWidths = {1, 2, 3, 44, 55, 66, 77};
  testing::WriteBytes(path_, WriteBasePart(header, 8, "", ""));
  ASSERT_EQ(LoadBase(path_, &store_).code(), StatusCode::kOk);
  ASSERT_TRUE(SaveColumnWidths(path_, {100, 200, 300, 400, 500, 600, 700},
                               {9, 8, 7, 6, 5, 4, 3, 2}, &store_)
                  .ok());
  const RecordStore reloaded = Reload();
  EXPECT_EQ(reloaded.header.HomeColWidths,
            (std::array<int32_t, 7>{100, 200, 300, 44, 55, 66, 77}));
  EXPECT_EQ(reloaded.header.OrgColWidths,
            (std::array<int32_t, 8>{9, 8, 7, 6, 5, 4, 3, 2}));
  EXPECT_EQ(store_.header.HomeColWidths[2], 300);
  EXPECT_EQ(store_.header.HomeColWidths[3], 44);
}

// Every header byte but the widths stays as it was read: reserved bytes,
// string tails, and a counted string's length beyond its capacity.
TEST_F(SaveTest, ColumnWidthsKeepEveryOtherHeaderByte) {
  HeaderBytes plain = testing::HeaderWithKinds(2, 2).Pack();
  plain[1] = 200;     // Title's length, beyond its 30 bytes
  plain[31] = 0x5A;   // the last byte of Title's room
  plain[102] = 0x77;  // reserved, between the field bits and the places
  plain[733] = 0x42;  // reserved, before the check tag
  const BaseHeader header = BaseHeader::Unpack(plain);
  testing::WriteBytes(path_, WriteBasePart(header, 8, "", ""));
  ASSERT_TRUE(LoadBase(path_, &store_).ok());
  ASSERT_TRUE(SaveColumnWidths(path_, {61, 62}, {71, 72}, &store_).ok());

  BaseFile base;
  ASSERT_TRUE(ParseBaseFile(testing::ReadBytes(path_), &base).ok());
  HeaderBytes written = base.header.Pack();
  HeaderBytes expected = header.Pack();
  for (const size_t at : {size_t{288}, size_t{292}, size_t{320}, size_t{324}}) {
    std::copy_n(&written[at], 4, &expected[at]);
  }
  EXPECT_EQ(written, expected);
  EXPECT_EQ(written[1], 200);
  EXPECT_EQ(base.header.HomeColWidths[1], 62);
  EXPECT_EQ(base.header.OrgColWidths[0], 71);
}

TEST_F(SaveTest, ColumnWidthsAreNotWrittenIntoADamagedHeader) {
  std::string file = base_part_;
  file[4 + 734] ^= 0x01;
  testing::WriteBytes(path_, file);
  // Tables that expect no particular file: the header's own check refuses.
  store_.loaded_file.reset();
  EXPECT_EQ(SaveColumnWidths(path_, {}, {}, &store_).code(),
            StatusCode::kDamagedHeader);
  EXPECT_EQ(testing::ReadBytes(path_), file);
}

TEST_F(SaveTest, SavingThroughALinkKeepsTheLinkAndUpdatesItsFile) {
  const std::string link = testing::TempDir() + "/linked.qz";
  std::filesystem::create_symlink(path_, link);
  store_.HomeChanges.Add(1, "\x1F");
  ASSERT_TRUE(SaveChanges(link, store_).ok());
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  RecordStore reloaded = Reload();
  EXPECT_EQ(TableRecords(reloaded.HomeData, 2),
            (std::vector<Fields>{{"2", "b"}, {"3", "c"}}));
}

}  // namespace
}  // namespace spravka
