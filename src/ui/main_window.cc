// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, loading and leaving a base, and closing the window.
#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QTabWidget>
#include <algorithm>

#include "app/town_names.h"
#include "platform/display_colours.h"
#include "platform/text_codec.h"
#include "search/captions.h"
#include "storage/column_maps.h"
#include "ui/context_menu.h"
#include "ui/file_drops.h"
#include "ui/inform_dialog.h"
#include "ui/search_panel.h"
#include "ui/splash.h"
#include "ui/town_box.h"
#include "util/scope_exit.h"

namespace spravka {
namespace {

QStringList CaptionsOf(TableId table, const ColumnMaps& maps, int field_count) {
  QStringList captions{QString()};
  for (int c = 1; c <= field_count; ++c) {
    int kind = table == TableId::kHome ? maps.HomeColumnField[c]
                                       : maps.OrgColumnField[c];
    captions << QString::fromUtf8(
        Caption(table, kind).data(),
        static_cast<qsizetype>(Caption(table, kind).size()));
  }
  return captions;
}

double WidestDigit(const QFont& font) {
  QFontMetricsF metrics(font);
  double widest = 0;
  for (char d = '0'; d <= '9'; ++d)
    widest = std::max(widest, metrics.horizontalAdvance(QLatin1Char(d)));
  return widest;
}

// The window's first size, laid out for the header's font.
constexpr int kWindowWidth = 660;
constexpr int kWindowHeight = 520;

}  // namespace

MainWindow::MainWindow(const MainWindowPorts& ports, QWidget* parent)
    : QMainWindow(parent),
      ports_(ports),
      geometry_(WidestDigit(font())),
      session_(ports.files, ports.settings, ports.boxes, ports.nearest, ports.fs),
      engine_(&session_.store(), this) {
  setObjectName(QStringLiteral("mainWindow"));
  session_.RunFileWorkWith(&file_work_);
  resize(geometry_.ToScreen(kWindowWidth), geometry_.ToScreen(kWindowHeight));
  BuildActions();
  BuildPages();
  BuildCommands();
  BuildMenu();
  BuildToolBar();
  BuildUniversalPanel();
  BuildModeButtons();
  session_.OnModifiedChange(
      [this] { save_action_->setEnabled(session_.modified()); });
  new FileDrops(this, &session_, [this] {
    SelectTownEntry();
    SwitchToSelectedTown();
  });
  // Laid out for the universal mode until a base brings the stored mode.
  engine_.SetUniversalMode(true);
  colours_.grid = ToQColor(ports.button_face);
  colours_.stripe = colours_.grid;
  ApplyStripes();
  // Key preview: the window sees every key before the focused control.
  qApp->installEventFilter(this);
}

MainWindow::~MainWindow() { qApp->removeEventFilter(this); }

void MainWindow::BuildCommands() {
  GridCommands::Parts grids;
  grids.session = &session_;
  grids.engine = &engine_;
  grids.boxes = ports_.boxes;
  grids.clipboard = ports_.clipboard;
  grids.serial_ports = ports_.serial_ports;
  grids.active_table = [this] { return ActivePage(); };
  grids.home = home_grid_;
  grids.org = org_grid_;
  grids.add = add_action_;
  grids.remove = delete_action_;
  grids.copy_result = copy_result_action_;
  grids.paste = paste_action_;
  grid_commands_ = std::make_unique<GridCommands>(grids);
  BaseCommands::Parts base;
  base.session = &session_;
  base.boxes = ports_.boxes;
  base.window = this;
  base.main = this;
  base.home = home_grid_;
  base.org = org_grid_;
  base.save = save_action_;
  base.save_widths = save_widths_action_;
  base.optimise = optimise_action_;
  base.new_base = ports_.new_base;
  base.base_template = &ports_.base_template;
  base.fs = ports_.fs;
  base_commands_ = std::make_unique<BaseCommands>(base);
}

void MainWindow::Start(const QString& working_folder,
                       const QString& program_path, const QStringList& args) {
  std::vector<std::string> arguments;
  for (const QString& a : args) arguments.push_back(a.toStdString());
  session_.Start(working_folder.toStdString(), program_path.toStdString(),
               arguments);
  FillTownBox();
  // Without a base the window is never shown: the load ends the program.
  if (ShowLoad(session_.LoadAtStart()) != LoadOutcome::kLoaded) return;
  PresentMode();
  engine_.RunOrgSearch();
  engine_.RunHomeSearch();
  setAcceptDrops(true);
  if (ports_.file_types) {
    RegisterFileType(session_.folder_read_only(), session_.program_folder(),
                     program_path.toStdString(), *ports_.file_types);
  }
}

void MainWindow::FillTownBox() {
  town_box_->ShowEntries(session_.towns().entries(), session_.selected_entry());
  ShowTownHint();
}

void MainWindow::SelectTownEntry() {
  // Entries added since (command line, new base) are added in their place.
  if (town_box_->count() != static_cast<int>(session_.towns().size())) {
    FillTownBox();
    return;
  }
  town_box_->Select(session_.selected_entry());
  ShowTownHint();
}

void MainWindow::ShowTownHint() {
  town_box_->ShowHint(session_.base_loaded()
                          ? FromCp1251(session_.store().header.Description)
                          : QStringLiteral("Выбор города"));
}

LoadOutcome MainWindow::ShowLoad(LoadOutcome outcome) {
  SelectTownEntry();
  if (outcome == LoadOutcome::kFatal) {
    EndProgram();
  } else if (outcome == LoadOutcome::kLoaded || session_.base_loaded()) {
    // A failed load leaves the base loaded before: show that one again.
    ApplyBase();
  }
  return outcome;
}

void MainWindow::ApplyBase() {
  const BaseHeader& h = session_.store().header;
  const ColumnMaps& maps = session_.store().maps;
  QCoreApplication::setApplicationName(FromCp1251(h.Title));
  if (ports_.help) ports_.help->PlaceBaseDescription(h.Description);
  setWindowTitle(FromCp1251(h.Caption));

  PlaceSearchFields();

  home_grid_->SetColumns(h.HomeFieldCount,
                         CaptionsOf(TableId::kHome, maps, h.HomeFieldCount),
                         h.HomeColWidths.data());
  org_grid_->SetColumns(h.OrgFieldCount,
                        CaptionsOf(TableId::kOrg, maps, h.OrgFieldCount),
                        h.OrgColWidths.data());
  engine_.ClearAllCaches();
  engine_.StoreChanged();

  engine_.SetUniversalMode(session_.ReadDisplaySettings(ports_.button_face));
  context_menu_->stripes_separator()->setVisible(session_.stripes().offered());
  stripes_item_->setVisible(session_.stripes().offered());
  stripes_item_->setChecked(session_.stripes().stripes_on());
  ApplyStripes();
  // The engine keeps its own record of a suspended scan, so unmuting it
  // cannot start a second scan over it.
  engine_.SetMuted(false);

  const bool writable = !session_.base_read_only();
  for (QAction* a :
       {add_action_, save_widths_action_, delete_action_, paste_action_})
    a->setEnabled(writable);
  home_grid_->SetEditable(writable);
  org_grid_->SetEditable(writable);
  copy_result_action_->setEnabled(true);
  ShowTownHint();
}

void MainWindow::PlaceSearchFields() {
  const BaseHeader& h = session_.store().header;
  const ColumnMaps& maps = session_.store().maps;
  for (int k = 0; k < kHomeKinds; ++k) {
    if (maps.HomeFieldColumn[k] != 0)
      home_panel_->Place(k, h.HomeEditPlaces[k]);
  }
  for (int k = 0; k < kOrgKinds; ++k) {
    if (maps.OrgFieldColumn[k] != 0) org_panel_->Place(k, h.OrgEditPlaces[k]);
  }
}

void MainWindow::PresentMode() {
  const bool universal = engine_.universal_mode();
  home_panel_->setEnabled(!universal);
  org_panel_->setEnabled(!universal);
  universal_panel_->setVisible(universal);
  to_detailed_panel_->setVisible(universal);
  if (universal) PlaceUniversalPanel();
}

void MainWindow::ClearSearchEdits(TableId table) {
  SearchPanel* p = panel(table);
  for (int kind = 0; kind < p->kinds(); ++kind) p->edit(kind)->clear();
}

bool MainWindow::CloseBase() {
  home_panel_->HideAll();
  org_panel_->HideAll();
  {
    // Nothing is searched on the way out.
    SearchMute mute(&engine_);
    ClearSearchEdits(TableId::kHome);
    ClearSearchEdits(TableId::kOrg);
    universal_edit_->clear();
  }
  if (!session_.Leave(engine_.universal_mode(),
                      [this] { return base_commands_->Save(); })) {
    // The changes could not be written: the base is not given up.
    StayWithBase();
    return false;
  }
  return true;
}

void MainWindow::StayWithBase() {
  session_.SelectCurrentEntry();
  SelectTownEntry();
  PlaceSearchFields();
  FocusRule();
  engine_.Run(ActivePage());  // the edits were emptied on the way out
}

void MainWindow::ShowInformation() {
  if (ports_.help) ports_.help->ShowInformation();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!ended_ && !closed_) {
    // Closing runs once. The window stays, with its unsaved changes,
    // unless the base was really left: also when leaving it throws.
    event->ignore();
    closed_ = true;
    ScopeExit stay_open([this] { closed_ = false; });
    if (!CloseBase()) return;
    stay_open.Dismiss();
  }
  if (ports_.help) ports_.help->hide();
  event->accept();
}

void MainWindow::EndProgram() {
  ended_ = true;
  hide();
  if (ports_.end_program) ports_.end_program();
}

}  // namespace spravka
