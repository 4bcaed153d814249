// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_MAIN_WINDOW_H_
#define SPRAVKA_UI_MAIN_WINDOW_H_

#include <QMainWindow>
#include <memory>
#include <string>

#include "app/rules/header_geometry.h"
#include "app/shell.h"
#include "platform/qt_work_runner.h"
#include "search/search_engine.h"
#include "search/search_view.h"
#include "ui/base_commands.h"
#include "ui/grid_commands.h"
#include "ui/main_window_ports.h"
#include "ui/result_grid.h"

class QAction;
class QComboBox;
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

// `Main` (Form1): the town list, the two result grids on their pages, the
// search controls and the actions. It holds the loaded base through the
// shell and drives the search engine, which sees it as its SearchView.
class MainWindow : public QMainWindow, private SearchView, private BaseWindow {
  Q_OBJECT

 public:
  explicit MainWindow(const MainWindowPorts& ports, QWidget* parent = nullptr);
  ~MainWindow() override;

  // `FormCreate` from the working folder, the program's path and its
  // command-line arguments: folders, settings, town list, the first load
  // and both searches.
  void FormCreate(const QString& working_folder, const QString& program_path,
                  const QStringList& args);
  // `FormShow`: the focus rule.
  void FormShow() { FocusRule(); }
  // A fatal message ended the program.
  bool ended() const { return ended_; }

  Shell& shell() { return shell_; }
  GridCommands& grid_commands() { return *grid_commands_; }
  BaseCommands& base_commands() { return *base_commands_; }
  const HeaderGeometry& header_geometry() const { return geometry_; }
  SearchEngine& engine() { return engine_; }

  // Handlers, named as the window's events name them.
  void SpeedButton2Click();  // AcHelp, F1
  void SpeedButton6Click();  // the search mode, F12
  void UpdateCountLabel();
  void SetStripeContrast(int level);
  void N11Click();
  void Label12DblClick();
  void HomeTBDblClick() { GridDblClick(TableId::kHome); }
  void OrgTbDblClick() { GridDblClick(TableId::kOrg); }
  void HomePageChange();
  // False when the user wanted the changes saved and saving failed: the
  // base stays loaded and shown, and the caller does not leave it.
  bool CloseBase();
  void TownBoxChange();
  void TownBoxExit();
  void FocusRule();

 protected:
  void closeEvent(QCloseEvent* event) override;  // `FormClose`
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
  void SwitchToSelectedTown() override { TownBoxExit(); }
  void SelectNoTown() override;
  void ReloadBase() override;

  void BuildActions();
  void BuildToolBar();
  void BuildPages();
  void BuildCommands();
  void BuildUniversalPanel();
  void BuildModeButtons();
  void BuildMenu();

  // Shows what a load of the shell's left: the base, or the end.
  LoadOutcome ShowLoad(LoadOutcome outcome);
  // The end of a switch: the residential page of the new base, searched.
  void ShowSwitchedBase(LoadOutcome outcome);
  void ApplyBase();
  void PlaceSearchFields();
  // Back to the shown base after a `CloseBase` that could not save.
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
  void GridDblClick(TableId table);
  // `FormKeyDown`; `target` is the control the key is going to.
  bool FormKeyDown(QKeyEvent* event, QWidget* target);
  void EndProgram();

  SearchPanel* panel(TableId table) const;
  ResultGrid* grid(TableId table) const;
  QLineEdit* edit(TableId table, int kind) const;

  MainWindowPorts ports_;
  HeaderGeometry geometry_;  // the header's pixels on the interface font
  QtWorkRunner file_work_;   // the shell's long file work, off this thread
  Shell shell_;
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
  QToolButton* menu_button_ = nullptr;  // ToolButton3
  QComboBox* town_box_ = nullptr;
  QLabel* count_caption_ = nullptr;     // Label14
  QLabel* count_label_ = nullptr;       // Label12
  QTabWidget* pages_ = nullptr;         // HomePage
  ResultGrid* home_grid_ = nullptr;     // HomeTB
  ResultGrid* org_grid_ = nullptr;      // OrgTb
  SearchPanel* home_panel_ = nullptr;   // Panel2
  SearchPanel* org_panel_ = nullptr;    // Panel1
  QWidget* universal_panel_ = nullptr;  // Panel6
  QLineEdit* full_edit_ = nullptr;      // FullEd
  QWidget* mode_buttons_ = nullptr;
  QWidget* to_universal_panel_ = nullptr;  // Panel9
  QWidget* to_detailed_panel_ = nullptr;   // Panel10
  ContextMenu* popup_menu_ = nullptr;      // PopupMenu1
  QAction* n11_ = nullptr;

  QAction* ac_exit_ = nullptr;
  QAction* ac_help_ = nullptr;
  QAction* ac_add_ = nullptr;
  QAction* ac_delete_ = nullptr;
  QAction* ac_save_ = nullptr;
  QAction* ac_save_wide_ = nullptr;
  QAction* ac_paste_ = nullptr;
  QAction* ac_copy_ = nullptr;
  QAction* ac_optimize_ = nullptr;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_MAIN_WINDOW_H_
