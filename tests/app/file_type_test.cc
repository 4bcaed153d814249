// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/file_type.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "support/session_fakes.h"

namespace spravka {
namespace {

using testing::FakeFileTypeStore;

TEST(FileTypeTest, WrittenOnceAndAgainForAnotherExecutable) {
  FakeFileTypeStore store;
  EXPECT_TRUE(
      RegisterFileType(false, "/opt/spravka", "/opt/spravka/spravka", store));
  // A second start of the same program finds its command.
  EXPECT_FALSE(
      RegisterFileType(false, "/opt/spravka", "/opt/spravka/spravka", store));
  EXPECT_TRUE(RegisterFileType(false, "/usr/bin", "/usr/bin/spravka", store));
  EXPECT_EQ(store.writes, (std::vector<std::string>{"/opt/spravka/spravka",
                                                    "/usr/bin/spravka"}));
}

TEST(FileTypeTest, ReadOnlyFolderLeavesTheStoreAlone) {
  FakeFileTypeStore store;
  EXPECT_FALSE(
      RegisterFileType(true, "/opt/spravka", "/opt/spravka/spravka", store));
  EXPECT_EQ(store.reads, 0);
  EXPECT_TRUE(store.writes.empty());
}

// Where the installation provides the association, the user's own is
// never written, and goes when the program it runs is gone (a build that
// no longer exists), whatever the working folder.
TEST(FileTypeTest, AnInstalledProgramOnlyRemovesAnAssociationOfAProgramGone) {
  for (const bool gone : {false, true}) {
    for (const bool read_only : {false, true}) {
      FakeFileTypeStore store;
      store.provided = true;
      store.stored = "run /home/u/build/src/spravka";
      store.gone = gone;
      EXPECT_EQ(
          RegisterFileType(read_only, "/usr/bin", "/usr/bin/spravka", store),
          gone);
      EXPECT_EQ(store.removes, gone ? 1 : 0);
      EXPECT_TRUE(store.writes.empty());
    }
  }
}

TEST(FileTypeTest, FailuresAreSwallowed) {
  FakeFileTypeStore store;
  store.read_throws = true;
  EXPECT_NO_THROW(EXPECT_FALSE(RegisterFileType(false, "/x", "/x/p", store)));
  EXPECT_TRUE(store.writes.empty());
  store.read_throws = false;
  store.write_fails = true;
  EXPECT_FALSE(RegisterFileType(false, "/x", "/x/p", store));
  EXPECT_EQ(store.writes.size(), 1u);
}

TEST(FileTypeTest, FloppyDrivesAndNetworkPaths) {
  for (const char* folder :
       {"A:\\", "a:\\bin", "B:\\x", "b:", "\\\\server\\share", "//server/s"}) {
    EXPECT_TRUE(IsFloppyOrNetworkFolder(folder)) << folder;
  }
  for (const char* folder : {"C:\\Program Files\\Spravka", "D:\\", "", "c:"}) {
    EXPECT_FALSE(IsFloppyOrNetworkFolder(folder)) << folder;
  }
#ifdef _WIN32
  FakeFileTypeStore store;
  EXPECT_FALSE(RegisterFileType(false, "A:\\", "A:\\spravka.exe", store));
  EXPECT_EQ(store.reads, 0);
#endif
}

// The program of an Exec value is read back as it was written, also from
// a hand-written entry.
TEST(FileTypeTest, DesktopExecProgramReadsTheFirstArgument) {
  for (const char* path :
       {"/usr/bin/spravka", "/opt/Spravka Test/spravka", "/home/u/Справка/bin",
        "/a\"q\"/`x`/$HOME/%f/100%/back\\slash", "/tab\there"}) {
    EXPECT_EQ(DesktopExecProgram(DesktopExecValue(path)), path);
  }
  const std::pair<const char*, const char*> hand_written[] = {
      {"/usr/bin/spravka %f", "/usr/bin/spravka"},
      {"spravka", "spravka"},
      {"\"/opt/sp\\\\$x\" %f", "/opt/sp$x"},
      {"\"/never/closed %f", ""},
      {"", ""},
  };
  for (const auto& [exec, program] : hand_written) {
    EXPECT_EQ(DesktopExecProgram(exec), program) << exec;
  }
}

TEST(FileTypeTest, WindowsCommandQuotesThePath) {
  EXPECT_EQ(WindowsOpenCommand("C:\\Program Files\\Spravka\\spravka.exe"),
            "\"C:\\Program Files\\Spravka\\spravka.exe\" \"%1\"");
}

TEST(FileTypeTest, WindowsKeysNameTheTypeAndEndWithTheCommand) {
  const std::vector<RegistryKeyValue> keys =
      WindowsFileTypeKeys("C:\\Program Files\\Справка\\spravka.exe");
  const std::pair<const char*, const char*> want[] = {
      {".qz", "Kodrin"},
      {"Kodrin", "База данных телефонного справочника"},
      {"Kodrin\\DefaultIcon", "C:\\Program Files\\Справка\\spravka.exe,0"},
      {"Kodrin\\shell\\open\\command",
       "\"C:\\Program Files\\Справка\\spravka.exe\" \"%1\""},
  };
  ASSERT_EQ(keys.size(), std::size(want));
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(keys[i].key, want[i].first);
    EXPECT_EQ(keys[i].value, want[i].second);
  }
}

TEST(FileTypeTest, DesktopExecQuotesByTheDesktopEntryRules) {
  const std::pair<const char*, const char*> cases[] = {
      {"/usr/bin/spravka", R"("/usr/bin/spravka" %f)"},
      {"/home/u/My Apps/spravka", R"("/home/u/My Apps/spravka" %f)"},
      {"/opt/a\"b/s", R"("/opt/a\\"b/s" %f)"},
      {"/opt/$HOME/`x`", R"("/opt/\\$HOME/\\`x\\`" %f)"},
      {"/opt/a\\b", R"("/opt/a\\\\b" %f)"},
      {"/opt/100%/s", R"("/opt/100%%/s" %f)"},
      {"/opt/a\nb\tc", R"("/opt/a\nb\tc" %f)"},
      {"/opt/Справка/s", R"("/opt/Справка/s" %f)"},
  };
  for (const auto& [path, exec] : cases) {
    EXPECT_EQ(DesktopExecValue(path), exec) << path;
  }
}

TEST(FileTypeTest, ExecIsReadFromTheDesktopEntryGroupOnly) {
  const std::string exec = DesktopExecValue("/opt/My Apps/spravka");
  EXPECT_EQ(DesktopEntryExec(DesktopEntryText(exec)), exec);
  EXPECT_EQ(DesktopEntryExec("[Desktop Action x]\nExec=other\n"
                             "[Desktop Entry]\r\nName=S\r\nExec=mine %f\r\n"),
            "mine %f");
  EXPECT_EQ(DesktopEntryExec("[Desktop Entry]\nName=S\n"), "");
  EXPECT_EQ(DesktopEntryExec(""), "");
}

}  // namespace
}  // namespace spravka
