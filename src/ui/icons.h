// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_ICONS_H_
#define SPRAVKA_UI_ICONS_H_

#include <QIcon>

namespace spravka {

// The pictures of the menu, the tool bar, the search mode buttons and the
// information dialog, drawn for the program so that they look the same on
// every desktop and need no icon theme (whose lookup costs thousands of
// file probes at start-up).
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
  kExit,
  kUniversalMode,   // one line of keywords
  kDetailedMode,    // a box for each field
  kUnderstood,      // a tick
  kMoreToTheRight,  // buttons that do not fit, in a row
  kMoreBelow,       // the same in a column
};

QIcon DrawnIcon(Picture picture);

}  // namespace spravka

#endif  // SPRAVKA_UI_ICONS_H_
