// SPDX-License-Identifier: GPL-3.0-or-later
// The context menu as it opens over the window, and the clipboard commands
// behind it.
#include <QClipboard>
#include <QMenu>
#include <QToolButton>
#include <QtTest>
#include <utility>

#include "platform/qt_clipboard.h"
#include "storage/record_key.h"
#include "support/base_builder.h"
#include "ui_test_main.h"
#include "window_rig.h"

namespace spravka::testing {
namespace {

enum Setup {
  kUsual,
  kReadOnlyBase,
  kHiddenGrid,
  kTwoChanges,
  kWiderColumn,
  kEmptyClipboard,
  kFreeModem,
  kNoOriginTag,
};

}  // namespace

class ContextMenuTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<WindowRig> rig_;

  void Open(bool origin_tag = true) {
    const std::string dir = TempDir();
    BaseHeader h = TownHeader("Город");
    if (origin_tag) h.OriginTag = "Kodrin_Uni";
    WriteTown(dir + "/Town.qz", h, SmallTownHome(), SmallTownOrg());
    rig_->Open(dir);
  }
  QMenu* Menu() { return rig_->Find<QMenu>("contextMenu"); }
  // Opens the menu as a right click on a grid does, and closes it again.
  void OpenMenu() {
    Menu()->popup(rig_->window()->mapToGlobal(QPoint(10, 10)));
    QTRY_VERIFY(Menu()->isVisible());
    Menu()->hide();
  }
  // The menu asked for over a grid, at a point of its cells; it is closed
  // again once it has come up.
  void AskForMenu(ResultGrid* g, QContextMenuEvent::Reason reason, QPoint at) {
    QContextMenuEvent event(reason, at, g->viewport()->mapToGlobal(at));
    QApplication::sendEvent(g->viewport(), &event);
    QTRY_VERIFY(Menu()->isVisible());
    Menu()->hide();
  }
  // A right click on a cell (model row), as the user makes it.
  void RightClick(ResultGrid* g, int row, int column) {
    const QPoint cell = g->visualRect(g->model()->index(row, column)).center();
    QTest::mouseClick(g->viewport(), Qt::RightButton, {}, cell);
    AskForMenu(g, QContextMenuEvent::Mouse, cell);
  }
  QAction* DialItem() {
    return rig_->MenuItem(QStringLiteral("Набрать номер"));
  }
  bool menu_was_shown_ = false;
  // Closes the menu once it has come up (a button's menu runs its own
  // event loop).
  void HideMenuWhenShown() {
    menu_was_shown_ = false;
    auto* timer = new QTimer(Menu());
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [this, timer] {
      if (!Menu()->isVisible()) return;
      menu_was_shown_ = true;
      Menu()->hide();
      timer->deleteLater();
    });
    timer->start();
  }
  QStringList Enabled() {
    QStringList names;
    for (QAction* a : Menu()->actions()) {
      if (!a->isSeparator() && a->isVisible() && a->isEnabled())
        names << a->objectName();
    }
    return names;
  }
 private slots:
  void init() { rig_ = std::make_unique<WindowRig>(); }
  void cleanup() { rig_.reset(); }

  void itemsFollowTheirRules_data() {
    QTest::addColumn<int>("setup");
    QTest::addColumn<QStringList>("enabled");
    // Menu order; the save item is on after the edit each case makes, the
    // stripes, search and information items always.
    QTest::newRow("one change entry")
        << int(kUsual)
        << QStringList{
               "addMenuItem",        "deleteMenuItem",        "copyRowMenuItem",
               "copyResultMenuItem", "pasteMenuItem",         "newBaseMenuItem",
               "saveMenuItem",       "restoreMenuItem",       "stripesMenuItem",
               "yoSearchMenuItem",   "similarSearchMenuItem", "helpMenuItem"};
    QTest::newRow("read-only base")
        << int(kReadOnlyBase)
        << QStringList{"copyRowMenuItem",       "copyResultMenuItem",
                       "stripesMenuItem",       "yoSearchMenuItem",
                       "similarSearchMenuItem", "helpMenuItem"};
    QTest::newRow("hidden grid")
        << int(kHiddenGrid)
        << QStringList{
               "addMenuItem",      "pasteMenuItem",         "newBaseMenuItem",
               "saveMenuItem",     "restoreMenuItem",       "stripesMenuItem",
               "yoSearchMenuItem", "similarSearchMenuItem", "helpMenuItem"};
    QTest::newRow("two change entries")
        << int(kTwoChanges)
        << QStringList{"addMenuItem",      "deleteMenuItem",
                       "copyRowMenuItem",  "copyResultMenuItem",
                       "pasteMenuItem",    "newBaseMenuItem",
                       "saveMenuItem",     "restoreMenuItem",
                       "optimiseMenuItem", "stripesMenuItem",
                       "yoSearchMenuItem", "similarSearchMenuItem",
                       "helpMenuItem"};
    QTest::newRow("a wider column")
        << int(kWiderColumn)
        << QStringList{"addMenuItem",        "deleteMenuItem",
                       "copyRowMenuItem",    "copyResultMenuItem",
                       "pasteMenuItem",      "newBaseMenuItem",
                       "saveMenuItem",       "restoreMenuItem",
                       "saveWidthsMenuItem", "stripesMenuItem",
                       "yoSearchMenuItem",   "similarSearchMenuItem",
                       "helpMenuItem"};
    QTest::newRow("empty clipboard")
        << int(kEmptyClipboard)
        << QStringList{
               "addMenuItem",           "deleteMenuItem",  "copyRowMenuItem",
               "copyResultMenuItem",    "newBaseMenuItem", "saveMenuItem",
               "restoreMenuItem",       "stripesMenuItem", "yoSearchMenuItem",
               "similarSearchMenuItem", "helpMenuItem"};
    QTest::newRow("a free modem")
        << int(kFreeModem)
        << QStringList{
               "dialMenuItem",    "addMenuItem",        "deleteMenuItem",
               "copyRowMenuItem", "copyResultMenuItem", "pasteMenuItem",
               "newBaseMenuItem", "saveMenuItem",       "restoreMenuItem",
               "stripesMenuItem", "yoSearchMenuItem",   "similarSearchMenuItem",
               "helpMenuItem"};
    QTest::newRow("a base made by the user")
        << int(kNoOriginTag)
        << QStringList{
               "addMenuItem",           "deleteMenuItem",  "copyRowMenuItem",
               "copyResultMenuItem",    "pasteMenuItem",   "newBaseMenuItem",
               "saveMenuItem",          "stripesMenuItem", "yoSearchMenuItem",
               "similarSearchMenuItem", "helpMenuItem"};
  }
  void itemsFollowTheirRules() {
    QFETCH(int, setup);
    QFETCH(QStringList, enabled);
    if (setup == kReadOnlyBase) rig_->files.read_only = true;
    if (setup == kFreeModem) rig_->serial_ports.ports["Com2"] = {};
    Open(setup != kNoOriginTag);
    rig_->clipboard.text = setup == kEmptyClipboard ? "" : "x";
    if (setup != kReadOnlyBase) rig_->EditCell("homeGrid", 0, 2, "a");
    if (setup == kTwoChanges) rig_->EditCell("homeGrid", 1, 2, "b");
    if (setup == kWiderColumn) {
      ResultGrid* g = rig_->Grid("homeGrid");
      g->setColumnWidth(3, g->columnWidth(3) + 20);
    }
    if (setup == kHiddenGrid)
      TypeText(rig_->Edit("universalEdit"), "нет такого");
    OpenMenu();
    QCOMPARE(Enabled(), enabled);
    // An item is never on while the action it stands for, which would
    // ignore it, is off; adding and deleting are on exactly as their items
    // are, and so are their tool-bar buttons.
    for (auto [item, action] :
         {std::pair{"addMenuItem", "addAction"},
          std::pair{"deleteMenuItem", "deleteAction"},
          std::pair{"copyResultMenuItem", "copyResultAction"},
          std::pair{"pasteMenuItem", "pasteAction"}}) {
      QVERIFY2(
          !rig_->Action(item)->isEnabled() || rig_->Action(action)->isEnabled(),
          item);
    }
    QCOMPARE(rig_->Action("addAction")->isEnabled(),
             enabled.contains("addMenuItem"));
    QCOMPARE(rig_->Action("deleteAction")->isEnabled(),
             enabled.contains("deleteMenuItem"));
    QCOMPARE(rig_->Find<QWidget>("addButton")->isEnabled(),
             enabled.contains("addMenuItem"));
    QCOMPARE(rig_->Find<QWidget>("deleteButton")->isEnabled(),
             enabled.contains("deleteMenuItem"));
    QVERIFY(rig_->MenuItem(QStringLiteral("Копировать результат выборки"))
                ->isVisible());
    QVERIFY(rig_->Action("dialMenuItem")->text().startsWith("Набрать номер "));
    // Only a visible grid's menu probes the ports, and every port it
    // opened is closed again.
    QCOMPARE(rig_->port_log.empty(), setup == kHiddenGrid);
    QCOMPARE(rig_->serial_ports.open_ports, 0);
  }

  void aRightClickMakesTheRowCurrentFirst() {
    Open();
    ResultGrid* g = rig_->Grid("homeGrid");
    RightClick(g, 2, 2);
    QCOMPARE(g->Row(), 3);
    QCOMPARE(rig_->Action("dialMenuItem")->text(),
             QStringLiteral("Набрать номер 22-22-21"));

    // From the tool button the menu acts on the current row.
    g->setCurrentIndex(g->model()->index(0, 1));
    auto* button = rig_->Find<QToolButton>("menuButton");
    QTimer::singleShot(0, [this] { Menu()->hide(); });
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(g->Row(), 1);
    QCOMPARE(rig_->Action("dialMenuItem")->text(),
             QStringLiteral("Набрать номер 11-11-11"));
  }

  // A search that finds nothing hides the grid but leaves it its caption
  // row and one row, which keeps what the last result began with.
  void overAHiddenGridTheMenuStillCountsTwoRows() {
    Open();
    rig_->UniversalLine()->setText(QStringLiteral("нет такого"));
    QVERIFY(rig_->GridOf(TableId::kHome)->isHidden());
    OpenMenu();
    QAction* copy_result = rig_->MenuItem(
        QStringLiteral("Копировать результат выборки в буфер обмена"));
    QVERIFY(copy_result->isVisible());
    QVERIFY(!copy_result->isEnabled());
    QVERIFY(!rig_->MenuItem(QStringLiteral("Удалить запись"))->isEnabled());
    QVERIFY(!rig_->MenuItem(QStringLiteral("Копировать строку"))->isEnabled());
    QCOMPARE(DialItem()->text(), QStringLiteral("Набрать номер 11-11-11"));
  }

  // The menu key, F9 and the menu button open the menu without a point to
  // go by: it acts on the current cell, wherever the mouse was last.
  void aMenuOpenedWithoutTheMouseKeepsTheCurrentCell() {
    Open();
    ResultGrid* g = rig_->GridOf(TableId::kHome);
    RightClick(g, 2, 2);
    QCOMPARE(g->Row(), 3);

    g->setFocus();
    QTest::keyClick(g, Qt::Key_Down);
    QTest::keyClick(g, Qt::Key_Right);
    QCOMPARE(g->Row(), 4);
    QCOMPARE(g->Col(), 3);
    AskForMenu(g, QContextMenuEvent::Keyboard,
               g->visualRect(g->currentIndex()).center());
    QCOMPARE(g->Row(), 4);
    QCOMPARE(g->Col(), 3);
    QCOMPARE(DialItem()->text(), QStringLiteral("Набрать номер 33-33-31"));

    HideMenuWhenShown();
    QTest::keyClick(g, Qt::Key_F9);
    QTRY_VERIFY(menu_was_shown_);
    QCOMPARE(g->Row(), 4);
    QCOMPARE(g->Col(), 3);

    HideMenuWhenShown();
    QTest::mouseClick(rig_->MenuButton(), Qt::LeftButton);
    QTRY_VERIFY(menu_was_shown_);
    QCOMPARE(g->Row(), 4);
    QCOMPARE(g->Col(), 3);
  }

  void copiesAndPastes() {
    Open();
    ResultGrid* g = rig_->Grid("homeGrid");
    g->setCurrentIndex(g->model()->index(3, 1));
    QVERIFY(rig_->Trigger("copyRowMenuItem"));
    QCOMPARE(rig_->clipboard.text, W(" 333331 Сидоров С.С. Иванова 5  1 Юг"));
    QVERIFY(rig_->Trigger("copyResultAction"));
    const std::string copy = rig_->clipboard.text;
    QVERIFY(
        copy.starts_with(W("Номер\tФИО\tулица\tдом\tкорп.\tкв.\tрайон\t\r")));
    QVERIFY(
        copy.ends_with(W("444441\tЛиванов Л.Л.\tСадовая\t7\t2\t3\tЮг\t\r")));

    // Pasted back: the captions become a record too.
    QVERIFY(rig_->Trigger("pasteAction"));
    QCOMPARE(rig_->Rows("homeGrid"), 11);
    QCOMPARE(rig_->Cell("homeGrid", 5, 2), QStringLiteral("ФИО"));
    QVERIFY(rig_->Action("saveAction")->isEnabled());
    QCOMPARE(rig_->window()->session().base().store().HomeChanges.size(),
             size_t{6});
  }

  void pastedLineEnds_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF") << "a\t1\r\nb\t2\r\n";
    QTest::newRow("LF") << "a\t1\nb\t2";
    QTest::newRow("CR CR") << "a\t1\r\rb\t2\r\r";
    QTest::newRow("more fields than the table")
        << "a\t1\tx\tx\tx\tx\tx\tx\tx\rb\t2";
  }
  void pastedLineEnds() {
    QFETCH(QString, text);
    Open();
    rig_->clipboard.text = text.toStdString();
    QVERIFY(rig_->Trigger("pasteAction"));
    QCOMPARE(rig_->Column("homeGrid", 1).mid(5), (QStringList{"a", "b"}));
    QCOMPARE(rig_->Column("homeGrid", 2).mid(5), (QStringList{"1", "2"}));
    const std::optional<std::string_view> b =
        rig_->window()->session().base().store().HomeChanges.Find(7);
    QVERIFY(b.has_value());
    QCOMPARE(std::string(*b), RecordText({"b", "2", "", "", "", "", ""}));
  }

  void thePlatformClipboardSpeaksWindows1251() {
    QtClipboard clipboard;
    clipboard.WriteText(W("Иванов\t№ 5\r"));
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("Иванов\t№ 5\r"));
    // Characters the code page lacks arrive as "?".
    QGuiApplication::clipboard()->setText(QStringLiteral("Ёлка € 漢 😀"));
    QCOMPARE(clipboard.ReadText(), W("Ёлка € ? ??"));
    QGuiApplication::clipboard()->clear();
    QCOMPARE(clipboard.ReadText(), std::string());
  }
};

SPRAVKA_UI_TEST(ContextMenuTest);

}  // namespace spravka::testing

#include "context_menu_test.moc"
