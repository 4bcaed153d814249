// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_RULES_MENU_RULES_H_
#define SPRAVKA_APP_RULES_MENU_RULES_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace spravka {

// What the context menu depends on when it opens, for the grid of the
// active page.
struct MenuInputs {
  int grid_rows = 0;  // the grid's row count, the caption row included
  bool grid_visible = false;
  std::string number;  // column 1 of the current row (Windows-1251)
  bool base_read_only = false;
  bool folder_read_only = false;
  bool origin_tag_empty = true;
  size_t change_entries = 0;  // both change lists together
  // The sum of the differences between the stored column widths and the
  // grids' current ones (header pixels).
  int64_t width_difference = 0;
  bool clipboard_has_text = false;
};

// The items' states, named after the items.
struct MenuState {
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
  bool save_widths = false;
  bool optimise = false;
  bool operator==(const MenuState&) const = default;
};

// The dial item's caption before the number.
inline constexpr char kDialItemCaption[] = "Набрать номер";

// The dial item's caption: "Набрать номер " + the number, a number of
// exactly six characters written as three pairs joined by "-". UTF-8.
std::string DialItemCaption(std::string_view number);

// The context menu's rules as it opens. `free_modem` probes the serial ports;
// it is asked only when the dial item would otherwise be enabled.
MenuState DecideMenu(const MenuInputs& in,
                     const std::function<bool()>& free_modem);

}  // namespace spravka

#endif  // SPRAVKA_APP_RULES_MENU_RULES_H_
