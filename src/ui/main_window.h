// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_MAIN_WINDOW_H_
#define SPRAVKA_UI_MAIN_WINDOW_H_

#include <QMainWindow>
#include <memory>
#include <optional>

#include "app/base_session.h"
#include "app/rules/header_geometry.h"
#include "app/rules/menu_rules.h"
#include "platform/qt_work_runner.h"
#include "search/search_engine.h"
#include "ui/base_commands.h"
#include "ui/grid_commands.h"
#include "ui/grid_stripes.h"
#include "ui/main_window_ports.h"

class QToolBar;
class QToolButton;

namespace spravka {

class ContextMenu;
class KeyPreview;
class ResultPages;
class SearchControls;
class TownBox;
class TownSwitcher;
class WindowActions;

// The main window: the tool bar with the town list, the two result pages
// with their search controls, and the one menu. It builds its parts and
// joins them; each part does its own job.
class MainWindow : public QMainWindow {
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
  SearchControls& search_controls() { return *search_; }
  TownSwitcher& town_switcher() { return *switcher_; }
  const HeaderGeometry& header_geometry() const { return geometry_; }
  SearchEngine& engine();
  // Where the session's long file work runs.
  WorkRunner& file_work() { return file_work_; }

  void ShowInformation();  // the information dialog, F1

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildToolBar();
  void BuildCommands();
  void BuildMenu();
  // The application's title and the window's caption from a base header;
  // the caption ends with a read-only mark when `read_only`.
  void ShowTitles(const BaseHeader& h, bool read_only = false);
  // Shows the loaded base: captions, columns and the stored settings.
  void ShowBase();
  // The state the window's rules read; the clipboard and the widths only
  // as the menu opens.
  MenuInputs WindowState(bool opening);
  // Every action enabled as the window's rules decide, whenever their state
  // changed and as the menu opens (only then are the serial ports probed);
  // returns the decision.
  MenuState UpdateActions(bool opening = false);
  void EndProgram();
  // What the file-work gate held while other work ran: a close, or else a
  // switch.
  void CarryOutHeldWork();

  MainWindowPorts ports_;
  HeaderGeometry geometry_;  // the header's pixels on the interface font
  QtWorkRunner file_work_;   // the session's long file work, off this thread
  BaseSession session_;
  GridStripes stripes_;
  bool ended_ = false;
  bool closed_ = false;  // the base was left and the window closed
  // What the menu's last opening on the shown base found; showing a base
  // forgets it.
  std::optional<MenuFindings> menu_findings_;
  // The stripes could be seen when the shown base was loaded: the item and
  // keys are offered from then on, whatever the contrast keys do later.
  bool stripes_offered_ = false;
  std::unique_ptr<WindowActions> actions_;
  std::unique_ptr<GridCommands> grid_commands_;
  std::unique_ptr<BaseCommands> base_commands_;
  ResultPages* pages_ = nullptr;
  SearchControls* search_ = nullptr;
  TownSwitcher* switcher_ = nullptr;
  TownBox* town_box_ = nullptr;
  QToolBar* tool_bar_ = nullptr;
  QToolButton* menu_button_ = nullptr;
  ContextMenu* context_menu_ = nullptr;
  // Declared last: it stops looking at keys before the rest goes.
  std::unique_ptr<KeyPreview> keys_;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_MAIN_WINDOW_H_
