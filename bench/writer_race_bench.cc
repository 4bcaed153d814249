// SPDX-License-Identifier: GPL-3.0-or-later
// The window's save racing `spravka-cli optimize` of the same base, as a
// user can make them race: each round loads the base as the window does,
// starts the command, waits a varying moment, adds an edit and saves; then
// it reads the base back and sorts the round: the edit kept, the save
// refused with a message (the edit still in the window), or the edit lost
// although the save reported success.
// Then two windows (sessions) in one process, as two programs: window A
// saves once, window B opens the base; then A adds a record and saves, and
// B does the same. A round is "refused" when B opened the base read-only
// and said so, "kept" when both records are in the base, "lost" when a
// record is gone although every save reported success.
// bench/writer-races runs it with the command-line races.
// Usage: writer_race_bench SPRAVKA_CLI [ROUNDS]   (a figure, not a test)
//        writer_race_bench --make BASE   writes the raced base (one saved
//        change) for the command-line races
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/base_session.h"
#include "app/file_checks.h"
#include "app/message_boxes.h"
#include "app/settings.h"
#include "storage/base_file.h"
#include "storage/optimiser.h"
#include "storage/record_key.h"
#include "storage/save.h"
#include "tools/demo_town.h"

extern char** environ;

namespace spravka {
namespace {

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

pid_t Start(const std::string& cli, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(cli.c_str()));
  for (const std::string& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  posix_spawn(&pid, cli.c_str(), &quiet, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&quiet);
  return pid;
}
bool Succeeded(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool HasRecordText(const RecordStore& store, const std::string& text) {
  const Table& t = store.HomeData;
  for (size_t p = 1; p < t.used; p += t.LengthAt(p))
    if (t.TextAt(p) == text) return true;
  return false;
}

class MemorySettings : public SettingsStore {
 public:
  std::optional<std::string> Read(const std::string& name) override {
    if (name == kLastBaseSetting) return std::string("town");
    return std::nullopt;
  }
  void Write(const std::string&, const std::string&) override {}
};

class CountingBoxes : public MessageBoxes {
 public:
  void Show(MessageKind, const std::string&) override { ++shown; }
  bool Ask(const std::string&) override { return false; }
  int shown = 0;
};

Rgb SameColour(Rgb c) { return c; }

struct Tally {
  int kept = 0, refused = 0, lost = 0;
  void Print(const char* race) const {
    std::printf("%-32s kept %3d  refused %3d  lost %3d\n", race, kept, refused,
                lost);
  }
};

}  // namespace
}  // namespace spravka

int main(int argc, char** argv) {
  using namespace spravka;
  if (argc < 2) {
    std::fprintf(stderr, "usage: writer_race_bench SPRAVKA_CLI [ROUNDS]\n");
    return 2;
  }
  const std::string cli = argv[1];
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 20;
  const bool make_only = cli == "--make";  // writes the base to argv[2]
  const std::string dir = std::filesystem::temp_directory_path() /
                          ("writer-race-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = dir + "/town.qz";
  const DemoTown town = MakeDemoTown(200000, 20000, 1);
  const std::string base_part =
      WriteBasePart(town.header, 5, town.home_text, town.org_text);
  ChangeList saved;
  saved.Add(1,
            "\x01"
            "111\x02"
            "saved\x03\x04\x05\x06\x07\x1F");
  const std::string with_changes =
      base_part + WriteChangeSection(5, saved, ChangeList());
  const std::string edit =
      "\x01"
      "222\x02"
      "window edit\x03\x04\x05\x06\x07\x1F";
  if (make_only) {
    WriteFileBytes(argv[2], with_changes);
    std::filesystem::remove_all(dir);
    return 0;
  }

  Tally save_race;
  for (int r = 0; r < rounds; ++r) {
    const auto delay = std::chrono::milliseconds(r * 400 / rounds);
    // The window's save against an optimisation.
    WriteFileBytes(path, with_changes);
    RecordStore window;
    if (!LoadBase(path, &window).ok()) return 1;
    pid_t optimiser = Start(cli, {"optimize", path});
    std::this_thread::sleep_for(delay);
    window.HomeChanges.Add(2, edit);
    const Status saved_status = SaveChanges(path, window);
    Succeeded(optimiser);
    RecordStore after;
    const bool loads = LoadBase(path, &after).ok();
    if (!saved_status.ok()) {
      ++save_race.refused;  // the edit is still in the window to save again
    } else if (loads && HasRecordText(after, edit)) {
      ++save_race.kept;
    } else {
      ++save_race.lost;
    }
  }
  // A second window after a save, on a small town (nothing here races).
  Tally windows;
  {
    const DemoTown small = MakeDemoTown(2000, 200, 2);
    const std::string small_part =
        WriteBasePart(small.header, 6, small.home_text, small.org_text);
    const std::string a_text =
        "\x01"
        "333\x02"
        "window A\x03\x04\x05\x06\x07\x1F";
    const std::string a_later =
        "\x01"
        "335\x02"
        "window A later\x03\x04\x05\x06\x07\x1F";
    const std::string b_text =
        "\x01"
        "444\x02"
        "window B\x03\x04\x05\x06\x07\x1F";
    for (int r = 0; r < rounds; ++r) {
      WriteFileBytes(path, small_part);
      RealFileChecks files;
      MemorySettings settings;
      CountingBoxes boxes;
      BaseSession a(&files, &settings, &boxes, SameColour);
      a.Start(dir, dir + "/spravka", {});
      if (a.LoadBase() != LoadOutcome::kLoaded) return 1;
      (*a.base().StoreForEdit()).HomeChanges.Add(2001, a_text);
      const bool first_save = a.base().SaveChanges();
      BaseSession b(&files, &settings, &boxes, SameColour);
      b.Start(dir, dir + "/spravka", {});
      if (b.LoadBase() != LoadOutcome::kLoaded) return 1;
      if (!first_save) return 1;
      if (b.base().read_only()) {
        ++windows.refused;
        continue;
      }
      (*a.base().StoreForEdit()).HomeChanges.Add(2002, a_later);
      (*b.base().StoreForEdit()).HomeChanges.Add(2003, b_text);
      const bool a_saved = a.base().SaveChanges();
      const bool b_saved = b.base().SaveChanges();
      RecordStore after;
      if (!LoadBase(path, &after).ok()) return 1;
      if (!a_saved || !b_saved) {
        ++windows.refused;
      } else if (HasRecordText(after, a_text) &&
                 HasRecordText(after, a_later) &&
                 HasRecordText(after, b_text)) {
        ++windows.kept;
      } else {
        ++windows.lost;
      }
    }
  }

  std::printf("%d rounds, a town of 220000 records\n", rounds);
  save_race.Print("window save vs optimize");
  windows.Print("second window after a save");
  std::filesystem::remove_all(dir);
  return 0;
}
