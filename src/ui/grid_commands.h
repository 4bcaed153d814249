// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_GRID_COMMANDS_H_
#define SPRAVKA_UI_GRID_COMMANDS_H_

#include <QString>
#include <functional>

#include "app/base_session.h"
#include "app/message_boxes.h"
#include "dialling/serial_port.h"
#include "editing/clipboard.h"
#include "search/search_engine.h"
#include "ui/result_grid.h"

class QAction;

namespace spravka {

// The commands on the records of the grids, shared by the context menu, the
// tool bar and the shortcuts: the grid's own editing events, adding,
// deleting, sorting, the clipboard and dialling. Each works on the grid of
// the active page, except a cell edit, which works where it is typed. The
// record work is the editing core's; this joins it to the window. A change
// of the store is made only when the open base hands the store out: never
// in a read-only base, nor while file work runs.
class GridCommands {
 public:
  struct Parts {
    BaseSession* session = nullptr;
    SearchEngine* engine = nullptr;
    MessageBoxes* boxes = nullptr;
    Clipboard* clipboard = nullptr;
    SerialPorts* serial_ports = nullptr;
    // The table of the active page.
    std::function<TableId()> active_table;
    ResultGrid* home = nullptr;
    ResultGrid* org = nullptr;
    QAction* add = nullptr;
    QAction* remove = nullptr;
    QAction* copy_result = nullptr;
    QAction* paste = nullptr;
    // An added record showed a hidden grid: the actions follow its rows.
    std::function<void()> rows_shown;
  };
  // Takes the actions' triggers and the grids' editing events.
  explicit GridCommands(const Parts& parts);

  // A cell's editor changed its text.
  void CellEdited(TableId table, int column, int row, const QString& text);
  // Esc while a cell is edited.
  void EscapePressed(TableId table);
  // A left press on a caption sorts by its column.
  void CaptionPressed(TableId table, int column);

  void Add();
  void Delete();
  void CopyRow();
  void CopyResult();
  void Paste();
  void Dial();

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
