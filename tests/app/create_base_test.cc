// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/create_base.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "storage/base_file.h"
#include "storage/base_template.h"
#include "storage/cp1251.h"
#include "storage/record_store.h"
#include "support/base_builder.h"
#include "support/faulty_file_system.h"
#include "util/paths.h"

namespace spravka {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::string W(std::string_view utf8) { return *Utf8ToCp1251(utf8); }

std::set<std::string> FolderFiles(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

HeaderBytes HeaderOf(const std::string& file) {
  HeaderBytes bytes;
  std::copy_n(file.begin() + kHeaderOffset, kHeaderSize, bytes.begin());
  return bytes;
}

TEST(CreateBaseTest, WritesTheTemplateWithAHeaderFromTheDialog) {
  const std::string dir = TempDir();
  NewBaseParams params = DefaultNewBaseParams();
  params.name = W("  Мой город \t");
  params.number_length = 5;
  params.caption = W("Справочник города");
  params.description = W("Телефоны соседей");
  params.home_fields = kAllHomeFields & ~(1 << 2);  // no street
  params.org_fields = 0b1110'0011;  // building, office, district

  CreatedBase made;
  ASSERT_TRUE(
      CreateBase(params, BaseTemplate(), dir, RealFileSystem(), &made).ok());
  EXPECT_TRUE(made.created);
  EXPECT_EQ(made.name, "Мой город");
  // The new base, and the lock file its writer made beside it.
  EXPECT_EQ(FolderFiles(dir),
            (std::set<std::string>{"Мой город.qz", ".Мой город.qz.lock"}));

  const std::string file = ReadBytes(dir + "/Мой город.qz");
  const std::string& tmpl = BaseTemplate();
  ASSERT_EQ(file.size(), tmpl.size());
  EXPECT_EQ(file.substr(0, kHeaderOffset), tmpl.substr(0, kHeaderOffset));
  EXPECT_EQ(file.substr(kHeaderOffset + kHeaderSize),
            tmpl.substr(kHeaderOffset + kHeaderSize));

  // The stored header is scrambled; bytes 0 and 735 are not.
  const HeaderBytes stored = HeaderOf(file);
  EXPECT_EQ(stored[0], 65);
  EXPECT_EQ(stored[735], 0);
  const BaseHeader h = BaseHeader::FromFile(stored);
  EXPECT_EQ(h.FormatTag, 65);
  EXPECT_EQ(h.CheckTag, 65);
  EXPECT_EQ(h.Title, W("Телефонный справочник"));
  EXPECT_EQ(h.Caption, W("Справочник города"));
  EXPECT_EQ(h.NumberLength, 5);
  EXPECT_EQ(h.TableGrowth, 10000);
  EXPECT_EQ(h.HomeFields, 0b111'1011);
  EXPECT_EQ(h.OrgFields, 0b1110'0011);
  EXPECT_EQ(h.HomeFieldCount, 6);
  EXPECT_EQ(h.OrgFieldCount, 5);
  const NewBaseLayout layout = LayOutNewBase(0b111'1011, 0b1110'0011);
  EXPECT_EQ(h.HomeEditPlaces, layout.HomeEditPlaces);
  EXPECT_EQ(h.HomeColWidths, layout.HomeColWidths);
  EXPECT_EQ(h.OrgEditPlaces, layout.OrgEditPlaces);
  EXPECT_EQ(h.OrgColWidths, layout.OrgColWidths);
  EXPECT_EQ(h.OriginTag, "");
  EXPECT_EQ(h.Description, W("Телефоны соседей"));

  // Everything the fields do not cover is 0: reserved bytes and the tails
  // of the counted strings.
  BaseHeader fields_only = h;
  fields_only.raw = {};
  EXPECT_EQ(h.raw, fields_only.Pack());

  // It loads as a base with two empty tables and one deletion in each.
  RecordStore store;
  ASSERT_TRUE(LoadBaseFromBytes(file, &store).ok());
  EXPECT_EQ(store.HomeData.used, 0u);
  EXPECT_EQ(store.OrgData.used, 0u);
  EXPECT_EQ(store.HomeChanges.size(), 1u);
  EXPECT_EQ(store.OrgChanges.size(), 1u);
}

TEST(CreateBaseTest, TheDialogsDefaultsMakeAFullBase) {
  const NewBaseParams params = DefaultNewBaseParams();
  EXPECT_EQ(params.name, W("Новый справочник"));
  EXPECT_EQ(params.caption, W("Телефонный cправочник"));  // a Latin "c"
  EXPECT_EQ(params.description, "");
  const BaseHeader h = NewBaseHeader(params);
  EXPECT_EQ(h.NumberLength, 6);
  EXPECT_EQ(h.HomeFieldCount, 7);
  EXPECT_EQ(h.OrgFieldCount, 8);
  EXPECT_EQ(h.HomeColWidths,
            (std::array<int32_t, kHomeKinds>{44, 222, 142, 41, 39, 39, 50}));
}

TEST(CreateBaseTest, HeaderKeepsToTheFieldsLimits) {
  NewBaseParams params;
  params.caption = std::string(60, 'c');
  params.description = std::string(300, 'd');
  params.home_fields = 0;  // number and subscriber stay all the same
  params.org_fields = 0;
  for (const auto& [digits, stored] :
       {std::pair{3, 4}, {4, 4}, {7, 7}, {9, 7}}) {
    params.number_length = digits;
    EXPECT_EQ(NewBaseHeader(params).NumberLength, stored) << digits;
  }
  const BaseHeader h =
      BaseHeader::Unpack(NewBaseHeader(params).Pack());  // as read back
  EXPECT_EQ(h.Caption, std::string(50, 'c'));
  EXPECT_EQ(h.Description, std::string(250, 'd'));
  EXPECT_EQ(h.HomeFields, kFixedHomeFields);
  EXPECT_EQ(h.OrgFields, kFixedOrgFields);
  EXPECT_EQ(h.HomeFieldCount, 2);
  EXPECT_EQ(h.OrgFieldCount, 2);
}

TEST(CreateBaseTest, NameIsCutTrimmedAndDefaulted) {
  EXPECT_EQ(NewBaseName(""), "User_Base");
  EXPECT_EQ(NewBaseName(" \t\r\n "), "User_Base");
  EXPECT_EQ(NewBaseName("  Town  "), "Town");
  EXPECT_EQ(NewBaseName(W("\x01Город\x1F")), W("Город"));
  EXPECT_EQ(NewBaseName("a b"), "a b");
  // The first 30 characters count; blanks that end them go too.
  EXPECT_EQ(NewBaseName(std::string(29, 'x') + " tail"), std::string(29, 'x'));
  EXPECT_EQ(NewBaseName(std::string(40, 'y')), std::string(30, 'y'));
}

TEST(CreateBaseTest, BlankNameGivesUserBase) {
  const std::string dir = TempDir();
  NewBaseParams params;
  params.name = "   ";
  CreatedBase made;
  EXPECT_TRUE(
      CreateBase(params, BaseTemplate(), dir, RealFileSystem(), &made).ok());
  EXPECT_TRUE(made.created);
  EXPECT_EQ(made.name, "User_Base");
  EXPECT_EQ(FolderFiles(dir),
            (std::set<std::string>{"User_Base.qz", ".User_Base.qz.lock"}));
}

TEST(CreateBaseTest, NamesThatCannotNameABaseFileAreRefused) {
  const char* const refused[] = {
      "../x", "a/b",     "a\\b",     "/etc/passwd", ".",      "..",     "CON",
      "con",  "Con.txt", "aux",      "PRN",         "nul.qz", "NUL .x", "COM1",
      "com9", "LPT1",    "lpt9.a.b", "a<b",         "a>b",    "a:b",    "C:x",
      "a\"b", "a|b",     "a?b",      "a*b",         "a\x01z", "a\x7F",  "\x98"};
  for (const char* name : refused) {
    const std::optional<std::string> refusal = CheckBaseName(name);
    ASSERT_TRUE(refusal.has_value()) << name;
    EXPECT_NE(refusal->find("Введите другое имя."), std::string::npos)
        << *refusal;
  }
  const std::string allowed[] = {"Town",      W("Новый справочник"),
                                 "User_Base", "CONSOLE",
                                 "COM",       "COM10",
                                 "LPT0",      "com1x",
                                 "xcon",      "a.b",
                                 "...",       "Town.",
                                 "-x",        W("№ 1 «Юг»")};
  for (const std::string& name : allowed) {
    EXPECT_EQ(CheckBaseName(name), std::nullopt) << name;
  }
  EXPECT_EQ(CheckBaseName("CON"),
            "Имя \"CON\" зарезервировано системой\r\n"
            "и не может быть именем базы.\r\nВведите другое имя.");
}

TEST(CreateBaseTest, RefusedNameWritesNothing) {
  const std::string dir = TempDir();
  const std::string inner = dir + "/inner";
  std::filesystem::create_directory(inner);
  for (const char* name : {"../x", "a/b", "CON", " .. "}) {
    NewBaseParams params;
    params.name = name;
    CreatedBase made;
    EXPECT_TRUE(
        CreateBase(params, BaseTemplate(), inner, RealFileSystem(), &made)
            .ok());
    EXPECT_FALSE(made.created) << name;
    EXPECT_EQ(made.refusal, CheckBaseName(NewBaseName(name))) << name;
    EXPECT_TRUE(made.refusal.has_value()) << name;
    EXPECT_EQ(made.name, "") << name;
  }
  EXPECT_EQ(FolderFiles(dir), std::set<std::string>{"inner"});
  EXPECT_TRUE(FolderFiles(inner).empty());
}

TEST(CreateBaseTest, WithoutTemplateNothingHappens) {
  const std::string dir = TempDir();
  NewBaseParams params = DefaultNewBaseParams();
  for (const std::optional<std::string>& tmpl :
       {std::optional<std::string>(), std::optional<std::string>("short")}) {
    CreatedBase made;
    EXPECT_TRUE(CreateBase(params, tmpl, dir, RealFileSystem(), &made).ok());
    EXPECT_FALSE(made.created);
    EXPECT_EQ(made.name, "");
  }
  EXPECT_TRUE(FolderFiles(dir).empty());
}

TEST(CreateBaseTest, ReplacesAnExistingBase) {
  const std::string dir = TempDir();
  WriteBytes(dir + "/Town.qz", "the old base");
  NewBaseParams params;
  params.name = "Town";
  CreatedBase made;
  ASSERT_TRUE(
      CreateBase(params, BaseTemplate(), dir, RealFileSystem(), &made).ok());
  ASSERT_TRUE(made.created);
  EXPECT_EQ(ReadBytes(dir + "/Town.qz").size(), BaseTemplate().size());
  EXPECT_EQ(FolderFiles(dir),
            (std::set<std::string>{"Town.qz", ".Town.qz.lock"}));
}

// A full disk or a rename that fails leaves the old base as it was and no
// half-written file behind.
TEST(CreateBaseTest, FailedWriteKeepsTheOldBase) {
  for (int fault = 0; fault < 2; ++fault) {
    const std::string dir = TempDir();
    WriteBytes(dir + "/Town.qz", "the old base");
    testing::FaultyFileSystem fs;
    if (fault == 0) fs.write_budget = 100;
    if (fault == 1) fs.failing_rename = 1;
    NewBaseParams params;
    params.name = "Town";
    CreatedBase made;
    const Status status = CreateBase(params, BaseTemplate(), dir, fs, &made);
    EXPECT_FALSE(made.created);
    EXPECT_EQ(status.code(), StatusCode::kIoError);
    EXPECT_EQ(ReadBytes(dir + "/Town.qz"), "the old base");
    EXPECT_EQ(FolderFiles(dir),
              (std::set<std::string>{"Town.qz", ".Town.qz.lock"}));
  }
}

TEST(CreateBaseTest, ReplaceQuestionNamesTheFile) {
  EXPECT_EQ(ReplaceBaseQuestion("User_Base"),
            "База User_Base.qz\r\n  уже существует. Заменить её?");
  EXPECT_EQ(NewBasePath("/bases", "Town"),
            std::string("/bases") + kPathSeparator + "Town.qz");
}

}  // namespace
}  // namespace spravka
