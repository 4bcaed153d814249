// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_CONTEXT_MENU_H_
#define SPRAVKA_UI_CONTEXT_MENU_H_

#include <QMenu>
#include <QPoint>
#include <optional>

#include "app/rules/menu_rules.h"
#include "app/base_session.h"
#include "dialling/serial_port.h"
#include "editing/clipboard.h"
#include "ui/base_commands.h"
#include "ui/grid_commands.h"

namespace spravka {

// `PopupMenu1`, the window's one menu: the record commands of the grids and
// the base commands, opened by a right click on a grid, by ToolButton3
// "Меню" and by F9. Items that stand for an action (N1, N2, N9, N14, N5,
// N16, N17, N8) take its caption, hint, picture and shortcut and trigger
// it. An opening by a right click first makes the cell under the click
// current; one without the mouse (the menu key, F9, the button) keeps the
// current cell. Then every item is decided.
class ContextMenu : public QMenu {
  Q_OBJECT

 public:
  struct Parts {
    BaseSession* session = nullptr;
    Clipboard* clipboard = nullptr;
    SerialPorts* serial_ports = nullptr;
    GridCommands* grids = nullptr;
    BaseCommands* base = nullptr;
    QAction* add = nullptr;          // `AcAdd`
    QAction* remove = nullptr;       // `AcDelete`
    QAction* copy_result = nullptr;  // `AcCopy`
    QAction* paste = nullptr;        // `AcPaste`
    QAction* save = nullptr;         // `AcSave`
    QAction* save_widths = nullptr;  // `AcSaveWide`
    QAction* optimise = nullptr;     // `AcOptimize`
    QAction* help = nullptr;         // `AcHelp`
  };
  ContextMenu(const Parts& parts, QWidget* parent);

  // `ToolButton3MouseDown` and F9: the menu acts on the current row.
  void ForgetPress() { mouse_.reset(); }
  // `ToolButton3MouseDown` on this button.
  void WatchButton(QWidget* button);

  QAction* stripes_separator() const { return n10_; }  // N10
  QAction* stripes() const { return n11_; }            // N11

  // `PopupMenu1Popup`.
  void Decide();

 private:
  QAction* Item(const char* name, const QString& caption,
                const QString& hint = {});
  // A menu item that stands for `action`.
  QAction* ItemFor(QAction* action, const char* name, bool own_state);

  bool eventFilter(QObject* watched, QEvent* event) override;

  Parts p_;
  // `MouseX`, `MouseY`: the last press on either grid, in its coordinates.
  // None when the menu is opened without the mouse.
  std::optional<QPoint> mouse_;
  QAction* n1_ = nullptr;
  QAction* n2_ = nullptr;
  QAction* n3_ = nullptr;
  QAction* n4_ = nullptr;
  QAction* n9_ = nullptr;
  QAction* n10_ = nullptr;
  QAction* n11_ = nullptr;
  QAction* n12_ = nullptr;
  QAction* n14_ = nullptr;
  QAction* n15_ = nullptr;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_CONTEXT_MENU_H_
