// SPDX-License-Identifier: GPL-3.0-or-later
// What tells the program apart on the desktop: its icon in every size the
// icon theme asks for, the icon of the splash window, and its version and
// licence in the information dialog.
#include <QPlainTextEdit>
#include <QtTest>

#include "app/inform_text.h"
#include "app/version.h"
#include "platform/program_icon.h"
#include "ui/inform_dialog.h"
#include "ui/splash.h"
#include "ui_test_main.h"

namespace spravka::testing {

class ProgramIdentityTest : public QObject {
  Q_OBJECT

 private slots:
  void iconHasTheThemeSizes() {
    const QIcon icon = ProgramIcon();
    QVERIFY(!icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
      QVERIFY2(sizes.contains(QSize(size, size)),
               qPrintable(QString::number(size)));
      const QImage image = icon.pixmap(size, size).toImage();
      QCOMPARE(image.size(), QSize(size, size));
      // Drawn, not blank: the corner is clear, the middle is not.
      QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
      QVERIFY(qAlpha(image.pixel(size / 2, size / 2)) > 200);
    }
    QCOMPARE(DesktopFileName(), QStringLiteral("spravka"));
  }

  // The splash window keeps the size and the one text its panel is laid
  // out for; it carries the program's icon as every window of it does.
  void splashCarriesTheIcon() {
    const QIcon icon = ProgramIcon();
    QApplication::setWindowIcon(icon);
    SplashForm splash;
    QCOMPARE(splash.windowIcon().cacheKey(), icon.cacheKey());
    QCOMPARE(splash.size(), QSize(218, 24));
    QApplication::setWindowIcon(QIcon());
  }

  void informationNamesTheVersionAndLicenceUnderTheTitle() {
    InformDialog help;
    help.ShowInformation();
    const QString expected =
        QStringLiteral("версия ") + QLatin1String(kProgramVersion);
    const QStringList shown =
        help.findChild<QPlainTextEdit*>(QStringLiteral("informationText"))
            ->toPlainText()
            .split(QLatin1Char('\n'));
    QCOMPARE(shown.at(kVersionLine).trimmed(), expected);
    QVERIFY(shown.at(kVersionLine - 1).contains(QStringLiteral("СПРАВОЧНИК")));
    QCOMPARE(shown.at(kLicenceLine).trimmed(),
             QStringLiteral("лицензия GNU GPL версии 3 или новее"));
    // The description place after the version line is where it was.
    help.PlaceBaseDescription("X");
    QCOMPARE(help.lines()[kDescriptionLine], std::string("X"));
    QVERIFY(help.lines()[kDescriptionLine + 2].find(kDescriptionMarker) !=
            std::string::npos);
    help.hide();
  }
};

SPRAVKA_UI_TEST(ProgramIdentityTest);

}  // namespace spravka::testing

#include "program_identity_test.moc"
