// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/base_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "app/base_messages.h"
#include "app/town_names.h"
#include "storage/save.h"
#include "support/base_builder.h"
#include "support/session_fakes.h"
#include "util/paths.h"

namespace spravka {
namespace {

using testing::MakeBaseFile;
using testing::TempDir;
using testing::WriteBytes;
namespace fs = std::filesystem;

constexpr Rgb kFace{212, 208, 200};

class SessionTest : public ::testing::Test {
 protected:
  SessionTest()
      : dir_(TempDir()),
        session_(&files_, &settings_, &boxes_, testing::TrueColour) {}

  // A base with `marker` in its first residential record.
  void MakeBase(const std::string& path, const std::string& marker = "x") {
    WriteBytes(path, MakeBaseFile({{"111111", marker}}, {{"222222", "org"}}));
  }
  void Start(std::vector<std::string> args = {}) {
    session_.Start(dir_, "/opt/spravka/bin/spravka", args);
  }
  std::string FirstHomeField(int column) {
    const Table& t = session_.base().store().HomeData;
    return std::string(FieldOf(t.TextAt(1), column));
  }

  std::string dir_;
  testing::ProbeSwitchFileChecks files_;
  testing::MapSettingsStore settings_;
  testing::RecordingBoxes boxes_;
  BaseSession session_;
};

TEST_F(SessionTest, OpensTheLastBaseOrElseTheFirstTown) {
  MakeBase(dir_ + "/Moscow.qz", "moscow");
  MakeBase(dir_ + "/Kiev.qz", "kiev");
  struct Case {
    std::optional<std::string> last_base;
    const char* opened;
  };
  const Case cases[] = {
      {std::nullopt, "Kiev"}, {"Moscow", "Moscow"},
      {"moscow", "moscow"},  // entries match in any case; the file by its name
      {"Gone", "Kiev"},       {"", "Kiev"},
  };
  for (const Case& c : cases) {
    settings_.values.clear();
    if (c.last_base) settings_.values["LastBase"] = *c.last_base;
    Start();
    EXPECT_EQ(session_.navigation().towns().entries(),
              (std::vector<std::string>{" Kiev", " Moscow"}));
    EXPECT_EQ(session_.navigation().program_folder(), "/opt/spravka/bin");
    ASSERT_EQ(session_.LoadBase(), LoadOutcome::kLoaded);
    EXPECT_EQ(session_.navigation().current_base(), c.opened);
    EXPECT_EQ(
        CompareNoCase(session_.navigation()
                          .towns()[session_.navigation().selected_entry()],
                      BaseToTownName(c.opened)),
        0);
    EXPECT_EQ(FirstHomeField(2),
              CompareNoCase(c.opened, "kiev") == 0 ? "kiev" : "moscow");
  }
  EXPECT_TRUE(boxes_.shown.empty());
}

// A scan of the working folder that fails is said, and what it read
// still makes the town list.
TEST_F(SessionTest, AFailedScanOfTheFolderIsReported) {
  MakeBase(dir_ + "/Kiev.qz");
  files_.scan_fails = true;
  Start();
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].kind, MessageKind::kError);
  EXPECT_EQ(
      boxes_.shown[0].text,
      StatusMessage(Status::IoError(FileOperation::kListFolder, dir_, EIO),
                    BaseAction::kLoading, dir_)
          .text);
  EXPECT_NE(boxes_.shown[0].text.find(dir_), std::string::npos);
  EXPECT_EQ(session_.navigation().towns().entries(),
            (std::vector<std::string>{" Kiev"}));
}

