// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop delivers while an optimisation works, on a real X server
// with a window manager (run under Xvfb with openbox by
// real_window_test.sh): a file dragged from another program, the window
// manager's close (Alt+F4, as its close button), and keys typed (F10, a
// letter), sent by xdotool. The optimisation is held on its write until
// they have been sent; the base it writes is the town's own, each arrival
// is carried out once the work has ended, and typed keys reach the window
// before the work's closing message would take them.
#include <QProcess>
#include <QtTest>

#include "storage/record_store.h"
#include "support/base_builder.h"
#include "support/held_file_system.h"
#include "ui_test_main.h"
#include "util/scope_exit.h"
#include "window_rig.h"

namespace spravka::testing {
namespace {

enum class Arrival { kDrop, kWindowManagerClose, kF10, kLetter };

// Whether `type` reached `watched` while the filter lived.
class Arrivals : public QObject {
 public:
  Arrivals(QObject* watched, QEvent::Type type) : type_(type) {
    watched->installEventFilter(this);
  }
  bool seen = false;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == type_) seen = true;
    return false;
  }

 private:
  QEvent::Type type_;
};

}  // namespace

class WorkDuringJobRealTest : public QObject {
  Q_OBJECT

 private slots:
  void whatTheDesktopSendsWaitsForTheWork_data() {
    QTest::addColumn<int>("arrival");
    QTest::newRow("a file dragged onto the window") << int(Arrival::kDrop);
    QTest::newRow("Alt+F4") << int(Arrival::kWindowManagerClose);
    QTest::newRow("F10") << int(Arrival::kF10);
    QTest::newRow("a letter typed") << int(Arrival::kLetter);
  }
  void whatTheDesktopSendsWaitsForTheWork() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
      QSKIP("needs a real X server");
    if (qEnvironmentVariableIsEmpty("SPRAVKA_WINDOW_MANAGER"))
      QSKIP("needs a window manager, which closes windows on Alt+F4");
    const QString drag_source = qEnvironmentVariable("SPRAVKA_DRAG_SOURCE");
    if (drag_source.isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
      QSKIP("needs xdotool and the drag source");
    QFETCH(int, arrival);
    const auto what = static_cast<Arrival>(arrival);

    const std::string dir = TempDir();
    BaseHeader town = TownHeader("Город");
    WriteTown(dir + "/Town.qz", town, SmallTownHome(), SmallTownOrg());
    WriteTown(dir + "/Other.qz", TownHeader("Другой"), {SmallTownHome()[0]},
              {SmallTownOrg()[0]});
    QProcess source;
    if (what == Arrival::kDrop) {
      source.start(drag_source, {QString::fromStdString(dir + "/Other.qz")});
      QVERIFY(source.waitForStarted());
    }
    ScopeExit end_source([&] {
      source.kill();
      source.waitForFinished();
    });
    HeldFileSystem fs;
    WindowRig rig;
    rig.fs = &fs;
    rig.settings.values["LastBase"] = "Town";
    MainWindow* window = rig.Open(dir);
    window->move(300, 200);  // clear of the drag source in the corner
    QTest::qWait(500);       // placed, and the drag source mapped
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    rig.EditCell("homeGrid", 0, 2, "Смит");
    rig.Pages()->setCurrentIndex(1);
    rig.EditCell("orgGrid", 1, 2, "Школа");
    rig.Pages()->setCurrentIndex(0);
    rig.UniversalLine()->setFocus();
    auto* menu = rig.ContextMenuOf();
    menu->popup(QPoint(0, 0));
    menu->hide();
    QAction* optimise = rig.MenuItem(QStringLiteral("Оптимизировать базу"));
    QVERIFY(optimise->isEnabled());

    const QPoint target = window->mapToGlobal(window->rect().center());
    QStringList xdotool;
    switch (what) {
      case Arrival::kDrop:
        xdotool << "mousemove"
                << "100"
                << "50"
                << "mousedown"
                << "1";
        for (int step = 1; step <= 8; ++step) {
          xdotool << "mousemove"
                  << QString::number(100 + (target.x() - 100) * step / 8)
                  << QString::number(50 + (target.y() - 50) * step / 8)
                  << "sleep"
                  << "0.05";
        }
        xdotool << "mouseup"
                << "1";
        break;
      case Arrival::kWindowManagerClose:
        xdotool << "key"
                << "alt+F4";
        break;
      case Arrival::kF10:
        xdotool << "key"
                << "F10";
        break;
      case Arrival::kLetter:
        xdotool << "type"
                << "a";
        break;
    }
    Arrivals drops(window, QEvent::Drop);
    Arrivals closes(window, QEvent::Close);
    QProcess sender;
    bool sent = false;
    QElapsedTimer since_sent;
    QTimer during;
    during.setInterval(20);
    QObject::connect(&during, &QTimer::timeout, [&] {
      if (!fs.waiting()) return;
      if (!sent) {
        sent = true;
        sender.start(QStringLiteral("xdotool"), xdotool);
        return;
      }
      if (sender.state() != QProcess::NotRunning) return;
      if (!since_sent.isValid()) since_sent.start();
      // What the window system delivers during the work has come; input
      // waits in its queue.
      const bool arrived = what == Arrival::kDrop ? drops.seen
                           : what == Arrival::kWindowManagerClose
                               ? closes.seen
                               : since_sent.elapsed() > 300;
      if (!arrived && since_sent.elapsed() < 5000) return;
      // Nothing has changed under the job.
      QCOMPARE(rig.window()->session().navigation().current_base(),
               std::string("Town"));
      QVERIFY(window->isVisible());
      QCOMPARE(rig.UniversalLine()->text(), QString());
      fs.Release();
    });
    during.start();
    // Input that waited reaches the window before the work goes on: a
    // message box shown next would take it.
    bool input_before_message = false;
    rig.boxes.on_show = [&] {
      if (rig.boxes.shown.size() == 2) {
        input_before_message = what == Arrival::kF10 ? closes.seen
                               : what == Arrival::kLetter
                                   ? rig.UniversalLine()->text() == "a"
                                   : true;
      }
    };
    fs.HoldNextWrite();
    // Yes to optimising; No to saving when the window is left afterwards.
    rig.boxes.answers = {true, false};
    optimise->trigger();
    during.stop();
    QVERIFY(sent);
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(input_before_message);
    if (what == Arrival::kDrop) QVERIFY2(drops.seen, "the drop came");
    if (what == Arrival::kWindowManagerClose)
      QVERIFY2(closes.seen, "the close came");

    QCOMPARE(rig.boxes.shown[1].text,
             std::string("База Оптимизирована.\r\n5 квартирных телефонов и"
                         "\r\n2 телефонов организаций."));
    RecordStore written;
    QVERIFY(LoadBase(dir + "/Town.qz", &written).ok());
    QCOMPARE(written.HomeData.CountRecords(), size_t{5});
    QCOMPARE(written.OrgData.CountRecords(), size_t{2});
    switch (what) {
      case Arrival::kDrop:
        QTRY_COMPARE(rig.window()->session().navigation().current_base(),
                     std::string("Other"));
        QCOMPARE(rig.boxes.shown.back().text,
                 std::string("Сохранить изменения базы?"));
        break;
      case Arrival::kWindowManagerClose:
      case Arrival::kF10:
        QTRY_VERIFY(!window->isVisible());
        QCOMPARE(rig.boxes.shown.back().text,
                 std::string("Сохранить изменения базы?"));
        QCOMPARE(rig.closed_calls, 1);
        break;
      case Arrival::kLetter:
        QTRY_COMPARE(rig.UniversalLine()->text(), QStringLiteral("a"));
        QVERIFY(window->isVisible());
        break;
    }
    rig.Close();
  }
};

SPRAVKA_UI_TEST(WorkDuringJobRealTest);

}  // namespace spravka::testing

#include "work_during_job_real_test.moc"
