// SPDX-License-Identifier: GPL-3.0-or-later
// Every file operation of saving, storing column widths, optimising,
// restoring, creating a base and forcing a new one over it fails in turn,
// returning its error, throwing it, or running out of disk: the previous files
// stay byte for byte as they were or the new ones are complete, no temporary
// file is left, and the store still holds what the user can save again.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "storage/base_file.h"
#include "storage/base_template.h"
#include "storage/new_file.h"
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
    saved.Add(3, RecordText({"3", "saved"}));
    before_[BackupName("town.qz")] = "an older backup";
    before_["town.qz"] = testing::WithOriginTag(
        testing::MakeBaseFile(home, {{"o1", "x"}}, 21, &saved));
    Reset();
    ASSERT_EQ(LoadBase(path_, &store_).code(), StatusCode::kOk);
    // Unsaved edits on top of the saved one.
    store_.HomeChanges.Add(5, "\x1F");
    store_.HomeChanges.Add(41, RecordText({"41", "added"}));
    store_.OrgChanges.Add(1, RecordText({"o1", "edited"}));
    // The working tables as the edits left them: the saved state reloaded
    // with them applied.
    const std::string saved_state = testing::ReadBytes(path_);
    ASSERT_TRUE(SaveChanges(path_, store_).ok());
    RecordStore edited;
    ASSERT_EQ(LoadBase(path_, &edited).code(), StatusCode::kOk);
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

  // The files of the folder but the base's lock file, which stays (empty)
  // once a writer has made it.
  Files FolderFiles() const {
    Files files;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
      const std::string name = entry.path().filename().string();
      const std::string bytes = testing::ReadBytes(entry.path().string());
      if (name == ".town.qz.lock" && bytes.empty()) continue;
      files[name] = bytes;
    }
    return files;
  }

  // How the file system fails: the N-th file operation returns its error,
  // or throws it, or the disk is full after N blocks of bytes (a short
  // write: the part that fits stays on the disk).
  enum class Fault { kReturned, kThrown, kShortWrite };

  // Runs `operation` (true when it reports success) with the fault at step
  // N, for every N until it runs without meeting the fault. After a
  // failure every file is as it was; after success `succeeded` checks the
  // files.
  // When `backup_may_change`, a failure at a rename may also leave the
  // backup holding the base as it was; a full disk never touches it, for
  // the backup is replaced only once the new file is complete.
  void FailAtEveryStep(
      Fault fault, const std::function<bool(FileSystem&)>& operation,
      const std::function<void(const Files&, bool link_failed)>& succeeded,
      bool backup_may_change) {
    constexpr long long kBlock = 128;
    for (int n = 1;; ++n) {
      SCOPED_TRACE("step " + std::to_string(n));
      ASSERT_LT(n, 100) << "the operation never completes";
      Reset();
      FaultyFileSystem fs;
      if (fault == Fault::kShortWrite) {
        fs.write_budget = (n - 1) * kBlock;
      } else {
        fs.fail_at = n;
        fs.throws = fault == Fault::kThrown;
      }
      bool ok = false;
      try {
        ok = operation(fs);
      } catch (const testing::InjectedFault&) {
        ok = false;
      }
      const bool met =
          fault == Fault::kShortWrite ? fs.write_budget == 0 && !ok : fs.failed;
      if (!ok) {
        EXPECT_TRUE(met) << "failed without an injected failure";
        const Files files = FolderFiles();
        Files backed_up = before_;
        backed_up[BackupName("town.qz")] = before_.at("town.qz");
        EXPECT_TRUE(files == before_ ||
                    (backup_may_change && fault != Fault::kShortWrite &&
                     files == backed_up))
            << "files changed or a temporary file was left";
      } else {
        succeeded(FolderFiles(), fs.failed);
      }
      // Whatever happened, the store still holds the edits.
      EXPECT_EQ(TableRecords(store_.HomeData, 2), home_before_);
      EXPECT_EQ(store_.HomeChanges.size(), 3u);
      if (ok && !fs.failed) break;  // ran to the end without the fault
    }
  }

  struct Operation {
    const char* name;
    std::function<bool(FileSystem&)> run;
    std::function<void(const Files&, bool link_failed)> succeeded;
    bool backup_may_change = false;
  };
  std::vector<Operation> Operations();

  std::string folder_;
  std::string path_;
  Files before_;
  RecordStore store_;
  std::vector<Fields> home_before_;
};

