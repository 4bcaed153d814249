// SPDX-License-Identifier: GPL-3.0-or-later
// Editing records in the window's grids, from the keyboard and the mouse:
// typing into cells, Esc, Ctrl+Ins, Ctrl+Del, sorting by a caption, the
// ". . . . ." row, and a whole session done with the keyboard alone.
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "platform/qt_message_boxes.h"
#include "storage/record_key.h"
#include "support/base_builder.h"
#include "ui_test_main.h"
#include "window_rig.h"

namespace spravka::testing {
namespace {

void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// The record of a working table at the position a grid row shows.
std::vector<std::string> RecordOfRow(WindowRig& rig, const char* grid,
                                     int model_row, TableId table) {
  ResultGrid* g = rig.Grid(grid);
  const size_t p = static_cast<size_t>(KeyToNumber(g->Cell(0, model_row + 1)));
  const Table& t = rig.window()->session().base().store().table(table);
  std::vector<std::string> fields;
  if (!t.HoldsRecordAt(p)) return fields;
  for (int c = 1; c <= rig.window()->session().base().store().FieldCount(table);
       ++c)
    fields.emplace_back(FieldOf(t.TextAt(p), c));
  return fields;
}

std::string ChangeOf(WindowRig& rig, TableId table, int number) {
  const std::optional<std::string_view> d =
      rig.window()->session().base().store().changes(table).Find(number);
  return d ? std::string(*d) : "(none)";
}

}  // namespace

class RecordEditingTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<WindowRig> rig_;
  std::string dir_;

  void Open(const std::vector<std::vector<std::string>>& home = SmallTownHome(),
            const std::vector<std::vector<std::string>>& org = SmallTownOrg()) {
    dir_ = TempDir();
    WriteTown(dir_ + "/Town.qz", TownHeader("Город"), home, org);
    rig_->Open(dir_);
  }
  ResultGrid* Home() { return rig_->Grid("homeGrid"); }
  // Makes a cell of the residential grid current, with the focus there.
  void Select(int model_row, int column) {
    Home()->setFocus();
    Home()->setCurrentIndex(Home()->model()->index(model_row, column));
  }
  std::vector<std::string> Record(int model_row) {
    return RecordOfRow(*rig_, "homeGrid", model_row, TableId::kHome);
  }

 private slots:
  void init() { rig_ = std::make_unique<WindowRig>(); }
  void cleanup() { rig_.reset(); }

  void typingIntoACellRewritesItsRecord() {
    Open();
    QVERIFY(!rig_->Action("saveAction")->isEnabled());
    Select(0, 2);
    Keys("Петров");  // the first key replaces the cell's text
    QVERIFY(Home()->EditorOpen());
    QCOMPARE(rig_->Cell("homeGrid", 0, 2), QStringLiteral("Петров"));
    QCOMPARE(Record(0)[1], W("Петров"));
    QCOMPARE(ChangeOf(*rig_, TableId::kHome, 1),
             RecordText({"111111", W("Петров"), W("Мира"), "1", "", "10",
                         W("Центр")}));
    QVERIFY(rig_->Action("saveAction")->isEnabled());
    Key(Qt::Key_Return);
    QTRY_VERIFY(!Home()->EditorOpen());
    QCOMPARE(QApplication::focusWidget(), Home());

    // A shorter and a longer text, then later rows still reach their own
    // records.
    Select(1, 3);
    Keys("Л");
    Key(Qt::Key_Return);
    Select(2, 2);
    Keys("Петров-Водкин Кузьма Сергеевич");
    Key(Qt::Key_Return);
    Select(4, 6);
    Keys("Заречный");
    Key(Qt::Key_Return);
    QCOMPARE(Record(1)[2], W("Л"));
    QCOMPARE(Record(2)[1], W("Петров-Водкин Кузьма Сергеевич"));
    QCOMPARE(Record(3)[1], W("Сидоров С.С."));
    QCOMPARE(Record(4)[5], W("Заречный"));
    QCOMPARE(rig_->window()->session().base().store().HomeChanges.size(),
             size_t{4});
  }

