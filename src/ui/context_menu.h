// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_CONTEXT_MENU_H_
#define SPRAVKA_UI_CONTEXT_MENU_H_

#include <QMenu>
#include <QPoint>
#include <functional>
#include <optional>

#include "app/base_session.h"
#include "app/rules/menu_rules.h"
#include "ui/base_commands.h"
#include "ui/grid_commands.h"

namespace spravka {

// The window's one menu: the record commands of the grids and the base
// commands, opened by a right click on a grid, by the "Меню" button and by
// F9. Items that stand for an action (add, delete, copy the result, paste,
// save, save the widths, optimise, information) take its caption, hint,
// picture and shortcut and trigger it. An opening by a right click first makes
// the cell under the click current; one without the mouse (the menu key, F9,
// the button) keeps the current cell. Then the window's rules decide every
// item.
class ContextMenu : public QMenu {
  Q_OBJECT

 public:
  struct Parts {
    BaseSession* session = nullptr;
    // The window's rules as the menu opens: the actions are set, the
    // items' states returned.
    std::function<MenuState()> decide;
    GridCommands* grids = nullptr;
    BaseCommands* base = nullptr;
    QAction* add = nullptr;
    QAction* remove = nullptr;
    QAction* copy_result = nullptr;
    QAction* paste = nullptr;
    QAction* save = nullptr;
    QAction* save_widths = nullptr;
    QAction* optimise = nullptr;
    QAction* help = nullptr;
  };
  ContextMenu(const Parts& parts, QWidget* parent);

  // Opened by the menu button or F9: the menu acts on the current row.
  void ForgetPress();
  // A press on this button forgets the last press on a grid.
  void WatchButton(QWidget* button);

  QAction* stripes() const { return stripes_item_; }
  // How searches compare: "е" also finding "ё", and similar records when a
  // search finds nothing. Both carry their check mark.
  QAction* yo_search() const { return yo_search_item_; }
  QAction* similar_search() const { return similar_search_item_; }
  // Shows the stripes item and its separator.
  void OfferStripes(bool offered);

  // Decides every item as the menu opens.
  void Decide();

 private:
  QAction* Item(const char* name, const QString& caption,
                const QString& hint = {});
  // A menu item that stands for `action`.
  QAction* ItemFor(QAction* action, const char* name, bool own_state);

  bool eventFilter(QObject* watched, QEvent* event) override;

  Parts p_;
  QAction* add_item_ = nullptr;
  QAction* delete_item_ = nullptr;
  QAction* dial_item_ = nullptr;
  QAction* copy_row_item_ = nullptr;
  QAction* copy_result_item_ = nullptr;
  QAction* stripes_separator_ = nullptr;
  QAction* stripes_item_ = nullptr;
  QAction* yo_search_item_ = nullptr;
  QAction* similar_search_item_ = nullptr;
  QAction* restore_item_ = nullptr;
  QAction* paste_item_ = nullptr;
  QAction* new_base_item_ = nullptr;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_CONTEXT_MENU_H_
