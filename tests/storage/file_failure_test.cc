// Every file operation of saving, storing column widths, optimising and
// restoring fails in turn, once returning its error and once throwing: the
// previous files stay byte for byte as they were or the new ones are
// complete, no temporary file is left, and the store still holds what the
// user can save again.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "storage/base_file.h"
#include "storage/optimiser.h"
#include "storage/record_key.h"
#include "storage/restore.h"
#include "storage/save.h"
#include "support/base_builder.h"
#include "support/faulty_file_system.h"

namespace spravka {
namespace {

using testing::FaultyFileSystem;
using testing::Fields;
using testing::RecordText;
using testing::TableNumbers;
using testing::TableRecords;

using Files = std::map<std::string, std::string>;  // name -> bytes

class FileFailureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testing::TempDir();
    path_ = folder_ + "/town.qz";
    std::vector<Fields> home;
    for (int i = 1; i <= 40; ++i)
      home.push_back({std::to_string(i), "h" + std::to_string(i)});
    ChangeList saved;
    saved.Add("0000003", RecordText({"3", "saved"}));
    before_[BackupName("town.qz")] = "an older backup";
    before_["town.qz"] = testing::MakeBaseFile(home, {{"o1", "x"}}, 21, &saved);
    Reset();
    ASSERT_EQ(LoadBase(path_, &store_).status, LoadStatus::kOk);
    // Unsaved edits on top of the saved one.
    store_.HomeChanges.Add("0000005", "\x1F");
    store_.HomeChanges.Add("0000041", RecordText({"41", "added"}));
    store_.OrgChanges.Add("0000001", RecordText({"o1", "edited"}));
    // The working tables as the edits left them: the saved state reloaded
    // with them applied.
    const std::string saved_state = testing::ReadBytes(path_);
    ASSERT_TRUE(SaveChanges(path_, store_).ok());
    RecordStore edited;
    ASSERT_EQ(LoadBase(path_, &edited).status, LoadStatus::kOk);
    store_.HomeData = edited.HomeData;
    store_.OrgData = edited.OrgData;
    Reset();
    ASSERT_EQ(testing::ReadBytes(path_), saved_state);
    home_before_ = TableRecords(store_.HomeData, 2);
  }

  void Reset() {
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    for (const auto& [name, bytes] : before_)
      testing::WriteBytes(folder_ + "/" + name, bytes);
  }

  Files FolderFiles() const {
    Files files;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
      files[entry.path().filename().string()] =
          testing::ReadBytes(entry.path().string());
    }
    return files;
  }

  // Runs `operation` (true when it reports success) with the N-th file
  // operation failing, for every N until it runs without meeting the
  // failure, once with failures returned and once thrown. After a failure
  // every file is as it was; after success `succeeded` checks the files.
  void FailEveryOperation(
      const std::function<bool(FileSystem&)>& operation,
      const std::function<void(const Files&, bool cleanup_failed)>& succeeded) {
    for (const bool throws : {false, true}) {
      for (int n = 1;; ++n) {
        SCOPED_TRACE(std::string(throws ? "thrown" : "returned") +
                     " failure of operation " + std::to_string(n));
        Reset();
        FaultyFileSystem fs;
        fs.fail_at = n;
        fs.throws = throws;
        bool ok = false;
        try {
          ok = operation(fs);
        } catch (const testing::InjectedFault&) {
          ok = false;
        }
        if (!ok) {
          EXPECT_TRUE(fs.failed) << "failed without an injected failure";
          EXPECT_TRUE(FolderFiles() == before_)
              << "files changed or a temporary file was left";
        } else {
          succeeded(FolderFiles(), fs.failed);
        }
        // Whatever happened, the store still holds the edits.
        EXPECT_EQ(TableRecords(store_.HomeData, 2), home_before_);
        EXPECT_EQ(store_.HomeChanges.size(), 3u);
        if (fs.operations < n) break;  // ran to the end without failing
        ASSERT_LT(n, 100) << "the operation never completes";
      }
    }
  }

  std::string folder_;
  std::string path_;
  Files before_;
  RecordStore store_;
  std::vector<Fields> home_before_;
};