  void escPutsBackTheCellsText() {
    Open();
    Select(1, 3);
    Keys("Мо");
    Key(Qt::Key_Backspace);
    Keys("ира");
    QCOMPARE(Record(1)[2], W("Мира"));
    Key(Qt::Key_Escape);
    QVERIFY(!Home()->EditorOpen());
    QCOMPARE(rig_->Cell("homeGrid", 1, 3), QStringLiteral("Ленина"));
    QCOMPARE(Record(1)[2], W("Ленина"));
    QVERIFY(rig_->Action("saveAction")->isEnabled());
  }

  void ctrlInsOnAnEmptyTableStartsTheNumberCell() {
    Open(SmallTownHome(), {});
    rig_->Find<QTabWidget>("pages")->setCurrentIndex(1);
    ResultGrid* org = rig_->Grid("orgGrid");
    QVERIFY(org->isHidden());
    QVERIFY(!rig_->Action("deleteAction")->isEnabled());
    Key(Qt::Key_Insert, Qt::ControlModifier);
    QVERIFY(org->isVisible());
    QCOMPARE(rig_->Rows("orgGrid"), 1);
    QCOMPARE(QApplication::focusWidget(), org);
    QCOMPARE(org->Row(), 1);
    QCOMPARE(org->Col(), 1);
    QCOMPARE(rig_->Cell("orgGrid", 0, 1), QStringLiteral("000000"));
    QCOMPARE(rig_->Cell("orgGrid", 0, 0), QStringLiteral("0000001"));
    QVERIFY(rig_->Action("deleteAction")->isEnabled());
    Keys("123456");
    Key(Qt::Key_Return);
    const std::vector<std::string> record =
        RecordOfRow(*rig_, "orgGrid", 0, TableId::kOrg);
    QCOMPARE(record,
             (std::vector<std::string>{"123456", "", "", "", "", "", "", ""}));
    QCOMPARE(ChangeOf(*rig_, TableId::kOrg, 1),
             RecordText({"123456", "", "", "", "", "", "", ""}));
  }

