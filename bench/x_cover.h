// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_BENCH_X_COVER_H_
#define SPRAVKA_BENCH_X_COVER_H_

#include <atomic>
#include <chrono>
#include <vector>

namespace spravka {

// On a connection of its own to the X server: maps a window over the
// screen area (x, y, width, height) and takes it away again every 100 ms
// until `stop`; says when each was taken away. (Xlib's names clash with
// Qt's, so this lives apart from the Qt code.)
std::vector<std::chrono::steady_clock::time_point> CoverAndUncover(
    int x, int y, int width, int height, const std::atomic<bool>& stop);

}  // namespace spravka

#endif  // SPRAVKA_BENCH_X_COVER_H_
