// SPDX-License-Identifier: GPL-3.0-or-later
// The splash window and the dialogs on a real X server with a window
// manager (run under Xvfb with openbox by real_window_test.sh): the splash
// stays on top of the program's other windows, so it must give way to a
// dialog, or a click meant for the dialog lands on the splash.
#include <QCheckBox>
#include <QGroupBox>
#include <QScreen>
#include <QStyleOptionButton>
#include <QtTest>

#include "support/base_builder.h"
#include "ui/splash.h"
#include "ui_test_main.h"
#include "window_rig.h"

namespace spravka::testing {
namespace {

// The residential field box of the new-base dialog with this caption.
QCheckBox* ResidentialFieldBox(QWidget* dialog, const QString& caption) {
  for (QGroupBox* group : dialog->findChildren<QGroupBox*>()) {
    if (group->title() != QStringLiteral("Поля для квартирных телефонов"))
      continue;
    for (QCheckBox* box : group->findChildren<QCheckBox*>()) {
      if (box->text() == caption) return box;
    }
  }
  return nullptr;
}

// The middle of the part of a check box that a click toggles, on screen.
QPoint ClickPoint(QCheckBox* box) {
  QStyleOptionButton option;
  option.initFrom(box);
  option.text = box->text();
  const QRect area =
      box->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, box);
  return box->mapToGlobal(area.center());
}

// A click where the user clicks: on whatever window the X server shows
// on top at that point.
void ClickOnScreen(QPoint global) {
  QWidget* top = QApplication::widgetAt(global);
  if (top == nullptr) qFatal("no window at the point");
  QTest::mouseClick(top, Qt::LeftButton, {}, top->mapFromGlobal(global));
}

}  // namespace

class SplashOverDialogTest : public QObject {
  Q_OBJECT

 private slots:
  // The first start in an empty folder: the splash is up when the new-base
  // dialog comes, and the user takes the street off the residential fields.
  void aClickOnTheNewBaseDialogReachesIt() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
      QSKIP("needs a real X server");
    if (qEnvironmentVariableIsEmpty("SPRAVKA_WINDOW_MANAGER"))
      QSKIP("needs a window manager, which keeps the splash on top");
    const std::string dir = TempDir();
    auto* splash = new SplashForm;  // as the program starts
    splash->ShowNow();

    WindowRig rig;
    bool clicked = false;
    bool splash_hidden = false;
    QTimer act;
    act.setInterval(300);  // the window manager has placed the dialog
    QObject::connect(&act, &QTimer::timeout, [&] {
      QDialog* dialog = rig.new_base.get();
      if (!dialog->isVisible() || clicked) return;
      QCheckBox* street = ResidentialFieldBox(dialog, QStringLiteral("Улица"));
      if (street == nullptr) qFatal("no street box");
      splash_hidden = !splash->isVisible();
      const QString shot = qEnvironmentVariable("SPRAVKA_DIALOG_SHOT");
      if (!shot.isEmpty())
        QGuiApplication::primaryScreen()->grabWindow(0).save(shot);
      ClickOnScreen(ClickPoint(street));
      clicked = true;
      QTest::keyClick(dialog, Qt::Key_Return);  // "Создать базу"
    });
    act.start();
    rig.Open(dir);
    act.stop();
    QVERIFY(clicked);
    const bool splash_back = splash->isVisible();  // while the base loaded
    delete splash;

    QVERIFY(rig.window()->session().base().loaded());
    const BaseHeader& header = rig.window()->session().base().store().header;
    QCOMPARE(header.HomeFieldCount, 6);
    QCOMPARE(header.HomeFields & (1u << 2), 0u);  // the street is off
    QVERIFY(splash_hidden);
    QVERIFY(splash_back);
  }
};

SPRAVKA_UI_TEST(SplashOverDialogTest);

}  // namespace spravka::testing

#include "splash_over_dialog_test.moc"
