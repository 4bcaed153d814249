// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_PLATFORM_PROGRAM_ICON_H_
#define SPRAVKA_PLATFORM_PROGRAM_ICON_H_

#include <QIcon>
#include <QString>
#include <utility>
#include <vector>

namespace spravka {

// The program's own icon (a telephone directory) for its windows: the
// sizes a window shows its icon in, up to 64 pixels. (The window system
// may take every size a window's icon has, at every window's start; the
// larger sizes serve the desktop from its icon theme.)
QIcon ProgramIcon();

// The compiled-in pictures of the program's icon, rendered from its
// drawing at build time: each size in pixels with the resource path of
// its PNG file.
std::vector<std::pair<int, QString>> ProgramIconFiles();

// The base name of the program's desktop entry, by which a desktop finds the
// entry (and its icon) for the program's windows.
QString DesktopFileName();

}  // namespace spravka

#endif  // SPRAVKA_PLATFORM_PROGRAM_ICON_H_
