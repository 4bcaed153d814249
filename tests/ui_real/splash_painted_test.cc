// SPDX-License-Identifier: GPL-3.0-or-later
// The splash window on a real X server with a window manager (run under
// Xvfb with openbox by real_window_test.sh) while a switch and an
// optimisation work on a town of a million records: the work runs off the
// window's thread, so the splash is painted with each of its texts rather
// than left a black box. What the screen showed is kept as screenshots.
#include <QComboBox>
#include <QMenu>
#include <QScreen>
#include <QtTest>
#include <filesystem>
#include <map>

#include "support/base_builder.h"
#include "ui/splash.h"
#include "ui_test_main.h"
#include "window_rig.h"

namespace spravka::testing {
namespace {

// Whether the screen shows the splash's face where the splash stands:
// mostly its button colour, with text in navy.
bool PaintedOnScreen(const SplashForm* splash, QImage* shot) {
  const QRect area = splash->frameGeometry();
  *shot = QGuiApplication::primaryScreen()
              ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
              .toImage()
              .convertToFormat(QImage::Format_RGB32);
  const QRgb face =
      splash->palette().color(QPalette::Button).rgb() | 0xFF000000;
  int face_pixels = 0;
  int navy_pixels = 0;
  for (int y = 0; y < shot->height(); ++y) {
    for (int x = 0; x < shot->width(); ++x) {
      const QRgb p = shot->pixel(x, y);
      if (p == face) ++face_pixels;
      if (qBlue(p) >= 100 && qRed(p) < 60 && qGreen(p) < 60) ++navy_pixels;
    }
  }
  return face_pixels * 2 > shot->width() * shot->height() && navy_pixels > 20;
}

// Looks at the screen every few milliseconds while the work runs and
// keeps, for every splash text, whether it was seen painted.
class SplashWatch {
 public:
  SplashWatch() {
    timer_.setInterval(15);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Look(); });
    timer_.start();
  }
  std::map<QString, bool> seen;  // text -> seen painted

 private:
  void Look() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* splash = qobject_cast<SplashForm*>(w);
      if (splash == nullptr || !splash->isVisible()) continue;
      bool& painted = seen[splash->text()];
      QImage shot;
      if (painted || !PaintedOnScreen(splash, &shot)) continue;
      painted = true;
      const QString folder = qEnvironmentVariable("SPRAVKA_SPLASH_SHOTS");
      if (!folder.isEmpty()) {
        static int shots = 0;
        const QString n = QString::number(++shots);
        shot.save(folder + "/splash-" + n + ".png");
        QGuiApplication::primaryScreen()->grabWindow(0).save(
            folder + "/screen-" + n + ".png");
      }
    }
  }
  QTimer timer_;
};

const QString kLoading = QStringLiteral("Загрузка справочника...");
const QString kRebuilding = QStringLiteral("Перестройка справочника.");
const QString kIndexing = QStringLiteral("Индексация справочника.");

}  // namespace

class SplashPaintedTest : public QObject {
  Q_OBJECT

 private slots:
  void theSplashShowsItsTextDuringASwitchAndAnOptimisation() {
    const QString town = qEnvironmentVariable("SPRAVKA_REAL_TOWN_DIR");
    if (town.isEmpty()) QSKIP("SPRAVKA_REAL_TOWN_DIR names no town folder");
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
      QSKIP("needs a real X server");
    if (qEnvironmentVariableIsEmpty("SPRAVKA_WINDOW_MANAGER"))
      QSKIP("needs a window manager, which maps the splash");
    // Two towns of a million records each.
    namespace fs = std::filesystem;
    const fs::path big = fs::path(town.toStdString()) / "Миллионград.qz";
    const std::string dir = TempDir();
    fs::copy_file(big, fs::path(dir) / "Альфа.qz");
    fs::copy_file(big, fs::path(dir) / "Бета.qz");
    WindowRig rig;
    rig.Open(dir);
    QCOMPARE(rig.window()->session().navigation().current_base().value_or(""),
             std::string("Альфа"));

    {
      SplashWatch watch;
      QComboBox* towns = rig.TownList();
      towns->setFocus();
      towns->setCurrentIndex(towns->findText(QStringLiteral(" Бета")));
      QCOMPARE(rig.window()->session().navigation().current_base().value_or(""),
               std::string("Бета"));
      QVERIFY2(watch.seen[kLoading], "switch: the loading text");
    }

    rig.EditCell("homeGrid", 0, 2, QStringLiteral("Первая правка"));
    rig.EditCell("homeGrid", 1, 2, QStringLiteral("Вторая правка"));
    QMenu* menu = rig.ContextMenuOf();
    menu->popup(QPoint(0, 0));
    QAction* optimise = rig.MenuItem(QStringLiteral("Оптимизировать базу"));
    menu->hide();
    QVERIFY(optimise->isEnabled());
    rig.boxes.answers = {true};
    {
      SplashWatch watch;
      optimise->trigger();
      QVERIFY2(rig.boxes.shown.back().text.rfind("База Оптимизирована", 0) == 0,
               rig.boxes.shown.back().text.c_str());
      QVERIFY2(watch.seen[kRebuilding], "optimisation: the rebuilding text");
      QVERIFY2(watch.seen[kIndexing], "optimisation: the indexing text");
      QVERIFY2(watch.seen[kLoading], "optimisation: the loading text");
    }
    QVERIFY(rig.window()->session().base().store().HomeChanges.empty());
    rig.boxes.answers = {false};  // the unsaved state stays after optimising
  }
};

SPRAVKA_UI_TEST(SplashPaintedTest);

}  // namespace spravka::testing

#include "splash_painted_test.moc"
