// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_KEY_PREVIEW_H_
#define SPRAVKA_UI_KEY_PREVIEW_H_

#include <QObject>
#include <functional>

#include "app/base_session.h"

class QAction;
class QKeyEvent;
class QToolButton;
class QWidget;

namespace spravka {

class ContextMenu;
class GridStripes;
class SearchControls;

// The window's keys, seen before the focused control: the function keys,
// Enter moving the focus, and the numeric-pad keys of the stripes. Ctrl+Ins
// and Ctrl+Del stay the add and delete actions' wherever the focus is: an
// edit must not take them for its own copy and delete-word keys. It
// watches the whole application and acts on keys to its window's controls.
class KeyPreview : public QObject {
 public:
  struct Parts {
    QWidget* window = nullptr;
    BaseSession* session = nullptr;
    SearchControls* search = nullptr;
    GridStripes* stripes = nullptr;
    QAction* stripes_item = nullptr;  // the menu's stripes item
    // The window's rules let the stripes keys work.
    std::function<bool()> stripes_keys;
    ContextMenu* menu = nullptr;
    QToolButton* menu_button = nullptr;  // drops the menu down
    std::function<void()> help;
    // Moves the focus to the next (true) or previous control.
    std::function<void(bool next)> move_focus;
    // The program ended: no key is looked at any more.
    std::function<bool()> ended;
  };
  explicit KeyPreview(const Parts& parts);
  ~KeyPreview() override;

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // False when the key goes on to `target`, the control it was sent to.
  bool HandleKey(QKeyEvent* event, QWidget* target);

  Parts p_;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_KEY_PREVIEW_H_
