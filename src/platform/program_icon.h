#ifndef SPRAVKA_PLATFORM_PROGRAM_ICON_H_
#define SPRAVKA_PLATFORM_PROGRAM_ICON_H_

#include <QIcon>

namespace spravka {

// The program's own icon (a telephone directory), in every size rendered
// from its drawing at build time.
QIcon ProgramIcon();

// The base name of the program's desktop entry, by which a desktop finds the
// entry (and its icon) for the program's windows.
QString DesktopFileName();

}  // namespace spravka

#endif  // SPRAVKA_PLATFORM_PROGRAM_ICON_H_
