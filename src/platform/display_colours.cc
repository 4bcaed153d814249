// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/display_colours.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

namespace spravka {

Rgb ButtonFaceColour() {
  QColor c = QGuiApplication::palette().color(QPalette::Button);
  return {c.red(), c.green(), c.blue()};
}

NearestColour DisplayNearestColour() {
  QScreen* screen = QGuiApplication::primaryScreen();
  const int depth = screen ? screen->depth() : 24;
  if (depth >= 24) return [](Rgb c) { return c; };
  // 16 bits: 5 for red and blue, 6 for green; less than that: 5 each at
  // best, which is close enough for the rare 8-bit screen.
  const int red_bits = 5;
  const int green_bits = depth >= 16 ? 6 : 5;
  return [=](Rgb c) {
    auto cut = [](int v, int bits) {
      int levels = (1 << bits) - 1;
      int level = (v * levels + 127) / 255;
      return level * 255 / levels;
    };
    return Rgb{cut(c.r, red_bits), cut(c.g, green_bits), cut(c.b, red_bits)};
  };
}

}  // namespace spravka
