// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "dialling/modem.h"
#include "platform/text_codec.h"
#include "search/captions.h"
#include "storage/column_maps.h"
#include "ui/context_menu.h"
#include "ui/file_drops.h"
#include "ui/inform_dialog.h"
#include "ui/key_preview.h"
#include "ui/result_pages.h"
#include "ui/search_controls.h"
#include "ui/town_box.h"
#include "ui/town_switcher.h"
#include "ui/window_actions.h"

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

// What the title says after the caption while the base cannot be written.
constexpr char kReadOnlyTitle[] = " (только чтение)";

// The window's first size, laid out for the header's font.
constexpr int kWindowWidth = 660;
constexpr int kWindowHeight = 520;
// Room left on the screen for the window manager's frame, which is not
// known before the window is shown: borders and a title bar as thick as
// common desktops draw them.
constexpr int kFrameWidth = 24;
constexpr int kFrameHeight = 64;

// The first size never exceeds the screen's free area (less the frame), at
// any font size or display scale.
QSize FirstWindowSize(QSize wanted, const QScreen* screen) {
  if (screen == nullptr) return wanted;
  const QSize room =
      screen->availableGeometry().size() - QSize(kFrameWidth, kFrameHeight);
  return wanted.boundedTo(room.expandedTo(QSize(1, 1)));
}

}  // namespace

MainWindow::MainWindow(const MainWindowPorts& ports, QWidget* parent)
    : QMainWindow(parent),
      ports_(ports),
      geometry_(WidestDigit(font())),
      session_(ports.files, ports.settings, ports.boxes, ports.nearest,
               ports.fs),
      stripes_(&session_, ports.button_face) {
  setObjectName(QStringLiteral("mainWindow"));
  session_.RunFileWorkWith(&file_work_);
  resize(FirstWindowSize(QSize(geometry_.ToScreen(kWindowWidth),
                               geometry_.ToScreen(kWindowHeight)),
                         screen()));
  actions_ = std::make_unique<WindowActions>(this);
  connect(actions_->exit(), &QAction::triggered, this, &QWidget::close);
  connect(actions_->help(), &QAction::triggered, this,
          &MainWindow::ShowInformation);

  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("centralPanel"));
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  setCentralWidget(central);
  pages_ = new ResultPages(stripes_.colours(), geometry_, central);
  layout->addWidget(pages_);
  stripes_.SetGrids(pages_->grid(TableId::kHome), pages_->grid(TableId::kOrg));

  // Made in this order, the controls take the focus in this order: the
  // pages, the tool bar, the universal line.
  BuildToolBar();
  SearchControls::Parts search;
  search.session = &session_;
  search.pages = pages_;
  search.overlay = central;
  search.count_bar = tool_bar_;
  search.geometry = geometry_;
  search.counted = [this] { UpdateActions(); };
  search.settings = ports.settings;
  search_ = new SearchControls(search);
  tool_bar_->addWidget(search_->count_panel());

  TownSwitcher::Parts towns;
  towns.session = &session_;
  towns.search = search_;
  towns.box = town_box_;
  towns.window = this;
  towns.save = [this] { return base_commands_->Save(); };
  towns.show_base = [this] { ShowBase(); };
  towns.end_program = [this] { EndProgram(); };
  towns.ended = [this] { return ended_; };
  switcher_ = new TownSwitcher(towns);

  BuildCommands();
  BuildMenu();
  session_.base().OnModifiedChange([this] { UpdateActions(); });
  session_.OnTitlesRead([this](const BaseHeader& h) { ShowTitles(h); });
  new FileDrops(this, [this](const std::string& path) {
    switcher_->RequestSwitch(WorkRequest::kDrop, path);
  });
  // Held work is carried out from the event loop, once the work that held
  // it has wholly ended.
  session_.gate().OnHeld([this] {
    QMetaObject::invokeMethod(this, &MainWindow::CarryOutHeldWork,
                              Qt::QueuedConnection);
  });
  stripes_.Apply();

  KeyPreview::Parts keys;
  keys.window = this;
  keys.session = &session_;
  keys.search = search_;
  keys.stripes = &stripes_;
  keys.stripes_item = context_menu_->stripes();
  keys.stripes_keys = [this] { return UpdateActions().stripes; };
  keys.menu = context_menu_;
  keys.menu_button = menu_button_;
  keys.help = [this] { ShowInformation(); };
  keys.move_focus = [this](bool next) { focusNextPrevChild(next); };
  keys.ended = [this] { return ended_; };
  keys_ = std::make_unique<KeyPreview>(keys);
  UpdateActions();  // nothing that needs a base before one
}

MainWindow::~MainWindow() = default;

