// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, the town list, the window's look from the base header,
// settings and closing.
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>
#include <filesystem>

#include "app/base_messages.h"
#include "app/base_session.h"
#include "search/search_engine.h"
#include "storage/base_file.h"
#include "support/base_builder.h"
#include "ui/search_panel.h"
#include "ui/town_switcher.h"
#include "ui_test_main.h"
#include "window_rig.h"

namespace spravka::testing {
namespace {

QStringList Items(QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

void WriteSmallTown(const std::string& path, const std::string& caption) {
  WriteTown(path, TownHeader(caption), SmallTownHome(), SmallTownOrg());
}

}  // namespace

class StartUpTest : public QObject {
  Q_OBJECT

 private slots:
  void townListOrderAndEntries() {
    const std::string dir = TempDir();
    const std::string other = TempDir();
    WriteSmallTown(dir + "/Moscow.qz", "Москва");
    WriteSmallTown(dir + "/Kiev.qz", "Киев");
    WriteSmallTown(dir + "/город.QZ", "Город");
    WriteBytes(dir + "/readme.txt", "");
    WriteSmallTown(other + "/Town.qz", "Другой город");

    WindowRig rig;
    rig.Open(dir, {QString::fromStdString("\"" + other + "/Town.qz\"")});
    auto* towns = rig.Find<QComboBox>("townBox");
    const QString far = QString::fromStdString(" Town *" + other);
    QCOMPARE(Items(towns), (QStringList{" Kiev", " Moscow", far, " город"}));
    QCOMPARE(towns->currentText(), far);
    QCOMPARE(rig.window()->windowTitle(), QStringLiteral("Другой город"));
    rig.Close();

    // "LastBase" now names the far base, which the list of the folder
    // lacks: the first town opens. The file by its real name opens too.
    QCOMPARE(rig.settings.values["LastBase"], other + "/Town");
    rig.Open(dir);
    QCOMPARE(rig.Find<QComboBox>("townBox")->currentText(),
             QStringLiteral(" Kiev"));
    rig.Close();
    rig.settings.values["LastBase"] = "ГОРОД";
    rig.Open(dir);
    QCOMPARE(rig.window()->windowTitle(), QStringLiteral("Город"));
    QCOMPARE(rig.Find<QComboBox>("townBox")->currentText(),
             QStringLiteral(" город"));
    QVERIFY(rig.boxes.shown.empty());
  }

  // The town list keeps its width: an entry it cannot show whole is shown
  // in its tool tip, above the base's description, and every entry of the
  // list has itself as its tool tip.
  void entriesTooWideForTheTownListShowInToolTips() {
    const std::string dir = TempDir();
    const std::string other = TempDir() + "/Дальний/каталог баз";
    std::filesystem::create_directories(other);
    WriteSmallTown(dir + "/Kiev.qz", "Киев");
    WriteSmallTown(other + "/Дальний.qz", "Дальний");
    WindowRig rig;
    rig.Open(dir, {QString::fromStdString(other + "/Дальний.qz")});
    QComboBox* towns = rig.TownList();
    const int width = towns->width();
    const QString far = QString::fromStdString("Дальний *" + other);
    QCOMPARE(towns->currentText(), " " + far);
    QCOMPARE(towns->toolTip(), far + "\nОписание: Дальний");
    for (int i = 0; i < towns->count(); ++i) {
      QCOMPARE(towns->itemData(i, Qt::ToolTipRole).toString(),
               towns->itemText(i).trimmed());
    }
    towns->setFocus();
    QTest::keyClick(towns, Qt::Key_Up);
    QCOMPARE(towns->currentText(), QStringLiteral(" Kiev"));
    QCOMPARE(towns->toolTip(), QStringLiteral("Описание: Киев"));
    QCOMPARE(towns->width(), width);
  }

