// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_SHELL_H_
#define SPRAVKA_APP_SHELL_H_

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/base_prefetch.h"
#include "app/create_base.h"
#include "app/file_checks.h"
#include "app/message_boxes.h"
#include "app/settings.h"
#include "app/rules/stripes.h"
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

// The program's state outside the widgets: folders, the town list, the
// loaded base with its store, the settings, and the start-up, load and
// close procedures. The window shows what this holds.
class Shell {
 public:
  // `fs` (the real file system when null) reads and writes the bases.
  Shell(FileChecks* files, SettingsStore* settings_store, MessageBoxes* boxes,
        NearestColour nearest, FileSystem* fs = nullptr);

  // `FormCreate` steps 1-8: folders, write probe, "LastBase", the town list,
  // the command-line base and the town entry to open.
  void Start(const std::string& working_folder, const std::string& program_path,
             const std::vector<std::string>& args);

  // `LoadBase`: the missing-base step, the load with its messages, the
  // write probe of the base's folder.
  LoadOutcome LoadBase();
  // The next load takes its base from `prefetch` when that loaded the
  // same file (it must live until then).
  void TakeNextLoadFrom(BasePrefetch* prefetch) { prefetch_ = prefetch; }
  // Where the file work of loads, saves, optimisation, restore and new
  // bases runs (here, when none is given). It must outlive the shell.
  void RunFileWorkWith(WorkRunner* runner) { runner_ = runner; }

  // Reads "USearch" (returned), "Contrast" and, when stripes can be shown,
  // "Zebra" into `stripes`.
  bool ReadDisplaySettings(Rgb button_face);

  // `CloseBase` steps 3-4: stores the settings, then asks
  // "Сохранить изменения базы?" when there are unsaved changes. True when
  // the answer is Yes.
  bool StoreSettingsAndAsk(bool universal_mode, bool unsaved_changes);

  // `SpeedButton1Click`'s file work: writes the change lists. A failure,
  // returned or thrown, is reported; true on success.
  bool SaveChanges();

  // `AcSaveWideExecute`'s file work: the grids' widths (header pixels) go
  // into the header of the file and of the store. A failure is reported.
  bool SaveColumnWidths(const std::array<int32_t, kHomeKinds>& home,
                        const std::array<int32_t, kOrgKinds>& org);
  // Optimisation's file work; `home_written` runs half-way, on this
  // thread. A failure, returned or thrown, is returned, not reported: the
  // caller hides its splash window first and then calls ReportFailure.
  Status Optimise(const std::array<int32_t, kHomeKinds>& home,
                  const std::array<int32_t, kOrgKinds>& org,
                  const std::function<void()>& home_written,
                  OptimiseReport* report);
  // Shows the message for a failed write of the loaded base.
  void ReportFailure(const Status& status);
  // Restore's file work: the file keeps only its base part. A failure is
  // reported; true on success.
  bool RestoreBase();

  // Switching. The switch to a town entry (`TownBoxExit`): the shown base
  // becomes the previous one.
  void SwitchTo(const std::string& entry, int index);
  // The store still holds the base shown before a failed switch: the names
  // go back to it.
  void BackToLoadedBase();
  // After a restore: no entry names the shown base, so the next switch
  // always loads the selected one.
  void ForgetShownBase() { CurrentBase = " "; }
  // After an optimisation: there is no base to go back to.
  void ForgetPreviousBase() { PreviousBase = "  "; }

  // The entry of `CurrentBase`, selected when it is in the list; -1 else.
  int SelectCurrentEntry();

  // The base file's path for opening (relative names are taken from the
  // working folder).
  std::string PathOf(const std::string& name) const;

  // Hook for the missing-base step: offers to create a base. It may set
  // `CurrentBase` and add an entry (`CreateNewBase`); true when it made a
  // base.
  std::function<bool()> offer_new_base;

  // `CreateBase`: writes a new base from the dialog's values into the
  // working folder, makes it `CurrentBase` and adds its town entry. A
  // refused name or a failed write is reported and changes nothing. True
  // when the base was made.
  bool CreateNewBase(const NewBaseParams& params,
                     const std::optional<std::string>& base_template);

  // The drop handler's choice of a dropped file: a ".qz" file's town entry
  // (added when it is new) becomes the selected one; false for any other
  // file. The switch itself is `TownBoxExit`'s.
  bool TakeDroppedFile(const std::string& path);

  // `LoadBase` after the shown base was closed: a base that cannot be
  // loaded (also by an error thrown, which is reported) gives way to the
  // previous one, then to the first town whose file is there, else the
  // fatal message is shown. The tables of a closed base are never kept
  // under another name.
  LoadOutcome LoadAfterClose();

  // The first load of the program: a base that cannot be loaded gives way
  // to the first town whose file loads, then to the offer of a new base,
  // else the fatal message is shown. It never ends without a base loaded
  // unless it is fatal.
  LoadOutcome LoadAtStart();

  // Shell state.
  std::string WorkingFolder;
  std::string ProgramFolder;
  std::string CurrentBase;
  std::string PreviousBase;
  bool FolderReadOnly = false;
  TownList towns;
  int selected = -1;  // the selected entry of `TownBox`

  // The loaded base. The shell's thread owns it; while the runner's job
  // saves or optimises it, that job only reads it and the shell's thread
  // leaves it alone.
  RecordStore store;
  bool base_loaded = false;
  std::string loaded_base;  // `CurrentBase` of the base the store holds
  std::string BaseFileName;
  std::string BaseFolder;
  bool BaseReadOnly = true;

  Settings settings;
  Stripes stripes;

 private:
  void ApplyCommandLine(const std::vector<std::string>& args);
  // A ".qz" file's base name: the file name without ".qz" for a file of
  // the working folder, else the full path without it.
  std::string BaseOfFile(std::string path);
  bool MissingBaseStep();
  bool BaseExists(const std::string& name);
  // LoadBase, an error thrown reported as a failed load.
  LoadOutcome LoadReported();
  // After `failed` could not be loaded: the bases to try in its place, in
  // order (the previous one, then the towns whose file is there), each once.
  std::vector<std::string> FallbackBases(const std::string& failed) const;
  // Loads the first of the fallback bases of `failed` that loads.
  LoadOutcome LoadInsteadOf(const std::string& failed);
  // Shows the message that ends a program without any base: kFatal.
  LoadOutcome NoBaseAtAll();
  bool Probe(const std::string& folder);

  FileChecks* files_;
  MessageBoxes* boxes_;
  FileSystem* fs_;
  BasePrefetch* prefetch_ = nullptr;
  WorkRunner here_;
  WorkRunner* runner_ = &here_;
};

// The message that ends the program when there is no base at all.
std::string NoBaseMessage();

}  // namespace spravka

#endif  // SPRAVKA_APP_SHELL_H_
