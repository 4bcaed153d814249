// SPDX-License-Identifier: GPL-3.0-or-later
// What tells the program apart on the desktop: its icon in every size the
// icon theme asks for and in the sizes its windows carry, the icon of the
// splash window, and its version and licence in the information dialog.
#include <QPlainTextEdit>
#include <QtTest>
#include <algorithm>

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
  // Every size of the icon theme is compiled in; the windows carry those
  // up to 64 pixels.
  void iconHasTheThemeSizes() {
    QList<int> sizes;
    for (const auto& [size, file] : ProgramIconFiles()) {
      sizes << size;
      const QImage image(file);
      QCOMPARE(image.size(), QSize(size, size));
      // Drawn, not blank: the corner is clear, the middle is not.
      QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
      QVERIFY(qAlpha(image.pixel(size / 2, size / 2)) > 200);
    }
    std::sort(sizes.begin(), sizes.end());
    QCOMPARE(sizes, (QList<int>{16, 22, 24, 32, 48, 64, 128, 256}));
    const QIcon icon = ProgramIcon();
    QList<QSize> window_sizes = icon.availableSizes();
    std::sort(window_sizes.begin(), window_sizes.end(),
              [](QSize a, QSize b) { return a.width() < b.width(); });
    QCOMPARE(window_sizes,
             (QList<QSize>{
                 {16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}}));
    const QImage largest = icon.pixmap(64, 64).toImage();
    QVERIFY(qAlpha(largest.pixel(32, 32)) > 200);
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
