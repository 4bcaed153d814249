// SPDX-License-Identifier: GPL-3.0-or-later
// What arrives while the window's file work runs on the worker thread. The
// runner's event loop holds back input only: a drop, a request to close, a
// timer, a posted call and a second job all arrive while an optimisation
// reads the store (keys typed meanwhile are held back, which the real
// window's test checks). None of them may change the store or the base file
// under it; each is carried out once the work has ended, or refused.
#include <QMimeData>
#include <QUrl>
#include <QtTest>

#include "app/work_runner.h"
#include "storage/record_store.h"
#include "support/base_builder.h"
#include "support/held_file_system.h"
#include "ui_test_main.h"
#include "util/scope_exit.h"
#include "window_rig.h"

namespace spravka::testing {
namespace {

enum class Arrival {
  kDrop,
  kTownChosen,
  kClose,
  kShortcut,
  kTimer,
  kSecondJob
};

void DropFile(QWidget* window, const std::string& path) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton,
                        Qt::NoModifier);
  QApplication::sendEvent(window, &enter);
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton,
                  Qt::NoModifier);
  QApplication::sendEvent(window, &drop);
}

size_t Shown(const RecordingBoxes& boxes, const std::string& text) {
  size_t n = 0;
  for (const auto& box : boxes.shown) n += box.text == text;
  return n;
}

}  // namespace

class WorkDuringJobTest : public QObject {
  Q_OBJECT

 private slots:
  void eachArrivalWaitsForTheWorkOrIsRefused_data() {
    QTest::addColumn<int>("arrival");
    QTest::newRow("a file dropped") << int(Arrival::kDrop);
    QTest::newRow("a town chosen") << int(Arrival::kTownChosen);
    QTest::newRow("the window closed") << int(Arrival::kClose);
    QTest::newRow("a shortcut adding a record") << int(Arrival::kShortcut);
    QTest::newRow("a timer saving") << int(Arrival::kTimer);
    QTest::newRow("a second job") << int(Arrival::kSecondJob);
  }
  void eachArrivalWaitsForTheWorkOrIsRefused() {
    QFETCH(int, arrival);
    const auto what = static_cast<Arrival>(arrival);
    const std::string dir = TempDir();
    BaseHeader town = TownHeader("Город");
    town.OriginTag = "Kodrin_Uni";
    WriteTown(dir + "/Town.qz", town, SmallTownHome(), SmallTownOrg());
    // The town dropped: one record in each table.
    WriteTown(dir + "/Other.qz", TownHeader("Другой"), {SmallTownHome()[0]},
              {SmallTownOrg()[0]});
    HeldFileSystem fs;
    WindowRig rig;
    rig.fs = &fs;
    rig.settings.values["LastBase"] = "Town";
    MainWindow* window = rig.Open(dir);
    rig.EditCell("homeGrid", 0, 2, "Смит");
    rig.Pages()->setCurrentIndex(1);
    rig.EditCell("orgGrid", 1, 2, "Школа");
    rig.Pages()->setCurrentIndex(0);
    QWidget* line = rig.UniversalLine();
    line->setFocus();
    auto* menu = rig.ContextMenuOf();
    menu->popup(QPoint(0, 0));
    menu->hide();
    QAction* optimise = rig.MenuItem(QStringLiteral("Оптимизировать базу"));
    QVERIFY(optimise->isEnabled());

    // Yes to optimising; No to saving when the window is left afterwards.
    rig.boxes.answers = {true, false};
    const std::optional<BaseFileId> before =
        rig.window()->session().base().store().loaded_file;
    bool delivered = false;
    bool second_job_ran = false;
    bool second_job_refused = false;
    QTimer during;
    during.setInterval(1);
    QObject::connect(&during, &QTimer::timeout, [&] {
      if (delivered || !fs.waiting()) return;
      delivered = true;
      ScopeExit release([&] { fs.Release(); });
      switch (what) {
        case Arrival::kDrop:
          DropFile(window, dir + "/Other.qz");
          break;
        case Arrival::kTownChosen:
          rig.TownList()->setCurrentIndex(
              rig.TownList()->findText(QStringLiteral(" Other")));
          break;
        case Arrival::kClose:
          window->close();  // the close button, F10 and Alt+F4 end here
          break;
        case Arrival::kShortcut:
          // Input waits for the work to end; should the add action's key
          // still come, the shortcut changes nothing under the job.
          rig.Action("addAction")->trigger();
          break;
        case Arrival::kTimer:
          rig.Action("saveAction")->trigger();
          break;
        case Arrival::kSecondJob:
          try {
            window->file_work().Run([&] { second_job_ran = true; });
          } catch (const WorkRefused& refusal) {
            second_job_refused =
                refusal.what() == std::string(kWorkRunningText);
          }
          break;
      }
      // While the job runs nothing has changed under it.
      QCOMPARE(rig.window()->session().navigation().current_base(),
               std::string("Town"));
      QVERIFY(window->isVisible());
      QVERIFY(rig.window()->session().base().store().loaded_file == before);
      QCOMPARE(rig.window()->session().base().store().HomeData.CountRecords(),
               size_t{5});
    });
    during.start();
    fs.HoldNextWrite();
    optimise->trigger();
    during.stop();
    QVERIFY(delivered);
    QVERIFY(!QTest::currentTestFailed());

    // The optimisation wrote the town's own records, once.
    QCOMPARE(Shown(rig.boxes,
                   "База Оптимизирована.\r\n5 квартирных телефонов "
                   "и\r\n2 телефонов организаций."),
             size_t{1});
    RecordStore written;
    QVERIFY(LoadBase(dir + "/Town.qz", &written).ok());
    QCOMPARE(written.HomeData.CountRecords(), size_t{5});
    QCOMPARE(written.OrgData.CountRecords(), size_t{2});
    QVERIFY(written.loaded_file != before);

    // Then what was held is carried out.
    QCoreApplication::processEvents();
    switch (what) {
      case Arrival::kDrop:
      case Arrival::kTownChosen:
        QTRY_COMPARE(rig.window()->session().navigation().current_base(),
                     std::string("Other"));
        QCOMPARE(rig.boxes.shown.back().text,
                 std::string("Сохранить изменения базы?"));
        break;
      case Arrival::kClose:
        QTRY_VERIFY(!window->isVisible());
        QCOMPARE(rig.boxes.shown.back().text,
                 std::string("Сохранить изменения базы?"));
        QCOMPARE(rig.closed_calls, 1);
        break;
      case Arrival::kShortcut:
        QCOMPARE(rig.window()->session().base().store().HomeData.CountRecords(),
                 size_t{5});
        break;
      case Arrival::kTimer:
        QCOMPARE(Shown(rig.boxes, kWorkRunningText), size_t{1});
        QCOMPARE(rig.boxes.shown.size(), size_t{3});
        break;
      case Arrival::kSecondJob:
        QVERIFY(second_job_refused);
        QVERIFY(!second_job_ran);
        break;
    }
    if (what != Arrival::kDrop && what != Arrival::kTownChosen &&
        what != Arrival::kClose) {
      QCOMPARE(rig.window()->session().navigation().current_base(),
               std::string("Town"));
      QVERIFY(window->isVisible());
    }
    rig.Close();
  }

