// SPDX-License-Identifier: GPL-3.0-or-later
// The keys the window handles before its controls, the mouse on labels and
// edits, and the striped drawing.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "app/rules/window_keys.h"
#include "platform/display_colours.h"
#include "ui/context_menu.h"
#include "ui/main_window.h"
#include "ui/search_panel.h"
#include "ui/town_box.h"

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

bool MainWindow::HandleWindowKey(QKeyEvent* event, QWidget* target) {
  QWidget* focus =
      QApplication::focusWidget() ? QApplication::focusWidget() : target;
  WindowKeyState state;
  state.ctrl = event->modifiers() & Qt::ControlModifier;
  state.shift = event->modifiers() & Qt::ShiftModifier;
  state.stripes_on = session_.stripes().stripes_on();
  state.contrast = session_.stripes().contrast_level();
  state.stripes_item_visible = stripes_item_->isVisible();
  state.focus_on_grid = InsideGrid(focus);
  switch (CommandForKey(KeyOf(event), state)) {
    case WindowCommand::kNone:
      return false;
    case WindowCommand::kSwallow:
      break;
    case WindowCommand::kContrastReset:
      SetStripeContrast(kDefaultContrast);
      break;
    case WindowCommand::kContrastUp:
      SetStripeContrast(ContrastUp(session_.stripes().contrast_level()));
      break;
    case WindowCommand::kContrastDown:
      SetStripeContrast(ContrastDown(session_.stripes().contrast_level()));
      break;
    case WindowCommand::kToggleStripes:
      stripes_item_->setChecked(!stripes_item_->isChecked());
      ApplyStripesChoice();
      break;
    case WindowCommand::kHelp:
      ShowInformation();
      break;
    case WindowCommand::kMenu:
      context_menu_->ForgetPress();
      // Dropped down from the event loop, not from inside this key event.
      QMetaObject::invokeMethod(menu_button_, &QToolButton::showMenu,
                                Qt::QueuedConnection);
      break;
    case WindowCommand::kClose:
      close();
      break;
    case WindowCommand::kSwitchMode:
      ToggleSearchMode();
      break;
    case WindowCommand::kFocusNext:
      focusNextPrevChild(true);
      break;
    case WindowCommand::kFocusPrevious:
      focusNextPrevChild(false);
      break;
  }
  return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::ShortcutOverride) {
    // Ctrl+Ins and Ctrl+Del add and delete records wherever the focus is:
    // an edit must not take them for its own copy and delete-word keys.
    const auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && widget->window() == this &&
        key->modifiers() == Qt::ControlModifier &&
        (key->key() == Qt::Key_Insert || key->key() == Qt::Key_Delete)) {
      return true;
    }
  }
  if (type == QEvent::KeyPress) {
    // Key preview. A key the window handles stops here; one it leaves may
    // pass on to parent controls and is looked at again, to the same end.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && widget->window() == this && !ended_ &&
        HandleWindowKey(static_cast<QKeyEvent*>(event), widget)) {
      return true;
    }
    return false;
  }
  if (watched == count_label_ || watched == count_caption_) {
    if (type == QEvent::Enter || type == QEvent::Leave) {
      // The count lights up under the mouse. In the tool bar the style
      // paints label text in the button-text colour, elsewhere in the
      // window-text colour: both change.
      const QColor colour = type == QEvent::Enter ? Qt::blue : Qt::black;
      QPalette p = count_label_->palette();
      p.setColor(QPalette::WindowText, colour);
      p.setColor(QPalette::ButtonText, colour);
      count_label_->setPalette(p);
    } else if (type == QEvent::MouseButtonDblClick) {
      ClearSearchFromCount();
      return true;
    }
    return false;
  }
  if (type == QEvent::MouseButtonDblClick) {
    // A double click on a search edit or the universal line empties it,
    // which runs its search when it held text.
    if (auto* e = qobject_cast<QLineEdit*>(watched);
        e != nullptr &&
        (e == universal_edit_ || e->parentWidget() == home_panel_ ||
         e->parentWidget() == org_panel_)) {
      e->clear();
      return true;
    }
  }
  if (watched == town_box_ && type == QEvent::FocusOut &&
      static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
    SwitchToSelectedTown();  // leaving the list switches to its selected town
  }
  if ((watched == home_panel_ || watched == org_panel_) &&
      (type == QEvent::Resize || type == QEvent::Move ||
       type == QEvent::Show)) {
    PlaceUniversalPanel();
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  PlaceUniversalPanel();
}

void MainWindow::SetStripeContrast(int level) {
  session_.stripes().SetStripeContrast(ports_.button_face, level);
  ApplyStripes();
}

void MainWindow::ApplyStripesChoice() {
  session_.stripes().SetStripesOn(stripes_item_->isChecked());
  ApplyStripes();
}

void MainWindow::ApplyStripes() {
  const Stripes& s = session_.stripes();
  if (session_.base_loaded()) {  // before the first load: the button face
    colours_.grid = ToQColor(s.grid_colour());
    colours_.stripe = ToQColor(s.stripe_colour());
  }
  colours_.stripes_on = s.stripes_on();
  home_grid_->ApplyStripes();
  org_grid_->ApplyStripes();
}

}  // namespace spravka
