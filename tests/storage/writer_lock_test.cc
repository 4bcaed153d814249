// SPDX-License-Identifier: GPL-3.0-or-later
// Two writers of one base: the second waits for the first, and a writer
// behind a loaded base writes nothing once the file on the disk is another;
// a second window sees the first one's mark, however often the base has
// been replaced since; temporary files are told apart by the base they
// belong to.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <set>

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
    testing::WriteBytes(path_,
                        testing::WithOriginTag(testing::MakeBaseFile(
                            {{"1", "a"}, {"2", "b"}}, {{"9", "o"}}, 8, &home)));
    ASSERT_TRUE(LoadBase(path_, &store_).ok());
    store_.HomeChanges.Add(4, RecordText({"4", "d"}));
  }

  std::string path_;
  RecordStore store_;
  testing::FaultyFileSystem fs_;  // the real one, waiting for no lock
};

// Every writer of a base, as the window calls it: each expects the file it
// was loaded from, and says what it wrote when it has.
using Writer =
    std::function<Status(const std::string&, RecordStore*, FileSystem&)>;
struct NamedWriter {
  const char* name;
  Writer write;
};
std::vector<NamedWriter> Writers() {
  return {
      {"save",
       [](const std::string& path, RecordStore* store, FileSystem& fs) {
         BaseFileId written;
         Status status = SaveChanges(path, *store, fs, &written);
         if (status.ok()) store->loaded_file = written;
         return status;
       }},
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
      {"restore",
       [](const std::string& path, RecordStore* store, FileSystem& fs) {
         return RestoreBasePart(
             path, WriteChecks::Expecting(store->loaded_file), nullptr, fs);
       }},
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

// The lock lies on the base's lock file, which no writer replaces: a base
// replaced while one writer holds the lock is still locked for the next.
TEST_F(WriterLockTest, TheLockStaysWithTheNameWhenTheBaseIsReplaced) {
  std::unique_ptr<FileLock> first;
  ASSERT_TRUE(fs_.LockForWriting(path_, &first).ok());
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(
      RealFileSystem().ReplaceFile(path_, testing::ReadBytes(path_)).ok());
  std::unique_ptr<FileLock> second;
  EXPECT_EQ(fs_.LockForWriting(path_, &second).code(), StatusCode::kBaseLocked);
  first.reset();
  EXPECT_TRUE(fs_.LockForWriting(path_, &second).ok());
  EXPECT_NE(second, nullptr);
  // One lock file beside the base, hidden, and nothing else.
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(
           std::filesystem::path(path_).parent_path())) {
    names.insert(entry.path().filename().string());
  }
  EXPECT_EQ(names, (std::set<std::string>{"town.qz", ".town.qz.lock"}));
  EXPECT_EQ(
      LockFileOf(path_),
      std::filesystem::path(path_).parent_path().string() + "/.town.qz.lock");
}

// Another program or window wrote the file after the load: the base part
// rebuilt, the header rewritten, or only the change section saved or cut.
// The loaded tables no longer belong behind it, whichever part changed.
TEST_F(WriterLockTest, WritersBehindALoadedBaseRefuseAnotherVersionOfTheFile) {
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
      {"changes saved elsewhere",
       [](const std::string& path) {
         RecordStore other;
         ASSERT_TRUE(LoadBase(path, &other).ok());
         other.HomeChanges.Add(5, RecordText({"5", "elsewhere"}));
         ASSERT_TRUE(SaveChanges(path, other).ok());
       }},
      {"changes cut elsewhere",
       [](const std::string& path) {
         ASSERT_TRUE(RestoreBasePart(path, {}).ok());
       }},
      {"replaced by a copy with the same base part",
       [](const std::string& path) {
         std::string bytes = testing::ReadBytes(path);
         bytes.back() ^= 1;  // the change section's last byte
         testing::WriteBytes(path, bytes);
       }},
  };
  for (const Change& change : changes) {
    for (const NamedWriter& writer : Writers()) {
      SCOPED_TRACE(std::string(change.name) + ", " + writer.name);
      SetUp();
      const RecordStore loaded = store_;
      change.apply(path_);
      const std::string before = testing::ReadBytes(path_);
      EXPECT_EQ(writer.write(path_, &store_, fs_).code(),
                StatusCode::kBaseChanged);
      EXPECT_TRUE(testing::ReadBytes(path_) == before);
      // The unsaved change is still there to save again or copy out.
      EXPECT_EQ(store_.HomeChanges.size(), loaded.HomeChanges.size());
      EXPECT_TRUE(store_.header.HomeColWidths == loaded.header.HomeColWidths);
    }
  }
}

