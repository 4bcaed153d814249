#ifndef SPRAVKA_UI_BASE_COMMANDS_H_
#define SPRAVKA_UI_BASE_COMMANDS_H_

#include <array>
#include <cstdint>

#include "app/message_boxes.h"
#include "app/shell.h"
#include "storage/base_header.h"
#include "ui/result_grid.h"

class QAction;

namespace spravka {

// What the base commands need of the window: loading a base again, and
// leaving it for the town the list selects.
class BaseWindow {
 public:
  virtual ~BaseWindow() = default;
  // `TownBoxExit`: the switch to the selected town entry.
  virtual void SwitchToSelectedTown() = 0;
  // Leaves the list with no entry selected, so that a switch looks for a
  // base that does not exist: the new-base dialog comes up.
  virtual void SelectNoTown() = 0;
  // Loads the shown base anew, then shows its residential page searched.
  virtual void ReloadBase() = 0;
  // Shows the splash window with `text` (UTF-8), painted at once, over the
  // repainted window.
  virtual void ShowSplash(const char* text) = 0;
  virtual void HideSplash() = 0;
};

// The commands on the base file, shared by the context menu and the window:
// saving the changes, storing the column widths, optimising, restoring and
// making a new base. Every failure, returned or thrown, is shown and keeps
// the unsaved changes; nothing is reloaded after a failure.
class BaseCommands {
 public:
  struct Parts {
    Shell* shell = nullptr;
    MessageBoxes* boxes = nullptr;
    BaseWindow* window = nullptr;
    ResultGrid* home = nullptr;  // `HomeTB`
    ResultGrid* org = nullptr;   // `OrgTb`
    QAction* save = nullptr;     // `AcSave`: the base has unsaved changes
  };
  explicit BaseCommands(const Parts& parts) : p_(parts) {}

  // `SpeedButton1Click`. False when the changes could not be written.
  bool Save();
  void SaveWidths();  // `AcSaveWideExecute`
  void Optimise();    // `AcOptimizeExecute`
  void Restore();     // `N12Click`
  void NewBase();     // `N15Click`

  // The grids' column widths in header pixels.
  std::array<int32_t, kHomeKinds> HomeWidths() const;
  std::array<int32_t, kOrgKinds> OrgWidths() const;
  // How far the grids' widths are from the stored ones, summed.
  int64_t WidthDifference() const;

 private:
  Parts p_;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_BASE_COMMANDS_H_
