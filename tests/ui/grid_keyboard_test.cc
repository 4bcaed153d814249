// SPDX-License-Identifier: GPL-3.0-or-later
// Where the keyboard leaves the user in a long grid: the current cell after
// a deletion, a new search shown from its first row, and Tab out of the grid
// to the controls around it, with the tab bar plainly marked when it has the
// focus.
#include <QScrollBar>
#include <QTabBar>
#include <QtTest>

#include "support/base_builder.h"
#include "ui_test_main.h"
#include "window_rig.h"

namespace spravka::testing {
namespace {

// 300 residents, far more than a grid shows at once: 200 "Иванов" and 100
// "Иваненко", numbered 100000, 100001, ... in table order.
void WriteLongTown(const std::string& path) {
  std::vector<std::vector<std::string>> home;
  for (int i = 0; i < 300; ++i) {
    home.push_back({std::to_string(100000 + i),
                    (i < 200 ? "Иванов " : "Иваненко ") + std::to_string(i),
                    "Лесная", "1", "", std::to_string(i % 90 + 1), "Центр"});
  }
  WriteTown(path, TownHeader("Город"), home, SmallTownOrg());
}

bool Shown(ResultGrid* grid, const QModelIndex& index) {
  return grid->viewport()->rect().contains(grid->visualRect(index));
}

int PixelsOf(const QImage& image, const QRect& area, QColor colour) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x)
      count += image.pixelColor(x, y) == colour;
  }
  return count;
}

}  // namespace

class GridKeyboardTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<WindowRig> rig_;

  ResultGrid* OpenLongTown() {
    const std::string dir = TempDir();
    WriteLongTown(dir + "/Town.qz");
    rig_->Open(dir);
    return rig_->GridOf(TableId::kHome);
  }

 private slots:
  void init() { rig_ = std::make_unique<WindowRig>(); }
  void cleanup() { rig_.reset(); }

  // Ctrl+Delete far down the list: the row that took the deleted record's
  // place, or the new last row, is current, in view and highlighted, and
  // the arrows go on from there.
  void afterADeletionTheCurrentCellStaysInPlace_data() {
    QTest::addColumn<bool>("last");
    QTest::newRow("a row far down") << false;
    QTest::newRow("the last row") << true;
  }
  void afterADeletionTheCurrentCellStaysInPlace() {
    QFETCH(bool, last);
    ResultGrid* grid = OpenLongTown();
    QCOMPARE(rig_->Rows(TableId::kHome), 300);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Right);
    if (last) {
      QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    } else {
      for (int i = 0; i < 8; ++i) QTest::keyClick(grid, Qt::Key_PageDown);
    }
    const int row = grid->Row();
    const int column = grid->Col();
    QVERIFY(row > 100);
    const std::string next = grid->Cell(1, row + 1);

    rig_->boxes.answers = {true};
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(rig_->boxes.unexpected_questions, 0);
    QCOMPARE(rig_->Rows(TableId::kHome), 299);

    QCOMPARE(grid->Row(), last ? 299 : row);
    QCOMPARE(grid->Col(), column);
    if (!last) QCOMPARE(grid->Cell(1, grid->Row()), next);
    QCOMPARE(QApplication::focusWidget(), grid);
    QVERIFY(Shown(grid, grid->currentIndex()));
    bool highlighted = false;
    grid->CellBackground(grid->currentIndex(), &highlighted);
    QVERIFY(highlighted);
    QCOMPARE(grid->CellUndo(), grid->Cell(column, grid->Row()));

    QTest::keyClick(grid, Qt::Key_Up);
    QCOMPARE(grid->Row(), (last ? 299 : row) - 1);
  }

  // A search that refills the grid shows its result from the first row,
  // however far down the last one was scrolled.
  void aNewSearchIsShownFromTheFirstRow_data() {
    QTest::addColumn<bool>("detailed");
    QTest::newRow("universal line") << false;
    QTest::newRow("subscriber edit") << true;
  }
  void aNewSearchIsShownFromTheFirstRow() {
    QFETCH(bool, detailed);
    ResultGrid* grid = OpenLongTown();
    if (detailed) QTest::keyClick(QApplication::focusWidget(), Qt::Key_F12);
    QLineEdit* line =
        detailed ? rig_->SearchEdit(TableId::kHome, 1) : rig_->UniversalLine();
    TypeText(line, "иван");
    QCOMPARE(rig_->Rows(TableId::kHome), 300);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    QVERIFY(grid->verticalScrollBar()->value() > 0);

    TypeText(line, "о");
    QCOMPARE(rig_->Rows(TableId::kHome), 200);
    QCOMPARE(grid->verticalScrollBar()->value(), 0);
    QCOMPARE(grid->Row(), 1);
    QVERIFY(Shown(grid, grid->currentIndex()));
  }

  // Tab and Shift+Tab go from the grid to the next and previous control,
  // also from an open cell editor, whose text stays in the record; the
  // current cell does not move.
  void tabLeavesTheGrid_data() {
    QTest::addColumn<bool>("detailed");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<bool>("back");
    for (bool editing : {false, true}) {
      const char* how = editing ? "from the cell editor" : "from the grid";
      QTest::addRow("detailed, Tab %s", how) << true << editing << false;
      QTest::addRow("detailed, Shift+Tab %s", how) << true << editing << true;
      QTest::addRow("universal, Tab %s", how) << false << editing << false;
      QTest::addRow("universal, Shift+Tab %s", how) << false << editing << true;
    }
  }
  void tabLeavesTheGrid() {
    QFETCH(bool, detailed);
    QFETCH(bool, editing);
    QFETCH(bool, back);
    const std::string dir = TempDir();
    WriteTown(dir + "/Town.qz", TownHeader("Город"), SmallTownHome(),
              SmallTownOrg());
    rig_->Open(dir);
    if (detailed) QTest::keyClick(QApplication::focusWidget(), Qt::Key_F12);
    ResultGrid* grid = rig_->GridOf(TableId::kHome);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(2, 6));
    if (editing) {
      Keys(QStringLiteral("7"));
      QVERIFY(grid->EditorOpen());
    }

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                    back ? Qt::ShiftModifier : Qt::NoModifier);
    QWidget* focus = QApplication::focusWidget();
    QWidget* expected;
    if (back) {
      expected = rig_->Pages()->tabBar();
    } else if (detailed) {
      expected = rig_->SearchEdit(TableId::kHome, 0);
    } else {
      expected = rig_->MenuButton();
    }
    QCOMPARE(focus, expected);
    QVERIFY(!grid->EditorOpen());
    QCOMPARE(grid->Row(), 3);
    QCOMPARE(grid->Col(), 6);
    if (editing) {
      QCOMPARE(rig_->Cell("homeGrid", 2, 6), QStringLiteral("7"));
      QVERIFY(rig_->window()->session().base().modified());
    }
  }

  // The tab bar reached with the keyboard is marked by a frame in the
  // highlight colour round the current tab.
  void theFocusedTabBarIsMarked() {
    const std::string dir = TempDir();
    WriteTown(dir + "/Town.qz", TownHeader("Город"), SmallTownHome(),
              SmallTownOrg());
    rig_->Open(dir);
    QTabBar* tabs = rig_->Pages()->tabBar();
    const QColor highlight = tabs->palette().color(QPalette::Highlight);
    const QRect tab = tabs->tabRect(tabs->currentIndex());
    const int unfocused = PixelsOf(tabs->grab().toImage(), tab, highlight);
    tabs->setFocus();
    QCOMPARE(QApplication::focusWidget(), tabs);
    const int focused = PixelsOf(tabs->grab().toImage(), tab, highlight);
    QVERIFY2(focused - unfocused >= 2 * (tab.width() + tab.height()),
             qPrintable(QStringLiteral("%1 against %2 pixels")
                            .arg(focused)
                            .arg(unfocused)));
  }
};

SPRAVKA_UI_TEST(GridKeyboardTest);

}  // namespace spravka::testing

#include "grid_keyboard_test.moc"
