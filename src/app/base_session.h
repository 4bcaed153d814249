// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_BASE_SESSION_H_
#define SPRAVKA_APP_BASE_SESSION_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/base_prefetch.h"
#include "app/create_base.h"
#include "app/file_checks.h"
#include "app/file_work_gate.h"
#include "app/message_boxes.h"
#include "app/open_base.h"
#include "app/rules/stripes.h"
#include "app/settings.h"
#include "app/town_navigation.h"
#include "app/work_runner.h"

namespace spravka {

// How a base load ended.
enum class LoadOutcome {
  kLoaded,
  kFailed,  // reported; the store still holds the base loaded before, if any
  kFatal,   // reported; the program ends
};

// The window's session: the town navigation and the open base, joined by
// the ways into and out of a base (start-up, the loads with their messages
// and fallbacks, leaving with the save question, a new base), the gate that
// all file work passes, and the settings with the stripes. The window shows
// what they hold and changes it only through their commands. Window thread
// only.
class BaseSession {
 public:
  // `fs` (the real file system when null) reads and writes the bases.
  BaseSession(FileChecks* files, SettingsStore* settings_store,
              MessageBoxes* boxes, NearestColour nearest,
              FileSystem* fs = nullptr);

  TownNavigation& navigation() { return navigation_; }
  const TownNavigation& navigation() const { return navigation_; }
  OpenBase& base() { return base_; }
  const OpenBase& base() const { return base_; }
  // The one gate of the window's file work.
  FileWorkGate& gate() { return gate_; }

  // Start-up: the navigation from the working folder, the program's path,
  // the command line and the base used last.
  void Start(const std::string& working_folder, const std::string& program_path,
             const std::vector<std::string>& args);

  // The grids' striped drawing, read from the settings at every load.
  Stripes& stripes() { return stripes_; }
  const Stripes& stripes() const { return stripes_; }

  // Where the file work of loads, saves, optimisation, restore and new
  // bases runs (here, when none is given). It must outlive the session.
  void RunFileWorkWith(WorkRunner* runner);
  // The next load takes its base from `prefetch` when that loaded the
  // same file (it must live until then).
  void TakeNextLoadFrom(BasePrefetch* prefetch) {
    base_.TakeNextLoadFrom(prefetch);
  }

  // Opens the current base: offers a new one when it is missing, loads it
  // with its messages, then probes whether the base's folder can be
  // written and marks it open.
  LoadOutcome LoadBase();
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

  // A load has read a sound header: `show` puts the base's titles up before
  // the load's messages come.
  void OnTitlesRead(std::function<void(const BaseHeader&)> show) {
    show_titles_ = std::move(show);
  }

  // The open base still holds the base shown before a failed switch: the
  // navigation goes back to it.
  void BackToLoadedBase();

  // The missing-base step's offer of a new base: may create one
  // (CreateNewBase); true when it did.
  void SetNewBaseOffer(std::function<bool()> offer) {
    offer_new_base_ = std::move(offer);
  }
  // Writes a new base from the dialog's values into the working folder and
  // makes it the current base. A refused name or a failed write is
  // reported and changes nothing. True when the base was made.
  bool CreateNewBase(const NewBaseParams& params,
                     const std::optional<std::string>& base_template);

 private:
  bool MissingBaseStep();
  // LoadBase, an error thrown reported as a failed load.
  LoadOutcome LoadReported();
  // Loads the first of the fallback bases of `failed` that loads.
  LoadOutcome LoadInsteadOf(const std::optional<std::string>& failed);
  // Shows the message that ends a program without any base: kFatal.
  LoadOutcome NoBaseAtAll();

  MessageBoxes* boxes_;
  FileSystem* fs_;
  Settings settings_;
  Stripes stripes_;
  FileWorkGate gate_;
  TownNavigation navigation_;
  OpenBase base_;
  std::function<bool()> offer_new_base_;
  std::function<void(const BaseHeader&)> show_titles_;
  WorkRunner here_;
  WorkRunner* runner_ = &here_;
};

// The message that ends the program when there is no base at all.
std::string NoBaseMessage();

}  // namespace spravka

#endif  // SPRAVKA_APP_BASE_SESSION_H_
