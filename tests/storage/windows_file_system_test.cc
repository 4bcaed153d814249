// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows file system under the storage's operations: names with
// Cyrillic letters and paths beyond 260 characters, the file attributes, a
// file another program holds open, and read-only files. Files are looked at
// through the wide-character API, as Explorer sees them.
#include <gtest/gtest.h>
#include <windows.h>
// A Win32 macro of that name would rename FileSystem::ReplaceFile here.
#undef ReplaceFile

#include <functional>
#include <set>
#include <string>

#include "app/base_messages.h"
#include "storage/base_file.h"
#include "storage/file_system.h"
#include "storage/optimiser.h"
#include "storage/record_key.h"
#include "storage/restore.h"
#include "storage/save.h"
#include "storage/windows_wide_text.h"
#include "support/base_builder.h"
#include "support/faulty_file_system.h"

namespace spravka {
namespace {

using testing::Fields;
using testing::RecordText;
using testing::TableRecords;

// The "\\?\" form, which the checks here use for any length.
std::wstring LongForm(const std::string& path) {
  std::wstring wide = WideFromUtf8(path);
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return L"\\\\?\\" + wide;
}

std::set<std::string> FolderNames(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAW found;
  const HANDLE search =
      FindFirstFileW((LongForm(folder) + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.insert(Utf8FromWide(name));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

DWORD Attributes(const std::string& path) {
  return GetFileAttributesW(LongForm(path).c_str());
}

// Attributes that carry meaning here (Wine marks every file "archive").
constexpr DWORD kCompared =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

DWORD LinkCount(const std::string& path) {
  const HANDLE file =
      CreateFileW(LongForm(path).c_str(), 0,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  BY_HANDLE_FILE_INFORMATION info = {};
  const bool known = GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  return known ? info.nNumberOfLinks : 0;
}

// The user's message about `file` for a failure.
std::string Message(const Status& status, const std::string& file) {
  return StatusMessage(status, BaseAction::kWriting, file).text;
}

class WindowsFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = testing::WithOriginTag(testing::MakeBaseFile(
        {{"1", "Иванов"}, {"2", "Петров"}}, {{"9", "Школа"}}, 17));
  }

  // A base file at `path`, loaded, with one unsaved edit.
  void MakeBase(const std::string& path) {
    ASSERT_TRUE(fs_.WriteFile(path, base_).ok());
    ASSERT_TRUE(LoadBase(path, &store_).ok());
    store_.HomeChanges.Add(2, RecordText({"2", "Сидоров"}));
  }

  std::vector<Fields> Reloaded(const std::string& path) {
    RecordStore reloaded;
    EXPECT_TRUE(LoadBase(path, &reloaded).ok());
    return TableRecords(reloaded.HomeData, 2);
  }

  FileSystem& fs_ = RealFileSystem();
  std::string base_;
  RecordStore store_;
};

TEST_F(WindowsFileSystemTest, CyrillicNamesAndLongPathsThroughEveryOperation) {
  const std::string root = testing::TempDir();
  std::string deep = root + "\\Справочники";
  ASSERT_TRUE(CreateDirectoryW(LongForm(deep).c_str(), nullptr));
  while (deep.size() < 400) {
    deep += "\\Областной центр телефонных справочников";
    ASSERT_TRUE(CreateDirectoryW(LongForm(deep).c_str(), nullptr));
  }
  for (const std::string& folder : {root + "\\Справочники", deep}) {
    SCOPED_TRACE(folder.size());
    const std::string path = folder + "\\Город.qz";
    MakeBase(path);
    ASSERT_TRUE(SaveChanges(path, store_).ok());
    const std::vector<Fields> edited = {{"1", "Иванов"}, {"2", "Сидоров"}};
    ASSERT_TRUE(LoadBase(path, &store_).ok());
    EXPECT_EQ(TableRecords(store_.HomeData, 2), edited);
    ASSERT_TRUE(SaveColumnWidths(path, {50, 60}, {70}, &store_).ok());
    ASSERT_TRUE(OptimiseBase(path, store_, {50, 60}, {70}, 99, nullptr).ok());
    ASSERT_TRUE(LoadBase(path, &store_).ok());
    EXPECT_EQ(TableRecords(store_.HomeData, 2), edited);
    store_.HomeChanges.Add(1, "\x1F");
    ASSERT_TRUE(SaveChanges(path, store_).ok());
    EXPECT_EQ(Reloaded(path), std::vector<Fields>{edited[1]});
    ASSERT_TRUE(RestoreBasePart(path, {}).ok());
    EXPECT_EQ(Reloaded(path), edited);
    // The names as Windows shows them, and no temporary file.
    std::set<std::string> want = {"Город.qz", "Город.~qz", ".Город.qz.lock"};
    if (folder != deep) want.insert("Областной центр телефонных справочников");
    EXPECT_EQ(FolderNames(folder), want);
    ASSERT_TRUE(fs_.Remove(BackupName(path)).ok());
    EXPECT_FALSE(fs_.Exists(BackupName(path)));
  }
}

TEST_F(WindowsFileSystemTest, AttributesStayButReadOnlyGoesBeforeAWrite) {
  const std::string path = testing::TempDir() + "\\town.qz";
  const std::pair<const char*, std::function<bool()>> operations[] = {
      {"save", [&] { return SaveChanges(path, store_).ok(); }},
      {"widths",
       [&] { return SaveColumnWidths(path, {1}, {2}, &store_).ok(); }},
      // With changes to cut: a restore with nothing to cut writes nothing.
      {"restore",
       [&] {
         return SaveChanges(path, store_).ok() &&
                SetFileAttributesW(
                    LongForm(path).c_str(),
                    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY) &&
                RestoreBasePart(path, {}).ok();
       }},
      {"optimise",
       [&] { return OptimiseBase(path, store_, {1}, {2}, 5, nullptr).ok(); }},
  };
  for (const auto& [name, operation] : operations) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(fs_.Remove(BackupName(path)).ok());
    MakeBase(path);
    ASSERT_TRUE(
        SetFileAttributesW(LongForm(path).c_str(),
                           FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(operation());
    EXPECT_EQ(Attributes(path) & kCompared, DWORD{FILE_ATTRIBUTE_HIDDEN});
    if (fs_.Exists(BackupName(path))) {
      EXPECT_EQ(Attributes(BackupName(path)) & kCompared,
                DWORD{FILE_ATTRIBUTE_HIDDEN});
    }
    ASSERT_TRUE(
        SetFileAttributesW(LongForm(path).c_str(), FILE_ATTRIBUTE_NORMAL));
  }
}

TEST_F(WindowsFileSystemTest, AFileAnotherProgramHoldsOpenIsReportedAndKept) {
  const std::string folder = testing::TempDir();
  const std::string path = folder + "\\Город.qz";
  MakeBase(path);
  // Another program has the base open: for itself alone (then the base
  // cannot even be read), or reading it and letting others read (then it
  // cannot be replaced).
  const std::pair<DWORD, const char*> holders[] = {
      {0, "прочитать"}, {FILE_SHARE_READ, "записать"}};
  for (const auto& [share, verb] : holders) {
    SCOPED_TRACE(share);
    const HANDLE held =
        CreateFileW(LongForm(path).c_str(), GENERIC_READ, share, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const Status saved = SaveChanges(path, store_);
    const Status optimised = OptimiseBase(path, store_, {1}, {2}, 5, nullptr);
    CloseHandle(held);
    const std::string in_use = std::string("Не удалось ") + verb + " файл " +
                               path + ": файл занят другой программой";
    EXPECT_EQ(Message(saved, path), in_use);
    EXPECT_EQ(Message(optimised, path), in_use);
    // Nothing lost, nothing left.
    EXPECT_EQ(testing::ReadBytes(path), base_);
    EXPECT_EQ(FolderNames(folder),
              (std::set<std::string>{"Город.qz", ".Город.qz.lock"}));
  }
  // Once it lets go, the edit saves.
  ASSERT_TRUE(SaveChanges(path, store_).ok());
  EXPECT_EQ(Reloaded(path),
            (std::vector<Fields>{{"1", "Иванов"}, {"2", "Сидоров"}}));
}

TEST_F(WindowsFileSystemTest, AReadOnlyFileIsNotReplacedButCanBeRemoved) {
  const std::string folder = testing::TempDir();
  const std::string path = folder + "\\out.tsv";
  ASSERT_TRUE(fs_.WriteFile(path, "old").ok());
  ASSERT_TRUE(
      SetFileAttributesW(LongForm(path).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(Message(fs_.ReplaceFile(path, "new"), path),
            "Не удалось записать файл " + path + ": нет прав на запись");
  EXPECT_EQ(testing::ReadBytes(path), "old");
  EXPECT_EQ(FolderNames(folder), std::set<std::string>{"out.tsv"});
  ASSERT_TRUE(fs_.Remove(path).ok());
  EXPECT_TRUE(FolderNames(folder).empty());
  EXPECT_TRUE(fs_.Remove(path).ok());  // a file that is gone is removed
}

TEST_F(WindowsFileSystemTest, FailuresNameTheFileAndTheReason) {
  const std::string folder = testing::TempDir();
  std::string contents;
  const std::string missing = folder + "\\Нет.qz";
  EXPECT_EQ(Message(fs_.ReadFile(missing, &contents), missing),
            "Не удалось прочитать файл " + missing + ": файл не найден");
  const std::string no_folder = folder + "\\Нет\\a.qz";
  EXPECT_EQ(Message(fs_.WriteFile(no_folder, "x"), no_folder),
            "Не удалось записать файл " + no_folder + ": папка " + folder +
                "\\Нет не найдена");
}

// The writers' lock and a window's mark lie on a hidden lock file beside
// the base, never on the base: a base held open could not be replaced.
// The lock file is never removed, so no holder that lets go (a writer
// done, a window closed, a program killed) keeps any other from opening
// it: a file opened to be deleted on close would refuse every new open
// from the moment its first such handle closed until the last one did.
TEST_F(WindowsFileSystemTest, TheLockFileStaysHiddenAndNoHolderLocksOthersOut) {
  const std::string folder = testing::TempDir();
  const std::string path = folder + "\\Город.qz";
  MakeBase(path);
  testing::FaultyFileSystem no_wait;  // the real locks, waiting for none
  bool elsewhere = true;
  std::unique_ptr<FileLock> window = fs_.MarkOpen(path, &elsewhere);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(elsewhere);
  const std::string lock_file = folder + "\\.Город.qz.lock";
  EXPECT_EQ(FolderNames(folder),
            (std::set<std::string>{"Город.qz", ".Город.qz.lock"}));
  EXPECT_TRUE(Attributes(lock_file) & FILE_ATTRIBUTE_HIDDEN);
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    std::unique_ptr<FileLock> writer;
    ASSERT_TRUE(no_wait.LockForWriting(path, &writer).ok());
    ASSERT_NE(writer, nullptr);
    // The base is replaced under both; the name stays locked.
    ASSERT_TRUE(fs_.ReplaceFile(path, base_).ok());
    std::unique_ptr<FileLock> second;
    EXPECT_EQ(no_wait.LockForWriting(path, &second).code(),
              StatusCode::kBaseLocked);
    writer.reset();  // one holder lets go while the window holds on
    std::unique_ptr<FileLock> other_window = fs_.MarkOpen(path, &elsewhere);
    ASSERT_NE(other_window, nullptr);
    EXPECT_TRUE(elsewhere);
    EXPECT_TRUE(no_wait.IsMarkedOpen(path));
  }
  // The file system lists the folder as the system does.
  std::vector<std::string> listed;
  ASSERT_TRUE(fs_.ListFolder(folder, &listed).ok());
  EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()),
            FolderNames(folder));
  window.reset();
  EXPECT_FALSE(no_wait.IsMarkedOpen(path));
  EXPECT_EQ(FolderNames(folder),
            (std::set<std::string>{"Город.qz", ".Город.qz.lock"}));
  std::unique_ptr<FileLock> again;
  EXPECT_TRUE(no_wait.LockForWriting(path, &again).ok());
  EXPECT_NE(again, nullptr);
}

// Optimisation keeps the previous file as the backup through a second
// name of the same file, where the volume has them.
TEST_F(WindowsFileSystemTest, ASecondNameIsAHardLink) {
  const std::string folder = testing::TempDir();
  const std::string path = folder + "\\Город.qz";
  MakeBase(path);
  const std::string second = folder + "\\Город.второе";
  ASSERT_TRUE(fs_.Link(path, second).ok());
  EXPECT_EQ(LinkCount(path), 2u);
  EXPECT_EQ(testing::ReadBytes(second), base_);
  EXPECT_FALSE(fs_.Link(path, second).ok());  // the name is taken
  ASSERT_TRUE(fs_.Remove(second).ok());
  EXPECT_EQ(LinkCount(path), 1u);
}

}  // namespace
}  // namespace spravka
