// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_PLATFORM_DISPLAY_COLOURS_H_
#define SPRAVKA_PLATFORM_DISPLAY_COLOURS_H_

#include <QColor>

#include "app/rules/stripes.h"

namespace spravka {

// The system button-face colour.
Rgb ButtonFaceColour();

// The nearest colour the primary screen can show: the colour itself on a
// true-colour screen, fewer levels per channel on shallower ones.
NearestColour DisplayNearestColour();

inline QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace spravka

#endif  // SPRAVKA_PLATFORM_DISPLAY_COLOURS_H_
