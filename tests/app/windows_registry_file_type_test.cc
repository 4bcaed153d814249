// SPDX-License-Identifier: GPL-3.0-or-later
// The association in the Windows registry, written and read back through
// the registry API (under Wine on the build machine).
#include "app/windows_registry_file_type.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "storage/windows_wide_text.h"

namespace spravka {
namespace {

// A classes key of the tests' own, so that a run on a developer's machine
// leaves the real association alone.
constexpr wchar_t kTestClasses[] = L"Software\\SpravkaTest\\Classes";

constexpr char kProgramFolder[] = "C:\\Program Files\\Справка";
constexpr char kExecutable[] = "C:\\Program Files\\Справка\\spravka.exe";

// The default value of `key` under `root`; none when it is not there.
std::optional<std::string> DefaultValue(HKEY root, const std::wstring& key) {
  DWORD bytes = 0;
  if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr,
                   nullptr, &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring value(bytes / sizeof(wchar_t), L'\0');
  if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr,
                   value.data(), &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.resize(bytes / sizeof(wchar_t));
  while (!value.empty() && value.back() == L'\0') value.pop_back();
  return Utf8FromWide(value);
}

void ExpectAssociation(HKEY root, const std::wstring& classes,
                       const std::string& executable) {
  const std::wstring prefix = classes.empty() ? L"" : classes + L"\\";
  EXPECT_EQ(DefaultValue(root, prefix + L".qz"), "Kodrin");
  EXPECT_EQ(DefaultValue(root, prefix + L"Kodrin"),
            "База данных телефонного справочника");
  EXPECT_EQ(DefaultValue(root, prefix + L"Kodrin\\DefaultIcon"),
            executable + ",0");
  EXPECT_EQ(DefaultValue(root, prefix + L"Kodrin\\shell\\open\\command"),
            "\"" + executable + "\" \"%1\"");
}

// Wine's ntdll says so by an export of its own.
bool RunsUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr &&
         GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

class RegistryFileTypeTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestClasses); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestClasses); }
};

TEST_F(RegistryFileTypeTest, WrittenOnceAndAgainForAnotherExecutable) {
  RegistryFileTypeStore store(kTestClasses);
  EXPECT_EQ(store.StoredCommand(), "");
  ASSERT_TRUE(RegisterFileType(false, kProgramFolder, kExecutable, store));
  ExpectAssociation(HKEY_CURRENT_USER, kTestClasses, kExecutable);
  EXPECT_EQ(store.StoredCommand(), store.CommandFor(kExecutable));

  // A second start finds its command and writes nothing.
  const std::wstring type_key = std::wstring(kTestClasses) + L"\\Kodrin";
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, type_key.c_str(), nullptr,
                            REG_SZ, L"marker", sizeof(L"marker")),
            ERROR_SUCCESS);
  EXPECT_FALSE(RegisterFileType(false, kProgramFolder, kExecutable, store));
  EXPECT_EQ(DefaultValue(HKEY_CURRENT_USER, type_key), "marker");

  // Another executable takes the association over, all of it.
  const std::string moved = "D:\\Справка 2\\spravka.exe";
  EXPECT_TRUE(RegisterFileType(false, "D:\\Справка 2", moved, store));
  ExpectAssociation(HKEY_CURRENT_USER, kTestClasses, moved);
}

TEST_F(RegistryFileTypeTest, FloppyNetworkAndReadOnlyFoldersTouchNothing) {
  RegistryFileTypeStore store(kTestClasses);
  for (const char* folder : {"A:\\", "b:\\bin", "\\\\server\\share\\spravka"}) {
    EXPECT_FALSE(RegisterFileType(false, folder,
                                  std::string(folder) + "\\spravka.exe", store))
        << folder;
  }
  EXPECT_FALSE(RegisterFileType(true, kProgramFolder, kExecutable, store));
  HKEY key;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kTestClasses, 0, KEY_READ, &key),
            ERROR_SUCCESS);
}

TEST_F(RegistryFileTypeTest, AKeyThatCannotBeWrittenIsNoFailure) {
  // A key name longer than the registry allows cannot be created.
  RegistryFileTypeStore store(std::wstring(kTestClasses) + L"\\" +
                              std::wstring(300, L'x'));
  EXPECT_EQ(store.StoredCommand(), "");
  EXPECT_FALSE(store.Write(kExecutable));
  EXPECT_NO_THROW(EXPECT_FALSE(
      RegisterFileType(false, kProgramFolder, kExecutable, store)));
}

// The store as the program makes it writes the user's own classes, which
// HKEY_CLASSES_ROOT shows. It changes the real association, so it runs only
// where the registry is a scratch one (the Wine prefix of the build).
TEST(RegistryFileTypeRealTest, TheUsersClassesAsTheDesktopSeesThem) {
  if (std::getenv("SPRAVKA_SCRATCH_REGISTRY") == nullptr) {
    GTEST_SKIP() << "changes the real association; set "
                    "SPRAVKA_SCRATCH_REGISTRY in a scratch registry";
  }
  RegistryFileTypeStore store;
  ASSERT_TRUE(store.Write(kExecutable));
  ExpectAssociation(HKEY_CURRENT_USER, L"Software\\Classes", kExecutable);
  // Wine's HKEY_CLASSES_ROOT shows only the machine's classes.
  if (!RunsUnderWine()) ExpectAssociation(HKEY_CLASSES_ROOT, L"", kExecutable);
}

}  // namespace
}  // namespace spravka
