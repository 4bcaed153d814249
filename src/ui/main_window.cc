// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, loading and leaving a base, and closing the window.
#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
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

QString FromUtf8(const std::string& s) { return QString::fromStdString(s); }

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
      shell_(ports.files, ports.settings, ports.boxes, ports.nearest, ports.fs),
      engine_(&shell_.store, this) {
  setObjectName(QStringLiteral("Form1"));
  shell_.RunFileWorkWith(&file_work_);
  resize(geometry_.ToScreen(kWindowWidth), geometry_.ToScreen(kWindowHeight));
  BuildActions();
  BuildPages();
  BuildCommands();
  BuildMenu();
  BuildToolBar();
  BuildUniversalPanel();
  BuildModeButtons();
  new FileDrops(this, &shell_, [this] {
    SelectTownEntry();
    TownBoxExit();
  });
  // Laid out for the universal mode until a base brings the stored mode.
  engine_.UniversalMode = true;
  colours_.grid = ToQColor(ports.button_face);
  colours_.stripe = colours_.grid;
  ApplyStripes();
  // Key preview: the window sees every key before the focused control.
  qApp->installEventFilter(this);
}

MainWindow::~MainWindow() { qApp->removeEventFilter(this); }

void MainWindow::BuildCommands() {
  GridCommands::Parts grids;
  grids.shell = &shell_;
  grids.engine = &engine_;
  grids.boxes = ports_.boxes;
  grids.clipboard = ports_.clipboard;
  grids.serial_ports = ports_.serial_ports;
  grids.pages = pages_;
  grids.home = home_grid_;
  grids.org = org_grid_;
  grids.save = ac_save_;
  grids.add = ac_add_;
  grids.remove = ac_delete_;
  grids.copy_result = ac_copy_;
  grids.paste = ac_paste_;
  grid_commands_ = std::make_unique<GridCommands>(grids);
  BaseCommands::Parts base;
  base.shell = &shell_;
  base.boxes = ports_.boxes;
  base.window = this;
  base.main = this;
  base.home = home_grid_;
  base.org = org_grid_;
  base.save = ac_save_;
  base.save_widths = ac_save_wide_;
  base.optimise = ac_optimize_;
  base.new_base = ports_.new_base;
  base.base_template = &ports_.base_template;
  base.fs = ports_.fs;
  base_commands_ = std::make_unique<BaseCommands>(base);
}

void MainWindow::FormCreate(const QString& working_folder,
                            const QString& program_path,
                            const QStringList& args) {
  std::vector<std::string> arguments;
  for (const QString& a : args) arguments.push_back(a.toStdString());
  shell_.Start(working_folder.toStdString(), program_path.toStdString(),
               arguments);
  FillTownBox();
  // Without a base the window is never shown: the load ends the program.
  if (ShowLoad(shell_.LoadAtStart()) != LoadOutcome::kLoaded) return;
  engine_.SearchRestart = false;
  PresentMode();
  engine_.RunOrgSearch();
  engine_.RunHomeSearch();
  setAcceptDrops(true);
  if (ports_.file_types) {
    RegisterFileType(shell_.FolderReadOnly, shell_.ProgramFolder,
                     program_path.toStdString(), *ports_.file_types);
  }
}

void MainWindow::FillTownBox() {
  QSignalBlocker quiet(town_box_);  // filled and selected by the program
  town_box_->clear();
  for (const std::string& entry : shell_.towns.entries()) {
    const QString text = FromUtf8(entry);
    // The list is as narrow as the box: each entry shows whole on hover.
    town_box_->addItem(text);
    town_box_->setItemData(town_box_->count() - 1, text.trimmed(),
                           Qt::ToolTipRole);
  }
  town_box_->setCurrentIndex(shell_.selected);
  ShowTownHint();
}

