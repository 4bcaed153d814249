// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/base_commands.h"

#include <QAction>
#include <QApplication>

#include "app/base_messages.h"
#include "storage/optimiser.h"
#include "ui/new_base_dialog.h"
#include "ui/splash.h"
#include "util/scope_exit.h"

namespace spravka {
namespace {

constexpr char kRebuildingText[] = "Перестройка справочника.";
constexpr char kIndexingText[] = "Индексация справочника.";

}  // namespace

BaseCommands::BaseCommands(const Parts& parts) : p_(parts) {
  QObject::connect(p_.save, &QAction::triggered, [this] {
    if (const auto work = BeginCommand()) Save();
  });
  QObject::connect(p_.save_widths, &QAction::triggered,
                   [this] { SaveWidths(); });
  QObject::connect(p_.optimise, &QAction::triggered, [this] { Optimise(); });
  p_.session->SetNewBaseOffer([this] { return OfferNewBase(); });
}

bool BaseCommands::OfferNewBase() {
  if (!p_.new_base) return false;
  p_.new_base->SetWorkingFolder(p_.session->navigation().working_folder(),
                                p_.fs ? p_.fs : &RealFileSystem());
  // Without any town a base is made whatever the answer: the program
  // cannot work without one.
  if (!p_.new_base->Run() && !p_.session->navigation().towns().empty())
    return false;
  return p_.session->CreateNewBase(p_.new_base->Params(), *p_.base_template);
}

BaseCommands::~BaseCommands() = default;

std::optional<FileWorkGate::Work> BaseCommands::BeginCommand() {
  FileWorkGate& gate = p_.session->gate();
  if (gate.Ask(WorkRequest::kCommand) == GateAnswer::kBegin)
    return gate.Begin();
  p_.boxes->Show(MessageKind::kWarning, kWorkRunningText);
  return std::nullopt;
}

void BaseCommands::ShowSplash(const char* text) {
  p_.main->repaint();  // the window under the splash is whole
  if (!splash_) splash_ = std::make_unique<SplashForm>();
  splash_->SetText(QString::fromUtf8(text));
  splash_->ShowNow();
}

std::array<int32_t, kHomeKinds> BaseCommands::HomeWidths() const {
  std::array<int32_t, kHomeKinds> widths{};
  const int columns = p_.session->base().store().FieldCount(TableId::kHome);
  for (int c = 1; c <= columns && c <= kHomeKinds; ++c)
    widths[c - 1] = p_.home->HeaderWidth(c);
  return widths;
}

std::array<int32_t, kOrgKinds> BaseCommands::OrgWidths() const {
  std::array<int32_t, kOrgKinds> widths{};
  const int columns = p_.session->base().store().FieldCount(TableId::kOrg);
  for (int c = 1; c <= columns && c <= kOrgKinds; ++c)
    widths[c - 1] = p_.org->HeaderWidth(c);
  return widths;
}

int64_t BaseCommands::WidthDifference() const {
  const BaseHeader& h = p_.session->base().store().header;
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
  return p_.session->base().SaveChanges();  // failures shown
}

void BaseCommands::SaveWidths() {
  const auto work = BeginCommand();
  if (!work) return;
  p_.session->base().SaveColumnWidths(HomeWidths(), OrgWidths());
}

void BaseCommands::Optimise() {
  const auto work = BeginCommand();
  if (!work) return;
  BaseSession& session = *p_.session;
  if (!session.base().loaded()) return;
  const RecordStore& store = session.base().store();
  const size_t records =
      store.HomeData.CountRecords() + store.OrgData.CountRecords();
  const size_t changes = store.HomeChanges.size() + store.OrgChanges.size();
  if (!p_.boxes->Ask(
          OptimiseQuestion(session.navigation().current_base().value_or(""),
                           EstimateOptimisation(records, changes)))) {
    return;
  }
  OptimiseReport report;
  Status status;
  {
    ShowSplash(kRebuildingText);
    ScopeExit hide_splash([this] { splash_.reset(); });
    status = session.base().Optimise(
        HomeWidths(), OrgWidths(), [this] { ShowSplash(kIndexingText); },
        &report);
  }
  if (!status.ok()) {
    // Every file is as it was (or the message says where the base lies),
    // and so are the tables: nothing to reload.
    session.base().ReportFailure(status);
    return;
  }
  p_.boxes->Show(MessageKind::kInformation,
                 OptimisedMessage(report.home_records, report.org_records));
  session.navigation().ForgetPreviousBase();
  p_.window->ReloadBase();
}

void BaseCommands::Restore() {
  const auto work = BeginCommand();
  if (!work) return;
  BaseSession& session = *p_.session;
  if (!session.base().loaded() ||
      session.base().store().header.OriginTag.empty())
    return;
  if (!p_.boxes->Ask(
          RestoreQuestion(session.navigation().current_base().value_or(""))))
    return;
  if (!session.base().Restore()) return;
  session.navigation().ForgetCurrentBase();
  p_.window->SwitchToSelectedTown();
}

void BaseCommands::NewBase() {
  const auto work = BeginCommand();
  if (!work) return;
  p_.window->SelectNoTown();
  p_.window->SwitchToSelectedTown();
}

}  // namespace spravka