  // Closed while a restore writes: the window goes once the restore and the
  // reload behind it are done, and the program ends, however the reload's
  // splash window showed after the close was asked for.
  void aCloseDuringARestoreEndsTheProgramAfterIt() {
    const std::string dir = TempDir();
    BaseHeader town = TownHeader("Город");
    town.OriginTag = "Kodrin_Uni";
    WriteTown(dir + "/Town.qz", town, SmallTownHome(), SmallTownOrg());
    const std::string clean = ReadBytes(dir + "/Town.qz");
    HeldFileSystem fs;
    WindowRig rig;
    rig.fs = &fs;
    MainWindow* window = rig.Open(dir);
    rig.EditCell("homeGrid", 0, 2, "Смит");
    auto* menu = rig.ContextMenuOf();
    menu->popup(QPoint(0, 0));
    menu->hide();
    QVERIFY(rig.Trigger("saveMenuItem"));
    menu->popup(QPoint(0, 0));
    menu->hide();
    QAction* restore = rig.MenuItem(QStringLiteral("Восстановить исходное"));
    QVERIFY(restore->isEnabled());

    bool asked = false;
    QTimer during;
    during.setInterval(1);
    QObject::connect(&during, &QTimer::timeout, [&] {
      if (asked || !fs.waiting()) return;
      asked = true;
      window->close();
      QVERIFY(window->isVisible());
      fs.Release();
    });
    during.start();
    fs.HoldNextWrite();
    rig.boxes.answers = {true};
    restore->trigger();
    during.stop();
    QVERIFY(asked);
    QTRY_VERIFY(!window->isVisible());
    QCOMPARE(rig.closed_calls, 1);
    QCOMPARE(ReadBytes(dir + "/Town.qz"), clean);
    // The restore gave the unsaved changes up: no question on the way out.
    QCOMPARE(rig.boxes.shown.size(), size_t{1});
    QCOMPARE(rig.boxes.unexpected_questions, 0);
  }
};

SPRAVKA_UI_TEST(WorkDuringJobTest);

}  // namespace spravka::testing

#include "work_during_job_test.moc"