SearchEngine& MainWindow::engine() { return search_->engine(); }

void MainWindow::BuildToolBar() {
  tool_bar_ = new QToolBar(this);
  QToolBar* tool_bar = tool_bar_;
  tool_bar->setObjectName(QStringLiteral("toolBar"));
  tool_bar->setMovable(false);
  tool_bar->setFloatable(false);
  tool_bar->toggleViewAction()->setVisible(false);
  addToolBar(Qt::TopToolBarArea, tool_bar);

  menu_button_ = new QToolButton(tool_bar);
  menu_button_->setObjectName(QStringLiteral("menuButton"));
  menu_button_->setText(QStringLiteral("Меню"));
  menu_button_->setToolTip(QStringLiteral("Меню"));
  menu_button_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  menu_button_->setPopupMode(QToolButton::InstantPopup);
  tool_bar->addWidget(menu_button_);
  tool_bar->addAction(actions_->add());
  tool_bar->widgetForAction(actions_->add())
      ->setObjectName(QStringLiteral("addButton"));
  tool_bar->addAction(actions_->remove());
  tool_bar->widgetForAction(actions_->remove())
      ->setObjectName(QStringLiteral("deleteButton"));
  tool_bar->addSeparator();
  town_box_ = new TownBox(geometry_, tool_bar);
  tool_bar->addWidget(town_box_);
  tool_bar->addSeparator();
  tool_bar->addAction(actions_->help());
  tool_bar->addAction(actions_->exit());
  auto* spacer = new QWidget(tool_bar);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  tool_bar->addWidget(spacer);
}

void MainWindow::BuildCommands() {
  GridCommands::Parts grids;
  grids.session = &session_;
  grids.engine = &engine();
  grids.boxes = ports_.boxes;
  grids.clipboard = ports_.clipboard;
  grids.serial_ports = ports_.serial_ports;
  grids.active_table = [this] { return pages_->active(); };
  grids.home = pages_->grid(TableId::kHome);
  grids.org = pages_->grid(TableId::kOrg);
  grids.add = actions_->add();
  grids.remove = actions_->remove();
  grids.copy_result = actions_->copy_result();
  grids.paste = actions_->paste();
  grids.rows_shown = [this] { UpdateActions(); };
  grid_commands_ = std::make_unique<GridCommands>(grids);
  BaseCommands::Parts base;
  base.session = &session_;
  base.boxes = ports_.boxes;
  base.window = switcher_;
  base.main = this;
  base.home = grids.home;
  base.org = grids.org;
  base.save = actions_->save();
  base.save_widths = actions_->save_widths();
  base.optimise = actions_->optimise();
  base.new_base = ports_.new_base;
  base.base_template = &ports_.base_template;
  base.fs = ports_.fs;
  base_commands_ = std::make_unique<BaseCommands>(base);
}

void MainWindow::BuildMenu() {
  ContextMenu::Parts parts;
  parts.session = &session_;
  parts.decide = [this] { return UpdateActions(/*opening=*/true); };
  parts.grids = grid_commands_.get();
  parts.base = base_commands_.get();
  parts.add = actions_->add();
  parts.remove = actions_->remove();
  parts.copy_result = actions_->copy_result();
  parts.paste = actions_->paste();
  parts.save = actions_->save();
  parts.save_widths = actions_->save_widths();
  parts.optimise = actions_->optimise();
  parts.help = actions_->help();
  context_menu_ = new ContextMenu(parts, this);
  menu_button_->setMenu(context_menu_);
  context_menu_->WatchButton(menu_button_);
  connect(context_menu_->stripes(), &QAction::triggered, this,
          [this](bool on) { stripes_.SetOn(on); });
  search_->TakeSearchItems(context_menu_->yo_search(),
                           context_menu_->similar_search());
}

void MainWindow::Start(const QString& working_folder,
                       const QString& program_path, const QStringList& args) {
  std::vector<std::string> arguments;
  for (const QString& a : args) arguments.push_back(a.toStdString());
  session_.Start(working_folder.toStdString(), program_path.toStdString(),
                 arguments);
  switcher_->FillTownBox();
  {
    FileWorkGate::Work first_load = session_.gate().Begin();
    // Without a base the window is never shown: the load ends the program.
    if (switcher_->ShowLoad(session_.LoadAtStart()) != LoadOutcome::kLoaded)
      return;
  }
  search_->PresentMode();
  engine().RunOrgSearch();
  engine().RunHomeSearch();
  setAcceptDrops(true);
  if (ports_.file_types) {
    ports_.file_types->Request(session_.navigation().folder_read_only(),
                               session_.navigation().program_folder(),
                               program_path.toStdString());
  }
}

