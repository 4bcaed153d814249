// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/rules/window_keys.h"

namespace spravka {

WindowCommand CommandForKey(WindowKey key, const WindowKeyState& s) {
  using enum WindowKey;
  if (s.ctrl) {
    constexpr WindowCommand kIdle = WindowCommand::kSwallow;
    switch (key) {
      case kPadMultiply:
        return s.stripes_on ? WindowCommand::kContrastReset : kIdle;
      case kPadPlus:
        return s.stripes_on ? WindowCommand::kContrastUp : kIdle;
      case kPadMinus:
        return s.stripes_on && s.contrast > 2 ? WindowCommand::kContrastDown
                                              : kIdle;
      case kPadDivide:
        return s.stripes_item_visible ? WindowCommand::kToggleStripes : kIdle;
      default:
        return WindowCommand::kNone;
    }
  }
  switch (key) {
    case kF1:
      return WindowCommand::kHelp;
    case kF9:
      return WindowCommand::kMenu;
    case kF10:
      return WindowCommand::kClose;
    case kF12:
      return WindowCommand::kSwitchMode;
    case kEnter:
      if (s.focus_on_grid) return WindowCommand::kNone;
      return s.shift ? WindowCommand::kFocusPrevious
                     : WindowCommand::kFocusNext;
    default:
      return WindowCommand::kNone;
  }
}

}  // namespace spravka
