// SPDX-License-Identifier: GPL-3.0-or-later
// A new base takes its name only while no file has it: a file that appears
// while the new one is written (another program's copy, another command's
// base) stays, and the writer says the name is taken. Forced over a file
// that was there, it keeps that file as the backup.
#include "storage/new_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "support/base_builder.h"
#include "support/faulty_file_system.h"

namespace spravka {
namespace {

// Another program puts a file under the name while the new file is
// written.
class SomeoneCopiesMeanwhile : public testing::FaultyFileSystem {
 public:
  Status WriteFile(const std::string& path, std::string_view data) override {
    Status status = FaultyFileSystem::WriteFile(path, data);
    if (!copy_to.empty()) testing::WriteBytes(copy_to, "their file");
    return status;
  }
  std::string copy_to;
};

TEST(NewFileTest, ANameTakenMeanwhileIsNeverReplaced) {
  struct Case {
    const char* name;
    NewFileMode mode;
    bool there_before;
    bool copied_meanwhile;
    bool ok;
    const char* file;    // what the name holds afterwards
    const char* backup;  // nullptr: none
  };
  const Case cases[] = {
      {"created", NewFileMode::kCreate, false, false, true, "new", nullptr},
      {"taken meanwhile", NewFileMode::kCreate, false, true, false,
       "their file", nullptr},
      {"forced, free", NewFileMode::kReplaceKeepingBackup, false, false, true,
       "new", nullptr},
      {"forced, taken meanwhile", NewFileMode::kReplaceKeepingBackup, false,
       true, false, "their file", nullptr},
      {"forced over an old one", NewFileMode::kReplaceKeepingBackup, true,
       false, true, "new", "old"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string folder = testing::TempDir();
    const std::string path = folder + "/town.qz";
    if (c.there_before) testing::WriteBytes(path, "old");
    SomeoneCopiesMeanwhile fs;
    if (c.copied_meanwhile) fs.copy_to = path;
    const Status status = WriteNewFile(fs, path, "new", c.mode);
    EXPECT_EQ(status.ok(), c.ok);
    if (!c.ok) {
      EXPECT_EQ(status.code(), StatusCode::kIoError);
      EXPECT_EQ(status.error_number(), EEXIST);
      EXPECT_EQ(status.path(), path);
    }
    EXPECT_EQ(testing::ReadBytes(path), c.file);
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      names.insert(entry.path().filename().string());
    std::set<std::string> want = {"town.qz"};
    if (c.backup) {
      want.insert("town.~qz");
      EXPECT_EQ(testing::ReadBytes(BackupName(path)), c.backup);
    }
    EXPECT_EQ(names, want);  // no temporary file left
  }
}

}  // namespace
}  // namespace spravka