  void deletingTheLastAndAMiddleRecordThenAdding() {
    Open();
    Select(4, 2);
    rig_->boxes.answers = {true};
    Key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(rig_->boxes.shown.back().text,
             std::string("Удалить запись для абонента\r\nс номером: "
                         "444441\r\nЛиванов Л.Л. ?"));
    QCOMPARE(rig_->Rows("homeGrid"), 4);  // the search ran again
    QCOMPARE(ChangeOf(*rig_, TableId::kHome, 5), std::string("\x1F"));

    Select(1, 1);
    rig_->boxes.answers = {false};  // No changes nothing
    Key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(rig_->Rows("homeGrid"), 4);
    rig_->boxes.answers = {true};
    Key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(rig_->Column("homeGrid", 1),
             (QStringList{"111111", "222221", "333331"}));

    Key(Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(rig_->Rows("homeGrid"), 4);
    QCOMPARE(ChangeOf(*rig_, TableId::kHome, 5),
             RecordText({"000000", "", "", "", "", "", ""}));
    QCOMPARE(ChangeOf(*rig_, TableId::kHome, 2), std::string("\x1F"));
    QCOMPARE(rig_->boxes.unexpected_questions, 0);
  }

  void aPressOnACaptionSortsTheRows() {
    Open({{"10", "Б", "", "", "", "", ""},
          {"9", "А", "", "", "", "", ""},
          {"100", "В", "", "", "", "", ""},
          {"011", "Г", "", "", "", "", ""}});
    QHeaderView* header = Home()->horizontalHeader();
    Select(2, 3);
    const QModelIndexList selected =
        Home()->selectionModel()->selectedIndexes();
    const QPoint number_caption(header->sectionViewportPosition(1) + 5, 5);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, number_caption);
    QCOMPARE(rig_->Column("homeGrid", 1),
             (QStringList{"9", "10", "011", "100"}));
    // Only the rows move: the current cell stays where it was, and the
    // column is not selected.
    QCOMPARE(Home()->Row(), 3);
    QCOMPARE(Home()->Col(), 3);
    QCOMPARE(Home()->selectionModel()->selectedIndexes(), selected);
    // The rows still lead to their records.
    QCOMPARE(Record(0)[1], W("А"));
    QCOMPARE(Record(3)[1], W("В"));
    const QPoint name_caption(header->sectionViewportPosition(2) + 5, 5);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, name_caption);
    QCOMPARE(rig_->Column("homeGrid", 2), (QStringList{"А", "Б", "В", "Г"}));
  }

  void theOverflowRowHoldsNoRecord() {
    std::vector<std::vector<std::string>> home;
    for (int i = 0; i < 1005; ++i)
      home.push_back({std::to_string(100000 + i), "Имя", "", "", "", "", ""});
    Open(home);
    QCOMPARE(rig_->Rows("homeGrid"), 1001);
    const std::string before =
        UsedBytes(rig_->window()->session().base().store().HomeData);
    Select(1000, 2);
    Keys("x");
    Key(Qt::Key_Return);
    QCOMPARE(rig_->Cell("homeGrid", 1000, 2), QStringLiteral("x"));
    rig_->boxes.answers = {true};
    Key(Qt::Key_Delete, Qt::ControlModifier);
    QVERIFY(rig_->boxes.shown.back().text.find(". . . . .") !=
            std::string::npos);
    QCOMPARE(UsedBytes(rig_->window()->session().base().store().HomeData),
             before);
    QVERIFY(rig_->window()->session().base().store().HomeChanges.empty());
    QVERIFY(!rig_->Action("saveAction")->isEnabled());
  }

  void aReadOnlyBaseTakesNoEdits() {
    rig_->files.read_only = true;
    Open();
    Select(0, 2);
    Keys("x");
    QVERIFY(!Home()->EditorOpen());
    Key(Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(rig_->Rows("homeGrid"), 5);
    QVERIFY(rig_->window()->session().base().store().HomeChanges.empty());
  }

  // Ctrl+Del and Enter, Ctrl+Ins, digits, Enter, F10 and Enter: the real
  // boxes, answered with their default button.
  void aSessionWithTheKeyboardAlone() {
    QtMessageBoxes boxes;
    rig_->boxes_override = &boxes;
    Open();
    boxes.SetParent(rig_->window());
    // Tab to the grid.
    for (int i = 0; i < 30 && QApplication::focusWidget() != Home(); ++i)
      Key(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Home());
    QCOMPARE(Home()->Row(), 1);

    PressEnterInTheNextBox();
    Key(Qt::Key_Delete, Qt::ControlModifier);
    BackFromTheBox();
    QCOMPARE(QApplication::focusWidget(), Home());
    QCOMPARE(rig_->Rows("homeGrid"), 4);
    Key(Qt::Key_Insert, Qt::ControlModifier);
    Keys("777777");
    Key(Qt::Key_Return);
    PressEnterInTheNextBox();
    Key(Qt::Key_F10);
    QVERIFY(!rig_->window()->isVisible());

    RecordStore saved;
    QCOMPARE(LoadBase(dir_ + "/Town.qz", &saved).code(), StatusCode::kOk);
    QCOMPARE(std::string(*saved.HomeChanges.Find(1)), std::string("\x1F"));
    QCOMPARE(std::string(*saved.HomeChanges.Find(6)),
             RecordText({"777777", "", "", "", "", "", ""}));
    QCOMPARE(saved.HomeData.CountRecords(), size_t{5});
  }

 private:
  // The window is active again once a box has closed (the window manager's
  // part, which the test platform lacks).
  void BackFromTheBox() {
    QApplication::setActiveWindow(rig_->window());
    QVERIFY(QTest::qWaitForWindowActive(rig_->window()));
  }
  // Enter in the box that comes up next, as the user presses it.
  void PressEnterInTheNextBox() {
    QTimer::singleShot(0, [] {
      QWidget* box = QApplication::activeModalWidget();
      if (!qobject_cast<QMessageBox*>(box)) qFatal("no message box is up");
      QTest::keyClick(box, Qt::Key_Return);
    });
  }
};

SPRAVKA_UI_TEST(RecordEditingTest);

}  // namespace spravka::testing

#include "record_editing_test.moc"
