// SPDX-License-Identifier: GPL-3.0-or-later
// Two writers of one base: the second waits for the first, and a writer
// behind a loaded base writes nothing once the base part on the disk is
// another one; a second window sees the first one's mark.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <memory>

#include "storage/base_file.h"
#include "storage/optimiser.h"
#include "storage/restore.h"
#include "storage/save.h"
#include "support/base_builder.h"
#include "support/faulty_file_system.h"

namespace spravka {
namespace {

using testing::RecordText;

class WriterLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = testing::TempDir() + "/town.qz";
    ChangeList home;
    home.Add(3, RecordText({"3", "c"}));
    testing::WriteBytes(path_, testing::MakeBaseFile({{"1", "a"}, {"2", "b"}},
                                                     {{"9", "o"}}, 8, &home));
    ASSERT_TRUE(LoadBase(path_, &store_).ok());
    store_.HomeChanges.Add(4, RecordText({"4", "d"}));
  }

  std::string path_;
  RecordStore store_;
  testing::FaultyFileSystem fs_;  // the real one, waiting for no lock
};

// Every writer of a base, as the window and the command line call it.
using Writer =
    std::function<Status(const std::string&, RecordStore*, FileSystem&)>;
struct NamedWriter {
  const char* name;
  Writer write;
};
std::vector<NamedWriter> Writers() {
  return {
      {"save", [](const std::string& path, RecordStore* store,
                  FileSystem& fs) { return SaveChanges(path, *store, fs); }},
      {"widths",
       [](const std::string& path, RecordStore* store, FileSystem& fs) {
         return SaveColumnWidths(path, {9, 9, 9, 9, 9, 9, 9},
                                 {9, 9, 9, 9, 9, 9, 9, 9}, store, fs);
       }},
      {"optimise",
       [](const std::string& path, RecordStore* store, FileSystem& fs) {
         return OptimiseBase(path, *store, store->header.HomeColWidths,
                             store->header.OrgColWidths, 77, nullptr, fs);
       }},
      {"restore", [](const std::string& path, RecordStore*,
                     FileSystem& fs) { return RestoreBasePart(path, fs); }},
  };
}

TEST_F(WriterLockTest, AWriterFindingTheBaseLockedChangesNothingAndSaysSo) {
  for (const NamedWriter& writer : Writers()) {
    SCOPED_TRACE(writer.name);
    const std::string before = testing::ReadBytes(path_);
    {
      std::unique_ptr<FileLock> held;
      ASSERT_TRUE(fs_.LockForWriting(path_, &held).ok());
      ASSERT_NE(held, nullptr);
      const Status status = writer.write(path_, &store_, fs_);
      EXPECT_EQ(status.code(), StatusCode::kBaseLocked);
      EXPECT_EQ(status.path(), path_);
      EXPECT_TRUE(testing::ReadBytes(path_) == before);
    }
    // Once the other writer is done, the same write goes through.
    EXPECT_TRUE(writer.write(path_, &store_, fs_).ok());
    ASSERT_TRUE(LoadBase(path_, &store_).ok());  // the next writer's view
  }
}

// POSIX locks lie on the file itself (on Windows they lie on a lock file
// beside it, which goes with the name).
TEST_F(WriterLockTest, TheLockFollowsTheNameWhenTheBaseWasReplaced) {
  std::unique_ptr<FileLock> old_file;
  ASSERT_TRUE(fs_.LockForWriting(path_, &old_file).ok());
  // Another writer put a new file in place; the old one is locked still.
  ASSERT_TRUE(
      RealFileSystem().ReplaceFile(path_, testing::ReadBytes(path_)).ok());
  std::unique_ptr<FileLock> new_file;
  EXPECT_TRUE(fs_.LockForWriting(path_, &new_file).ok());
  EXPECT_NE(new_file, nullptr);
}

