// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of the window's actions and menu items as one table of cases.
#include "app/rules/menu_rules.h"

#include <gtest/gtest.h>

namespace spravka {
namespace {

// The menu opening on a writable base showing 25 rows, one change, widths
// as stored, text on the clipboard, a free modem.
MenuInputs Usual() {
  MenuInputs in;
  in.base_loaded = true;
  in.opening = true;
  in.grid_rows = 26;
  in.grid_visible = true;
  in.number = "123456";
  in.origin_tag_empty = false;
  in.change_entries = 1;
  in.clipboard_has_text = true;
  return in;
}

MenuState UsualState() {
  MenuState s;
  s.copy_result_visible = true;
  s.dial = true;
  s.dial_caption = "Набрать номер 12-34-56";
  s.add = s.remove = s.copy_row = s.copy_result = s.paste = true;
  s.new_base = true;
  s.restore = true;
  s.add_action = s.remove_action = s.paste_action = true;
  s.copy_result_action = true;
  s.search_options = true;
  s.findings = MenuFindings{};
  return s;
}

TEST(MenuRulesTest, Table) {
  struct Case {
    const char* what;
    void (*input)(MenuInputs&);
    void (*expect)(MenuState&);
    bool modem_free;
    bool probed;
  };
  const Case cases[] = {
      {"usual", [](MenuInputs&) {}, [](MenuState&) {}, true, true},
      {"no free modem: the caption still shows the number", [](MenuInputs&) {},
       [](MenuState& s) { s.dial = false; }, false, true},
      {"read-only base", [](MenuInputs& in) { in.base_read_only = true; },
       [](MenuState& s) {
         s.add = s.remove = s.paste = s.restore = false;
         s.add_action = s.remove_action = s.paste_action = false;
       },
       true, true},
      {"hidden grid: no ports opened",
       [](MenuInputs& in) {
         in.grid_visible = false;
         in.grid_rows = 1;
       },
       [](MenuState& s) {
         s.remove = s.dial = s.copy_row = s.copy_result = false;
         s.copy_result_visible = false;
         s.remove_action = false;
       },
       true, false},
      {"a shown grid without a data row has nothing to delete",
       [](MenuInputs& in) { in.grid_rows = 1; },
       [](MenuState& s) {
         s.remove = s.remove_action = false;
         s.copy_result_visible = false;
       },
       true, true},
      {"two change entries offer optimisation",
       [](MenuInputs& in) { in.change_entries = 2; },
       [](MenuState& s) {
         s.optimise = true;
         s.findings->optimisable = true;
       },
       true, true},
      {"no change entry: nothing to restore",
       [](MenuInputs& in) { in.change_entries = 0; },
       [](MenuState& s) { s.restore = false; }, true, true},
      {"a base made by the user cannot be restored",
       [](MenuInputs& in) { in.origin_tag_empty = true; },
       [](MenuState& s) { s.restore = false; }, true, true},
      {"a changed column width",
       [](MenuInputs& in) { in.width_difference = 3; },
       [](MenuState& s) {
         s.save_widths = true;
         s.findings->widths_differ = true;
       },
       true, true},
      {"a read-only base offers no writer, whatever the menu found",
       [](MenuInputs& in) {
         in.width_difference = 3;
         in.change_entries = 2;
         in.base_read_only = true;
       },
       [](MenuState& s) {
         s.findings = MenuFindings{.widths_differ = true, .optimisable = true};
         s.add = s.remove = s.paste = s.restore = false;
         s.add_action = s.remove_action = s.paste_action = false;
       },
       true, true},
      {"nor between openings",
       [](MenuInputs& in) {
         in.opening = false;
         in.base_read_only = true;
         in.last_opening =
             MenuFindings{.widths_differ = true, .optimisable = true};
       },
       [](MenuState& s) {
         s.dial = false;
         s.findings.reset();
         s.add = s.remove = s.paste = s.restore = false;
         s.add_action = s.remove_action = s.paste_action = false;
       },
       true, false},
      {"empty clipboard", [](MenuInputs& in) { in.clipboard_has_text = false; },
       [](MenuState& s) { s.paste = false; }, true, true},
      {"read-only working folder",
       [](MenuInputs& in) { in.folder_read_only = true; },
       [](MenuState& s) { s.new_base = false; }, true, true},
      {"1010 rows still copied", [](MenuInputs& in) { in.grid_rows = 1010; },
       [](MenuState&) {}, true, true},
      {"1011 rows are not", [](MenuInputs& in) { in.grid_rows = 1011; },
       [](MenuState& s) { s.copy_result_visible = false; }, true, true},
      {"a seven-digit number is shown as it is",
       [](MenuInputs& in) { in.number = "1234567"; },
       [](MenuState& s) { s.dial_caption = "Набрать номер 1234567"; }, true,
       true},
      {"unsaved changes can be saved",
       [](MenuInputs& in) { in.modified = true; },
       [](MenuState& s) { s.save_action = true; }, true, true},
      {"stripes offered: the item and the keys",
       [](MenuInputs& in) { in.stripes_offered = true; },
       [](MenuState& s) { s.stripes = true; }, true, true},
      // Between openings the actions follow the window; the items are not
      // shown, and no port is opened.
      {"no base yet: nothing that needs one",
       [](MenuInputs& in) {
         in = MenuInputs();
         in.grid_rows = 1;
       },
       [](MenuState& s) {
         s = MenuState();
         s.dial_caption = "Набрать номер ";
         s.new_base = true;
       },
       true, false},
      {"before the first opening a writable base's widths may be stored",
       [](MenuInputs& in) {
         in.opening = false;
         in.width_difference = 0;  // not compared yet
       },
       [](MenuState& s) {
         s.dial = false;
         s.findings.reset();
         s.save_widths = true;
       },
       true, false},
      {"before the first opening a read-only base's may not",
       [](MenuInputs& in) {
         in.opening = false;
         in.base_read_only = true;
       },
       [](MenuState& s) {
         s.dial = false;
         s.findings.reset();
         s.add = s.remove = s.paste = s.restore = false;
         s.add_action = s.remove_action = s.paste_action = false;
       },
       true, false},
      {"between openings the widths and optimising follow the last one",
       [](MenuInputs& in) {
         in.opening = false;
         in.last_opening =
             MenuFindings{.widths_differ = true, .optimisable = true};
       },
       [](MenuState& s) {
         s.dial = false;
         s.findings.reset();
         s.save_widths = s.optimise = true;
       },
       true, false},
      {"an opening compares anew, whatever the last one found",
       [](MenuInputs& in) {
         in.last_opening =
             MenuFindings{.widths_differ = true, .optimisable = true};
       },
       [](MenuState&) {}, true, true},
  };
  for (const Case& c : cases) {
    MenuInputs in = Usual();
    c.input(in);
    MenuState expected = UsualState();
    c.expect(expected);
    int probes = 0;
    const MenuState got = DecideMenu(in, [&] {
      ++probes;
      return c.modem_free;
    });
    EXPECT_EQ(got, expected) << c.what;
    EXPECT_EQ(probes, c.probed ? 1 : 0) << c.what;
    // An item standing for an action is never enabled while the action,
    // which would ignore it, is disabled.
    EXPECT_TRUE(!got.add || got.add_action) << c.what;
    EXPECT_TRUE(!got.remove || got.remove_action) << c.what;
    EXPECT_TRUE(!got.paste || got.paste_action) << c.what;
    EXPECT_TRUE(!got.copy_result || got.copy_result_action) << c.what;
  }
}

TEST(MenuRulesTest, ItemCaptionPairsSixCharacters) {
  EXPECT_EQ(DialItemCaption("123456"), "Набрать номер 12-34-56");
  EXPECT_EQ(DialItemCaption("1234567"), "Набрать номер 1234567");
  EXPECT_EQ(DialItemCaption("12345"), "Набрать номер 12345");
  EXPECT_EQ(DialItemCaption(""), "Набрать номер ");
  // Characters are the cell's Windows-1251 bytes.
  EXPECT_EQ(DialItemCaption("\xCD\xE5\xF2 12"), "Набрать номер Не-т -12");
  EXPECT_EQ(DialItemCaption("\xCD\xE5\xF2 123"), "Набрать номер Нет 123");
}

}  // namespace
}  // namespace spravka
