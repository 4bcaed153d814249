// SPDX-License-Identifier: GPL-3.0-or-later
// The grids' stripes, the contrast keys and the focused cell, read from
// the pixels the grid paints.
#include <QtTest>

#include "support/base_builder.h"
#include "ui_test_main.h"
#include "window_rig.h"

namespace spravka::testing {

class GridDrawingTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<WindowRig> rig_;

  // The background of a data cell: a pixel near its right edge, clear of
  // the text.
  QColor Background(int row, int column = 1) {
    ResultGrid* grid = rig_->Grid("homeGrid");
    QImage image = grid->viewport()->grab().toImage();
    QRect cell = grid->visualRect(grid->model()->index(row, column));
    return image.pixelColor(cell.right() - 2, cell.bottom() - 2);
  }
  void Keypad(Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key,
                    Qt::ControlModifier | Qt::KeypadModifier);
  }
  int Level() { return rig_->window()->session().stripes().contrast_level(); }

 private slots:
  void init() {
    rig_ = std::make_unique<WindowRig>();
    const std::string dir = TempDir();
    WriteTown(dir + "/Town.qz", TownHeader("Город"), SmallTownHome(),
              SmallTownOrg());
    rig_->Open(dir);
  }
  void cleanup() { rig_.reset(); }

  void evenDataRowsAreStriped() {
    const QColor grid_colour(212, 208, 200);
    const QColor stripe(218, 214, 206);  // the face brightened by 3 per cent
    QCOMPARE(Background(0), grid_colour);
    QCOMPARE(Background(1), stripe);
    QCOMPARE(Background(2), grid_colour);
    QCOMPARE(Background(3), stripe);
    QVERIFY(!rig_->Grid("homeGrid")->showGrid());
    ResultGrid* grid = rig_->Grid("homeGrid");
    QImage header = grid->horizontalHeader()->grab().toImage();
    QCOMPARE(header.pixelColor(grid->columnViewportPosition(2) + 30, 3),
             grid_colour);
  }

  void contrastKeys() {
    struct Step {
      Qt::Key key;
      int level;
      QColor stripe;
    };
    const Step steps[] = {
        {Qt::Key_Plus, 5, QColor(223, 218, 210)},
        {Qt::Key_Minus, 3, QColor(218, 214, 206)},
        {Qt::Key_Minus, 1, QColor(214, 210, 202)},
        {Qt::Key_Minus, 1, QColor(214, 210, 202)},  // no lower than 1 from here
        {Qt::Key_Plus, 3, QColor(218, 214, 206)},
        {Qt::Key_Plus, 5, QColor(223, 218, 210)},
        {Qt::Key_Asterisk, 3, QColor(218, 214, 206)},
    };
    for (const Step& s : steps) {
      Keypad(s.key);
      QCOMPARE(Level(), s.level);
      QCOMPARE(Background(1), s.stripe);
      QCOMPARE(rig_->Edit("universalEdit")->text(),
               QString());  // nothing typed
    }
    // Without Ctrl the pad keys are only typed.
    QTest::keyClick(rig_->Edit("universalEdit"), Qt::Key_Plus,
                    Qt::KeypadModifier);
    QCOMPARE(Level(), 3);
    QCOMPARE(rig_->Edit("universalEdit")->text(), QStringLiteral("+"));
  }

  void stripesOffShowCellLinesAndIgnoreTheContrastKeys() {
    Keypad(Qt::Key_Slash);
    QVERIFY(!rig_->Action("stripesMenuItem")->isChecked());
    QVERIFY(!rig_->window()->session().stripes().stripes_on());
    QVERIFY(rig_->Grid("homeGrid")->showGrid());
    QVERIFY(rig_->Grid("orgGrid")->showGrid());
    QCOMPARE(Background(1), QColor(212, 208, 200));
    Keypad(Qt::Key_Plus);
    Keypad(Qt::Key_Minus);
    QCOMPARE(Level(), 3);
    Keypad(Qt::Key_Slash);
    QVERIFY(rig_->window()->session().stripes().stripes_on());
    QCOMPARE(Background(1), QColor(218, 214, 206));
  }

  void focusedCellOfTheFocusedGridIsHighlighted() {
    ResultGrid* grid = rig_->Grid("homeGrid");
    grid->setCurrentIndex(grid->model()->index(1, 2));
    grid->setFocus();
    QCOMPARE(Background(1, 2), grid->palette().color(QPalette::Highlight));
    QCOMPARE(Background(1, 3), QColor(218, 214, 206));
    rig_->Edit("universalEdit")->setFocus();
    QCOMPARE(Background(1, 2), QColor(218, 214, 206));
  }

  void aWhiteFaceOffersNoStripes() {
    rig_ = std::make_unique<WindowRig>();
    rig_->face = {255, 255, 255};
    rig_->settings.values = {{"Zebra", "1"}};
    const std::string dir = TempDir();
    WriteTown(dir + "/Town.qz", TownHeader("Город"), SmallTownHome(),
              SmallTownOrg());
    rig_->Open(dir);
    QVERIFY(!rig_->Action("stripesMenuItem")->isVisible());
    QVERIFY(!rig_->Action("stripesSeparator")->isVisible());
    QVERIFY(!rig_->window()->session().stripes().stripes_on());
    QVERIFY(rig_->Grid("homeGrid")->showGrid());
    Keypad(Qt::Key_Slash);
    QVERIFY(!rig_->window()->session().stripes().stripes_on());
    rig_->Close();
    QCOMPARE(rig_->settings.values,
             (std::map<std::string, std::string>{
                 {"Zebra", "1"}, {"LastBase", "Town"}, {"USearch", "1"}}));
  }
};

SPRAVKA_UI_TEST(GridDrawingTest);

}  // namespace spravka::testing

#include "grid_drawing_test.moc"