TEST_F(SessionTest, CommandLineBaseRule) {
  MakeBase(dir_ + "/Moscow.qz");
  const std::string other = TempDir();
  MakeBase(other + "/Town.QZ");
#ifndef _WIN32  // MinGW's std::filesystem makes no links
  fs::create_directory_symlink(dir_, other + "/here");
#endif
  settings_.values["LastBase"] = "Moscow";
  struct Case {
    std::vector<std::string> args;
    std::string current;
    std::vector<std::string> entries;
  };
  const Case cases[] = {
      {{"\"" + dir_ + "/Moscow.qz\""}, "Moscow", {" Moscow"}},
#ifndef _WIN32
      {{other + "/here/Moscow.qz"}, "Moscow", {" Moscow"}},
#endif
      {{"Moscow.qz"}, "Moscow", {" Moscow"}},
      {{other + "/Town.QZ"},
       JoinPath(other, "Town"),
       {" Moscow", " Town *" + other}},
      {{"\"" + other + "/./Town.QZ"},
       JoinPath(other, "Town"),
       {" Moscow", " Town *" + other}},
      {{other + "/Town.txt"}, "Moscow", {" Moscow"}},
      {{other + "/Town", ".qz"}, "Moscow", {" Moscow"}},  // two arguments
  };
  for (const Case& c : cases) {
    Start(c.args);
    EXPECT_EQ(session_.navigation().current_base(), c.current) << c.args[0];
    EXPECT_EQ(session_.navigation().towns().entries(), c.entries) << c.args[0];
    ASSERT_EQ(session_.LoadBase(), LoadOutcome::kLoaded) << c.args[0];
  }
}

