// SPDX-License-Identifier: GPL-3.0-or-later
// How soon the main window repaints what another window uncovered while an
// optimisation of a large town runs. A second X connection, on a thread of
// its own, maps a window over the main window and takes it away every
// 100 ms; the time from taking it away to the main window's handling of
// the exposure is the latency. Needs an X server without a window manager.
// Usage: repaint_latency FOLDER BASE_FILE_NAME   (the base is optimised)
#include <QApplication>
#include <QExposeEvent>
#include <QWindow>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "bench_window.h"
#include "ui/main_window.h"
#include "ui/search_controls.h"
#include "x_cover.h"

namespace spravka {
namespace {

using Clock = std::chrono::steady_clock;

// When the main window's exposures were handled.
class ExposeWatch : public QObject {
 public:
  explicit ExposeWatch(QWindow* window) : window_(window) {
    qApp->installEventFilter(this);
  }
  std::vector<Clock::time_point> Times() {
    std::lock_guard<std::mutex> lock(mutex_);
    return times_;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && event->type() == QEvent::Expose) {
      std::lock_guard<std::mutex> lock(mutex_);
      times_.push_back(Clock::now());
    }
    return false;
  }

 private:
  QWindow* window_;
  std::mutex mutex_;
  std::vector<Clock::time_point> times_;
};

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace
}  // namespace spravka

int main(int argc, char** argv) {
  using namespace spravka;
  if (argc != 3) {
    std::fprintf(stderr, "usage: repaint_latency FOLDER BASE_FILE_NAME\n");
    return 2;
  }
  QApplication app(argc, argv);
  BenchWindowParts parts;
  MainWindow window(parts.Ports());
  window.Start(QString::fromLocal8Bit(argv[1]), QStringLiteral("spravka"),
                    {QString::fromLocal8Bit(argv[2])});
  window.show();
  window.search_controls().FocusRule();
  const Clock::time_point settle =
      Clock::now() + std::chrono::milliseconds(500);
  while (Clock::now() < settle) QCoreApplication::processEvents();

  ExposeWatch exposures(window.windowHandle());
  const QRect area = window.frameGeometry().adjusted(40, 80, -40, -40);
  std::atomic<bool> stop = false;
  std::vector<Clock::time_point> uncovered;
  std::thread coverer([&] {
    uncovered =
        CoverAndUncover(area.x(), area.y(), area.width(), area.height(), stop);
  });
  const Clock::time_point start = Clock::now();
  window.base_commands().Optimise();
  const Clock::time_point end = Clock::now();
  stop = true;
  coverer.join();
  // The exposures of the last uncovering are handled after the work too.
  const Clock::time_point drain = Clock::now() + std::chrono::milliseconds(300);
  while (Clock::now() < drain) QCoreApplication::processEvents();

  const std::vector<Clock::time_point> exposed = exposures.Times();
  std::vector<double> latencies;
  for (const Clock::time_point t : uncovered) {
    if (t < start || t > end) continue;
    const auto next = std::lower_bound(exposed.begin(), exposed.end(), t);
    if (next == exposed.end()) continue;
    latencies.push_back(Ms(*next - t));
  }
  std::sort(latencies.begin(), latencies.end());
  if (latencies.empty()) {
    std::printf("optimisation %.0f ms: no uncovering to measure\n",
                Ms(end - start));
    return 1;
  }
  std::printf(
      "optimisation %.0f ms; main window repainted %zu times after being "
      "uncovered: median %.1f ms, 90%% %.1f ms, worst %.1f ms\n",
      Ms(end - start), latencies.size(), latencies[latencies.size() / 2],
      latencies[latencies.size() * 9 / 10], latencies.back());
  return 0;
}
