#include "ui/base_commands.h"

#include <QAction>
#include <QApplication>

#include "app/base_messages.h"
#include "app/scope_exit.h"
#include "storage/optimiser.h"

namespace spravka {
namespace {

constexpr char kRebuildingText[] = "Перестройка справочника.";
constexpr char kIndexingText[] = "Индексация справочника.";

}  // namespace

std::array<int32_t, kHomeKinds> BaseCommands::HomeWidths() const {
  std::array<int32_t, kHomeKinds> widths{};
  const int columns = p_.shell->store.FieldCount(TableId::kHome);
  for (int c = 1; c <= columns && c <= kHomeKinds; ++c)
    widths[c - 1] = p_.home->HeaderWidth(c);
  return widths;
}

std::array<int32_t, kOrgKinds> BaseCommands::OrgWidths() const {
  std::array<int32_t, kOrgKinds> widths{};
  const int columns = p_.shell->store.FieldCount(TableId::kOrg);
  for (int c = 1; c <= columns && c <= kOrgKinds; ++c)
    widths[c - 1] = p_.org->HeaderWidth(c);
  return widths;
}

int64_t BaseCommands::WidthDifference() const {
  const BaseHeader& h = p_.shell->store.header;
  const auto home = HomeWidths();
  const auto org = OrgWidths();
  int64_t difference = 0;
  for (int c = 0; c < h.HomeFieldCount && c < kHomeKinds; ++c)
    difference += std::abs(int64_t{h.HomeColWidths[c]} - home[c]);
  for (int c = 0; c < h.OrgFieldCount && c < kOrgKinds; ++c)
    difference += std::abs(int64_t{h.OrgColWidths[c]} - org[c]);
  return difference;
}

bool BaseCommands::Save() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ScopeExit normal_cursor([] { QApplication::restoreOverrideCursor(); });
  const bool saved =
      !p_.shell->base_loaded || p_.shell->SaveChanges();  // failures shown
  // Only a save that succeeded ends the unsaved state: otherwise the
  // changes are offered again at the next close.
  if (saved) p_.save->setEnabled(false);
  return saved;
}

void BaseCommands::SaveWidths() {
  if (!p_.shell->base_loaded) return;
  p_.shell->SaveColumnWidths(HomeWidths(), OrgWidths());
}

void BaseCommands::Optimise() {
  Shell& shell = *p_.shell;
  if (!shell.base_loaded) return;
  const RecordStore& store = shell.store;
  const size_t records =
      store.HomeData.CountRecords() + store.OrgData.CountRecords();
  const size_t changes = store.HomeChanges.size() + store.OrgChanges.size();
  if (!p_.boxes->Ask(OptimiseQuestion(
          shell.CurrentBase, EstimateOptimisation(records, changes)))) {
    return;
  }
  OptimiseReport report;
  {
    p_.window->ShowSplash(kRebuildingText);
    ScopeExit hide_splash([this] { p_.window->HideSplash(); });
    report = shell.Optimise(HomeWidths(), OrgWidths(),
                            [this] { p_.window->ShowSplash(kIndexingText); });
  }
  switch (report.status) {
    case OptimiseStatus::kDamagedHeader:
      p_.boxes->Show(MessageKind::kError, kDamagedHeaderSaveText);
      return;
    case OptimiseStatus::kIoError:
      // Every file is as it was, and so are the tables: nothing to reload.
      p_.boxes->Show(MessageKind::kError, report.error_text);
      return;
    case OptimiseStatus::kOk:
      break;
  }
  p_.boxes->Show(MessageKind::kInformation,
                 OptimisedMessage(report.home_records, report.org_records));
  shell.ForgetPreviousBase();
  p_.window->ReloadBase();
}

void BaseCommands::Restore() {
  Shell& shell = *p_.shell;
  if (!shell.base_loaded || shell.store.header.OriginTag.empty()) return;
  if (!p_.boxes->Ask(RestoreQuestion(shell.CurrentBase))) return;
  // A restore that fails keeps the unsaved changes to save.
  if (!shell.RestoreBase()) return;
  p_.save->setEnabled(false);  // the unsaved changes are given up
  shell.ForgetShownBase();
  p_.window->SwitchToSelectedTown();
}

void BaseCommands::NewBase() {
  p_.window->SelectNoTown();
  p_.window->SwitchToSelectedTown();
}

}  // namespace spravka