// The base part was rebuilt, or its header rewritten, by another program
// after the load: the loaded tables no longer belong behind it.
TEST_F(WriterLockTest, WritersBehindALoadedBaseRefuseAnotherBasePart) {
  struct Change {
    const char* name;
    std::function<void(const std::string&)> apply;
  };
  const std::vector<Change> changes = {
      {"optimised elsewhere",
       [](const std::string& path) {
         RecordStore other;
         ASSERT_TRUE(LoadBase(path, &other).ok());
         ASSERT_TRUE(OptimiseBase(path, other, other.header.HomeColWidths,
                                  other.header.OrgColWidths, 99, nullptr)
                         .ok());
       }},
      {"widths stored elsewhere",
       [](const std::string& path) {
         RecordStore other;
         ASSERT_TRUE(LoadBase(path, &other).ok());
         ASSERT_TRUE(SaveColumnWidths(path, {5, 5, 5, 5, 5, 5, 5},
                                      {5, 5, 5, 5, 5, 5, 5, 5}, &other)
                         .ok());
       }},
  };
  const std::vector<NamedWriter> writers = Writers();
  for (const Change& change : changes) {
    for (size_t w = 0; w < 3; ++w) {  // save, widths, optimise
      SCOPED_TRACE(std::string(change.name) + ", " + writers[w].name);
      SetUp();
      const RecordStore loaded = store_;
      change.apply(path_);
      const std::string before = testing::ReadBytes(path_);
      EXPECT_EQ(writers[w].write(path_, &store_, fs_).code(),
                StatusCode::kBaseChanged);
      EXPECT_TRUE(testing::ReadBytes(path_) == before);
      // The unsaved change is still there to save again or copy out.
      EXPECT_EQ(store_.HomeChanges.size(), loaded.HomeChanges.size());
      EXPECT_TRUE(store_.header.HomeColWidths == loaded.header.HomeColWidths);
    }
  }
}

TEST_F(WriterLockTest, SavingAfterOwnWidthsStillFindsItsBasePart) {
  ASSERT_TRUE(SaveColumnWidths(path_, {3, 3, 3, 3, 3, 3, 3},
                               {3, 3, 3, 3, 3, 3, 3, 3}, &store_, fs_)
                  .ok());
  EXPECT_TRUE(SaveChanges(path_, store_, fs_).ok());
  RecordStore reloaded;
  ASSERT_TRUE(LoadBase(path_, &reloaded).ok());
  EXPECT_EQ(reloaded.HomeChanges.size(), 2u);
  EXPECT_EQ(reloaded.header.HomeColWidths[0], 3);
}

// What writers killed on their way left behind goes with the next writer
// of the same base; other bases' files stay. The temporary names are short,
// so a base whose name is as long as the system allows is written too.
TEST_F(WriterLockTest, LeftoversGoAndLongNamesWork) {
  const std::string folder = testing::TempDir();
  const std::string long_path = folder + "/" + std::string(251, 'n') + ".qz";
  testing::WriteBytes(long_path, testing::ReadBytes(path_));
  const std::string other = folder + "/other.qz";
  for (const NamedWriter& writer : Writers()) {
    SCOPED_TRACE(writer.name);
    const std::string ours = *TemporaryNameBeside(fs_, long_path);
    const std::string theirs = *TemporaryNameBeside(fs_, other);
    testing::WriteBytes(ours, "left by a killed writer");
    testing::WriteBytes(theirs, "another base's writer is at work");
    RecordStore store;
    ASSERT_TRUE(LoadBase(long_path, &store).ok());
    ASSERT_TRUE(writer.write(long_path, &store, fs_).ok());
    EXPECT_FALSE(fs_.Exists(ours));
    EXPECT_TRUE(fs_.Exists(theirs));
    EXPECT_LE(ours.size() - folder.size(), 20u);
  }
}

// A read-only base that cannot be written is left read-only: only a write
// that succeeds makes the base writable.
TEST_F(WriterLockTest, AFailedWriteLeavesAReadOnlyBaseReadOnly) {
  for (const NamedWriter& writer : Writers()) {
    SCOPED_TRACE(writer.name);
    SetUp();
    ASSERT_EQ(chmod(path_.c_str(), 0444), 0);
    testing::FaultyFileSystem full_disk;
    full_disk.writes_fail = true;
    EXPECT_FALSE(writer.write(path_, &store_, full_disk).ok());
    struct stat st;
    ASSERT_EQ(stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    ASSERT_TRUE(writer.write(path_, &store_, fs_).ok());
    ASSERT_EQ(stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
  }
}

TEST_F(WriterLockTest, ASecondWindowSeesTheFirstWindowsMark) {
  bool elsewhere = true;
  std::unique_ptr<FileLock> first = fs_.MarkOpen(path_, &elsewhere);
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(elsewhere);
  std::unique_ptr<FileLock> second = fs_.MarkOpen(path_, &elsewhere);
  EXPECT_TRUE(elsewhere);
  // A window's mark does not stop a writer, nor the base being replaced
  // under it.
  for (const NamedWriter& writer : Writers()) {
    SCOPED_TRACE(writer.name);
    EXPECT_TRUE(writer.write(path_, &store_, fs_).ok());
    ASSERT_TRUE(LoadBase(path_, &store_).ok());
  }
  std::unique_ptr<FileLock> writer;
  EXPECT_TRUE(fs_.LockForWriting(path_, &writer).ok());
  first.reset();
  second.reset();
  EXPECT_NE(fs_.MarkOpen(path_, &elsewhere), nullptr);
  EXPECT_FALSE(elsewhere);
}

}  // namespace
}  // namespace spravka