TEST_F(SessionTest, AFileNamedWithQzInsideOpensItself) {
  // "a.qz.qz" is the base "a.qz": one ".qz" comes off, never two.
  MakeBase(dir_ + "/a.qz.qz", "double");
  MakeBase(dir_ + "/Other.qz", "other");
  const std::string far = TempDir();
  MakeBase(far + "/b.qz.qz", "far");
  settings_.values["LastBase"] = "Other";
  Start({dir_ + "/a.qz.qz"});
  EXPECT_EQ(session_.navigation().current_base(), "a.qz");
  EXPECT_EQ(session_.navigation().towns().entries(),
            (std::vector<std::string>{" a.qz", " Other"}));
  ASSERT_EQ(session_.LoadBase(), LoadOutcome::kLoaded);
  EXPECT_EQ(
      session_.navigation().towns()[session_.navigation().selected_entry()],
      " a.qz");
  EXPECT_EQ(FirstHomeField(2), "double");

  // Dropped from another folder, and chosen again from the list.
  ASSERT_TRUE(session_.navigation().TakeDroppedFile(far + "/b.qz.qz"));
  const std::string far_entry = " b.qz *" + far;
  ASSERT_EQ(
      session_.navigation().towns()[session_.navigation().selected_entry()],
      far_entry);
  session_.navigation().SwitchTo(far_entry,
                                 session_.navigation().selected_entry());
  ASSERT_EQ(session_.LoadAfterClose(), LoadOutcome::kLoaded);
  EXPECT_EQ(FirstHomeField(2), "far");
  EXPECT_EQ(
      session_.navigation().towns()[session_.navigation().selected_entry()],
      far_entry);
  session_.navigation().SwitchTo(" a.qz",
                                 session_.navigation().towns().Find(" a.qz"));
  ASSERT_EQ(session_.LoadAfterClose(), LoadOutcome::kLoaded);
  EXPECT_EQ(FirstHomeField(2), "double");
  EXPECT_EQ(session_.navigation().towns().size(), 3u);
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(SessionTest, MissingBaseFallsBackToAnExistingTown) {
  MakeBase(dir_ + "/Alpha.qz", "alpha");
  MakeBase(dir_ + "/Beta.qz", "beta");
  Start();
  fs::remove(dir_ + "/Alpha.qz");  // gone between listing and loading
  ASSERT_EQ(session_.LoadBase(), LoadOutcome::kLoaded);
  EXPECT_EQ(session_.navigation().current_base(), "Beta");
  EXPECT_EQ(
      session_.navigation().towns()[session_.navigation().selected_entry()],
      " Beta");

  // A switch to a missing base goes back to the previous one.
  session_.navigation().SwitchTo(" Gamma", -1);
  EXPECT_EQ(session_.navigation().previous_base(), "Beta");
  ASSERT_EQ(session_.LoadBase(), LoadOutcome::kLoaded);
  EXPECT_EQ(session_.navigation().current_base(), "Beta");
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(SessionTest, AStartWhoseBaseCannotBeReadGoesOnWithAnotherOrANewOne) {
  WriteBytes(dir_ + "/Alpha.qz", "abc");
  MakeBase(dir_ + "/Beta.qz", "beta");
  struct Case {
    bool other_town;
    bool base_made;  // by the offer of a new base
    LoadOutcome outcome;
    const char* loaded;
    int offers;
    size_t boxes;  // the load's message, and the fatal one
  };
  const Case cases[] = {
      {true, false, LoadOutcome::kLoaded, "Beta", 0, 1},
      {false, true, LoadOutcome::kLoaded, "New", 1, 1},
      {false, false, LoadOutcome::kFatal, "", 1, 2},
  };
  for (const Case& c : cases) {
    if (!c.other_town) fs::remove(dir_ + "/Beta.qz");
    boxes_.shown.clear();
    BaseSession session(&files_, &settings_, &boxes_, testing::TrueColour);
    int offers = 0;
    session.SetNewBaseOffer([&] {
      ++offers;
      if (!c.base_made) return false;
      MakeBase(dir_ + "/New.qz", "new");
      session.navigation().TakeNewBase("New");
      return true;
    });
    session.Start(dir_, "/opt/spravka/bin/spravka", {});
    EXPECT_EQ(session.navigation().current_base(), "Alpha");
    EXPECT_EQ(session.LoadAtStart(), c.outcome) << c.loaded;
    EXPECT_EQ(offers, c.offers) << c.loaded;
    ASSERT_EQ(boxes_.shown.size(), c.boxes) << c.loaded;
    EXPECT_NE(boxes_.shown[0].text.find("Alpha"), std::string::npos);
    EXPECT_EQ(session.base().loaded(), c.outcome == LoadOutcome::kLoaded);
    if (c.outcome == LoadOutcome::kLoaded) {
      EXPECT_EQ(session.navigation().current_base(), c.loaded);
      EXPECT_EQ(
          session.navigation().towns()[session.navigation().selected_entry()],
          std::string(" ") + c.loaded);
    } else {
      EXPECT_EQ(boxes_.shown[1].text, NoBaseMessage());
    }
    fs::remove(dir_ + "/New.qz");
  }
}

TEST_F(SessionTest, NoBaseAtAllIsFatal) {
  Start();
  EXPECT_FALSE(session_.navigation().current_base());
  EXPECT_EQ(session_.navigation().selected_entry(), -1);
  EXPECT_EQ(session_.LoadBase(), LoadOutcome::kFatal);

  MakeBase(dir_ + "/Only.qz");
  Start();
  fs::remove(dir_ + "/Only.qz");
  EXPECT_EQ(session_.LoadBase(), LoadOutcome::kFatal);
  const testing::RecordingBoxes::Box fatal{
      MessageKind::kError,
      "Для работы программы\r\nсоздайте базу пользователя.\r\nили загрузите "
      "готовые с сайта\r\n" +
          std::string(kSiteAddress)};
  EXPECT_EQ(boxes_.shown,
            (std::vector<testing::RecordingBoxes::Box>{fatal, fatal}));
}

TEST_F(SessionTest, DamageIsFatalButAReadErrorKeepsTheLoadedBase) {
  MakeBase(dir_ + "/Good.qz", "good");
  WriteBytes(dir_ + "/Short.qz", "abc");
  std::string damaged = MakeBaseFile({{"1", "a"}}, {{"2", "b"}});
  damaged[damaged.size() - 20] ^= 0x55;  // inside the organisation stream
  WriteBytes(dir_ + "/Damaged.qz", damaged);

  Start();
  const auto switch_to = [&](const std::string& entry) {
    session_.navigation().SwitchTo(entry,
                                   session_.navigation().towns().Find(entry));
  };
  switch_to(" Good");
  ASSERT_EQ(session_.LoadBase(), LoadOutcome::kLoaded);

  switch_to(" Short");
  EXPECT_EQ(session_.LoadBase(), LoadOutcome::kFailed);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].kind, MessageKind::kError);
  EXPECT_EQ(session_.navigation().current_base(), "Good");
  EXPECT_EQ(session_.base().file_name(), "Good.qz");
  EXPECT_EQ(
      session_.navigation().towns()[session_.navigation().selected_entry()],
      " Good");
  EXPECT_EQ(FirstHomeField(2), "good");

  switch_to(" Damaged");
  EXPECT_EQ(session_.LoadBase(), LoadOutcome::kFatal);
  EXPECT_EQ(boxes_.shown.back().text, kDamagedBaseText);
}

