// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_RULES_MENU_RULES_H_
#define SPRAVKA_APP_RULES_MENU_RULES_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace spravka {

// What the menu found when it last opened on the shown base. The window
// keeps it and forgets it when it shows a base: between two openings the
// widths and optimise actions stay as the last opening left them, since
// only an opening compares the widths and counts the changes.
struct MenuFindings {
  bool widths_differ = false;
  bool optimisable = false;
  bool operator==(const MenuFindings&) const = default;
};

// The window's state its actions, menu items and keys follow, for the grid
// of the active page.
struct MenuInputs {
  bool base_loaded = false;
  bool base_read_only = false;
  bool folder_read_only = false;
  bool modified = false;  // the base has unsaved changes
  bool stripes_offered = false;
  bool origin_tag_empty = true;
  size_t change_entries = 0;  // both change lists together
  int grid_rows = 0;          // the grid's row count, the caption row included
  bool grid_visible = false;
  std::string number;  // column 1 of the current row (Windows-1251)
  // The menu is opening: its items are decided (the serial ports probed),
  // the widths compared and the changes counted.
  bool opening = false;
  // Read only when the menu opens. The sum of the differences between the
  // stored column widths and the grids' current ones (header pixels).
  int64_t width_difference = 0;
  bool clipboard_has_text = false;
  // None before the menu's first opening on the shown base.
  std::optional<MenuFindings> last_opening;
};

// The states, named after the items and the actions. An action's state is
// its tool-bar button's, its shortcut's and that of the menu item standing
// for it; an item with its own state is never enabled while its action is
// disabled, which would ignore it.
struct MenuState {
  // The menu's items, decided as it opens.
  bool copy_result_visible = false;
  bool dial = false;
  std::string dial_caption;  // UTF-8
  bool add = false;
  bool remove = false;
  bool copy_row = false;
  bool copy_result = false;
  bool paste = false;
  bool new_base = false;
  bool restore = false;
  // The actions.
  bool add_action = false;
  bool remove_action = false;
  bool save_action = false;
  bool paste_action = false;
  bool copy_result_action = false;
  bool save_widths = false;
  bool optimise = false;
  // The stripes item and its separator are shown, and the stripes keys
  // work (Ctrl with the numeric pad's "*").
  bool stripes = false;
  // The items that set how searches compare ("е" for "ё", similar records
  // after an empty search).
  bool search_options = false;
  // What this opening found; none when the menu is not opening.
  std::optional<MenuFindings> findings;
  bool operator==(const MenuState&) const = default;
};

// The dial item's caption before the number.
inline constexpr char kDialItemCaption[] = "Набрать номер";

// The dial item's caption: "Набрать номер " + the number, a number of
// exactly six characters written as three pairs joined by "-". UTF-8.
std::string DialItemCaption(std::string_view number);

// The window's rules, applied whenever their inputs change and as the menu
// opens. `free_modem` probes the serial ports; it is asked only as the menu
// opens, when the dial item would otherwise be enabled.
MenuState DecideMenu(const MenuInputs& in,
                     const std::function<bool()>& free_modem);

}  // namespace spravka

#endif  // SPRAVKA_APP_RULES_MENU_RULES_H_
