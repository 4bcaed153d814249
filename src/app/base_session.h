// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_BASE_SESSION_H_
#define SPRAVKA_APP_BASE_SESSION_H_

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/base_prefetch.h"
#include "app/create_base.h"
#include "app/file_checks.h"
#include "app/message_boxes.h"
#include "app/rules/stripes.h"
#include "app/settings.h"
#include "app/town_list.h"
#include "app/work_runner.h"
#include "storage/optimiser.h"
#include "storage/record_store.h"

namespace spravka {

// How a base load ended.
enum class LoadOutcome {
  kLoaded,
  kFailed,  // reported; the store still holds the base loaded before, if any
  kFatal,   // reported; the program ends
};

// The open-base session: the working folder, the town list, which base is
// shown and which was shown before, the loaded base's record store and
// whether it has unsaved changes, the settings and the stripes; and the
// procedures that start, load, save, optimise, restore, create and leave a
// base. The window shows what it holds and changes it only through its
// commands. Used by one thread at a time: the window's.
class BaseSession {
 public:
  // `fs` (the real file system when null) reads and writes the bases.
  BaseSession(FileChecks* files, SettingsStore* settings_store,
              MessageBoxes* boxes, NearestColour nearest,
              FileSystem* fs = nullptr);

  // Start-up: the folders, the write probe, "LastBase", the town list from
  // the working folder, the command-line base and the town entry to open.
  void Start(const std::string& working_folder, const std::string& program_path,
             const std::vector<std::string>& args);

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

  // The loaded base: its store, its file (relative to the working folder for
  // a base there) and whether its folder can be written.
  bool base_loaded() const { return base_loaded_; }
  RecordStore& store() { return store_; }
  const RecordStore& store() const { return store_; }
  const std::string& base_file_name() const { return base_file_name_; }
  bool base_read_only() const { return base_read_only_; }

  // Whether the store holds changes that are not in the base file. Every
  // edit marks them; a successful save, a restore and leaving the base end
  // them. `on_change` runs whenever the answer changes.
  bool modified() const { return modified_; }
  void MarkModified() { SetModified(true); }
  void MarkSaved() { SetModified(false); }
  void OnModifiedChange(std::function<void()> on_change) {
    on_modified_change_ = std::move(on_change);
  }

  // The grids' striped drawing, read from the settings at every load.
  Stripes& stripes() { return stripes_; }
  const Stripes& stripes() const { return stripes_; }

  // Opens the chosen base: offers a new one when it is missing, loads it with
  // its messages, then probes whether the base's folder can be written.
  LoadOutcome LoadBase();
  // The next load takes its base from `prefetch` when that loaded the
  // same file (it must live until then).
  void TakeNextLoadFrom(BasePrefetch* prefetch) { prefetch_ = prefetch; }
  // Where the file work of loads, saves, optimisation, restore and new
  // bases runs (here, when none is given). It must outlive the session.
  void RunFileWorkWith(WorkRunner* runner) { runner_ = runner; }
  // The first load of the program: a base that cannot be loaded gives way
  // to the first town whose file loads, then to the offer of a new base,
  // else the fatal message is shown. It never ends without a base loaded
  // unless it is fatal.
  LoadOutcome LoadAtStart();
  // A load after the shown base was left: a base that cannot be loaded
  // (also by an error thrown, which is reported) gives way to the previous
  // one, then to the first town whose file is there, else the fatal message
  // is shown. The tables of a left base are never kept under another name.
  LoadOutcome LoadAfterClose();

  // Reads "USearch" (returned), "Contrast" and, when stripes can be shown,
  // "Zebra" into the stripes.
  bool ReadDisplaySettings(Rgb button_face);

  // Leaving the shown base: stores the settings, then asks "Сохранить
  // изменения базы?" when there are unsaved changes and runs `save` on Yes.
  // False when `save` failed: the base stays, with its unsaved changes.
  // Otherwise no unsaved changes are left: written or given up.
  bool Leave(bool universal_mode, const std::function<bool()>& save);

  // The switch to a town entry: the current base becomes the previous one
  // and the entry's base the current one.
  void SwitchTo(const std::string& entry, int index);
  // The store still holds the base shown before a failed switch: the names
  // go back to it.
  void BackToLoadedBase();
  // After a restore: no base is current, so the next switch always loads
  // the selected one.
  void ForgetCurrentBase() { current_base_.reset(); }
  // After an optimisation: there is no base to go back to.
  void ForgetPreviousBase() { previous_base_.reset(); }