TEST_F(SessionTest, ForeignChangeSectionIsReportedAndIgnored) {
  ChangeList home;
  home.Add(1, testing::RecordText({"111111", "changed"}));
  std::string file =
      MakeBaseFile({{"111111", "stored"}}, {{"2", "b"}}, 1, &home);
  std::string other =
      MakeBaseFile({{"111111", "stored"}}, {{"2", "b"}}, 2, &home);
  // The base part of stamp 1 with the change section of stamp 2.
  int32_t length = static_cast<unsigned char>(file[0]) |
                   static_cast<unsigned char>(file[1]) << 8;
  WriteBytes(dir_ + "/Town.qz", file.substr(0, length) + other.substr(length));
  Start();
  ASSERT_EQ(session_.LoadBase(), LoadOutcome::kLoaded);
  EXPECT_EQ(FirstHomeField(2), "stored");
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].kind, MessageKind::kInformation);
  EXPECT_EQ(boxes_.shown[0].text,
            "Файл - Town.qz -Несоответствие версии.\r\nРаботает исходный "
            "вариант базы.");
}

TEST_F(SessionTest, ReadOnlyFolder) {
  MakeBase(dir_ + "/Town.qz");
  files_.read_only = true;
  Start();
  ASSERT_EQ(session_.LoadBase(), LoadOutcome::kLoaded);
  EXPECT_TRUE(session_.navigation().folder_read_only());
  EXPECT_TRUE(session_.base().read_only());
  EXPECT_EQ(files_.probed, (std::vector<std::string>{dir_, dir_}));

  files_.read_only = false;
  ASSERT_EQ(session_.LoadBase(), LoadOutcome::kLoaded);
  EXPECT_FALSE(session_.base().read_only());
  EXPECT_TRUE(fs::exists(dir_ + "/Town.qz"));
  EXPECT_FALSE(fs::exists(dir_ + "/$$$.$$$"));
}

