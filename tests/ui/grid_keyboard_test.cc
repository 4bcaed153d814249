// SPDX-License-Identifier: GPL-3.0-or-later
// Where the keyboard leaves the user in a long grid: the current cell after
// a deletion, and a new search shown from its first row.
#include <QScrollBar>
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
};

SPRAVKA_UI_TEST(GridKeyboardTest);

}  // namespace spravka::testing

#include "grid_keyboard_test.moc"
