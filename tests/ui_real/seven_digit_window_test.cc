// SPDX-License-Identifier: GPL-3.0-or-later
// The real window on a real X server (run under Xvfb by
// real_window_test.sh): a 1,000,000-record town with seven-digit numbers
// shows every number whole in its column. A screenshot is kept.
#include <QScreen>
#include <QtTest>

#include "ui_test_main.h"
#include "window_rig.h"

namespace spravka::testing {

class SevenDigitWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void numbersAreShownWhole() {
    const QString town = qEnvironmentVariable("SPRAVKA_REAL_TOWN_DIR");
    if (town.isEmpty()) QSKIP("SPRAVKA_REAL_TOWN_DIR names no town folder");
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    WindowRig rig;
    rig.Open(town.toStdString());
    QCOMPARE(rig.window()->session().base().store().header.NumberLength, 7);
    ResultGrid* grid = rig.Grid("homeGrid");
    QVERIFY(rig.Rows("homeGrid") > 20);
    const QFontMetrics metrics = grid->fontMetrics();
    const int room = grid->columnWidth(1) - 2;  // the cell text's inset
    for (int row = 0; row < 20; ++row) {
      const QString number = rig.Cell("homeGrid", row, 1);
      QCOMPARE(number.size(), 7);
      QVERIFY2(metrics.horizontalAdvance(number) <= room, qPrintable(number));
      QCOMPARE(FittedCellText(metrics, number, room), number);
    }
    QTest::qWait(200);  // let the X server draw it
    const QString shot = qEnvironmentVariable("SPRAVKA_SHOT");
    if (!shot.isEmpty()) {
      QVERIFY(QGuiApplication::primaryScreen()->grabWindow(0).save(shot));
    }
  }
};

SPRAVKA_UI_TEST(SevenDigitWindowTest);

}  // namespace spravka::testing

#include "seven_digit_window_test.moc"
