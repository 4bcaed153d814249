// SPDX-License-Identifier: GPL-3.0-or-later
// The count label and the keys the main window handles itself.
#include <gtest/gtest.h>

#include "app/rules/count_label.h"
#include "app/rules/window_keys.h"

namespace spravka {
namespace {

TEST(CountLabelTest, TextAndHint) {
  struct Case {
    int rows;
    bool similar;
    const char* text;
    bool hint;
  };
  const Case cases[] = {
      {0, false, "", false},
      {-1, false, "", false},
      {1, false, "1 зап.", false},
      {25, false, "25 зап.", false},
      {1000, false, "1000 зап.", false},
      {1001, false, "более 1000 зап.", true},
      {12, true, "12 зап. — похожие", false},
      {1001, true, "более 1000 зап. — похожие", true},
      {0, true, "", false},
  };
  for (const Case& c : cases) {
    CountLabelState s = CountLabelFor(c.rows, c.similar);
    EXPECT_EQ(s.text, c.text) << c.rows;
    EXPECT_EQ(s.hint, c.hint) << c.rows;
  }
}

TEST(WindowKeysTest, CommandTable) {
  using enum WindowKey;
  using C = WindowCommand;
  struct Case {
    WindowKey key;
    WindowKeyState state;
    WindowCommand command;
  };
  WindowKeyState ctrl_on{.ctrl = true,
                         .stripes_on = true,
                         .contrast = 3,
                         .stripes_item_visible = true};
  WindowKeyState ctrl_off{.ctrl = true,
                          .stripes_on = false,
                          .contrast = 3,
                          .stripes_item_visible = true};
  WindowKeyState ctrl_low{.ctrl = true,
                          .stripes_on = true,
                          .contrast = 2,
                          .stripes_item_visible = true};
  WindowKeyState ctrl_hidden{.ctrl = true,
                             .stripes_on = false,
                             .contrast = 3,
                             .stripes_item_visible = false};
  WindowKeyState plain{};
  WindowKeyState shift{.shift = true};
  WindowKeyState on_grid{.focus_on_grid = true};
  const Case cases[] = {
      {kPadMultiply, ctrl_on, C::kContrastReset},
      {kPadMultiply, ctrl_off, C::kSwallow},
      {kPadPlus, ctrl_on, C::kContrastUp},
      {kPadPlus, ctrl_off, C::kSwallow},
      {kPadMinus, ctrl_on, C::kContrastDown},
      {kPadMinus, ctrl_low, C::kSwallow},
      {kPadMinus, ctrl_off, C::kSwallow},
      {kPadDivide, ctrl_off, C::kToggleStripes},
      {kPadDivide, ctrl_hidden, C::kSwallow},
      {kPadPlus, plain, C::kNone},  // without Ctrl the pad keys type
      {kF12, ctrl_on, C::kNone},    // with Ctrl only the pad keys count
      {kF1, plain, C::kHelp},
      {kF9, shift, C::kMenu},
      {kF10, plain, C::kClose},
      {kF12, shift, C::kSwitchMode},
      {kEnter, plain, C::kFocusNext},
      {kEnter, shift, C::kFocusPrevious},
      {kEnter, on_grid, C::kNone},
      {kOther, plain, C::kNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CommandForKey(c.key, c.state), c.command)
        << static_cast<int>(c.key) << " ctrl " << c.state.ctrl;
  }
}

}  // namespace
}  // namespace spravka
