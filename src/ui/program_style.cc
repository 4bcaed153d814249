// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/program_style.h"

#include "ui/icons.h"

namespace spravka {

QIcon ProgramStyle::standardIcon(StandardPixmap icon,
                                 const QStyleOption* option,
                                 const QWidget* widget) const {
  switch (icon) {
    case SP_ToolBarHorizontalExtensionButton:
      return DrawnIcon(Picture::kMoreToTheRight);
    case SP_ToolBarVerticalExtensionButton:
      return DrawnIcon(Picture::kMoreBelow);
    default:
      return QProxyStyle::standardIcon(icon, option, widget);
  }
}

}  // namespace spravka
