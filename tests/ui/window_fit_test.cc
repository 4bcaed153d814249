// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a user sees it on the platform's fonts and styles: numbers
// shown whole, text that does not fit marked as cut (in the grid and in the
// town list), the hover colour of the count label, the size of the open
// town list, a first size that fits the screen, and Qt's own texts in
// Russian.
#include <QAbstractItemView>
#include <QMenu>
#include <QProxyStyle>
#include <QScreen>
#include <QScrollBar>
#include <QStyleFactory>
#include <QtTest>
#include <algorithm>

#include "support/base_builder.h"
#include "ui/search_panel.h"
#include "ui/town_box.h"
#include "ui_test_main.h"
#include "window_rig.h"

namespace spravka::testing {
namespace {

constexpr char kSevenDigits[] = "7123001";

// A town with seven-digit numbers and the number column of a new base.
BaseHeader WriteSevenDigitTown(const std::string& path) {
  BaseHeader h = TownHeader("Город");
  h.NumberLength = 7;
  h.HomeColWidths[0] = 44;
  std::vector<std::vector<std::string>> home = SmallTownHome();
  home[0][0] = kSevenDigits;
  WriteTown(path, h, home, SmallTownOrg());
  return h;
}

// Sets the application font for the life of the object.
class FontForTest {
 public:
  explicit FontForTest(int point_size) : saved_(QApplication::font()) {
    QFont font = saved_;
    font.setPointSize(point_size);
    QApplication::setFont(font);
  }
  ~FontForTest() { QApplication::setFont(saved_); }

 private:
  QFont saved_;
};

// A style that notes the text a combo box asks it to draw, and the room the
// text has: the edit field less the pixel the styles keep on either side.
class LabelRecorder : public QProxyStyle {
 public:
  explicit LabelRecorder(const QString& base)
      : QProxyStyle(QStyleFactory::create(base)) {}
  void drawControl(ControlElement element, const QStyleOption* option,
                   QPainter* painter, const QWidget* widget) const override {
    if (element == CE_ComboBoxLabel) {
      const auto* box = qstyleoption_cast<const QStyleOptionComboBox*>(option);
      label = box->currentText;
      room = subControlRect(CC_ComboBox, box, SC_ComboBoxEditField, widget)
                 .width() -
             2;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
  }
  mutable QString label;
  mutable int room = 0;
};

int BluePixels(const QImage& image) {
  int blue = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.blue() > 150 && c.red() < 100 && c.green() < 100) ++blue;
    }
  }
  return blue;
}

}  // namespace

class WindowFitTest : public QObject {
  Q_OBJECT

 private slots:
  void sevenDigitNumbersAreShownWhole_data() {
    QTest::addColumn<int>("point_size");
    QTest::newRow("the window's own 8 points") << 8;
    QTest::newRow("a wide 14-point font") << 14;
    QTest::newRow("a wide 20-point font") << 20;
  }
  void sevenDigitNumbersAreShownWhole() {
    QFETCH(int, point_size);
    FontForTest font(point_size);
    const std::string dir = TempDir();
    const BaseHeader h = WriteSevenDigitTown(dir + "/Town.qz");
    WindowRig rig;
    rig.Open(dir);

    ResultGrid* grid = rig.Grid("homeGrid");
    QFontMetricsF metrics(grid->font());
    double widest = 0;
    for (char d = '0'; d <= '9'; ++d)
      widest = std::max(widest, metrics.horizontalAdvance(QLatin1Char(d)));
    const HeaderGeometry& g = rig.window()->header_geometry();
    QCOMPARE(g.factor(), std::max(1.0, widest / 6.0));
    if (point_size > 8) QVERIFY(g.factor() > 1.2);

    QCOMPARE(rig.Cell("homeGrid", 0, 1), QString::fromLatin1(kSevenDigits));
    const int text_room = grid->columnWidth(1) - 2;  // the cell's inset
    QCOMPARE(FittedCellText(grid->fontMetrics(), kSevenDigits, text_room),
             QString::fromLatin1(kSevenDigits));
    // The search places grow with the columns; stored widths do not.
    QCOMPARE(rig.Edit("homeNameEdit")->x(),
             g.ToScreen(h.HomeEditPlaces[1].edit_left));
    QCOMPARE(grid->HeaderWidth(1), 44);
  }

  void textThatDoesNotFitIsCutAtTheEndWithAMark() {
    QFontMetrics metrics(QApplication::font());
    const QString number = QString::fromLatin1(kSevenDigits);
    const int room = metrics.horizontalAdvance(number) - 1;
    const QString shown = FittedCellText(metrics, number, room);
    QVERIFY(shown.endsWith(QChar(0x2026)));  // "…"
    QVERIFY(number.startsWith(shown.chopped(1)));
    QVERIFY(shown.size() < number.size());
    QCOMPARE(FittedCellText(metrics, number, room + 1), number);
  }