TEST_F(SessionTest, SettingsAreReadAtLoadAndStoredBeforeTheQuestion) {
  MakeBase(dir_ + "/Town.qz");
  settings_.values = {{"USearch", "0"}, {"Contrast", "abc"}, {"Zebra", "0"}};
  Start();
  ASSERT_EQ(session_.LoadBase(), LoadOutcome::kLoaded);
  EXPECT_FALSE(session_.ReadDisplaySettings(kFace));
  EXPECT_EQ(session_.stripes().contrast_level(), 3);
  EXPECT_FALSE(session_.stripes().stripes_on());

  session_.stripes().SetStripesOn(true);
  session_.stripes().SetStripeContrast(kFace, 7);
  int saves = 0;
  bool save_works = true;
  const auto save = [&] {
    ++saves;
    return save_works;
  };
  EXPECT_TRUE(session_.Leave(true, save));
  EXPECT_EQ(saves, 0);
  EXPECT_EQ(boxes_.unexpected_questions, 0);
  EXPECT_EQ(settings_.values,
            (std::map<std::string, std::string>{{"LastBase", "Town"},
                                                {"USearch", "1"},
                                                {"Contrast", "7"},
                                                {"Zebra", "1"}}));

  // Unsaved changes are asked about: Yes saves them, No gives them up, and
  // a save that fails keeps the base with its changes.
  struct Case {
    bool answer;
    bool save_works;
    bool left;
    int saves;
  };
  const Case cases[] = {
      {true, true, true, 1}, {false, true, true, 0}, {true, false, false, 1}};
  int told = 0;  // the window is told of every change of the answer only
  session_.base().OnModifiedChange([&] { ++told; });
  for (const Case& c : cases) {
    saves = 0;
    save_works = c.save_works;
    boxes_.answers = {c.answer};
    told = 0;
    session_.base().MarkModified();
    session_.base().MarkModified();
    EXPECT_EQ(session_.Leave(false, save), c.left);
    EXPECT_EQ(saves, c.saves);
    EXPECT_EQ(session_.base().modified(), !c.left);
    EXPECT_EQ(told, c.left ? 2 : 1);
    EXPECT_EQ(boxes_.shown.back().text, "Сохранить изменения базы?");
  }
  session_.base().MarkSaved();

  // Where no stripes can be shown, "Zebra" and "Contrast" stay as stored.
  settings_.values = {};
  EXPECT_TRUE(session_.ReadDisplaySettings({255, 255, 255}));
  EXPECT_FALSE(session_.stripes().stripes_on());
  EXPECT_TRUE(session_.Leave(true, save));
  EXPECT_EQ(settings_.values, (std::map<std::string, std::string>{
                                  {"LastBase", "Town"}, {"USearch", "1"}}));
}

// A second window on the base only reads it; a window whose base was
// rebuilt by another program since it loaded keeps its unsaved changes.
TEST_F(SessionTest, OneBaseInTwoWindowsAndABaseChangedUnderneath) {
  MakeBase(dir_ + "/Town.qz");
  settings_.values["LastBase"] = "Town";
  Start();
  ASSERT_EQ(session_.LoadBase(), LoadOutcome::kLoaded);
  EXPECT_FALSE(session_.base().read_only());
  EXPECT_TRUE(boxes_.shown.empty());

  BaseSession second(&files_, &settings_, &boxes_, testing::TrueColour);
  second.Start(dir_, "/opt/spravka/bin/spravka", {});
  ASSERT_EQ(second.LoadBase(), LoadOutcome::kLoaded);
  EXPECT_TRUE(second.base().read_only());
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].kind, MessageKind::kWarning);
  // Paths as the system writes them (with "\\" on Windows).
  const auto slashes = [](std::string text) {
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
  };
  EXPECT_EQ(slashes(boxes_.shown[0].text),
            slashes(OpenElsewhereMessage(dir_ + "/Town.qz")));

  // Another program rebuilds the base (a new stamp) behind the first window.
  RecordStore other;
  ASSERT_TRUE(spravka::LoadBase(dir_ + "/Town.qz", &other).ok());
  ASSERT_TRUE(OptimiseBase(dir_ + "/Town.qz", other, other.header.HomeColWidths,
                           other.header.OrgColWidths, 4321, nullptr)
                  .ok());
  session_.base().StoreForEdit()->HomeChanges.Add(
      2, testing::RecordText({"2", "new"}));
  boxes_.shown.clear();
  EXPECT_FALSE(session_.base().SaveChanges());
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_NE(slashes(boxes_.shown[0].text).find(slashes(dir_ + "/Town.qz")),
            std::string::npos);
  EXPECT_NE(boxes_.shown[0].text.find("изменена другой программой"),
            std::string::npos);
  EXPECT_EQ(session_.base().store().HomeChanges.size(), 1u);
}

