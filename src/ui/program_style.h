// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_PROGRAM_STYLE_H_
#define SPRAVKA_UI_PROGRAM_STYLE_H_

#include <QProxyStyle>

namespace spravka {

// The platform's style, with the pictures that Qt's own widgets of the
// main window take from it drawn by the program (the tool bar's button
// for the buttons that do not fit). Qt's are files whose format it finds
// by asking every image-format plugin, so the first of them loaded the
// GIF, ICO and JPEG plugins and libraries at start-up.
class ProgramStyle : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                     const QWidget* widget) const override;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_PROGRAM_STYLE_H_
