// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_BASE_COMMANDS_H_
#define SPRAVKA_UI_BASE_COMMANDS_H_

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/base_session.h"
#include "app/message_boxes.h"
#include "storage/base_header.h"
#include "ui/result_grid.h"

class QAction;
class QWidget;

namespace spravka {

class NewBaseDialog;
class SplashForm;

// What the base commands need of the window: loading a base again, and
// leaving it for the town the list selects.
class BaseWindow {
 public:
  virtual ~BaseWindow() = default;
  // The switch to the selected town entry.
  virtual void SwitchToSelectedTown() = 0;
  // Leaves the list with no entry selected, so that a switch looks for a
  // base that does not exist: the new-base dialog comes up.
  virtual void SelectNoTown() = 0;
  // Loads the shown base anew, then shows its residential page searched.
  virtual void ReloadBase() = 0;
};

// The commands on the base file, shared by the context menu and the window:
// saving the changes, storing the column widths, optimising, restoring and
// making a new base. Every failure, returned or thrown, is shown and keeps
// the unsaved changes; nothing is reloaded after a failure. A command given
// by the user passes the window's file-work gate: while other file work
// runs it is refused, and the user is told.
class BaseCommands {
 public:
  struct Parts {
    BaseSession* session = nullptr;
    MessageBoxes* boxes = nullptr;
    BaseWindow* window = nullptr;
    QWidget* main = nullptr;  // the window under the splash
    ResultGrid* home = nullptr;
    ResultGrid* org = nullptr;
    QAction* save = nullptr;
    QAction* save_widths = nullptr;
    QAction* optimise = nullptr;
    NewBaseDialog* new_base = nullptr;
    // The new-base template; none: no base can be created.
    const std::optional<std::string>* base_template = nullptr;
    FileSystem* fs = nullptr;  // where bases are made; the real one if null
  };
  // Takes the actions' triggers, and the missing-base step's offer of a
  // new base.
  explicit BaseCommands(const Parts& parts);
  ~BaseCommands();

  // Writes the unsaved changes. False when they could not be written. Not
  // gated: leaving a base saves from inside the leaving's own work.
  bool Save();
  // The user's commands.
  void SaveWidths();
  void Optimise();
  void Restore();
  void NewBase();
  // The missing-base step: the new-base dialog, and a base made from it.
  // True when a base was made.
  bool OfferNewBase();

  // The grids' column widths in header pixels.
  std::array<int32_t, kHomeKinds> HomeWidths() const;
  std::array<int32_t, kOrgKinds> OrgWidths() const;
  // How far the grids' widths are from the stored ones, summed.
  int64_t WidthDifference() const;

 private:
  // The scope of a user's command; none, after the refusal is shown, while
  // other file work runs.
  std::optional<FileWorkGate::Work> BeginCommand();
  // The splash window with `text` (UTF-8), painted at once over the
  // repainted window; kept while a long command runs.
  void ShowSplash(const char* text);

  Parts p_;
  std::unique_ptr<SplashForm> splash_;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_BASE_COMMANDS_H_