  void windowTakesItsLookFromTheHeader() {
    const std::string dir = TempDir();
    BaseHeader h = TownHeader("Заголовок окна");
    h.HomeFields = 0b1101111;  // no building
    h.HomeFieldCount = 6;
    h.HomeEditPlaces[5] = {0, 0, 0};  // flats: a column without an edit
    h.HomeColWidths = {41, 150, 120, 33, 34, 55, 0};
    std::vector<std::vector<std::string>> home;
    for (const auto& r : SmallTownHome())
      home.push_back({r[0], r[1], r[2], r[3], r[5], r[6]});
    WriteTown(dir + "/Town.qz", h, home, SmallTownOrg());

    WindowRig rig;
    rig.Open(dir);
    QCOMPARE(rig.window()->windowTitle(), QStringLiteral("Заголовок окна"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Справка"));
    QCOMPARE(rig.Find<QComboBox>("townBox")->toolTip(),
             QStringLiteral("Описание: Заголовок окна"));

    // Header pixels, scaled to the interface font.
    const HeaderGeometry& g = rig.window()->header_geometry();
    for (int kind : {0, 1, 2, 3, 6}) {
      QLineEdit* e = rig.Find<SearchPanel>("homeSearchPanel")->edit(kind);
      QLabel* l = rig.Find<SearchPanel>("homeSearchPanel")->label(kind);
      QVERIFY(!e->isHidden() && !l->isHidden());
      QCOMPARE(e->x(), g.ToScreen(h.HomeEditPlaces[kind].edit_left));
      QCOMPARE(e->width(), g.ToScreen(h.HomeEditPlaces[kind].edit_width));
      QCOMPARE(l->x(), g.ToScreen(h.HomeEditPlaces[kind].label_left));
    }
    QVERIFY(rig.Edit("homeBlockEdit")->isHidden());
    QVERIFY(rig.Edit("homeFlatEdit")->isHidden());
    QVERIFY(rig.Find<QLabel>("homeFlatLabel")->isHidden());
    QVERIFY(!rig.Edit("orgDistrictEdit")->isHidden());

    ResultGrid* grid = rig.Grid("homeGrid");
    QCOMPARE(grid->model()->columnCount(), 7);
    QVERIFY(grid->isColumnHidden(0));
    QStringList captions;
    for (int c = 1; c <= 6; ++c) {
      captions << grid->model()->headerData(c, Qt::Horizontal).toString();
      QCOMPARE(grid->columnWidth(c), g.ToScreen(h.HomeColWidths[c - 1]));
      QCOMPARE(grid->HeaderWidth(c), h.HomeColWidths[c - 1]);
    }
    QCOMPARE(captions,
             (QStringList{"Номер", "ФИО", "улица", "дом", "кв.", "район"}));
    QCOMPARE(grid->verticalHeader()->defaultSectionSize(), g.ToScreen(18));
    QCOMPARE(rig.Grid("orgGrid")->model()->columnCount(), 9);

    auto* pages = rig.Find<QTabWidget>("pages");
    QCOMPARE(pages->tabPosition(), QTabWidget::South);
    QCOMPARE(pages->tabText(0), QString(47, ' ') + "Квартирные");
    QCOMPARE(pages->tabText(1), QStringLiteral("Организации"));

    // The stored mode is absent: universal, with the line over the panels.
    QWidget* line_panel = rig.Find<QWidget>("universalPanel");
    QWidget* panel2 = rig.Find<QWidget>("homeSearchPanel");
    QVERIFY(line_panel->isVisible());
    QVERIFY(rig.Find<QWidget>("toDetailedPanel")->isVisible());
    QVERIFY(!panel2->isEnabled());
    QCOMPARE(line_panel->geometry(),
             QRect(panel2->mapTo(rig.window()->centralWidget(), QPoint()),
                   panel2->size()));
    QCOMPARE(QApplication::focusWidget(), rig.Edit("universalEdit"));

    // Both searches ran; the residential page is the one shown.
    QCOMPARE(rig.Rows("homeGrid"), 5);
    QCOMPARE(rig.Rows("orgGrid"), 2);
    QVERIFY(!rig.OnOrgPage());
    QCOMPARE(rig.Count(), QStringLiteral("5 зап."));
    QCOMPARE(rig.Cell("homeGrid", 0, 2), QStringLiteral("Иванов И.И."));
    QCOMPARE(rig.Cell("homeGrid", 0, 0), QStringLiteral("0000001"));
  }

  void settingsReadAtStartAndWrittenAtClose() {
    const std::string dir = TempDir();
    WriteSmallTown(dir + "/Kiev.qz", "Киев");
    WriteSmallTown(dir + "/Moscow.qz", "Москва");
    WindowRig rig;
    rig.settings.values = {{"LastBase", "Moscow"},
                           {"USearch", "0"},
                           {"Contrast", "5"},
                           {"Zebra", "0"}};
    rig.Open(dir);
    QCOMPARE(rig.window()->windowTitle(), QStringLiteral("Москва"));
    QVERIFY(!rig.Find<QWidget>("universalPanel")->isVisible());
    QVERIFY(!rig.Find<QWidget>("toDetailedPanel")->isVisible());
    QVERIFY(rig.Find<QWidget>("toUniversalPanel")->isVisible());
    QVERIFY(rig.Find<QWidget>("homeSearchPanel")->isEnabled());
    QCOMPARE(QApplication::focusWidget(), rig.Edit("homeNumberEdit"));
    QAction* n11 = rig.Action("stripesMenuItem");
    QVERIFY(n11->isVisible());
    QVERIFY(!n11->isChecked());
    QVERIFY(rig.Grid("homeGrid")->showGrid());
    QCOMPARE(rig.window()->session().stripes().contrast_level(), 5);

    QTest::keyClick(rig.Edit("homeNumberEdit"), Qt::Key_F12);
    QTest::keyClick(rig.Edit("universalEdit"), Qt::Key_Slash,
                    Qt::ControlModifier | Qt::KeypadModifier);
    QVERIFY(n11->isChecked());
    QTest::keyClick(rig.Edit("universalEdit"), Qt::Key_F10);  // the exit action
    QVERIFY(!rig.window()->isVisible());
    QCOMPARE(rig.settings.values,
             (std::map<std::string, std::string>{{"LastBase", "Moscow"},
                                                 {"USearch", "1"},
                                                 {"Contrast", "5"},
                                                 {"Zebra", "1"}}));
    rig.Close();

    rig.Open(dir);
    QVERIFY(rig.Find<QWidget>("universalPanel")->isVisible());
    QVERIFY(rig.Action("stripesMenuItem")->isChecked());
    QVERIFY(!rig.Grid("homeGrid")->showGrid());
  }

  void saveQuestionComesAfterTheSettings() {
    for (bool yes : {false, true}) {
      const std::string dir = TempDir();
      WriteSmallTown(dir + "/Town.qz", "Город");
      const std::string before = ReadBytes(dir + "/Town.qz");
      WindowRig rig;
      rig.Open(dir);
      rig.window()->session().base().MarkModified();  // as an edit would
      std::map<std::string, std::string> stored_when_asked;
      rig.boxes.on_ask = [&] { stored_when_asked = rig.settings.values; };
      rig.boxes.answers = {yes};
      rig.Close();
      QCOMPARE(rig.boxes.shown.size(), size_t{1});
      QCOMPARE(rig.boxes.shown[0].text,
               std::string("Сохранить изменения базы?"));
      QCOMPARE(stored_when_asked["LastBase"], std::string("Town"));
      const std::string after = ReadBytes(dir + "/Town.qz");
      if (yes) {
        QVERIFY(after.size() > before.size());  // a change section now follows
        QCOMPARE(after.substr(0, before.size()), before);
      } else {
        QCOMPARE(after, before);
      }
    }
  }

  // The base file is gone when the changes are to be saved (the medium was
  // taken out): neither a switch nor closing may throw the changes away.
  void aFailedSaveLosesNothing() {
    const std::string dir = TempDir();
    const std::string alpha = dir + "/Alpha.qz";
    WriteSmallTown(alpha, "Альфа");
    WriteSmallTown(dir + "/Beta.qz", "Бета");
    const std::string stored = ReadBytes(alpha);
    WindowRig rig;
    rig.Open(dir);
    // As a deletion of the first record would leave it.
    rig.window()->session().base().StoreForEdit()->HomeChanges.Add(1, "\x1F");
    rig.window()->session().base().MarkModified();
    std::filesystem::remove(alpha);

    auto expect_kept = [&](const char* attempt) {
      QVERIFY2(rig.window()->isVisible(), attempt);
      QCOMPARE(rig.boxes.shown.size(), size_t{2});
      QCOMPARE(rig.boxes.shown[0].text,
               std::string("Сохранить изменения базы?"));
      QCOMPARE(rig.boxes.shown[1].kind, MessageKind::kError);
      QVERIFY(!rig.boxes.shown[1].text.empty());
      rig.boxes.shown.clear();
      QCOMPARE(rig.window()->windowTitle(), QStringLiteral("Альфа"));
      QCOMPARE(rig.window()->session().navigation().current_base(),
               std::string("Alpha"));
      QCOMPARE(rig.Find<QComboBox>("townBox")->currentText(),
               QStringLiteral(" Alpha"));
      QCOMPARE(rig.window()->session().base().store().HomeChanges.size(),
               size_t{1});
      QVERIFY2(rig.Action("saveAction")->isEnabled(), attempt);  // ask again
      // The window is whole again: its search edits and a filled grid.
      QVERIFY(!rig.Edit("homeNumberEdit")->isHidden());
      QVERIFY(!rig.Edit("orgNumberEdit")->isHidden());
      QCOMPARE(rig.Rows("homeGrid"), 5);
    };

    TypeText(rig.Edit("universalEdit"), "мира");
    auto* towns = rig.Find<QComboBox>("townBox");
    towns->setFocus();
    rig.boxes.answers = {true};
    QTest::keyClick(towns, Qt::Key_Down);  // to Beta
    expect_kept("switch");
    if (QTest::currentTestFailed()) return;

    rig.boxes.answers = {true};
    rig.window()->close();
    expect_kept("close");
    if (QTest::currentTestFailed()) return;

    // The medium is back: the next close saves.
    WriteBytes(alpha, stored);
    rig.boxes.answers = {true};
    rig.Close();
    QCOMPARE(rig.boxes.shown.size(), size_t{1});
    rig.settings.values["LastBase"] = "Alpha";
    rig.Open(dir);
    QCOMPARE(rig.Rows("homeGrid"), 4);  // the first record stays deleted
  }

  // A first town that cannot be read gives way to the next town whose file
  // loads; alone in its folder, to the offer of a new base; without one the
  // program ends. The window never shows without a base.
  void startingWithAnUnreadableBase_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("other_town");
    QTest::addColumn<bool>("make_new_base");  // the dialog's answer
    const std::string whole = MakeBaseFile({{"1", "a"}}, {{"2", "b"}});
    const QByteArray truncated(whole.data(),
                               static_cast<qsizetype>(whole.size() / 2));
    QTest::newRow("too short, another town")
        << QByteArray("abc") << true << false;
    QTest::newRow("empty, another town") << QByteArray() << true << false;
    QTest::newRow("truncated, another town") << truncated << true << false;
    QTest::newRow("alone, a new base made") << truncated << false << true;
    QTest::newRow("alone, no new base") << QByteArray("abc") << false << false;
  }
  void startingWithAnUnreadableBase() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, other_town);
    QFETCH(bool, make_new_base);
    const std::string dir = TempDir();
    WriteBytes(dir + "/Alpha.qz", bytes.toStdString());
    if (other_town) WriteSmallTown(dir + "/Beta.qz", "Бета");
    WindowRig rig;
    if (!other_town) {
      rig.AnswerNewBase(make_new_base ? Qt::Key_Return : Qt::Key_Escape);
    }
    rig.Open(dir);
    QVERIFY(!rig.boxes.shown.empty());
    QCOMPARE(rig.boxes.shown[0].kind, MessageKind::kError);
    QVERIFY(rig.boxes.shown[0].text.find("Alpha") != std::string::npos);
    if (!other_town && !make_new_base) {
      QVERIFY(rig.window()->ended());
      QCOMPARE(rig.end_calls, 1);
      QVERIFY(!rig.window()->isVisible());
      QCOMPARE(rig.boxes.shown.size(), size_t{2});
      QCOMPARE(rig.boxes.shown[1].text, NoBaseMessage());
      return;
    }
    QCOMPARE(rig.boxes.shown.size(), size_t{1});
    QVERIFY(!rig.window()->ended());
    QVERIFY(rig.window()->isVisible());
    QVERIFY(rig.window()->session().base().loaded());
    if (other_town) {
      QCOMPARE(rig.window()->windowTitle(), QStringLiteral("Бета"));
      QCOMPARE(rig.TownList()->currentText(), QStringLiteral(" Beta"));
      QCOMPARE(rig.Rows(TableId::kHome), 5);
    } else {
      QCOMPARE(rig.TownList()->currentText(),
               QStringLiteral(" Новый справочник"));
      QVERIFY(std::filesystem::exists(dir + "/Новый справочник.qz"));
    }
  }

