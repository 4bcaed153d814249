// Leaving a base for another: the town list, dropped files, a new base, a
// load that fails after the old base was closed, and the splash window of
// the base commands.
#include <QComboBox>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "app/scope_exit.h"
#include "app/thrown_error.h"
#include "app/town_names.h"
#include "ui/main_window.h"
#include "ui/new_base_dialog.h"
#include "ui/splash.h"

namespace spravka {

void MainWindow::OfferNewBase() {
  if (!ports_.new_base) return;
  // Without any town a base is created whatever the answer: the program
  // cannot work without one.
  if (!ports_.new_base->Run() && !shell_.towns.empty()) return;
  shell_.CreateNewBase(ports_.new_base->Params(), ports_.base_template);
}

LoadOutcome MainWindow::LoadAfterClose() {
  const auto load = [this] {
    try {
      return LoadBase();
    } catch (...) {
      ports_.boxes->Show(MessageKind::kError, ThrownErrorText());
      return LoadOutcome::kFailed;
    }
  };
  const std::string failed = shell_.CurrentBase;
  LoadOutcome outcome = load();
  if (outcome != LoadOutcome::kFailed) return outcome;
  for (const std::string& base : shell_.FallbackBases(failed)) {
    shell_.TryBase(base);
    outcome = load();
    if (outcome != LoadOutcome::kFailed) return outcome;
  }
  ports_.boxes->Show(MessageKind::kError, NoBaseMessage());
  EndProgram();
  return LoadOutcome::kFatal;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() &&
      event->mimeData()->urls().front().isLocalFile()) {
    event->acceptProposedAction();
  }
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.front().isLocalFile()) return;
  event->acceptProposedAction();
  // The first file only; another kind of file does nothing.
  if (!shell_.TakeDroppedFile(urls.front().toLocalFile().toStdString())) {
    return;
  }
  SelectTownEntry();
  TownBoxExit();
}

void MainWindow::TownBoxChange() {
  // A choice in the open list waits until the focus leaves the list.
  if (town_box_->view()->isVisible()) return;
  TownBoxExit();
  FocusRule();
}

void MainWindow::TownBoxExit() {
  if (in_town_box_exit_ || ended_)
    return;  // a box or the splash must not switch twice
  const int index = town_box_->currentIndex();
  const std::string entry =
      index < 0 ? std::string() : town_box_->itemText(index).toStdString();
  if (BaseToTownName(shell_.CurrentBase) == entry) return;
  in_town_box_exit_ = true;
  ScopeExit switch_ends([this] { in_town_box_exit_ = false; });
  repaint();
  QCoreApplication::processEvents();
  LoadOutcome outcome;
  try {
    SplashForm splash;  // hidden with the window on every way out
    splash.ShowNow();
    if (!CloseBase()) return;  // the shown base stays
    shell_.SwitchTo(entry, index);
    outcome = LoadAfterClose();
  } catch (...) {
    // The store still holds the base shown before: the list and the
    // search controls go back to it before the error is reported.
    shell_.BackToLoadedBase();
    StayWithBase();
    throw;
  }
  activateWindow();  // back from the splash (and from any box)
  if (outcome == LoadOutcome::kFatal) return;
  SetActivePage(TableId::kHome);
  PresentMode();
  engine_.RunHomeSearch();
}

void MainWindow::SelectNoTown() {
  QSignalBlocker quiet(town_box_);
  // No entry has this text: every entry begins with a blank.
  town_box_->setCurrentIndex(
      town_box_->findText(QStringLiteral("Хочу_ _Базу"), Qt::MatchExactly));
}

void MainWindow::ShowSplash(const char* text) {
  repaint();  // the window under the splash is whole
  if (!splash_) splash_ = std::make_unique<SplashForm>();
  splash_->SetText(QString::fromUtf8(text));
  splash_->ShowNow();
}

void MainWindow::HideSplash() { splash_.reset(); }

void MainWindow::ReloadBase() {
  LoadOutcome outcome;
  {
    SplashForm splash;
    splash.ShowNow();
    outcome = LoadAfterClose();
  }
  activateWindow();
  if (outcome == LoadOutcome::kFatal) return;
  SetActivePage(TableId::kHome);
  PresentMode();
  engine_.RunHomeSearch();
}

}  // namespace spravka
