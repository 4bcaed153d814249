// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/key_preview.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QToolButton>

#include "app/rules/stripes.h"
#include "app/rules/window_keys.h"
#include "ui/context_menu.h"
#include "ui/grid_stripes.h"
#include "ui/result_grid.h"
#include "ui/search_controls.h"

namespace spravka {
namespace {

WindowKey KeyOf(const QKeyEvent* event) {
  const bool pad = event->modifiers() & Qt::KeypadModifier;
  switch (event->key()) {
    case Qt::Key_F1:
      return WindowKey::kF1;
    case Qt::Key_F9:
      return WindowKey::kF9;
    case Qt::Key_F10:
      return WindowKey::kF10;
    case Qt::Key_F12:
      return WindowKey::kF12;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return WindowKey::kEnter;
    case Qt::Key_Asterisk:
      return pad ? WindowKey::kPadMultiply : WindowKey::kOther;
    case Qt::Key_Plus:
      return pad ? WindowKey::kPadPlus : WindowKey::kOther;
    case Qt::Key_Minus:
      return pad ? WindowKey::kPadMinus : WindowKey::kOther;
    case Qt::Key_Slash:
      return pad ? WindowKey::kPadDivide : WindowKey::kOther;
    default:
      return WindowKey::kOther;
  }
}

bool InsideGrid(QWidget* w) {
  for (; w != nullptr; w = w->parentWidget()) {
    if (qobject_cast<ResultGrid*>(w)) return true;
  }
  return false;
}

}  // namespace

KeyPreview::KeyPreview(const Parts& parts) : p_(parts) {
  qApp->installEventFilter(this);
}

KeyPreview::~KeyPreview() { qApp->removeEventFilter(this); }

bool KeyPreview::HandleKey(QKeyEvent* event, QWidget* target) {
  QWidget* focus =
      QApplication::focusWidget() ? QApplication::focusWidget() : target;
  const Stripes& stripes = p_.session->stripes();
  WindowKeyState state;
  state.ctrl = event->modifiers() & Qt::ControlModifier;
  state.shift = event->modifiers() & Qt::ShiftModifier;
  state.stripes_on = stripes.stripes_on();
  state.contrast = stripes.contrast_level();
  state.stripes_item_visible = p_.stripes_keys();
  state.focus_on_grid = InsideGrid(focus);
  switch (CommandForKey(KeyOf(event), state)) {
    case WindowCommand::kNone:
      return false;
    case WindowCommand::kSwallow:
      break;
    case WindowCommand::kContrastReset:
      p_.stripes->SetContrast(kDefaultContrast);
      break;
    case WindowCommand::kContrastUp:
      p_.stripes->SetContrast(ContrastUp(stripes.contrast_level()));
      break;
    case WindowCommand::kContrastDown:
      p_.stripes->SetContrast(ContrastDown(stripes.contrast_level()));
      break;
    case WindowCommand::kToggleStripes:
      p_.stripes_item->setChecked(!p_.stripes_item->isChecked());
      p_.stripes->SetOn(p_.stripes_item->isChecked());
      break;
    case WindowCommand::kHelp:
      p_.help();
      break;
    case WindowCommand::kMenu:
      p_.menu->ForgetPress();
      // Dropped down from the event loop, not from inside this key event;
      // not over file work that began meanwhile.
      QMetaObject::invokeMethod(
          p_.menu_button,
          [button = p_.menu_button, session = p_.session] {
            if (!session->gate().working()) button->showMenu();
          },
          Qt::QueuedConnection);
      break;
    case WindowCommand::kClose:
      p_.window->close();
      break;
    case WindowCommand::kSwitchMode:
      p_.search->ToggleSearchMode();
      break;
    case WindowCommand::kFocusNext:
      p_.move_focus(true);
      break;
    case WindowCommand::kFocusPrevious:
      p_.move_focus(false);
      break;
  }
  return true;
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
    return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != p_.window) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (type == QEvent::ShortcutOverride) {
    return key->modifiers() == Qt::ControlModifier &&
           (key->key() == Qt::Key_Insert || key->key() == Qt::Key_Delete);
  }
  // A key the window handles stops here; one it leaves may pass on to
  // parent controls and is looked at again, to the same end.
  return !p_.ended() && HandleKey(static_cast<QKeyEvent*>(event), widget);
}

}  // namespace spravka
