// SPDX-License-Identifier: GPL-3.0-or-later
// A program that is hard to time: it starts a process of its own that
// would outlive it, maps a wide window and destroys it at once (so that a
// watcher that sees it mapped cannot look at it any more), then maps a
// wide window that stays, and waits. Writes its own and its process's ids
// to PID_FILE, one a line.
// Usage: vanishing_window PID_FILE
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 2;
  const pid_t helper = fork();
  if (helper == 0) {
    close(ConnectionNumber(display));
    for (;;) pause();
  }
  std::FILE* pids = std::fopen(argv[1], "w");
  if (pids == nullptr) return 2;
  std::fprintf(pids, "%d\n%d\n", static_cast<int>(getpid()),
               static_cast<int>(helper));
  std::fclose(pids);

  const Window root = DefaultRootWindow(display);
  const Window gone =
      XCreateSimpleWindow(display, root, 0, 0, 400, 300, 0, 0, 0);
  XMapWindow(display, gone);
  XDestroyWindow(display, gone);
  XSync(display, False);
  usleep(200'000);
  const Window stays =
      XCreateSimpleWindow(display, root, 0, 0, 400, 300, 0, 0, 0);
  XMapWindow(display, stays);
  XSync(display, False);
  for (;;) pause();
}