  void readOnlyFolder() {
    const std::string dir = TempDir();
    WriteSmallTown(dir + "/Town.qz", "Город");
    WindowRig rig;
    rig.files.read_only = true;  // as on a read-only medium
    rig.Open(dir);
    QVERIFY(rig.window()->session().navigation().folder_read_only());
    QVERIFY(rig.window()->session().base().read_only());
    for (const char* name :
         {"addAction", "deleteAction", "pasteAction", "saveWidthsAction"}) {
      QVERIFY2(!rig.Action(name)->isEnabled(), name);
    }
    QVERIFY(!rig.Find<QWidget>("addButton")->isEnabled());
    QVERIFY(!rig.Find<QWidget>("deleteButton")->isEnabled());
    QCOMPARE(rig.Rows("homeGrid"), 5);  // the base is shown all the same
    QCOMPARE(rig.Count(), QStringLiteral("5 зап."));

    rig.Close();
    rig.files.read_only = false;
    rig.Open(dir);
    QVERIFY(rig.Action("deleteAction")->isEnabled());
    QVERIFY(rig.Action("addAction")->isEnabled());
  }

  void fatalFailuresEndTheProgram() {
    std::string damaged_header = MakeBaseFile({{"1", "a"}}, {{"2", "b"}});
    damaged_header[kHeaderOffset + 734] ^= 0x01;  // the check tag
    std::string newer_format = MakeBaseFile({{"1", "a"}}, {{"2", "b"}});
    newer_format[kHeaderOffset] ^= 0x03;  // both tags "B": sound, but newer
    newer_format[kHeaderOffset + 734] ^= 0x03;
    struct Case {
      const char* file;  // nothing: an empty folder
      std::string bytes;
      MessageKind kind;
      std::string text;
    };
    const Case cases[] = {
        {nullptr, "", MessageKind::kError, NoBaseMessage()},
        {"Town.qz", damaged_header, MessageKind::kError, kDamagedHeaderText},
        {"Town.qz", newer_format, MessageKind::kError,
         "Неподдерживаемый формат базы.\r\nНовая весия программы на: \r\n" +
             std::string(kSiteAddress)},
    };
    for (const Case& c : cases) {
      const std::string dir = TempDir();
      if (c.file) WriteBytes(dir + "/" + c.file, c.bytes);
      WindowRig rig;
      // An empty folder without the new-base template: the dialog comes,
      // nothing can be made, and the program ends.
      rig.base_template = std::nullopt;
      if (!c.file) rig.AnswerNewBase(Qt::Key_Escape);
      rig.Open(dir);
      QVERIFY(rig.window()->ended());
      QCOMPARE(rig.end_calls, 1);
      QVERIFY(!rig.window()->isVisible());
      QCOMPARE(rig.boxes.shown.size(), size_t{1});
      QCOMPARE(rig.boxes.shown[0].kind, c.kind);
      QCOMPARE(rig.boxes.shown[0].text, c.text);
      rig.Close();
      QVERIFY(rig.settings.values.empty());  // a fatal end stores nothing
    }
  }

