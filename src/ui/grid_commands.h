// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_GRID_COMMANDS_H_
#define SPRAVKA_UI_GRID_COMMANDS_H_

#include <QString>

#include "app/message_boxes.h"
#include "app/base_session.h"
#include "dialling/serial_port.h"
#include "editing/clipboard.h"
#include "search/search_engine.h"
#include "ui/result_grid.h"

class QAction;
class QTabWidget;

namespace spravka {

// The commands on the records of the grids, shared by the context menu, the
// tool bar and the shortcuts: the grid's own editing events, adding,
// deleting, sorting, the clipboard and dialling. Each works on the grid of
// the active page, except a cell edit, which works where it is typed. The
// record work is the editing core's; this joins it to the window.
class GridCommands {
 public:
  struct Parts {
    BaseSession* session = nullptr;
    SearchEngine* engine = nullptr;
    MessageBoxes* boxes = nullptr;
    Clipboard* clipboard = nullptr;
    SerialPorts* serial_ports = nullptr;
    QTabWidget* pages = nullptr;  // `HomePage`
    ResultGrid* home = nullptr;   // `HomeTB`
    ResultGrid* org = nullptr;    // `OrgTb`
    QAction* add = nullptr;       // `AcAdd`
    QAction* remove = nullptr;    // `AcDelete`
    QAction* copy_result = nullptr;  // `AcCopy`
    QAction* paste = nullptr;        // `AcPaste`
  };
  // Takes the actions' triggers and the grids' editing events.
  explicit GridCommands(const Parts& parts);

  // `HomeTBSetEditText` / `OrgTbSetEditText`.
  void CellEdited(TableId table, int column, int row, const QString& text);
  // `HomeTBKeyPress` / `OrgTbKeyPress` with Esc while a cell is edited.
  void EscapePressed(TableId table);
  // A left press on a caption: `SortGridByColumn`.
  void CaptionPressed(TableId table, int column);

  void Add();         // `SpeedButton4Click`
  void Delete();      // `SpeedButton5Click`
  void CopyRow();     // `N4Click`
  void CopyResult();  // `N9Click`
  void Paste();       // `N14Click`
  void Dial();        // `N3Click`

  TableId ActiveTable() const;
  ResultGrid* grid(TableId table) const;

 private:
  // A record of `table` changed.
  void Changed(TableId table);
  void Connect(ResultGrid* grid, TableId table);
  // Runs the table's search again after a command. The search hides the
  // grid, and a question before it takes the focus: a grid that had the
  // focus when the command began gets it back.
  void SearchAgain(TableId table, bool grid_had_focus);
  bool HasFocus(TableId table) const;

  Parts p_;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_GRID_COMMANDS_H_