std::vector<FileFailureTest::Operation> FileFailureTest::Operations() {
  std::vector<Operation> operations;
  const std::string& file = before_.at("town.qz");
  const std::string base_part = file.substr(
      0, static_cast<uint8_t>(file[0]) | static_cast<uint8_t>(file[1]) << 8);
  const std::string saved =
      base_part + WriteChangeSection(21, store_.HomeChanges, store_.OrgChanges);
  operations.push_back(
      {"saving changes",
       [this](FileSystem& fs) { return SaveChanges(path_, store_, fs).ok(); },
       [this, saved](const Files& files, bool) {
         Files want = before_;
         want["town.qz"] = saved;
         EXPECT_TRUE(files == want);
       }});

  const BaseHeader header_before = store_.header;
  operations.push_back(
      {"storing column widths",
       [this, header_before](FileSystem& fs) {
         RecordStore copy;
         copy.header = store_.header;
         const bool ok =
             SaveColumnWidths(path_, {11, 12, 13, 14, 15, 16, 17},
                              {21, 22, 23, 24, 25, 26, 27, 28}, &copy, fs)
                 .ok();
         EXPECT_EQ(copy.header.HomeColWidths[0],
                   ok ? 11 : header_before.HomeColWidths[0]);
         return ok;
       },
       [this](const Files& files, bool) {
         EXPECT_EQ(files.size(), before_.size());
         RecordStore reloaded;
         ASSERT_TRUE(LoadBase(path_, &reloaded).ok());
         EXPECT_EQ(reloaded.header.HomeColWidths[1], 12);
         EXPECT_EQ(reloaded.header.OrgColWidths[1], 22);
         EXPECT_EQ(reloaded.HomeChanges.size(), 1u);  // the section stays
       }});

  operations.push_back(
      {"optimising",
       [this](FileSystem& fs) {
         return OptimiseBase(path_, store_, {70, 71}, {80, 81}, 555, nullptr,
                             fs)
             .ok();
       },
       [this](const Files& files, bool) {
         // A backup made by a copy where the link failed is the same.
         EXPECT_EQ(files.size(), 2u);
         EXPECT_EQ(files.at(BackupName("town.qz")), before_.at("town.qz"));
         RecordStore rebuilt;
         ASSERT_TRUE(LoadBase(path_, &rebuilt).ok());
         EXPECT_EQ(rebuilt.BaseStamp, 555);
         EXPECT_EQ(TableRecords(rebuilt.HomeData, 2), home_before_);
         EXPECT_EQ(TableNumbers(rebuilt.HomeData).back(), home_before_.size());
       },
       // The backup is replaced before the new part takes the base's name.
       true});

  operations.push_back({"restoring",
                        [this](FileSystem& fs) {
                          return RestoreBasePart(path_, {}, nullptr, fs).ok();
                        },
                        [this, base_part](const Files& files, bool) {
                          Files want = before_;
                          want["town.qz"] = base_part;
                          EXPECT_TRUE(files == want);
                        }});

  // A new base replaces the old one, as the new-base dialog does after
  // asking.
  operations.push_back({"creating",
                        [this](FileSystem& fs) {
                          return fs.ReplaceFile(path_, BaseTemplate()).ok();
                        },
                        [this](const Files& files, bool) {
                          Files want = before_;
                          want["town.qz"] = BaseTemplate();
                          EXPECT_TRUE(files == want);
                        }});

  // A new base forced over the old one, which becomes the backup, as the
  // command line's demo and build do.
  operations.push_back({"replacing, keeping a backup",
                        [this](FileSystem& fs) {
                          return WriteNewFile(
                                     fs, path_, BaseTemplate(),
                                     NewFileMode::kReplaceKeepingBackup)
                              .ok();
                        },
                        [this](const Files& files, bool) {
                          Files want = before_;
                          want["town.qz"] = BaseTemplate();
                          want[BackupName("town.qz")] = before_.at("town.qz");
                          EXPECT_TRUE(files == want);
                        },
                        true});
  operations.push_back({"creating under a free name",
                        [this](FileSystem& fs) {
                          return WriteNewFile(fs, folder_ + "/new.qz",
                                              BaseTemplate(),
                                              NewFileMode::kCreate)
                              .ok();
                        },
                        [this](const Files& files, bool) {
                          Files want = before_;
                          want["new.qz"] = BaseTemplate();
                          EXPECT_TRUE(files == want);
                        }});
  return operations;
}

TEST_F(FileFailureTest, EveryOperationFailingAtEveryStepLosesNothing) {
  ASSERT_LT(BaseTemplate().size(), before_.at("town.qz").size());
  for (const Operation& operation : Operations()) {
    for (const Fault fault :
         {Fault::kReturned, Fault::kThrown, Fault::kShortWrite}) {
      SCOPED_TRACE(std::string(operation.name) +
                   (fault == Fault::kReturned ? ", failure returned"
                    : fault == Fault::kThrown ? ", failure thrown"
                                              : ", disk full"));
      FailAtEveryStep(fault, operation.run, operation.succeeded,
                      operation.backup_may_change);
    }
  }
  // And the edits can still be saved.
  Reset();
  ASSERT_TRUE(SaveChanges(path_, store_).ok());
}

}  // namespace
}  // namespace spravka
