// SPDX-License-Identifier: GPL-3.0-or-later
// Leaving a base for another: the town list, the switch with its splash
// window, and loading the shown base again.
#include <QCoreApplication>

#include "app/town_names.h"
#include "ui/main_window.h"
#include "ui/splash.h"
#include "ui/town_box.h"
#include "util/scope_exit.h"

namespace spravka {

void MainWindow::TownChosen() {
  // A choice in the open list waits until the focus leaves the list.
  if (town_box_->ListOpen()) return;
  SwitchToSelectedTown();
  FocusRule();
}

void MainWindow::SwitchToSelectedTown() {
  if (in_town_box_exit_ || ended_)
    return;  // a box or the splash must not switch twice
  const int index = town_box_->currentIndex();
  const std::string entry = town_box_->SelectedEntry();
  if (session_.IsCurrentEntry(entry)) return;
  in_town_box_exit_ = true;
  ScopeExit switch_ends([this] { in_town_box_exit_ = false; });
  repaint();
  QCoreApplication::processEvents();
  LoadOutcome outcome;
  try {
    SplashForm splash;  // hidden with the window on every way out
    splash.ShowNow();
    if (!CloseBase()) return;  // the shown base stays
    session_.SwitchTo(entry, index);
    outcome = ShowLoad(session_.LoadAfterClose());
  } catch (...) {
    // The store still holds the base shown before: the list and the
    // search controls go back to it before the error is reported.
    session_.BackToLoadedBase();
    StayWithBase();
    throw;
  }
  ShowSwitchedBase(outcome);
}

void MainWindow::ShowSwitchedBase(LoadOutcome outcome) {
  activateWindow();  // back from the splash (and from any box)
  if (outcome == LoadOutcome::kFatal) return;
  SetActivePage(TableId::kHome);
  PresentMode();
  engine_.RunHomeSearch();
}

void MainWindow::SelectNoTown() {
  town_box_->Select(-1);
}

void MainWindow::ReloadBase() {
  LoadOutcome outcome;
  {
    SplashForm splash;
    splash.ShowNow();
    outcome = ShowLoad(session_.LoadAfterClose());
  }
  ShowSwitchedBase(outcome);
}

}  // namespace spravka
