// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/rules/menu_rules.h"

#include "storage/cp1251.h"

namespace spravka {
namespace {

// The result copy is offered for up to 1000 rows, the ". . . . ." row and
// a few added rows.
constexpr int kMaxCopiedRows = 1010;

// The dial item writes a number of this length as three pairs.
constexpr size_t kPairedNumberLength = 6;

}  // namespace

std::string DialItemCaption(std::string_view number) {
  std::string shown(number);
  if (shown.size() == kPairedNumberLength) {
    shown = shown.substr(0, 2) + "-" + shown.substr(2, 2) + "-" +
            shown.substr(4, 2);
  }
  return std::string(kDialItemCaption) + " " + Cp1251ToUtf8(shown);
}

MenuState DecideMenu(const MenuInputs& in,
                     const std::function<bool()>& free_modem) {
  MenuState s;
  const bool writable = in.base_loaded && !in.base_read_only;
  s.add_action = writable;
  s.paste_action = writable;
  // Rows are deleted from a grid that shows at least one.
  s.remove_action = writable && in.grid_visible && in.grid_rows >= 2;
  s.save_action = in.modified;
  s.copy_result_action = in.base_loaded;
  s.stripes = in.stripes_offered;
  // They change how the shown base is searched.
  s.search_options = in.base_loaded;

  s.copy_result_visible = in.grid_rows >= 2 && in.grid_rows <= kMaxCopiedRows;
  s.remove = in.grid_visible && !in.base_read_only && s.remove_action;
  s.dial = in.opening && in.grid_visible;
  s.copy_row = in.grid_visible;
  s.copy_result = in.grid_visible && s.copy_result_action;
  // The ports are opened only when the item could be used.
  if (s.dial) s.dial = free_modem();
  s.dial_caption = DialItemCaption(in.number);
  s.add = !in.base_read_only && s.add_action;
  s.paste = in.clipboard_has_text && !in.base_read_only && s.paste_action;
  s.restore =
      !in.origin_tag_empty && !in.base_read_only && in.change_entries >= 1;
  s.new_base = !in.folder_read_only;

  if (in.opening) {
    s.findings = MenuFindings{.widths_differ = in.width_difference > 0,
                              .optimisable = in.change_entries >= 2};
  }
  const std::optional<MenuFindings>& found =
      in.opening ? s.findings : in.last_opening;
  // A read-only base is never written, its widths included. Before the
  // menu first opens on a writable base its widths may be stored; nothing
  // is offered for optimising.
  s.save_widths = writable && (!found || found->widths_differ);
  s.optimise = writable && found && found->optimisable;
  return s;
}

}  // namespace spravka