  void hoveringTheCountLabelsTurnsTheCountBlue_data() {
    QTest::addColumn<QString>("label");
    QTest::newRow("countLabel") << "countLabel";
    QTest::newRow("countCaption") << "countCaption";
  }
  void hoveringTheCountLabelsTurnsTheCountBlue() {
    QFETCH(QString, label);
    const std::string dir = TempDir();
    WriteSevenDigitTown(dir + "/Town.qz");
    WindowRig rig;
    rig.Open(dir);
    auto* count = rig.Find<QLabel>("countLabel");
    auto* hovered = rig.Find<QLabel>(label.toLatin1().constData());
    QCOMPARE(BluePixels(count->grab().toImage()), 0);

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(hovered, &enter);
    QVERIFY(BluePixels(count->grab().toImage()) > 0);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(hovered, &leave);
    QCOMPARE(BluePixels(count->grab().toImage()), 0);
  }

  void theOpenTownListShowsTwentyFiveEntries_data() {
    QTest::addColumn<QString>("style");
    for (const QString& key : QStyleFactory::keys())
      QTest::newRow(key.toLatin1().constData()) << key;
  }
  void theOpenTownListShowsTwentyFiveEntries() {
    QFETCH(QString, style);
    QStyle* saved = QApplication::style();
    const QString saved_name = saved->name();
    QApplication::setStyle(style);
    const std::string dir = TempDir();
    for (int i = 0; i < 30; ++i) {
      WriteSevenDigitTown(dir + "/Town" + std::to_string(10 + i) + ".qz");
    }
    WindowRig rig;
    rig.Open(dir);
    auto* towns = rig.Find<QComboBox>("townBox");
    QCOMPARE(towns->count(), 30);
    towns->showPopup();
    QAbstractItemView* list = towns->view();
    QTRY_VERIFY(list->isVisible());
    int whole_rows = 0;
    for (int row = 0; row < towns->count(); ++row) {
      const QRect r = list->visualRect(list->model()->index(row, 0));
      if (list->viewport()->rect().contains(r)) ++whole_rows;
    }
    QCOMPARE(whole_rows, 25);
    QVERIFY(list->verticalScrollBar()->isVisible());
    towns->hidePopup();
    rig.Close();
    QApplication::setStyle(saved_name);
  }

  // A town name longer than the box shows its beginning and "…", as the
  // open list shows it, not a cut through a letter; a short one shows whole.
  void aLongTownNameIsCutWithAMark_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("cut");
    QTest::newRow("long") << " Ясногорск-на-Волге Верхний Заречный" << true;
    QTest::newRow("short") << " Киев" << false;
  }
  void aLongTownNameIsCutWithAMark() {
    QFETCH(QString, name);
    QFETCH(bool, cut);
    HeaderGeometry geometry;
    TownBox box(geometry, nullptr);
    LabelRecorder style(QApplication::style()->name());
    box.setStyle(&style);
    box.ShowEntries({name.toStdString()}, 0);
    box.adjustSize();
    box.grab();
    const QString shown = style.label;
    if (cut) {
      QVERIFY2(shown.endsWith(QChar(0x2026)), qPrintable(shown));
      QVERIFY(name.startsWith(shown.chopped(1)));
      QVERIFY(shown.size() > 5);
    } else {
      QCOMPARE(shown, name);
    }
    QVERIFY(box.fontMetrics().horizontalAdvance(shown) <= style.room);
  }

  // At any font size the window's first size leaves it on the screen.
  void theFirstSizeFitsTheScreen_data() {
    QTest::addColumn<int>("point_size");
    QTest::newRow("the window's own 8 points") << 8;
    QTest::newRow("a 20-point font") << 20;
    QTest::newRow("a 30-point font") << 30;
  }
  void theFirstSizeFitsTheScreen() {
    QFETCH(int, point_size);
    FontForTest font(point_size);
    const std::string dir = TempDir();
    WriteSevenDigitTown(dir + "/Town.qz");
    WindowRig rig;
    rig.Open(dir);
    const QRect screen = rig.window()->screen()->availableGeometry();
    const QSize size = rig.window()->frameGeometry().size();
    QVERIFY2(size.width() <= screen.width() && size.height() <= screen.height(),
             qPrintable(QStringLiteral("%1x%2 on %3x%4")
                            .arg(size.width())
                            .arg(size.height())
                            .arg(screen.width())
                            .arg(screen.height())));
  }

  // The context menu of a line edit, Qt's own, speaks Russian.
  void qtsOwnTextsAreRussian() {
    const std::string dir = TempDir();
    WriteSevenDigitTown(dir + "/Town.qz");
    WindowRig rig;
    rig.Open(dir);
    std::unique_ptr<QMenu> menu(
        rig.UniversalLine()->createStandardContextMenu());
    int items = 0;
    for (QAction* item : menu->actions()) {
      if (item->isSeparator()) continue;
      ++items;
      const QString text = item->text();
      QVERIFY2(std::any_of(text.begin(), text.end(),
                           [](QChar c) {
                             return c.script() == QChar::Script_Cyrillic;
                           }),
               qPrintable(text));
    }
    QVERIFY(items >= 6);  // undo, redo, cut, copy, paste, delete, select all
  }
};

SPRAVKA_UI_TEST(WindowFitTest);

}  // namespace spravka::testing

#include "window_fit_test.moc"
