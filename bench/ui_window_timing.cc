// SPDX-License-Identifier: GPL-3.0-or-later
// How much the window adds to the core: start-up to a filled window against
// loading the base alone, and a keystroke to the repainted grid against the
// core search of the same query.
// Usage: ui_window_timing FOLDER BASE_FILE_NAME
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "bench_window.h"
#include "platform/text_codec.h"
#include "quiet_search_view.h"
#include "search/search_engine.h"
#include "storage/record_store.h"
#include "ui/main_window.h"
#include "ui/search_controls.h"
#include "ui/splash.h"

namespace spravka {
namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The texts the splash window paints, and when each first showed.
class SplashWatch : public QObject {
 public:
  SplashWatch() { qApp->installEventFilter(this); }
  std::vector<std::pair<QString, Clock::time_point>> painted;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    auto* splash = qobject_cast<SplashForm*>(watched);
    if (splash != nullptr && e->type() == QEvent::Paint &&
        (painted.empty() || painted.back().first != splash->text())) {
      painted.emplace_back(splash->text(), Clock::now());
    }
    return false;
  }
};

// Waits for the next paint of a widget and says when it began.
class PaintWatch : public QObject {
 public:
  explicit PaintWatch(QWidget* w) : widget_(w) { w->installEventFilter(this); }
  void Arm() { painted_ = false; }
  Clock::time_point Wait() {
    while (!painted_)
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return at_;
  }

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint && !painted_ && widget_->isVisible()) {
      painted_ = true;
      at_ = Clock::now();
    }
    return false;
  }

 private:
  QWidget* widget_;
  bool painted_ = true;
  Clock::time_point at_;
};

void Type(QLineEdit* edit, QChar c) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key(c.toUpper().unicode()),
                  Qt::NoModifier, QString(c));
  QApplication::sendEvent(edit, &press);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key(c.toUpper().unicode()),
                    Qt::NoModifier, QString(c));
  QApplication::sendEvent(edit, &release);
}

}  // namespace
}  // namespace spravka