  void choosingAnotherTownSwitchesTheBase() {
    const std::string dir = TempDir();
    WriteSmallTown(dir + "/Alpha.qz", "Альфа");
    std::vector<std::vector<std::string>> home = {
        {"777777", "Бета Б.Б.", "Бетонная", "1", "", "1", "Центр"}};
    WriteTown(dir + "/Beta.qz", TownHeader("Бета"), home, SmallTownOrg());
    WindowRig rig;
    rig.Open(dir);
    TypeText(rig.Edit("universalEdit"), "мира");
    rig.Find<QTabWidget>("pages")->setCurrentIndex(1);
    auto* towns = rig.Find<QComboBox>("townBox");
    towns->setFocus();
    QTest::keyClick(towns, Qt::Key_Down);  // the closed list: at once
    QCOMPARE(rig.window()->windowTitle(), QStringLiteral("Бета"));
    QCOMPARE(rig.window()->session().navigation().current_base(),
             std::string("Beta"));
    QCOMPARE(rig.window()->session().navigation().previous_base(),
             std::string("Alpha"));
    QCOMPARE(rig.settings.values["LastBase"], std::string("Alpha"));
    QVERIFY(!rig.OnOrgPage());
    QCOMPARE(rig.Edit("universalEdit")->text(), QString());
    QCOMPARE(rig.Column("homeGrid", 2), QStringList{"Бета Б.Б."});
    QCOMPARE(rig.Count(), QStringLiteral("1 зап."));
    QCOMPARE(rig.help.lines()[20], W("Описание: Бета"));
    QTRY_COMPARE(QApplication::focusWidget(), rig.Edit("universalEdit"));

    // Leaving the list on the entry that is shown loads nothing again.
    const size_t boxes = rig.boxes.shown.size();
    rig.window()->town_switcher().SwitchToSelectedTown();
    QCOMPARE(rig.window()->session().navigation().previous_base(),
             std::string("Alpha"));
    QCOMPARE(rig.boxes.shown.size(), boxes);
  }