void MainWindow::SelectTownEntry() {
  // Entries added since (command line, new base) are added in their place.
  if (town_box_->count() != static_cast<int>(shell_.towns.size())) {
    FillTownBox();
    return;
  }
  QSignalBlocker quiet(town_box_);
  town_box_->setCurrentIndex(shell_.selected);
  ShowTownHint();
}

void MainWindow::ShowTownHint() {
  QString hint = shell_.base_loaded
                     ? FromCp1251(shell_.store.header.Description)
                     : QStringLiteral("Выбор города");
  // An entry the box cannot show whole (a base of another folder) is shown
  // whole above the hint.
  const QString entry = town_box_->currentText().trimmed();
  QStyleOptionComboBox box;
  box.initFrom(town_box_);
  box.subControls = QStyle::SC_All;
  const int room = town_box_->style()
                       ->subControlRect(QStyle::CC_ComboBox, &box,
                                        QStyle::SC_ComboBoxEditField, town_box_)
                       .width();
  if (town_box_->fontMetrics().horizontalAdvance(town_box_->currentText()) >
      room) {
    hint = hint.isEmpty() ? entry : entry + QLatin1Char('\n') + hint;
  }
  town_box_->setToolTip(hint);
}

LoadOutcome MainWindow::ShowLoad(LoadOutcome outcome) {
  SelectTownEntry();
  if (outcome == LoadOutcome::kFatal) {
    EndProgram();
  } else if (outcome == LoadOutcome::kLoaded || shell_.base_loaded) {
    // A failed load leaves the base loaded before: show that one again.
    ApplyBase();
  }
  return outcome;
}

void MainWindow::ApplyBase() {
  const BaseHeader& h = shell_.store.header;
  const ColumnMaps& maps = shell_.store.maps;
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

  engine_.UniversalMode = shell_.ReadDisplaySettings(ports_.button_face);
  popup_menu_->stripes_separator()->setVisible(shell_.stripes.Offered());
  n11_->setVisible(shell_.stripes.Offered());
  n11_->setChecked(shell_.stripes.StripesOn);
  ApplyStripes();
  // The engine keeps its own record of a suspended scan, so clearing the
  // flags cannot start a second scan over it.
  engine_.SearchBusy = false;
  engine_.SearchMuted = false;

  const bool writable = !shell_.BaseReadOnly;
  for (QAction* a : {ac_add_, ac_save_wide_, ac_delete_, ac_paste_})
    a->setEnabled(writable);
  home_grid_->SetEditable(writable);
  org_grid_->SetEditable(writable);
  ac_copy_->setEnabled(true);
  ShowTownHint();
}

void MainWindow::PlaceSearchFields() {
  const BaseHeader& h = shell_.store.header;
  const ColumnMaps& maps = shell_.store.maps;
  for (int k = 0; k < kHomeKinds; ++k) {
    if (maps.HomeFieldColumn[k] != 0)
      home_panel_->Place(k, h.HomeEditPlaces[k]);
  }
  for (int k = 0; k < kOrgKinds; ++k) {
    if (maps.OrgFieldColumn[k] != 0) org_panel_->Place(k, h.OrgEditPlaces[k]);
  }
}

void MainWindow::PresentMode() {
  const bool universal = engine_.UniversalMode;
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
    full_edit_->clear();
  }
  if (shell_.StoreSettingsAndAsk(engine_.UniversalMode,
                                 ac_save_->isEnabled()) &&
      !base_commands_->Save()) {
    // The changes could not be written: the base is not given up.
    StayWithBase();
    return false;
  }
  ac_save_->setEnabled(false);
  return true;
}

void MainWindow::StayWithBase() {
  shell_.SelectCurrentEntry();
  SelectTownEntry();
  PlaceSearchFields();
  FocusRule();
  engine_.Run(ActivePage());  // the edits were emptied on the way out
}

void MainWindow::SpeedButton2Click() {
  if (ports_.help) ports_.help->ShowInformation();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!ended_ && !closed_) {
    // `FormClose` runs once. The window stays, with its unsaved changes,
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
