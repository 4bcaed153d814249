// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_ICONS_H_
#define SPRAVKA_UI_ICONS_H_

#include <QIcon>

namespace spravka {

// The pictures of the menu and the tool bar, drawn for the program so that
// they look the same on every desktop.
enum class Picture {
  kDial,
  kAdd,
  kDelete,
  kCopyRow,
  kCopyResult,
  kPaste,
  kNewBase,
  kSave,
  kRestore,
  kColumnWidths,
  kOptimise,
  kInformation,
};

QIcon DrawnIcon(Picture picture);

}  // namespace spravka

#endif  // SPRAVKA_UI_ICONS_H_
