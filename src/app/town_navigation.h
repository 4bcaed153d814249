// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_TOWN_NAVIGATION_H_
#define SPRAVKA_APP_TOWN_NAVIGATION_H_

#include <optional>
#include <string>
#include <vector>

#include "app/file_checks.h"
#include "app/message_boxes.h"
#include "app/town_list.h"

namespace spravka {

// The way between the towns: the working folder, the town list, which base
// is to be shown and which was shown before, the bases to fall back to when
// one cannot be loaded, and the entries that the command line, a dropped
// file and a new base add. It reads folders and names and never writes a
// base; loading the base it names is the open base's work. Window thread
// only.
class TownNavigation {
 public:
  TownNavigation(FileChecks* files, MessageBoxes* boxes);

  // Start-up: the folders, the write probe, the base used last (`last_base`,
  // empty for none), the town list from the working folder, the
  // command-line base and the town entry to open.
  void Start(const std::string& working_folder, const std::string& program_path,
             const std::vector<std::string>& args,
             const std::string& last_base);

  const std::string& working_folder() const { return working_folder_; }
  const std::string& program_folder() const { return program_folder_; }
  // The working folder could not be written at start-up.
  bool folder_read_only() const { return folder_read_only_; }

  // The base to show (the file name without ".qz" for a base of the working
  // folder, else the full path without it) and the one shown before the
  // last switch; none when no base is named.
  const std::optional<std::string>& current_base() const {
    return current_base_;
  }
  const std::optional<std::string>& previous_base() const {
    return previous_base_;
  }

  const TownList& towns() const { return towns_; }
  // The selected entry of the town list; -1 when none is.
  int selected_entry() const { return selected_; }
  // Whether `entry` is the town entry of the current base: choosing it
  // switches nothing.
  bool IsCurrentEntry(const std::string& entry) const;
  // Selects the current base's entry when it is in the list; its index, or
  // -1.
  int SelectCurrentEntry();

  // The switch to a town entry: the current base becomes the previous one
  // and the entry's base the current one.
  void SwitchTo(const std::string& entry, int index);
  // `base` becomes the current base, its entry selected; the previous one
  // stays. For a fallback, and for the base the open base still holds after
  // a switch that did not load.
  void GoTo(const std::string& base);
  // After a restore: no base is current, so the next switch always loads
  // the selected one.
  void ForgetCurrentBase() { current_base_.reset(); }
  // After an optimisation: there is no base to go back to.
  void ForgetPreviousBase() { previous_base_.reset(); }

  // The base `name` was made in the working folder: it becomes the current
  // base, and its town entry is added when new.
  void TakeNewBase(const std::string& name);
  // The drop handler's choice of a dropped file: a ".qz" file's town entry
  // (added when it is new) becomes the selected one; false for any other
  // file. The switch itself is the window's.
  bool TakeDroppedFile(const std::string& path);

  // Whether the file of base `name` is there.
  bool BaseExists(const std::optional<std::string>& name) const;
  // The file of the current base by its real name, as the open base names
  // it: relative to the working folder for a base there. None when the
  // file is not there.
  std::optional<std::string> CurrentBaseFile() const;
  // After `failed` could not be loaded: the bases to try in its place, in
  // order (the previous one, then the towns whose file is there), each once.
  std::vector<std::string> FallbackBases(
      const std::optional<std::string>& failed) const;
  // The missing-base step after its offer of a new base: when the current
  // base's file is not there, the previous base, else the first town whose
  // file is there, becomes current. False when the town list is empty or
  // no such base is left.
  bool FallBackToExistingBase();

  // Whether `folder` can be written (a probe file made and removed; a probe
  // file that stays is reported).
  bool FolderWritable(const std::string& folder);

  // A base's file path for opening (relative names are taken from the
  // working folder).
  std::string PathOf(const std::string& name) const;

 private:
  void ApplyCommandLine(const std::vector<std::string>& args);
  // A ".qz" file's base name: the file name without ".qz" for a file of
  // the working folder, else the full path without it; none for another
  // file.
  std::optional<std::string> BaseOfFile(std::string path);

  FileChecks* files_;
  MessageBoxes* boxes_;
  std::string working_folder_;
  std::string program_folder_;
  bool folder_read_only_ = false;
  std::optional<std::string> current_base_;
  std::optional<std::string> previous_base_;
  TownList towns_;
  int selected_ = -1;
};

}  // namespace spravka

#endif  // SPRAVKA_APP_TOWN_NAVIGATION_H_