  void f9DropsDownTheMenu() {
    const std::string dir = TempDir();
    WriteSmallTown(dir + "/Town.qz", "Город");
    WindowRig rig;
    rig.Open(dir);
    auto* menu = rig.Find<QMenu>("contextMenu");
    bool seen = false;
    QTimer::singleShot(100, menu, [&] {
      seen = menu->isVisible();
      menu->close();
    });
    QTest::keyClick(rig.Edit("universalEdit"), Qt::Key_F9);
    QTRY_VERIFY(seen);
    QVERIFY(rig.Action("stripesMenuItem")->isVisible());
  }

  void helpShowsTheBaseDescription() {
    const std::string dir = TempDir();
    WriteSmallTown(dir + "/Town.qz", "Город");
    WindowRig rig;
    rig.Open(dir);
    // Its controls are made when it is first shown, with the description
    // placed before, and kept from then on.
    QVERIFY(rig.help.findChild<QPlainTextEdit*>("informationText") == nullptr);
    QTest::keyClick(rig.Edit("universalEdit"), Qt::Key_F1);
    QVERIFY(rig.help.isVisible());
    auto* memo1 = rig.help.findChild<QPlainTextEdit*>("informationText");
    QVERIFY(!rig.help.findChild<QPlainTextEdit*>("newBaseHelp")->isVisible());
    QCOMPARE(memo1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(memo1->document()->findBlockByNumber(20).text(),
             QStringLiteral("Описание: Город"));
    QCOMPARE(memo1->document()->findBlockByNumber(21).text(), QString());
    QVERIFY(memo1->document()->findBlockByNumber(22).text().contains("* *"));
    QTest::keyClick(memo1, Qt::Key_Return);
    QVERIFY(!rig.help.isVisible());
    QTest::keyClick(rig.Edit("universalEdit"), Qt::Key_F1);
    QCOMPARE(rig.help.findChild<QPlainTextEdit*>("informationText"), memo1);
    rig.help.hide();
  }
};

SPRAVKA_UI_TEST(StartUpTest);

}  // namespace spravka::testing

#include "start_up_test.moc"