void MainWindow::ShowTitles(const BaseHeader& h, bool read_only) {
  QCoreApplication::setApplicationName(FromCp1251(h.Title));
  setWindowTitle(FromCp1251(h.Caption) +
                 (read_only ? QString::fromUtf8(kReadOnlyTitle) : QString()));
}

void MainWindow::ShowBase() {
  const BaseHeader& h = session_.base().store().header;
  const ColumnMaps& maps = session_.base().store().maps;
  // For as long as the base cannot be written (its folder cannot, or another
  // window has it open), the title says so.
  ShowTitles(h, session_.base().read_only());
  if (ports_.help) ports_.help->PlaceBaseDescription(h.Description);

  search_->PlaceSearchFields();
  ResultGrid* home = pages_->grid(TableId::kHome);
  ResultGrid* org = pages_->grid(TableId::kOrg);
  home->SetColumns(h.HomeFieldCount,
                   CaptionsOf(TableId::kHome, maps, h.HomeFieldCount),
                   h.HomeColWidths.data());
  org->SetColumns(h.OrgFieldCount,
                  CaptionsOf(TableId::kOrg, maps, h.OrgFieldCount),
                  h.OrgColWidths.data());
  SearchEngine& engine = search_->engine();
  engine.ClearAllCaches();
  engine.StoreChanged();

  engine.SetUniversalMode(session_.ReadDisplaySettings(ports_.button_face));
  context_menu_->stripes()->setChecked(session_.stripes().stripes_on());
  stripes_.Apply();
  // The engine keeps its own record of a suspended scan, so unmuting it
  // cannot start a second scan over it.
  engine.SetMuted(false);

  home->SetEditable(!session_.base().read_only());
  org->SetEditable(!session_.base().read_only());
  menu_findings_.reset();
  stripes_offered_ = session_.stripes().offered();
  UpdateActions();
  switcher_->ShowTownHint();
}

MenuInputs MainWindow::WindowState(bool opening) {
  const RecordStore& store = session_.base().store();
  ResultGrid* grid = pages_->grid(pages_->active());
  MenuInputs in;
  in.base_loaded = session_.base().loaded();
  in.base_read_only = session_.base().read_only();
  in.folder_read_only = session_.navigation().folder_read_only();
  in.modified = session_.base().modified();
  in.stripes_offered = in.base_loaded && stripes_offered_;
  in.origin_tag_empty = store.header.OriginTag.empty();
  in.change_entries = store.HomeChanges.size() + store.OrgChanges.size();
  in.grid_rows = grid->RowCount();
  in.grid_visible = grid->IsVisible();
  in.number = grid->Row() > 0 ? grid->Cell(1, grid->Row()) : std::string();
  in.opening = opening;
  if (opening) {
    in.width_difference =
        in.base_loaded ? base_commands_->WidthDifference() : 0;
    in.clipboard_has_text =
        ports_.clipboard != nullptr && !ports_.clipboard->ReadText().empty();
  }
  in.last_opening = menu_findings_;
  return in;
}

MenuState MainWindow::UpdateActions(bool opening) {
  const MenuState state = DecideMenu(WindowState(opening), [this] {
    return ports_.serial_ports != nullptr &&
           !FindFreeModem(*ports_.serial_ports).empty();
  });
  if (state.findings) menu_findings_ = state.findings;
  actions_->Apply(state);
  context_menu_->OfferStripes(state.stripes);
  return state;
}

void MainWindow::ShowInformation() {
  if (ports_.help) ports_.help->ShowInformation();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  bool leaving = false;
  if (!ended_ && !closed_) {
    event->ignore();
    // During other file work the close waits for it to end, then comes
    // back here.
    FileWorkGate& gate = session_.gate();
    if (gate.Ask(WorkRequest::kClose) != GateAnswer::kBegin) return;
    FileWorkGate::Work work = gate.Begin();
    // The window stays, with its unsaved changes, unless the base was
    // really left (not when leaving it throws).
    if (!switcher_->CloseBase()) return;
    closed_ = true;
    leaving = true;
  }
  if (ports_.help) ports_.help->hide();
  event->accept();
  if (leaving && ports_.closed) ports_.closed();
}

void MainWindow::CarryOutHeldWork() {
  if (ended_ || closed_) return;
  const std::optional<HeldWork> held = session_.gate().TakeHeld();
  if (!held) return;
  if (held->close) {
    close();
  } else if (held->switch_request) {
    switcher_->RequestSwitch(*held->switch_request, held->target);
  }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (search_) search_->PlaceUniversalPanel();
}

void MainWindow::EndProgram() {
  ended_ = true;
  hide();
  if (ports_.end_program) ports_.end_program();
}

}  // namespace spravka