TEST_F(FileFailureTest, SavingChanges) {
  const std::string base_part = before_["town.qz"].substr(
      0, before_["town.qz"].size() -
             WriteChangeSectionFromStream(
                 21, "0000003" + RecordText({"3", "saved"}) + "\x1E")
                 .size());
  const std::string saved =
      base_part + WriteChangeSection(21, store_.HomeChanges, store_.OrgChanges);
  FailEveryOperation(
      [&](FileSystem& fs) { return SaveChanges(path_, store_, fs).ok(); },
      [&](const Files& files, bool) {
        Files want = before_;
        want["town.qz"] = saved;
        EXPECT_TRUE(files == want);
      });
  // And the edits can still be saved.
  Reset();
  ASSERT_TRUE(SaveChanges(path_, store_).ok());
  EXPECT_EQ(testing::ReadBytes(path_), saved);
}

TEST_F(FileFailureTest, StoringColumnWidths) {
  const std::array<int32_t, kHomeKinds> home = {11, 12, 13, 14, 15, 16, 17};
  const std::array<int32_t, kOrgKinds> org = {21, 22, 23, 24, 25, 26, 27, 28};
  const BaseHeader header_before = store_.header;
  FailEveryOperation(
      [&](FileSystem& fs) {
        RecordStore copy;
        copy.header = store_.header;
        const bool ok = SaveColumnWidths(path_, home, org, &copy, fs).status ==
                        SaveWidthsStatus::kOk;
        EXPECT_EQ(copy.header.HomeColWidths[0],
                  ok ? 11 : header_before.HomeColWidths[0]);
        return ok;
      },
      [&](const Files& files, bool) {
        EXPECT_EQ(files.size(), before_.size());
        RecordStore reloaded;
        ASSERT_EQ(LoadBase(path_, &reloaded).status, LoadStatus::kOk);
        EXPECT_EQ(reloaded.header.HomeColWidths[1], 12);
        EXPECT_EQ(reloaded.header.OrgColWidths[1], 22);
        EXPECT_EQ(reloaded.HomeChanges.size(), 1u);  // the change section stays
      });
}

TEST_F(FileFailureTest, Optimising) {
  FailEveryOperation(
      [&](FileSystem& fs) {
        return OptimiseBase(path_, store_, {70, 71}, {80, 81}, 555, fs)
                   .status == OptimiseStatus::kOk;
      },
      [&](const Files& files, bool cleanup_failed) {
        EXPECT_EQ(files.at(BackupName("town.qz")), before_.at("town.qz"));
        RecordStore rebuilt;
        ASSERT_EQ(LoadBase(path_, &rebuilt).status, LoadStatus::kOk);
        EXPECT_EQ(rebuilt.BaseStamp, 555);
        EXPECT_EQ(TableRecords(rebuilt.HomeData, 2), home_before_);
        EXPECT_EQ(TableNumbers(rebuilt.HomeData).back(), home_before_.size());
        // Only the removal of the previous backup, once the base is in
        // place, may fail without failing the optimisation: the previous
        // backup then stays beside it under a temporary name.
        EXPECT_EQ(files.size(), cleanup_failed ? 3u : 2u);
        if (cleanup_failed) {
          size_t older = 0;
          for (const auto& [name, bytes] : files)
            older += bytes == "an older backup";
          EXPECT_EQ(older, 1u);
        }
      });
}

TEST_F(FileFailureTest, Restoring) {
  const std::string& file = before_.at("town.qz");
  const std::string base_part = file.substr(
      0, static_cast<uint8_t>(file[0]) | static_cast<uint8_t>(file[1]) << 8);
  ASSERT_LT(base_part.size(), file.size());
  FailEveryOperation(
      [&](FileSystem& fs) { return RestoreBasePart(path_, fs).ok(); },
      [&](const Files& files, bool) {
        Files want = before_;
        want["town.qz"] = base_part;
        EXPECT_TRUE(files == want);
      });
}

}  // namespace
}  // namespace spravka
