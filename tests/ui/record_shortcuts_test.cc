// SPDX-License-Identifier: GPL-3.0-or-later
// Ctrl+Ins and Ctrl+Del add and delete records wherever the focus is in
// the window, and the focus goes back to the search line when a deletion
// empties the grid.
#include <QTabBar>
#include <QToolButton>
#include <QtTest>

#include "storage/record_key.h"
#include "support/base_builder.h"
#include "ui_test_main.h"
#include "window_rig.h"

namespace spravka::testing {

class RecordShortcutsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<WindowRig> rig_;

  void Open() {
    const std::string dir = TempDir();
    WriteTown(dir + "/Town.qz", TownHeader("Город"), SmallTownHome(),
              SmallTownOrg());
    rig_->Open(dir);
  }
  enum Control {
    kGrid,
    kSearchEdit,
    kUniversalLine,
    kTownList,
    kMenuButton,
    kTabBar
  };
  QWidget* ControlOf(int control, TableId table, int kind) {
    switch (control) {
      case kGrid:
        return rig_->GridOf(table);
      case kSearchEdit:
        return rig_->SearchEdit(table, kind);
      case kUniversalLine:
        return rig_->UniversalLine();
      case kTownList:
        return rig_->TownList();
      case kMenuButton:
        return rig_->MenuButton();
      default:
        return rig_->Pages()->tabBar();
    }
  }
  // F12, from the search line that has the focus.
  void SwitchSearchMode() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F12);
  }
  void Press(QWidget* focus, Qt::Key key) {
    focus->setFocus();
    QCOMPARE(QApplication::focusWidget(), focus);
    QTest::keyClick(focus, key, Qt::ControlModifier);
  }

 private slots:
  void init() { rig_ = std::make_unique<WindowRig>(); }
  void cleanup() { rig_.reset(); }

  void addAndDeleteFromEveryControl_data() {
    QTest::addColumn<int>("control");
    QTest::addColumn<bool>("org");
    QTest::addColumn<int>("kind");  // of a search edit
    QTest::newRow("residential grid") << int(kGrid) << false << 0;
    QTest::newRow("organisation grid") << int(kGrid) << true << 0;
    for (int kind = 0; kind < kHomeKinds; ++kind) {
      QTest::addRow("residential edit %d", kind)
          << int(kSearchEdit) << false << kind;
    }
    // The test town's organisation kinds 5 and 6 have no edit.
    for (int kind : {0, 1, 2, 3, 4, 7}) {
      QTest::addRow("organisation edit %d", kind)
          << int(kSearchEdit) << true << kind;
    }
    QTest::newRow("universal line") << int(kUniversalLine) << false << 0;
    QTest::newRow("town list") << int(kTownList) << false << 0;
    QTest::newRow("menu button") << int(kMenuButton) << false << 0;
    QTest::newRow("tab bar") << int(kTabBar) << true << 0;
  }
  void addAndDeleteFromEveryControl() {
    QFETCH(int, control);
    QFETCH(bool, org);
    QFETCH(int, kind);
    Open();
    if (control == kSearchEdit) SwitchSearchMode();
    rig_->Pages()->setCurrentIndex(org ? 1 : 0);
    const TableId table = org ? TableId::kOrg : TableId::kHome;
    const int rows = rig_->Rows(table);
    QWidget* focus = ControlOf(control, table, kind);
    QVERIFY(focus->isVisible());

    Press(focus, Qt::Key_Insert);
    QCOMPARE(rig_->Rows(table), rows + 1);
    const int added = rows + 1;  // the record's number
    QVERIFY(rig_->window()
                ->session()
                .base()
                .store()
                .changes(table)
                .Find(added)
                .has_value());

    // The added row is the current one.
    rig_->boxes.answers = {true};
    Press(focus, Qt::Key_Delete);
    QCOMPARE(rig_->boxes.unexpected_questions, 0);
    QCOMPARE(rig_->boxes.shown.size(), size_t{1});
    QCOMPARE(std::string(
                 *rig_->window()->session().base().store().changes(table).Find(
                     added)),
             std::string("\x1F"));
    QCOMPARE(rig_->Rows(table), rows);
  }

  // Menu items show their action's key without taking it themselves.
  void everyShortcutBelongsToOneAction() {
    Open();
    QMap<QString, QStringList> owners;
    for (QAction* a : rig_->window()->findChildren<QAction*>()) {
      for (const QKeySequence& key : a->shortcuts())
        owners[key.toString()] << a->objectName();
    }
    QCOMPARE(owners.value("Ctrl+Ins").size(), 1);
    QCOMPARE(owners.value("Ctrl+Del").size(), 1);
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
      QVERIFY2(it.value().size() == 1, qPrintable(it.key()));
    QCOMPARE(rig_->MenuItem(QStringLiteral("Добавить запись"))->text(),
             QStringLiteral("Добавить запись\tCtrl+Ins"));
    QCOMPARE(rig_->MenuItem(QStringLiteral("Удалить запись"))->text(),
             QStringLiteral("Удалить запись\tCtrl+Del"));
  }

  // The grid hides when its last row goes: the focus goes to the search
  // line the user types into, in either mode.
  void deletingTheLastShownRowFocusesTheSearchLine_data() {
    QTest::addColumn<bool>("detailed");
    QTest::newRow("universal") << false;
    QTest::newRow("detailed") << true;
  }
  void deletingTheLastShownRowFocusesTheSearchLine() {
    QFETCH(bool, detailed);
    Open();
    QLineEdit* line =
        detailed ? rig_->SearchEdit(TableId::kHome, 0) : rig_->UniversalLine();
    if (detailed) SwitchSearchMode();
    // Nothing is similar to these either.
    line->setText(detailed ? QStringLiteral("444441")
                           : QStringLiteral("Садовая"));
    QCOMPARE(rig_->Rows(TableId::kHome), 1);
    rig_->boxes.answers = {true};
    Press(rig_->GridOf(TableId::kHome), Qt::Key_Delete);
    QVERIFY(rig_->GridOf(TableId::kHome)->isHidden());
    QCOMPARE(QApplication::focusWidget(), line);
  }
};

SPRAVKA_UI_TEST(RecordShortcutsTest);

}  // namespace spravka::testing

#include "record_shortcuts_test.moc"
