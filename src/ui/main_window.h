// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_MAIN_WINDOW_H_
#define SPRAVKA_UI_MAIN_WINDOW_H_

#include <QMainWindow>
#include <memory>
#include <string>

#include "app/rules/header_geometry.h"
#include "app/base_session.h"
#include "platform/qt_work_runner.h"
#include "search/search_engine.h"
#include "search/search_view.h"
#include "ui/base_commands.h"
#include "ui/grid_commands.h"
#include "ui/main_window_ports.h"
#include "ui/result_grid.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;
class QToolBar;
class QToolButton;

namespace spravka {

class ContextMenu;
class InformDialog;
class SearchPanel;
class TownBox;

// The main window: the town list, the two result grids on their pages, the
// search controls and the actions. It holds the loaded base through the
// session and drives the search engine, which sees it as its SearchView.
class MainWindow : public QMainWindow, private SearchView, private BaseWindow {
  Q_OBJECT

 public:
  explicit MainWindow(const MainWindowPorts& ports, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Start-up from the working folder, the program's path and its
  // command-line arguments: folders, settings, town list, the first load
  // and both searches.
  void Start(const QString& working_folder, const QString& program_path,
             const QStringList& args);
  // A fatal message ended the program.
  bool ended() const { return ended_; }

  BaseSession& session() { return session_; }
  GridCommands& grid_commands() { return *grid_commands_; }
  BaseCommands& base_commands() { return *base_commands_; }
  const HeaderGeometry& header_geometry() const { return geometry_; }
  SearchEngine& engine() { return engine_; }

  void ShowInformation();   // the information dialog, F1
  void ToggleSearchMode();  // universal or detailed, F12
  void UpdateCountLabel();
  void SetStripeContrast(int level);
  // The stripes item was checked or unchecked.
  void ApplyStripesChoice();
  // A double click on the count: the search of the active page is emptied.
  void ClearSearchFromCount();
  void PageChanged();
  // False when the user wanted the changes saved and saving failed: the
  // base stays loaded and shown, and the caller does not leave it.
  bool CloseBase();
  // A town entry was chosen; in the open list the switch waits until the
  // focus leaves it.
  void TownChosen();
  // BaseWindow: the switch to the selected town entry, unless it is the
  // current base's.
  void SwitchToSelectedTown() override;
  // The focus goes to the search line of the mode: the universal line, or
  // the number edit of the active page.
  void FocusRule();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // SearchView.
  std::string EditText(TableId table, int kind) const override;
  void SetEditText(TableId table, int kind, const std::string& text) override;
  std::string UniversalText() const override;
  TableId ActivePage() const override;
  void SetActivePage(TableId page) override;
  void SearchStarted(TableId table) override;
  void SearchFinished(TableId table, const SearchResult& result) override;
  void SearchSettled(TableId table) override;
  void ProcessEvents() override;

  // BaseWindow.
  void SelectNoTown() override;
  void ReloadBase() override;

  void BuildActions();
  void BuildToolBar();
  void BuildPages();
  void BuildCommands();
  void BuildUniversalPanel();
  void BuildModeButtons();
  void BuildMenu();

  // Shows what a load of the session left: the base, or the end.
  LoadOutcome ShowLoad(LoadOutcome outcome);
  // The end of a switch: the residential page of the new base, searched.
  void ShowSwitchedBase(LoadOutcome outcome);
  void ApplyBase();
  void PlaceSearchFields();
  // Back to the shown base after a CloseBase that could not save.
  void StayWithBase();
  void FillTownBox();
  void SelectTownEntry();
  // The town list's hint: the base's description (before any base, "Выбор
  // города"), below the whole entry when the box cannot show it whole.
  void ShowTownHint();
  void PresentMode();
  void PlaceUniversalPanel();
  void ApplyStripes();
  void ClearSearchEdits(TableId table);
  // A double click on a cell: its text joins the search.
  void AddCellToSearch(TableId table);
  // The keys the window handles before its controls; `target` is the
  // control the key is going to.
  bool HandleWindowKey(QKeyEvent* event, QWidget* target);
  void EndProgram();

  SearchPanel* panel(TableId table) const;
  ResultGrid* grid(TableId table) const;
  QLineEdit* edit(TableId table, int kind) const;

  MainWindowPorts ports_;
  HeaderGeometry geometry_;  // the header's pixels on the interface font
  QtWorkRunner file_work_;  // the session's long file work, off this thread
  BaseSession session_;
  SearchEngine engine_;
  GridColours colours_;
  bool ended_ = false;
  bool closed_ = false;
  bool in_town_box_exit_ = false;
  bool search_cursor_ = false;
  // The grid of each table (residential, organisations) had the focus when
  // its search began.
  bool grid_had_focus_[2] = {false, false};
  std::unique_ptr<GridCommands> grid_commands_;
  std::unique_ptr<BaseCommands> base_commands_;

  QToolBar* tool_bar_ = nullptr;
  QToolButton* menu_button_ = nullptr;
  TownBox* town_box_ = nullptr;
  QLabel* count_caption_ = nullptr;
  QLabel* count_label_ = nullptr;
  QTabWidget* pages_ = nullptr;
  ResultGrid* home_grid_ = nullptr;
  ResultGrid* org_grid_ = nullptr;
  SearchPanel* home_panel_ = nullptr;
  SearchPanel* org_panel_ = nullptr;
  QWidget* universal_panel_ = nullptr;
  QLineEdit* universal_edit_ = nullptr;
  QWidget* mode_buttons_ = nullptr;
  QWidget* to_universal_panel_ = nullptr;
  QWidget* to_detailed_panel_ = nullptr;  // lies over the other
  ContextMenu* context_menu_ = nullptr;
  QAction* stripes_item_ = nullptr;

  QAction* exit_action_ = nullptr;
  QAction* help_action_ = nullptr;
  QAction* add_action_ = nullptr;
  QAction* delete_action_ = nullptr;
  QAction* save_action_ = nullptr;
  QAction* save_widths_action_ = nullptr;
  QAction* paste_action_ = nullptr;
  QAction* copy_result_action_ = nullptr;
  QAction* optimise_action_ = nullptr;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_MAIN_WINDOW_H_