TEST_F(SessionTest, ASaveMakesTheTablesAsSavedTheOnesLaterEditsDifferFrom) {
  MakeBase(dir_ + "/Town.qz");
  settings_.values["LastBase"] = "Town";
  Start();
  ASSERT_EQ(session_.LoadBase(), LoadOutcome::kLoaded);
  RecordStore& store = *session_.base().StoreForEdit();
  const std::string text = testing::RecordText({"111111", "y"});
  store.ReplaceRecordText(TableId::kHome, 1, text);
  store.SetChange(TableId::kHome, 1, text);
  EXPECT_TRUE(store.HasUnsavedEdits());
  ASSERT_TRUE(session_.base().SaveChanges());
  EXPECT_FALSE(session_.base().store().HasUnsavedEdits());
}

// Two windows on one base in one process see each other as two programs
// do. The second one only reads the base, also when the first has saved
// before it opened (a save replaces the file; the mark lies beside it).
// The first saves as often as it likes, but writes nothing, and resets
// nothing, over what another program saved since: not even when only the
// change section differs.
TEST_F(SessionTest, ASecondWindowAfterASaveOnlyReadsAndNothingIsOverwritten) {
  const std::string path = dir_ + "/Town.qz";
  WriteBytes(path, testing::WithOriginTag(
                       MakeBaseFile({{"111111", "x"}}, {{"222222", "org"}})));
  settings_.values["LastBase"] = "Town";
  Start();
  ASSERT_EQ(session_.LoadBase(), LoadOutcome::kLoaded);
  (*session_.base().StoreForEdit()).HomeChanges.Add(2, testing::RecordText({"2", "first"}));
  ASSERT_TRUE(session_.base().SaveChanges());

  BaseSession second(&files_, &settings_, &boxes_, testing::TrueColour);
  second.Start(dir_, "/opt/spravka/bin/spravka", {});
  ASSERT_EQ(second.LoadBase(), LoadOutcome::kLoaded);
  EXPECT_TRUE(second.base().read_only());
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].kind, MessageKind::kWarning);

  // The first window's own writes follow one another.
  (*session_.base().StoreForEdit()).HomeChanges.Add(3, testing::RecordText({"3", "again"}));
  EXPECT_TRUE(session_.base().SaveChanges());
  EXPECT_TRUE(session_.base().SaveColumnWidths({7, 7}, {7, 7}));
  EXPECT_TRUE(session_.base().SaveChanges());
  RecordStore reloaded;
  ASSERT_TRUE(spravka::LoadBase(path, &reloaded).ok());
  EXPECT_EQ(reloaded.HomeChanges.size(), 2u);

  // Another program saves a change behind the first window.
  RecordStore other;
  ASSERT_TRUE(spravka::LoadBase(path, &other).ok());
  other.HomeChanges.Add(4, testing::RecordText({"4", "other"}));
  ASSERT_TRUE(spravka::SaveChanges(path, other).ok());
  const std::string theirs = testing::ReadBytes(path);
  (*session_.base().StoreForEdit()).HomeChanges.Add(5, testing::RecordText({"5", "mine"}));
  session_.base().MarkModified();
  boxes_.shown.clear();
  EXPECT_FALSE(session_.base().SaveChanges());
  EXPECT_FALSE(session_.base().Restore());
  ASSERT_EQ(boxes_.shown.size(), 2u);
  for (const auto& box : boxes_.shown) {
    EXPECT_NE(box.text.find("изменена другой программой"), std::string::npos)
        << box.text;
  }
  EXPECT_TRUE(testing::ReadBytes(path) == theirs);
  EXPECT_TRUE(session_.base().modified());
  EXPECT_EQ(session_.base().store().HomeChanges.size(), 3u);
}

}  // namespace
}  // namespace spravka
