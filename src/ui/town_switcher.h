// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_TOWN_SWITCHER_H_
#define SPRAVKA_UI_TOWN_SWITCHER_H_

#include <QObject>
#include <functional>
#include <optional>
#include <string>

#include "app/base_session.h"
#include "ui/base_commands.h"

namespace spravka {

class SearchControls;
class TownBox;

// The town list and the way from one base to another: leaving the shown
// base (its search texts emptied, the question about unsaved changes),
// loading the selected town's base behind the splash window, and showing
// what a load left. A choice in the open list waits until the focus leaves
// the list; leaving the list switches to its selected town. A switch asked
// for by the user (a town chosen, a file dropped) passes the window's
// file-work gate, which holds it while other file work runs. None runs
// after the program ended.
class TownSwitcher : public QObject, public BaseWindow {
  Q_OBJECT

 public:
  struct Parts {
    BaseSession* session = nullptr;
    SearchControls* search = nullptr;
    TownBox* box = nullptr;
    QWidget* window = nullptr;  // the window under the splash
    // Writes the unsaved changes; false when they could not be written.
    std::function<bool()> save;
    // Shows the loaded base in the window: captions, columns, settings.
    std::function<void()> show_base;
    // A fatal load ended the program; and whether it has.
    std::function<void()> end_program;
    std::function<bool()> ended;
  };
  explicit TownSwitcher(const Parts& parts);

  // The list from the session's towns, its entry selected.
  void FillTownBox();
  // Selects the session's entry; entries added since (command line, new
  // base) are added in their place.
  void SelectTownEntry();
  // The town list's hint: the base's description (before any base, "Выбор
  // города"), below the whole entry when the box cannot show it whole.
  void ShowTownHint();
  // Shows what a load of the session left: the base, or the end.
  LoadOutcome ShowLoad(LoadOutcome outcome);
  // False when the user wanted the changes saved and saving failed: the
  // base stays loaded and shown, and the caller does not leave it.
  bool CloseBase();

  // A switch the user asked for, through the gate: to the town entry
  // `target` (kSwitch) or to the ".qz" file at the path `target` (kDrop).
  // Held while other file work runs, then asked for again.
  void RequestSwitch(WorkRequest request, const std::string& target);

  // BaseWindow: the switch to the selected town entry, unless it is the
  // current base's.
  void SwitchToSelectedTown() override;
  void SelectNoTown() override;
  void ReloadBase() override;

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // A town entry was chosen.
  void TownChosen();
  // Back to the shown base after a CloseBase that could not save.
  void StayWithBase();
  // Leaves the shown base for the selected town and loads it; none when
  // nothing was switched (the town is the shown one, or the shown base
  // stays).
  std::optional<LoadOutcome> Switch();
  // The end of a switch: the residential page of the new base, searched.
  void ShowSwitchedBase(LoadOutcome outcome);

  Parts p_;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_TOWN_SWITCHER_H_
