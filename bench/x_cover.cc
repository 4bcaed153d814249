// SPDX-License-Identifier: GPL-3.0-or-later
#include "x_cover.h"

#include <X11/Xlib.h>

#include <thread>

namespace spravka {

std::vector<std::chrono::steady_clock::time_point> CoverAndUncover(
    int x, int y, int width, int height, const std::atomic<bool>& stop) {
  std::vector<std::chrono::steady_clock::time_point> uncovered;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return uncovered;
  XSetWindowAttributes attributes;
  attributes.override_redirect = True;
  attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
  const Window cover = XCreateWindow(
      display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
      static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
      CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
  while (!stop) {
    XMapRaised(display, cover);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    uncovered.push_back(std::chrono::steady_clock::now());
    XUnmapWindow(display, cover);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  XDestroyWindow(display, cover);
  XCloseDisplay(display);
  return uncovered;
}

}  // namespace spravka