// What a writer wrote itself is what its next write expects: a window
// saves as often as it likes, and stores its widths in between.
TEST_F(WriterLockTest, AWindowsOwnWritesAreWhatItsNextWriteExpects) {
  const std::vector<NamedWriter> writers = Writers();
  for (int round = 0; round < 2; ++round) {
    for (size_t w = 0; w < 2; ++w) {  // save, widths
      SCOPED_TRACE(std::string(writers[w].name) + " " + std::to_string(round));
      store_.HomeChanges.Add(10 + round, RecordText({"x", "y"}));
      ASSERT_TRUE(writers[w].write(path_, &store_, fs_).ok());
    }
  }
  RecordStore reloaded;
  ASSERT_TRUE(LoadBase(path_, &reloaded).ok());
  EXPECT_EQ(reloaded.HomeChanges.size(), 4u);
  EXPECT_EQ(reloaded.header.HomeColWidths[0], 9);
  EXPECT_EQ(reloaded.loaded_file, store_.loaded_file);
  for (size_t w = 2; w < 4; ++w) {  // optimise, restore: the base is reloaded
    SCOPED_TRACE(writers[w].name);
    ASSERT_TRUE(writers[w].write(path_, &store_, fs_).ok());
    ASSERT_TRUE(LoadBase(path_, &store_).ok());
  }
}

// What writers killed on their way left behind goes with the next writer
// of the same base; the temporary files of any other base stay, whatever
// its name shares with this one (a hash of the names once let two bases
// remove each other's). The names are short enough for a base whose name
// is as long as the system allows.
TEST_F(WriterLockTest, LeftoversGoAndOnlyTheBasesOwn) {
  const std::string folder = testing::TempDir();
  const std::string long_name = std::string(251, 'n') + ".qz";
  const std::vector<std::string> bases = {"nakmvxxv.qz", long_name};
  const std::vector<std::string> others = {
      "tbdxatiq.qz",  // the same 32-bit name hash
      "nakmvxxv.qz.1",
      "nakmvxxv",                     // names that begin the same
      std::string(251, 'n') + ".qy",  // the same long beginning
      std::string(252, 'n') + ".qz",
  };
  for (const std::string& base : bases) {
    SCOPED_TRACE(base.substr(0, 20));
    const std::string path = folder + "/" + base;
    testing::WriteBytes(path, testing::ReadBytes(path_));
    const std::string ours = *TemporaryNameBeside(fs_, path);
    testing::WriteBytes(ours, "left by a killed writer");
    EXPECT_LE(ours.size() - folder.size(), 255u);
    std::vector<std::string> theirs;
    for (const std::string& other : others) {
      theirs.push_back(*TemporaryNameBeside(fs_, folder + "/" + other));
      testing::WriteBytes(theirs.back(), "another base's writer is at work");
      EXPECT_FALSE(IsTemporaryNameOf(
          std::filesystem::path(theirs.back()).filename().string(), path));
    }
    for (const NamedWriter& writer : Writers()) {
      SCOPED_TRACE(writer.name);
      testing::WriteBytes(ours, "left by a killed writer");
      RecordStore store;
      ASSERT_TRUE(LoadBase(path, &store).ok());
      ASSERT_TRUE(writer.write(path, &store, fs_).ok());
      EXPECT_FALSE(fs_.Exists(ours));
      for (const std::string& other : theirs) EXPECT_TRUE(fs_.Exists(other));
    }
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

TEST_F(WriterLockTest, ASecondWindowSeesTheFirstWindowsMarkAfterEveryWrite) {
  bool elsewhere = true;
  std::unique_ptr<FileLock> first = fs_.MarkOpen(path_, &elsewhere);
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(elsewhere);
  EXPECT_TRUE(fs_.IsMarkedOpen(path_));
  // A window's mark does not stop a writer; the base replaced under it is
  // still marked.
  for (const NamedWriter& writer : Writers()) {
    SCOPED_TRACE(writer.name);
    EXPECT_TRUE(writer.write(path_, &store_, fs_).ok());
    ASSERT_TRUE(LoadBase(path_, &store_).ok());
    std::unique_ptr<FileLock> second = fs_.MarkOpen(path_, &elsewhere);
    EXPECT_NE(second, nullptr);
    EXPECT_TRUE(elsewhere);
  }
  std::unique_ptr<FileLock> writer;
  EXPECT_TRUE(fs_.LockForWriting(path_, &writer).ok());
  first.reset();
  EXPECT_FALSE(fs_.IsMarkedOpen(path_));
  EXPECT_NE(fs_.MarkOpen(path_, &elsewhere), nullptr);
  EXPECT_FALSE(elsewhere);
}

}  // namespace
}  // namespace spravka
