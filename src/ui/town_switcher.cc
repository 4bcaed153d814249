// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/town_switcher.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QWidget>

#include "platform/text_codec.h"
#include "ui/search_controls.h"
#include "ui/splash.h"
#include "ui/town_box.h"

namespace spravka {

TownSwitcher::TownSwitcher(const Parts& parts) : QObject(parts.box), p_(parts) {
  p_.box->installEventFilter(this);
  connect(p_.box, &QComboBox::currentIndexChanged, this,
          &TownSwitcher::TownChosen);
}

void TownSwitcher::FillTownBox() {
  p_.box->ShowEntries(p_.session->navigation().towns().entries(),
                      p_.session->navigation().selected_entry());
  ShowTownHint();
}

void TownSwitcher::SelectTownEntry() {
  if (p_.box->count() !=
      static_cast<int>(p_.session->navigation().towns().size())) {
    FillTownBox();
    return;
  }
  p_.box->Select(p_.session->navigation().selected_entry());
  ShowTownHint();
}

void TownSwitcher::ShowTownHint() {
  p_.box->ShowHint(
      p_.session->base().loaded()
          ? FromCp1251(p_.session->base().store().header.Description)
          : QStringLiteral("Выбор города"));
}

LoadOutcome TownSwitcher::ShowLoad(LoadOutcome outcome) {
  SelectTownEntry();
  if (outcome == LoadOutcome::kFatal) {
    p_.end_program();
  } else if (outcome == LoadOutcome::kLoaded || p_.session->base().loaded()) {
    // A failed load leaves the base loaded before: show that one again.
    p_.show_base();
  }
  return outcome;
}

bool TownSwitcher::CloseBase() {
  SearchEngine& engine = p_.search->engine();
  p_.search->ClearForLeaving();  // nothing is searched on the way out
  if (!p_.session->Leave(engine.universal_mode(), p_.save)) {
    // The changes could not be written: the base is not given up.
    StayWithBase();
    return false;
  }
  return true;
}

void TownSwitcher::StayWithBase() {
  p_.session->navigation().SelectCurrentEntry();
  SelectTownEntry();
  p_.search->PlaceSearchFields();
  p_.search->FocusRule();
  // The edits were emptied on the way out.
  p_.search->engine().Run(p_.search->ActivePage());
}

void TownSwitcher::TownChosen() {
  // A choice in the open list waits until the focus leaves the list.
  if (p_.box->ListOpen()) return;
  RequestSwitch(WorkRequest::kSwitch, p_.box->SelectedEntry());
  p_.search->FocusRule();
}

void TownSwitcher::RequestSwitch(WorkRequest request,
                                 const std::string& target) {
  TownNavigation& navigation = p_.session->navigation();
  if (p_.ended()) return;
  // The town that is shown: nothing to switch, nothing to hold.
  if (request == WorkRequest::kSwitch &&
      (target.empty() || navigation.IsCurrentEntry(target))) {
    return;
  }
  FileWorkGate& gate = p_.session->gate();
  if (gate.Ask(request, target) != GateAnswer::kBegin) return;
  std::optional<LoadOutcome> outcome;
  {
    FileWorkGate::Work work = gate.Begin();
    if (request == WorkRequest::kDrop) {
      if (!navigation.TakeDroppedFile(target)) return;
      SelectTownEntry();
    } else {
      // A held choice: the list may show another entry by now.
      const int index = navigation.towns().Find(target);
      if (index < 0) return;
      if (p_.box->count() != static_cast<int>(navigation.towns().size()))
        FillTownBox();
      p_.box->Select(index);
    }
    outcome = Switch();
  }
  // The new base's search runs once the switch has passed the gate.
  if (outcome) ShowSwitchedBase(*outcome);
}

void TownSwitcher::SwitchToSelectedTown() {
  if (p_.ended()) return;
  if (const std::optional<LoadOutcome> outcome = Switch())
    ShowSwitchedBase(*outcome);
}

std::optional<LoadOutcome> TownSwitcher::Switch() {
  const int index = p_.box->currentIndex();
  const std::string entry = p_.box->SelectedEntry();
  if (p_.ended() || p_.session->navigation().IsCurrentEntry(entry))
    return std::nullopt;
  p_.window->repaint();
  QCoreApplication::processEvents();
  try {
    SplashForm splash;  // hidden with the window on every way out
    splash.ShowNow();
    if (!CloseBase()) return std::nullopt;  // the shown base stays
    p_.session->navigation().SwitchTo(entry, index);
    return ShowLoad(p_.session->LoadAfterClose());
  } catch (...) {
    // The store still holds the base shown before: the list and the
    // search controls go back to it before the error is reported.
    p_.session->BackToLoadedBase();
    StayWithBase();
    throw;
  }
}

void TownSwitcher::ShowSwitchedBase(LoadOutcome outcome) {
  p_.window->activateWindow();  // back from the splash (and from any box)
  if (outcome == LoadOutcome::kFatal) return;
  p_.search->SetActivePage(TableId::kHome);
  p_.search->PresentMode();
  p_.search->engine().RunHomeSearch();
}

void TownSwitcher::SelectNoTown() { p_.box->Select(-1); }

void TownSwitcher::ReloadBase() {
  LoadOutcome outcome;
  {
    SplashForm splash;
    splash.ShowNow();
    outcome = ShowLoad(p_.session->LoadAfterClose());
  }
  ShowSwitchedBase(outcome);
}

bool TownSwitcher::eventFilter(QObject* watched, QEvent* event) {
  // Leaving the list switches to its selected town. While file work runs,
  // the focus leaves it for the work's own windows (the splash, a question).
  if (watched == p_.box && event->type() == QEvent::FocusOut &&
      static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason &&
      !p_.session->gate().working()) {
    RequestSwitch(WorkRequest::kSwitch, p_.box->SelectedEntry());
  }
  return false;
}

}  // namespace spravka