  // The missing-base step's offer of a new base: may create one
  // (CreateNewBase); true when it did.
  void SetNewBaseOffer(std::function<bool()> offer) {
    offer_new_base_ = std::move(offer);
  }
  // Writes a new base from the dialog's values into the working folder and
  // takes it (TakeNewBase). A refused name or a failed write is reported and
  // changes nothing. True when the base was made.
  bool CreateNewBase(const NewBaseParams& params,
                     const std::optional<std::string>& base_template);
  // The base `name` was made in the working folder: it becomes the current
  // base, and its town entry is added when new.
  void TakeNewBase(const std::string& name);
  // The drop handler's choice of a dropped file: a ".qz" file's town entry
  // (added when it is new) becomes the selected one; false for any other
  // file. The switch itself is the window's.
  bool TakeDroppedFile(const std::string& path);

  // The file work on the loaded base. Each reports its failure, returned or
  // thrown, and returns whether it succeeded; no base loaded: nothing to do.
  // Writes the change lists; success ends the unsaved changes.
  bool SaveChanges();
  // The grids' widths (header pixels) go into the header of the file and of
  // the store.
  bool SaveColumnWidths(const std::array<int32_t, kHomeKinds>& home,
                        const std::array<int32_t, kOrgKinds>& org);
  // The file keeps only its base part; success gives up the unsaved changes.
  bool RestoreBase();
  // Optimisation's file work; `home_written` runs half-way, on this thread.
  // A failure, returned or thrown, is returned, not reported: the caller
  // hides its splash window first and then calls ReportFailure.
  Status Optimise(const std::array<int32_t, kHomeKinds>& home,
                  const std::array<int32_t, kOrgKinds>& org,
                  const std::function<void()>& home_written,
                  OptimiseReport* report);
  // Shows the message for a failed write of the loaded base.
  void ReportFailure(const Status& status);

  // A base's file path for opening (relative names are taken from the
  // working folder).
  std::string PathOf(const std::string& name) const;

 private:
  void SetModified(bool modified);
  void ApplyCommandLine(const std::vector<std::string>& args);
  // A ".qz" file's base name: the file name without ".qz" for a file of
  // the working folder, else the full path without it; none for another
  // file.
  std::optional<std::string> BaseOfFile(std::string path);
  bool MissingBaseStep();
  bool BaseExists(const std::optional<std::string>& name) const;
  // LoadBase, an error thrown reported as a failed load.
  LoadOutcome LoadReported();
  // After `failed` could not be loaded: the bases to try in its place, in
  // order (the previous one, then the towns whose file is there), each once.
  std::vector<std::string> FallbackBases(
      const std::optional<std::string>& failed) const;
  // Loads the first of the fallback bases of `failed` that loads.
  LoadOutcome LoadInsteadOf(const std::optional<std::string>& failed);
  // Shows the message that ends a program without any base: kFatal.
  LoadOutcome NoBaseAtAll();
  bool Probe(const std::string& folder);

  FileChecks* files_;
  MessageBoxes* boxes_;
  FileSystem* fs_;
  // Tells another window that opens the loaded base that this one has it.
  std::unique_ptr<FileLock> open_mark_;
  Settings settings_;
  Stripes stripes_;

  std::string working_folder_;
  std::string program_folder_;
  bool folder_read_only_ = false;
  std::optional<std::string> current_base_;
  std::optional<std::string> previous_base_;
  TownList towns_;
  int selected_ = -1;
  std::function<bool()> offer_new_base_;

  // The session's thread owns the store; while the runner's job saves or
  // optimises it, that job only reads it and the session's thread leaves it
  // alone.
  RecordStore store_;
  bool base_loaded_ = false;
  std::string loaded_base_;  // the current base when the store was loaded
  std::string base_file_name_;
  bool base_read_only_ = true;
  bool modified_ = false;
  std::function<void()> on_modified_change_;
  BasePrefetch* prefetch_ = nullptr;
  WorkRunner here_;
  WorkRunner* runner_ = &here_;
};

// The message that ends the program when there is no base at all.
std::string NoBaseMessage();

}  // namespace spravka

#endif  // SPRAVKA_APP_BASE_SESSION_H_
