// SPDX-License-Identifier: GPL-3.0-or-later
// The window as the window manager frames and places it (run under Xvfb
// with openbox by real_window_test.sh, once at the display's own scale and
// once at QT_SCALE_FACTOR=2 on a 1280x1024 screen): frame and all, it lies
// within the screen's free area, so that the search line, the tabs and the
// count can be reached without resizing it first.
#include <QScreen>
#include <QtTest>

#include "support/base_builder.h"
#include "ui_test_main.h"
#include "window_rig.h"

namespace spravka::testing {

class WindowOnScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void theFramedWindowFitsTheScreen() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
      QSKIP("needs a real X server");
    if (qEnvironmentVariableIsEmpty("SPRAVKA_WINDOW_MANAGER"))
      QSKIP("needs a window manager, which frames and places the window");
    const QByteArray scale = qgetenv("QT_SCALE_FACTOR");
    const std::string dir = TempDir();
    WriteTown(dir + "/Town.qz", TownHeader("Город"), SmallTownHome(),
              SmallTownOrg());
    WindowRig rig;
    rig.Open(dir);
    MainWindow* window = rig.window();
    if (!scale.isEmpty())
      QCOMPARE(window->devicePixelRatioF(), scale.toDouble());
    // The window manager has put its frame round the window.
    QTRY_VERIFY(window->frameGeometry() != window->geometry());
    const QRect frame = window->frameGeometry();
    const QRect screen = window->screen()->availableGeometry();
    QVERIFY2(screen.contains(frame),
             qPrintable(QStringLiteral("%1,%2 %3x%4 on %5x%6")
                            .arg(frame.x())
                            .arg(frame.y())
                            .arg(frame.width())
                            .arg(frame.height())
                            .arg(screen.width())
                            .arg(screen.height())));
  }
};

SPRAVKA_UI_TEST(WindowOnScreenTest);

}  // namespace spravka::testing

#include "window_on_screen_test.moc"