int main(int argc, char** argv) {
  using namespace spravka;
  const Clock::time_point process_start = Clock::now();
  if (argc != 3) {
    std::fprintf(stderr, "usage: ui_window_timing FOLDER BASE_FILE_NAME\n");
    return 2;
  }
  QApplication app(argc, argv);
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const QString base = QString::fromLocal8Bit(argv[2]);

  // The program's own start sequence, up to the first paint of the grid.
  auto* splash = new SplashForm;
  splash->ShowNow();
  BenchWindowParts parts;
  MainWindow window(parts.Ports());
  ResultGrid* grid = window.findChild<ResultGrid*>("homeGrid");
  PaintWatch painted(grid->viewport());
  painted.Arm();
  const Clock::time_point window_made = Clock::now();
  window.Start(folder, QStringLiteral("spravka"), {base});
  const Clock::time_point base_loaded = Clock::now();
  delete splash;
  window.show();
  window.search_controls().FocusRule();
  const Clock::time_point first_paint = painted.Wait();
  const double start_up = Ms(first_paint - process_start);

  // The core's load of the same base, for comparison.
  std::vector<double> loads;
  for (int i = 0; i < 3; ++i) {
    RecordStore store;
    Clock::time_point t = Clock::now();
    if (!LoadBase((folder + "/" + base).toStdString(), &store).ok()) {
      std::abort();
    }
    loads.push_back(Ms(Clock::now() - t));
  }

  QLineEdit* full = window.findChild<QLineEdit*>("universalEdit");
  SearchEngine& engine = window.engine();
  QuietSearchView bare;
  SearchEngine core(&window.session().base().store(), &bare);
  core.SetUniversalMode(true);
  core.SetSettings(engine.settings());  // as the window compares

  // A keystroke: `prefix` stands in the line, then `key` is typed.
  auto keystroke = [&](const QString& prefix, QChar key, bool keep_cache) {
    {
      SearchMute mute(&engine);
      full->setText(prefix);
    }
    engine.ClearAllCaches();
    if (keep_cache) engine.Run(TableId::kHome);  // the search the prefix made
    QCoreApplication::processEvents();
    painted.Arm();
    Clock::time_point t = Clock::now();
    Type(full, key);
    return Ms(painted.Wait() - t);
  };
  auto core_search = [&](const QString& prefix, QChar key, bool keep_cache) {
    core.ClearAllCaches();
    if (keep_cache) {
      bare.full = ToCp1251(prefix);
      core.Run(TableId::kHome);
    }
    bare.full = ToCp1251(prefix + key);
    Clock::time_point t = Clock::now();
    core.Run(TableId::kHome);
    return Ms(Clock::now() - t);
  };

  struct Query {
    const char* name;
    QString prefix;
    QChar key;
    bool keep_cache;
  };
  const Query queries[] = {
      {"full scan (\"абрамов ленина\", no cache)",
       QStringLiteral("абрамов ленин"), QChar(u'а'), false},
      {"refined (\"абрамов ленина 1\" from the cache)",
       QStringLiteral("абрамов ленина "), QChar(u'1'), true},
      {"first letter (\"к\", capped at 1000)", QString(), QChar(u'к'), false},
  };
  std::printf("start-up to filled window: %8.1f ms\n", start_up);
  std::printf(
      "  of which Qt and the windows %.1f ms, Start (load, searches) "
      "%.1f ms, showing to the first paint %.1f ms\n",
      Ms(window_made - process_start), Ms(base_loaded - window_made),
      Ms(first_paint - base_loaded));
  std::printf("core load of the base:     %8.1f ms (median of 3)\n",
              Median(loads));
  for (const Query& q : queries) {
    std::vector<double> window_ms, core_ms;
    for (int i = 0; i < 7; ++i) {
      window_ms.push_back(keystroke(q.prefix, q.key, q.keep_cache));
      core_ms.push_back(core_search(q.prefix, q.key, q.keep_cache));
    }
    const size_t shown = engine.result_count(TableId::kHome);
    const double w = Median(window_ms);
    const double c = Median(core_ms);
    std::printf(
        "keystroke %-48s window %6.1f ms, core %6.1f ms, ratio %.2f, extra "
        "%.1f ms (%zu rows)\n",
        q.name, w, c, w / std::max(c, 0.001), w - c, shown);
  }

  // A keystroke in a cell of the first record: the record is rewritten,
  // the tens of megabytes behind it move, and the grid repaints.
  {
    SearchMute mute(&engine);
    full->clear();
  }
  engine.Run(TableId::kHome);
  QCoreApplication::processEvents();
  QApplication::setActiveWindow(&window);  // no window manager here
  grid->setFocus();
  grid->setCurrentIndex(grid->model()->index(0, 2));
  QCoreApplication::processEvents();
  std::vector<double> cell_ms;
  for (int i = 0; i < 9; ++i) {
    painted.Arm();
    const Clock::time_point t = Clock::now();
    const bool erase = i % 2 == 1;
    QKeyEvent press(QEvent::KeyPress, erase ? Qt::Key_Backspace : Qt::Key_A,
                    Qt::NoModifier, erase ? QString() : QStringLiteral("а"));
    QWidget* focus = QApplication::focusWidget();
    QApplication::sendEvent(focus != nullptr ? focus : grid, &press);
    cell_ms.push_back(Ms(painted.Wait() - t));
  }
  std::printf(
      "keystroke in a cell of the first record: %6.1f ms to the "
      "painted grid (median of 9)\n",
      Median(cell_ms));

  // Optimisation of the whole town, its splash texts painted on the way.
  SplashWatch splash_watch;
  const Clock::time_point optimise_start = Clock::now();
  window.base_commands().Optimise();
  const double optimise_ms = Ms(Clock::now() - optimise_start);
  std::printf("optimisation with reload and search: %8.1f ms; splash texts:",
              optimise_ms);
  for (const auto& [text, at] : splash_watch.painted) {
    std::printf(" \"%s\" at %.0f ms;", text.toUtf8().constData(),
                Ms(at - optimise_start));
  }
  std::printf("\n");
  return 0;
}
