// What tells the program apart on the desktop: its icon in every size the
// icon theme asks for, the icon on the splash window, and its version in
// the information dialog.
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

  void splashShowsTheIconBesideItsPanel() {
    SplashForm splash;
    const QImage shot = splash.grab().toImage();
    const QColor face = splash.palette().color(QPalette::Button);
    // The icon's square at the left holds colours other than the face...
    int drawn = 0;
    for (int y = 4; y < 20; ++y) {
      for (int x = 4; x < 20; ++x) drawn += QColor(shot.pixel(x, y)) != face;
    }
    QVERIFY2(drawn > 100, qPrintable(QString::number(drawn)));
    // ...and the text keeps a panel of its full width to its right.
    QCOMPARE(splash.size(), QSize(24 + 218, 24));
  }

  void informationNamesTheVersionUnderTheTitle() {
    InformDialog help;
    const QString expected =
        QStringLiteral("версия ") + QLatin1String(kProgramVersion);
    const QStringList shown =
        help.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))
            ->toPlainText()
            .split(QLatin1Char('\n'));
    QCOMPARE(shown.at(kVersionLine).trimmed(), expected);
    QVERIFY(shown.at(kVersionLine - 1).contains(QStringLiteral("СПРАВОЧНИК")));
    // The description place after the version line is where it was.
    help.PlaceBaseDescription("X");
    QCOMPARE(help.lines()[kDescriptionLine], std::string("X"));
    QVERIFY(help.lines()[kDescriptionLine + 2].find(kDescriptionMarker) !=
            std::string::npos);
  }
};

SPRAVKA_UI_TEST(ProgramIdentityTest);

}  // namespace spravka::testing

#include "program_identity_test.moc"
