// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_RULES_WINDOW_KEYS_H_
#define SPRAVKA_APP_RULES_WINDOW_KEYS_H_

namespace spravka {

// The keys the main window looks at before the focused control does.
enum class WindowKey {
  kOther,
  kF1,
  kF9,
  kF10,
  kF12,
  kEnter,
  kPadMultiply,
  kPadPlus,
  kPadMinus,
  kPadDivide,
};

enum class WindowCommand {
  kNone,     // the key goes on to the focused control
  kSwallow,  // the key does nothing at all
  kContrastReset,
  kContrastUp,
  kContrastDown,
  kToggleStripes,
  kHelp,
  kMenu,
  kClose,
  kSwitchMode,
  kFocusNext,
  kFocusPrevious,
};

struct WindowKeyState {
  bool ctrl = false;
  bool shift = false;
  bool stripes_on = false;
  int contrast = 0;
  bool stripes_item_visible = false;  // the menu offers stripes
  bool focus_on_grid = false;
};

// The window's keys: with Ctrl only the numeric-pad keys count; without Ctrl
// the function keys and Enter, whatever Shift and Alt say. A Ctrl+pad key
// whose condition fails is swallowed: it would otherwise type its sign
// into the focused edit.
WindowCommand CommandForKey(WindowKey key, const WindowKeyState& state);

}  // namespace spravka

#endif  // SPRAVKA_APP_RULES_WINDOW_KEYS_H_
