// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program and says how long it took until it mapped a top-level
// window at least MIN_WIDTH pixels wide (a splash window is narrower; under
// a window manager the frame around the window counts), and the processor
// time the program had used by then (all its threads; not the X server's,
// the window manager's or that of programs it started), in milliseconds:
// "WALL CPU". Then it ends the program and
// every process it started. With --linger MS the program runs that much
// longer before it is ended, so that work it does after showing its window
// gets done. Whatever happens (an X error, the X server gone, a program
// that never shows a window, this program interrupted), nothing it started
// is left running.
// Usage: window_start_timing [--linger MS] MIN_WIDTH PROGRAM [ARGUMENT...]
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The started program leads a process group of its own; the group is
// ended as a whole.
volatile sig_atomic_t child_group = 0;

void EndChildGroup() {
  const pid_t group = child_group;
  if (group <= 0) return;
  kill(-group, SIGTERM);
  // Given 2 s to end, then killed; every ended process is reaped (this
  // program is the reaper of those the program started, too).
  for (int i = 0; i < 200; ++i) {
    while (waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    if (kill(-group, 0) != 0) break;
    const timespec tick{0, 10'000'000};
    nanosleep(&tick, nullptr);
  }
  kill(-group, SIGKILL);
  const timespec tick{0, 10'000'000};
  nanosleep(&tick, nullptr);
  while (waitpid(-1, nullptr, WNOHANG) > 0) {
  }
  child_group = 0;
}

void OnSignal(int signal) {
  EndChildGroup();
  _exit(128 + signal);
}

// A window that is gone before it is looked at (BadWindow) does not count.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

int OnXServerGone(Display*) {
  EndChildGroup();
  std::fprintf(stderr, "the X server went away\n");
  _exit(2);
}

bool ChildEnded() {
  const pid_t group = child_group;
  if (group <= 0 || waitpid(group, nullptr, WNOHANG) != group) return false;
  EndChildGroup();  // what it left behind
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  int linger_ms = 0;
  if (argc > 2 && std::strcmp(argv[1], "--linger") == 0) {
    linger_ms = std::atoi(argv[2]);
    first = 3;
  }
  if (argc < first + 2) {
    std::fprintf(stderr,
                 "usage: window_start_timing [--linger MS] MIN_WIDTH PROGRAM "
                 "[ARGUMENT...]\n");
    return 2;
  }
  const int min_width = std::atoi(argv[first]);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no X display\n");
    return 2;
  }
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  XSetErrorHandler(IgnoreXError);
  XSetIOErrorHandler(OnXServerGone);
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  for (int signal : {SIGALRM, SIGTERM, SIGINT, SIGHUP, SIGPIPE})
    sigaction(signal, &action, nullptr);
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    setpgid(0, 0);
    close(ConnectionNumber(display));
    execvp(argv[first + 1], argv + first + 1);
    _exit(127);
  }
  if (child < 0) {
    std::fprintf(stderr, "cannot start %s\n", argv[first + 1]);
    return 2;
  }
  setpgid(child, child);  // either side may get there first
  child_group = child;
  alarm(30);  // a program that never shows a window ends the measurement
  bool shown = false;
  while (!shown) {
    if (XPending(display) == 0) {
      if (ChildEnded()) {
        std::fprintf(stderr, "%s ended without a window\n", argv[first + 1]);
        return 1;
      }
      pollfd x{ConnectionNumber(display), POLLIN, 0};
      poll(&x, 1, 20);
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    if (event.type != MapNotify || event.xmap.event != root) continue;
    XWindowAttributes attributes;
    shown = XGetWindowAttributes(display, event.xmap.window, &attributes) &&
            attributes.width >= min_width;
  }
  const double ms = std::chrono::duration<double, std::milli>(
                        std::chrono::steady_clock::now() - start)
                        .count();
  double cpu_ms = -1;
  clockid_t cpu_clock;
  timespec cpu;
  if (clock_getcpuclockid(child, &cpu_clock) == 0 &&
      clock_gettime(cpu_clock, &cpu) == 0) {
    cpu_ms = static_cast<double>(cpu.tv_sec) * 1e3 +
             static_cast<double>(cpu.tv_nsec) / 1e6;
  }
  alarm(0);
  if (linger_ms > 0) {
    const timespec linger{linger_ms / 1000, (linger_ms % 1000) * 1'000'000L};
    nanosleep(&linger, nullptr);
  }
  EndChildGroup();
  XCloseDisplay(display);
  std::printf("%.1f %.1f\n", ms, cpu_ms);
  return 0;
}
