// SPDX-License-Identifier: GPL-3.0-or-later
// The base read while the window starts is taken by the first load only
// when it is the file that load opens and it loaded; otherwise the load
// reads the file itself, with its messages as ever.
#include "app/base_prefetch.h"

#include <gtest/gtest.h>

#include "app/base_session.h"
#include "support/base_builder.h"
#include "support/faulty_file_system.h"
#include "support/session_fakes.h"
#include "util/paths.h"

namespace spravka {
namespace {

using testing::MakeBaseFile;

TEST(BasePrefetchTest, TheFirstLoadTakesOnlyTheSameFileLoaded) {
  const std::string dir = testing::TempDir();
  testing::WriteBytes(dir + "/Town.qz",
                      MakeBaseFile({{"111111", "prefetched"}}, {}));
  struct Case {
    const char* prefetched;  // in `dir`; "" for none
    bool taken;
  };
  for (const Case& c :
       {Case{"Town.qz", true}, Case{"Other.qz", false}, Case{"", false}}) {
    SCOPED_TRACE(c.prefetched);
    testing::ProbeSwitchFileChecks files;
    testing::MapSettingsStore settings;
    settings.values["LastBase"] = "Town";
    testing::RecordingBoxes boxes;
    // The window's own reading of the file fails: a load that succeeds
    // took the prefetched base.
    testing::FaultyFileSystem fs;
    fs.fail_at = 1;
    BaseSession session(&files, &settings, &boxes, testing::TrueColour, &fs);
    testing::WriteBytes(dir + "/Other.qz", MakeBaseFile({}, {}));
    BasePrefetch prefetch(*c.prefetched ? AbsolutePathFrom(dir, c.prefetched)
                                        : "");
    session.TakeNextLoadFrom(&prefetch);
    session.Start(dir, "/opt/spravka/bin/spravka", {});
    EXPECT_EQ(session.LoadBase(),
              c.taken ? LoadOutcome::kLoaded : LoadOutcome::kFailed);
    EXPECT_EQ(boxes.shown.empty(), c.taken);
    if (c.taken) {
      EXPECT_EQ(session.base().store().HomeData.TextAt(1),
                "\x01"
                "111111\x02prefetched\x1F");
    }
    RecordStore again;
    ChangeSectionStatus changes;
    EXPECT_FALSE(
        prefetch.Take(AbsolutePathFrom(dir, "Town.qz"), &again, &changes))
        << "taken twice";
  }
}

std::string NoLastBase() { return ""; }
std::string LastBaseTown() { return "Town"; }

TEST(BasePrefetchTest, GuessesTheFileAStartUpOpens) {
  struct Case {
    std::vector<std::string> args;
    std::string (*last_base)();
    const char* path;  // from the working folder; "" for none
  };
  const Case cases[] = {
      {{"\"Named.QZ\""}, LastBaseTown, "Named.QZ"},
      {{"/bases/Named.qz"}, LastBaseTown, "/bases/Named.qz"},
      {{"sub/Named.qz"}, NoLastBase, "sub/Named.qz"},
      {{"notes.txt"}, LastBaseTown, "Town.qz"},
      {{"a.qz", "b.qz"}, LastBaseTown, "Town.qz"},
      {{}, LastBaseTown, "Town.qz"},
      {{}, NoLastBase, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LikelyStartUpBase("/w", c.args, c.last_base),
              *c.path ? AbsolutePathFrom("/w", c.path) : "")
        << (c.args.empty() ? "" : c.args[0]);
  }
}

// The start-up shows its splash unless the base is known to load at once.
TEST(BasePrefetchTest, OnlyASmallFileLoadsAtOnce) {
  const std::string dir = testing::TempDir();
  testing::WriteBytes(dir + "/Small.qz", std::string(kQuickLoadBytes - 1, 'x'));
  testing::WriteBytes(dir + "/Large.qz", std::string(kQuickLoadBytes, 'x'));
  struct Case {
    std::string path;
    bool at_once;
  };
  const Case cases[] = {
      {dir + "/Small.qz", true},
      {dir + "/Large.qz", false},
      {dir + "/Missing.qz", false},
      {dir, false},  // a folder
      {"", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LoadsAtOnce(c.path), c.at_once) << c.path;
}

}  // namespace
}  // namespace spravka
