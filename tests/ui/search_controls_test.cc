// SPDX-License-Identifier: GPL-3.0-or-later
// Typing, the search modes, the number fallback between the tables, the
// count label and the double-click shortcuts, driven through the window.
#include <QtTest>

#include "support/base_builder.h"
#include "ui/search_panel.h"
#include "ui_test_main.h"
#include "window_rig.h"

namespace spravka::testing {

class SearchControlsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<WindowRig> rig_;

  // The small town; offices have no search edit.
  void OpenSmallTown() {
    const std::string dir = TempDir();
    BaseHeader h = TownHeader("Город");
    h.OrgEditPlaces[6] = {0, 0, 0};
    WriteTown(dir + "/Town.qz", h, SmallTownHome(), SmallTownOrg());
    rig_->Open(dir);
  }
  void Detailed() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F12);
    QVERIFY(!rig_->window()->engine().universal_mode());
  }
  void DoubleClickCell(const char* grid, int row, int column) {
    ResultGrid* g = rig_->Grid(grid);
    QRect cell = g->visualRect(g->model()->index(row, column));
    // A real double-click: press and release, then the second press.
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, cell.center());
  }
  QStringList Names(const char* grid = "homeGrid") {
    return rig_->Column(grid, 2);
  }

 private slots:
  void init() { rig_ = std::make_unique<WindowRig>(); }
  void cleanup() { rig_.reset(); }

  void typingInTheUniversalLineRefillsTheGrid() {
    OpenSmallTown();
    QLineEdit* full = rig_->Edit("universalEdit");
    TypeText(full, "иванов");
    QCOMPARE(Names(), (QStringList{"Иванов И.И.", "Иванова А.А.",
                                   "Сидоров С.С.", "Ливанов Л.Л."}));
    QCOMPARE(rig_->Count(), QStringLiteral("4 зап."));
    TypeText(full, " мира");
    QCOMPARE(Names(), QStringList{"Иванов И.И."});
    QCOMPARE(rig_->Count(), QStringLiteral("1 зап."));
    Backspace(full, 5);
    QCOMPARE(rig_->Count(), QStringLiteral("4 зап."));

    full->clear();
    TypeText(full, "bdfyjd");  // "иванов" typed in the Latin layout
    QCOMPARE(rig_->Rows("homeGrid"), 4);

    TypeText(full, "zzz");
    QVERIFY(rig_->Grid("homeGrid")->isHidden());
    QCOMPARE(rig_->Count(), QString());
    QVERIFY(!rig_->Action("deleteAction")->isEnabled());
  }

  void caretRuleInTheSubscriberEdit() {
    OpenSmallTown();
    Detailed();
    QLineEdit* fio = rig_->Edit("homeNameEdit");
    struct Case {
      const char* text;
      QStringList names;
    };
    const Case cases[] = {
        {"^Иван", {"Иванов И.И.", "Иванова А.А."}},
        {"Иван", {"Иванов И.И.", "Иванова А.А.", "Ливанов Л.Л."}},
        {"^",
         {"Иванов И.И.", "Иванова А.А.", "Петров П.П.", "Сидоров С.С.",
          "Ливанов Л.Л."}},
        {"^иван", {"Иванов И.И.", "Иванова А.А."}},
    };
    for (const Case& c : cases) {
      fio->clear();
      TypeText(fio, QString::fromUtf8(c.text));
      QCOMPARE(Names(), c.names);
    }
  }

  void keysTypedDuringAScanRestartIt() {
    OpenSmallTown();
    SearchEngine& engine = rig_->window()->engine();
    engine.SetScanSlice(
        16);  // the window gets the events after every record or so
    engine.SetYieldInterval(std::chrono::nanoseconds(0));
    QLineEdit* full = rig_->Edit("universalEdit");
    full->setFocus();
    // Keys waiting in the queue arrive while the scan of "и" runs.
    for (QChar c : QStringLiteral("ван")) {
      QCoreApplication::postEvent(
          full, new QKeyEvent(QEvent::KeyPress, Qt::Key(c.toUpper().unicode()),
                              Qt::NoModifier, QString(c)));
    }
    TypeText(full, "и");
    QCOMPARE(full->text(), QStringLiteral("иван"));
    QVERIFY(engine.last_scan(TableId::kHome).passes > 1);
    QCOMPARE(Names(), (QStringList{"Иванов И.И.", "Иванова А.А.",
                                   "Сидоров С.С.", "Ливанов Л.Л."}));
    QCOMPARE(rig_->Count(), QStringLiteral("4 зап."));
    QVERIFY(!engine.busy());
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }

  void completeNumberFoundOnlyAmongOrganisations() {
    OpenSmallTown();
    Detailed();
    TypeText(rig_->Edit("homeNameEdit"), "Петров");
    TypeText(rig_->Edit("homeNumberEdit"), "555555");
    QVERIFY(rig_->OnOrgPage());
    QCOMPARE(rig_->Edit("orgNumberEdit")->text(), QStringLiteral("555555"));
    QCOMPARE(rig_->Edit("homeNumberEdit")->text(), QString());
    QCOMPARE(rig_->Edit("homeNameEdit")->text(),
             QString());  // a complete number stands alone
    QCOMPARE(rig_->Column("orgGrid", 2), QStringList{"Аптека"});
    QCOMPARE(rig_->Count(), QStringLiteral("1 зап."));

    // Back on the residential page, a number of neither table stays put.
    QTest::mouseClick(
        rig_->Find<QTabWidget>("pages")->tabBar(), Qt::LeftButton, {},
        rig_->Find<QTabWidget>("pages")->tabBar()->tabRect(0).center());
    QVERIFY(!rig_->OnOrgPage());
    TypeText(rig_->Edit("homeNumberEdit"), "999999");
    QVERIFY(!rig_->OnOrgPage());
    QCOMPARE(rig_->Edit("homeNumberEdit")->text(), QStringLiteral("999999"));
    QCOMPARE(rig_->Rows("homeGrid"), 0);
    QCOMPARE(rig_->Count(), QString());

    // A residential number is found where it is typed.
    rig_->Edit("homeNumberEdit")->clear();
    TypeText(rig_->Edit("homeNumberEdit"), "111112");
    QVERIFY(!rig_->OnOrgPage());
    QCOMPARE(Names(), QStringList{"Иванова А.А."});
  }

  void theFocusFollowsTheNumberToItsPage() {
    OpenSmallTown();
    Detailed();
    TypeText(rig_->Edit("homeNumberEdit"), "555555");
    QVERIFY(rig_->OnOrgPage());
    QCOMPARE(QApplication::focusWidget(), rig_->Edit("orgNumberEdit"));
    // The user goes on typing where the number now stands.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QCOMPARE(rig_->Edit("orgNumberEdit")->text(), QStringLiteral("55555"));

    // And back: a residential number typed on the organisation page.
    rig_->Edit("orgNumberEdit")->clear();
    for (char digit : std::string("111112"))
      QTest::keyClick(QApplication::focusWidget(), digit);
    QVERIFY(!rig_->OnOrgPage());
    QCOMPARE(QApplication::focusWidget(), rig_->Edit("homeNumberEdit"));
    QCOMPARE(Names(), QStringList{"Иванова А.А."});
  }

  void completeNumberInTheUniversalLine() {
    OpenSmallTown();
    TypeText(rig_->Edit("universalEdit"), "55555");
    int org_fills = 0;
    connect(rig_->Grid("orgGrid")->model(), &QAbstractItemModel::modelReset,
            [&] { ++org_fills; });
    TypeText(rig_->Edit("universalEdit"), "6");
    QVERIFY(rig_->OnOrgPage());
    QCOMPARE(rig_->Column("orgGrid", 2), QStringList{"Школа №1"});
    // Making the page active ran no page change, so no second search.
    QCOMPARE(org_fills, 1);
    QCOMPARE(rig_->Edit("universalEdit")->text(), QStringLiteral("555556"));
    QCOMPARE(rig_->Count(), QStringLiteral("1 зап."));

    // A number of neither table leaves the page and the line as they are.
    for (int page : {1, 0}) {
      rig_->Find<QTabWidget>("pages")->setCurrentIndex(page);
      rig_->Edit("universalEdit")->clear();
      TypeText(rig_->Edit("universalEdit"), "999999");
      QCOMPARE(rig_->Find<QTabWidget>("pages")->currentIndex(), page);
      QCOMPARE(rig_->Edit("universalEdit")->text(), QStringLiteral("999999"));
      QCOMPARE(rig_->Count(), QString());
    }
  }

  void f12TwiceGivesTheSameResults() {
    OpenSmallTown();
    TypeText(rig_->Edit("universalEdit"), "мира");
    const QStringList keys = rig_->Column("homeGrid", 0);
    QCOMPARE(keys.size(), 2);
    QTest::keyClick(rig_->Edit("universalEdit"), Qt::Key_F12);
    QCOMPARE(QApplication::focusWidget(), rig_->Edit("homeNumberEdit"));
    QVERIFY(!rig_->Find<QWidget>("universalPanel")->isVisible());
    QCOMPARE(rig_->Rows("homeGrid"), 5);  // the empty detailed edits
    QTest::keyClick(rig_->Edit("homeNumberEdit"), Qt::Key_F12);
    QCOMPARE(QApplication::focusWidget(), rig_->Edit("universalEdit"));
    QCOMPARE(rig_->Column("homeGrid", 0), keys);
    // The mode buttons do the same.
    QTest::mouseClick(rig_->Find<QWidget>("toDetailedButton"), Qt::LeftButton);
    QVERIFY(!rig_->window()->engine().universal_mode());
    QTest::mouseClick(rig_->Find<QWidget>("toUniversalButton"), Qt::LeftButton);
    QCOMPARE(rig_->Column("homeGrid", 0), keys);
  }

  void gridDoubleClicks() {
    OpenSmallTown();
    TypeText(rig_->Edit("universalEdit"), "иванов");
    DoubleClickCell("homeGrid", 0, 3);  // Мира
    QCOMPARE(rig_->Edit("universalEdit")->text(),
             QStringLiteral("иванов Мира"));
    QCOMPARE(Names(), QStringList{"Иванов И.И."});

    rig_->Edit("universalEdit")->clear();
    Detailed();
    DoubleClickCell("homeGrid", 2, 3);  // Петров's Мира
    QCOMPARE(rig_->Edit("homeStreetEdit")->text(), QStringLiteral("Мира"));
    QCOMPARE(Names(), (QStringList{"Иванов И.И.", "Петров П.П."}));

    // After a complete number, another field replaces the number.
    TypeText(rig_->Edit("homeNumberEdit"), "222221");
    QCOMPARE(rig_->Edit("homeStreetEdit")->text(), QString());
    DoubleClickCell("homeGrid", 0, 2);
    QCOMPARE(rig_->Edit("homeNumberEdit")->text(), QString());
    QCOMPARE(rig_->Edit("homeNameEdit")->text(), QStringLiteral("Петров П.П."));
    QCOMPARE(Names(), QStringList{"Петров П.П."});

    // A column without a search edit changes nothing.
    rig_->Find<QTabWidget>("pages")->setCurrentIndex(1);
    TypeText(rig_->Edit("orgNameEdit"), "Школа");
    DoubleClickCell("orgGrid", 0, 7);  // the office
    for (int kind = 0; kind < 8; ++kind) {
      QCOMPARE(rig_->Find<SearchPanel>("orgSearchPanel")->edit(kind)->text(),
               kind == 1 ? QStringLiteral("Школа") : QString());
    }
    QCOMPARE(rig_->Rows("orgGrid"), 1);
  }

  void editAndLabelDoubleClicks() {
    OpenSmallTown();
    TypeText(rig_->Edit("universalEdit"), "мира");
    QTest::mouseDClick(rig_->Find<QLabel>("countCaption"), Qt::LeftButton);
    QCOMPARE(rig_->Edit("universalEdit")->text(), QString());
    QCOMPARE(rig_->Rows("homeGrid"), 5);
    TypeText(rig_->Edit("universalEdit"), "мира");
    QTest::mouseDClick(rig_->Edit("universalEdit"), Qt::LeftButton);
    QCOMPARE(rig_->Edit("universalEdit")->text(), QString());
    QCOMPARE(rig_->Rows("homeGrid"), 5);

    Detailed();
    TypeText(rig_->Edit("homeNameEdit"), "Петров");
    TypeText(rig_->Edit("homeStreetEdit"), "Ленина");
    QCOMPARE(rig_->Rows("homeGrid"), 0);
    QTest::mouseDClick(rig_->Edit("homeStreetEdit"), Qt::LeftButton);
    QCOMPARE(rig_->Edit("homeStreetEdit")->text(), QString());
    QCOMPARE(Names(), QStringList{"Петров П.П."});
    QTest::mouseDClick(rig_->Find<QLabel>("countLabel"), Qt::LeftButton);
    QCOMPARE(rig_->Edit("homeNameEdit")->text(), QString());
    QCOMPARE(rig_->Rows("homeGrid"), 5);
  }

  // Setting a control to the text it holds is no change and searches
  // nothing; the label in the detailed mode always searches.
  void doubleClicksThatChangeNothingSearchNothing() {
    OpenSmallTown();
    int home_fills = 0;
    connect(rig_->Grid("homeGrid")->model(), &QAbstractItemModel::modelReset,
            [&] { ++home_fills; });
    QTest::mouseDClick(rig_->Edit("universalEdit"), Qt::LeftButton);
    QTest::mouseDClick(rig_->Find<QLabel>("countLabel"), Qt::LeftButton);
    QCOMPARE(home_fills, 0);

    Detailed();
    home_fills = 0;
    QTest::mouseDClick(rig_->Edit("homeStreetEdit"), Qt::LeftButton);
    QCOMPARE(home_fills, 0);
    DoubleClickCell("homeGrid", 0, 3);  // Мира into the empty street edit
    QCOMPARE(home_fills, 1);
    DoubleClickCell("homeGrid", 1, 3);  // Мира again
    QCOMPARE(home_fills, 1);
    QTest::mouseDClick(rig_->Find<QLabel>("countCaption"), Qt::LeftButton);
    QCOMPARE(home_fills, 2);
    QCOMPARE(rig_->Edit("homeStreetEdit")->text(), QString());
    QTest::mouseDClick(rig_->Find<QLabel>("countCaption"), Qt::LeftButton);
    QCOMPARE(home_fills, 3);
  }

  void enterMovesTheFocus() {
    OpenSmallTown();
    Detailed();
    QLineEdit* number = rig_->Edit("homeNumberEdit");
    number->setFocus();
    QTest::keyClick(number, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), rig_->Edit("homeNameEdit"));
    QTest::keyClick(rig_->Edit("homeNameEdit"), Qt::Key_Return,
                    Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), number);
    QCOMPARE(number->text(), QString());
    ResultGrid* grid = rig_->Grid("homeGrid");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), grid);
  }

  // "е" finding "ё" and similar records after an empty search, both on at
  // first, switched from the menu, stored, and read back by the next window.
  void yoAndSimilarSearchesFromTheMenu() {
    const std::string dir = TempDir();
    auto home = SmallTownHome();
    home.push_back({"555551", "Семёнов С.С.", "Садовая", "9", "", "4", "Юг"});
    WriteTown(dir + "/Town.qz", TownHeader("Город"), home, SmallTownOrg());
    rig_->Open(dir);
    QLineEdit* full = rig_->UniversalLine();
    TypeText(full, "семенов");
    QCOMPARE(Names(), QStringList{"Семёнов С.С."});
    QCOMPARE(rig_->Count(), QStringLiteral("1 зап."));
    full->clear();
    TypeText(full, "пертов");  // two letters swapped
    QCOMPARE(Names(), QStringList{"Петров П.П."});
    QCOMPARE(rig_->Count(), QStringLiteral("1 зап. — похожие"));
    TypeText(full, " мира");  // refined: still similar
    QCOMPARE(rig_->Count(), QStringLiteral("1 зап. — похожие"));
    TypeText(full, "1");  // digits never slip: no «1» follows «Мира»
    QCOMPARE(rig_->Count(), QString());

    Backspace(full);
    QVERIFY(rig_->Action("similarSearchMenuItem")->isChecked());
    QVERIFY(rig_->Trigger("similarSearchMenuItem"));  // the page searched
    QVERIFY(rig_->Grid("homeGrid")->isHidden());
    QCOMPARE(rig_->Count(), QString());
    QVERIFY(rig_->Trigger("yoSearchMenuItem"));
    full->clear();
    TypeText(full, "семенов");
    QVERIFY(rig_->Grid("homeGrid")->isHidden());
    QCOMPARE(rig_->settings.values["YoSearch"], std::string("0"));
    QCOMPARE(rig_->settings.values["SimilarSearch"], std::string("0"));

    rig_->Close();
    rig_->Open(dir);
    QVERIFY(!rig_->Action("yoSearchMenuItem")->isChecked());
    QVERIFY(!rig_->Action("similarSearchMenuItem")->isChecked());
    TypeText(rig_->UniversalLine(), "семенов");
    QVERIFY(rig_->Grid("homeGrid")->isHidden());
    QVERIFY(rig_->Trigger("yoSearchMenuItem"));
    QCOMPARE(Names(), QStringList{"Семёнов С.С."});
  }

  void countLabelAtTheCap() {
    const std::string dir = TempDir();
    std::vector<std::vector<std::string>> home;
    for (int i = 0; i < 1200; ++i) {
      home.push_back({std::to_string(100000 + i),
                      (i < 1000 ? "Альфа " : "Бета ") + std::to_string(i), "ул",
                      "1", "", "1", "Центр"});
    }
    WriteTown(dir + "/Big.qz", TownHeader("Большой"), home, SmallTownOrg());
    rig_->Open(dir);
    auto* label = rig_->Find<QLabel>("countLabel");
    QCOMPARE(rig_->Rows("homeGrid"), 1001);
    QCOMPARE(rig_->Cell("homeGrid", 1000, 2), QStringLiteral(". . . . ."));
    QCOMPARE(rig_->Count(), QStringLiteral("более 1000 зап."));
    QCOMPARE(label->toolTip(), QStringLiteral("Уточните параметры выборки"));

    TypeText(rig_->Edit("universalEdit"), "альфа");
    QCOMPARE(rig_->Rows("homeGrid"), 1000);
    QCOMPARE(rig_->Count(), QStringLiteral("1000 зап."));
    QCOMPARE(label->toolTip(), QString());
    rig_->Edit("universalEdit")->clear();
    TypeText(rig_->Edit("universalEdit"), "бета");
    QCOMPARE(rig_->Count(), QStringLiteral("200 зап."));
    QCOMPARE(rig_->Cell("homeGrid", 0, 2), QStringLiteral("Бета 1000"));

    // Hovering either label turns the count blue.
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(rig_->Find<QLabel>("countCaption"), &enter);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::blue));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(rig_->Find<QLabel>("countCaption"), &leave);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
  }
};

SPRAVKA_UI_TEST(SearchControlsTest);

}  // namespace spravka::testing

#include "search_controls_test.moc"
