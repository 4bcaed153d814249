// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_WINDOW_ACTIONS_H_
#define SPRAVKA_UI_WINDOW_ACTIONS_H_

class QAction;
class QWidget;

namespace spravka {

struct MenuState;

// The window's actions, each with its caption, hint, picture and shortcut;
// a shortcut works wherever the focus is in the window. The tool bar and
// the menu show them. The window's rules decide which are enabled.
class WindowActions {
 public:
  explicit WindowActions(QWidget* window);

  // Enables the actions as the rules decided.
  void Apply(const MenuState& state);

  QAction* exit() const { return exit_; }
  QAction* help() const { return help_; }
  QAction* add() const { return add_; }
  QAction* remove() const { return remove_; }
  QAction* save() const { return save_; }
  QAction* save_widths() const { return save_widths_; }
  QAction* paste() const { return paste_; }
  QAction* copy_result() const { return copy_result_; }
  QAction* optimise() const { return optimise_; }

 private:
  QAction* exit_;
  QAction* help_;
  QAction* add_;
  QAction* remove_;
  QAction* save_;
  QAction* save_widths_;
  QAction* paste_;
  QAction* copy_result_;
  QAction* optimise_;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_WINDOW_ACTIONS_H_
