// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program and says how long it took until it mapped a top-level
// window at least MIN_WIDTH pixels wide (a splash window is narrower), then
// ends it. Needs an X server without a window manager (Xvfb).
// Usage: window_start_timing MIN_WIDTH PROGRAM [ARGUMENT...]
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(
        stderr, "usage: window_start_timing MIN_WIDTH PROGRAM [ARGUMENT...]\n");
    return 2;
  }
  const int min_width = std::atoi(argv[1]);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no X display\n");
    return 2;
  }
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[2], argv + 2);
    _exit(127);
  }
  alarm(30);  // a program that never shows a window ends the measurement
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type != MapNotify || event.xmap.event != root) continue;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, event.xmap.window, &attributes) &&
        attributes.width >= min_width) {
      break;
    }
  }
  const double ms = std::chrono::duration<double, std::milli>(
                        std::chrono::steady_clock::now() - start)
                        .count();
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  std::printf("%.1f\n", ms);
  return 0;
}
