// SPDX-License-Identifier: GPL-3.0-or-later
// The commands on the base file, through the window: saving, column
// widths, optimisation and restore, each checked in the file, and each
// failing without losing the unsaved changes.
#include <QMenu>
#include <QtTest>

#include "app/base_messages.h"
#include "storage/base_file.h"
#include "storage/byte_order.h"
#include "storage/optimiser.h"
#include "support/base_builder.h"
#include "support/faulty_file_system.h"
#include "ui/splash.h"
#include "ui_test_main.h"
#include "window_rig.h"

namespace spravka::testing {
namespace {

// The texts the splash window paints, in order.
class SplashWatcher : public QObject {
 public:
  SplashWatcher() { qApp->installEventFilter(this); }
  ~SplashWatcher() override { qApp->removeEventFilter(this); }
  QStringList texts;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (auto* splash = qobject_cast<SplashForm*>(watched);
        splash != nullptr && event->type() == QEvent::Paint &&
        (texts.isEmpty() || texts.back() != splash->text())) {
      texts << splash->text();
    }
    return false;
  }
};

enum class Command { kSave, kWidths, kOptimise, kRestore };

}  // namespace

class BaseCommandsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<WindowRig> rig_;
  std::string dir_;
  std::string path_;
  BaseHeader header_;

  void Open(FileSystem* fs = nullptr) {
    dir_ = TempDir();
    path_ = dir_ + "/Town.qz";
    header_ = TownHeader("Город");
    header_.OriginTag = "Kodrin_Uni";
    WriteTown(path_, header_, SmallTownHome(), SmallTownOrg());
    rig_ = std::make_unique<WindowRig>();
    rig_->fs = fs;
    rig_->Open(dir_);
  }
  // Runs a command the way the menu does: the menu decides first.
  void Run(Command command) {
    auto* menu = rig_->Find<QMenu>("contextMenu");
    menu->popup(QPoint(0, 0));
    menu->hide();
    // The window is active again once the menu has gone, as after a click
    // in the menu; the command's work lets the window system's events in.
    QCoreApplication::processEvents();
    rig_->window()->activateWindow();
    QCoreApplication::processEvents();
    switch (command) {
      case Command::kSave:
        QVERIFY(rig_->Trigger("saveMenuItem"));
        break;
      case Command::kWidths:
        QVERIFY(rig_->Trigger("saveWidthsMenuItem"));
        break;
      case Command::kOptimise:
        QVERIFY(rig_->Trigger("optimiseMenuItem"));
        break;
      case Command::kRestore:
        QVERIFY(rig_->Trigger("restoreMenuItem"));
        break;
    }
  }
  RecordStore Load() {
    RecordStore store;
    if (LoadBase(path_, &store).code() != StatusCode::kOk)
      qFatal("the base does not load");
    return store;
  }

 private slots:
  void cleanup() { rig_.reset(); }

  void savedChangesComeBack() {
    Open();
    rig_->EditCell("homeGrid", 1, 2, "Smith");
    Run(Command::kSave);
    QVERIFY(!rig_->Action("saveAction")->isEnabled());
    rig_->Close();
    rig_->Open(dir_);
    QCOMPARE(rig_->Cell("homeGrid", 1, 2), QStringLiteral("Smith"));
    QCOMPARE(rig_->window()->session().base().store().HomeChanges.size(),
             size_t{1});
  }

  void columnWidthsGoIntoTheHeaderInItsOwnUnits() {
    Open();
    ResultGrid* grid = rig_->Grid("orgGrid");
    const HeaderGeometry& g = rig_->window()->header_geometry();
    grid->setColumnWidth(2, g.ToScreen(97));
    Run(Command::kWidths);
    QVERIFY(rig_->boxes.shown.empty());
    RecordStore stored = Load();
    QCOMPARE(stored.header.OrgColWidths[1], 97);
    QCOMPARE(stored.header.OrgColWidths[0], header_.OrgColWidths[0]);
    QCOMPARE(stored.header.HomeColWidths, header_.HomeColWidths);
    // Nothing differs now: the item is off until the next drag.
    auto* menu = rig_->Find<QMenu>("contextMenu");
    menu->popup(QPoint(0, 0));
    menu->hide();
    QVERIFY(!rig_->Action("saveWidthsAction")->isEnabled());
  }

  void optimisationRebuildsTheBaseAndKeepsTheOldOneAsBackup() {
    Open();
    rig_->EditCell("homeGrid", 0, 2, "Smith");
    rig_->Find<QTabWidget>("pages")->setCurrentIndex(1);
    rig_->EditCell("orgGrid", 1, 2, "School");
    const std::string before = ReadBytes(path_);
    rig_->boxes.answers = {true};
    SplashWatcher splash;
    Run(Command::kOptimise);
    QCOMPARE(rig_->boxes.shown[0].text,
             OptimiseQuestion("Town", EstimateOptimisation(7, 2)));
    QCOMPARE(rig_->boxes.shown[1].text,
             std::string("База Оптимизирована.\r\n5 квартирных телефонов и"
                         "\r\n2 телефонов организаций."));
    QCOMPARE(splash.texts,
             (QStringList{"Перестройка справочника.", "Индексация справочника.",
                          "Загрузка справочника..."}));
    QCOMPARE(ReadBytes(dir_ + "/Town.~qz"), before);

    // The new file is the base part the working tables make, byte for byte.
    const std::string after = ReadBytes(path_);
    const int32_t stamp =
        ReadInt32(reinterpret_cast<const uint8_t*>(after.data()) + 740);
    BaseHeader expected = header_;
    expected.TableGrowth = 6 * 5 + 100000;
    std::vector<Fields> home, org;
    for (const auto& r : SmallTownHome()) {
      Fields f;
      for (const auto& field : r) f.push_back(W(field));
      home.push_back(f);
    }
    home[0][1] = "Smith";
    for (const auto& r : SmallTownOrg()) {
      Fields f;
      for (const auto& field : r) f.push_back(W(field));
      org.push_back(f);
    }
    org[1][1] = "School";
    QCOMPARE(after, WriteBasePart(expected, stamp, SectionText(home),
                                  SectionText(org)));

    // Loaded again: no change entries, on the residential page.
    QVERIFY(rig_->window()->session().base().store().HomeChanges.empty());
    QVERIFY(rig_->window()->session().base().store().OrgChanges.empty());
    QVERIFY(!rig_->OnOrgPage());
    QCOMPARE(rig_->Cell("homeGrid", 0, 2), QStringLiteral("Smith"));
    QVERIFY(!rig_->window()->session().navigation().previous_base());
  }

  void restoreCutsTheFileToItsBasePart() {
    Open();
    const std::string clean = ReadBytes(path_);
    rig_->EditCell("homeGrid", 0, 2, "Smith");
    Run(Command::kSave);
    QVERIFY(ReadBytes(path_).size() > clean.size());
    rig_->EditCell("homeGrid", 1, 2, "Unsaved");
    rig_->boxes.answers = {true};
    Run(Command::kRestore);
    QCOMPARE(rig_->boxes.shown.size(), size_t{1});  // no save question
    QCOMPARE(rig_->boxes.shown[0].text,
             std::string("Вы Действительно хотите восстановить\r\n  исходное "
                         "систояние базы \"Town.qz\" ?\r\n (все изменения базы "
                         "пользователем \r\n  после оптимизации будут "
                         "анулированы)"));
    QCOMPARE(ReadBytes(path_), clean);
    QVERIFY(!rig_->Action("saveAction")->isEnabled());
    QVERIFY(rig_->window()->session().base().store().HomeChanges.empty());
    QCOMPARE(rig_->Cell("homeGrid", 0, 2), QStringLiteral("Иванов И.И."));
    // Left with no base current: the restored one is loaded anew.
    QCOMPARE(rig_->settings.values["LastBase"], std::string());
  }

  // A window that may not write its base, because its folder cannot be
  // written or another window has the base open, offers no writer, takes no
  // edit and says so in its title for as long as it shows the base; its
  // writers, called all the same, change nothing.
  void aReadOnlyWindowOffersNoWriter_data() {
    QTest::addColumn<bool>("open_elsewhere");
    QTest::newRow("folder not writable") << false;
    QTest::newRow("open in another window") << true;
  }
  void aReadOnlyWindowOffersNoWriter() {
    QFETCH(bool, open_elsewhere);
    Open();
    // Two saved changes: a base to optimise and to restore.
    rig_->EditCell("homeGrid", 0, 2, "Smith");
    rig_->Pages()->setCurrentIndex(1);
    rig_->EditCell("orgGrid", 1, 2, "School");
    rig_->Pages()->setCurrentIndex(0);
    Run(Command::kSave);
    QCOMPARE(rig_->window()->windowTitle(), QStringLiteral("Город"));
    rig_->Close();
    const std::string before = ReadBytes(path_);

    WindowRig first;
    if (open_elsewhere) {
      first.Open(dir_);
      QCOMPARE(first.window()->windowTitle(), QStringLiteral("Город"));
    }
    WindowRig second;
    second.files.read_only = !open_elsewhere;
    second.Open(dir_);
    QCOMPARE(second.boxes.shown.size(), open_elsewhere ? size_t{1} : size_t{0});
    QCOMPARE(second.window()->windowTitle(),
             QStringLiteral("Город (только чтение)"));
    ResultGrid* grid = second.Grid("homeGrid");
    grid->setColumnWidth(2, grid->columnWidth(2) + 30);
    auto* menu = second.Find<QMenu>("contextMenu");
    menu->popup(QPoint(0, 0));
    for (const char* writer :
         {"saveWidthsMenuItem", "optimiseMenuItem", "restoreMenuItem",
          "addMenuItem", "deleteMenuItem", "pasteMenuItem", "saveMenuItem"}) {
      QVERIFY2(!second.Action(writer)->isEnabled(), writer);
    }
    menu->hide();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 2));
    Keys("x");
    QVERIFY(!grid->EditorOpen());

    OpenBase& base = second.window()->session().base();
    QVERIFY(base.StoreForEdit() == nullptr);
    second.boxes.shown.clear();
    QVERIFY(!base.SaveColumnWidths({}, {}));
    QVERIFY(!base.Restore());
    QVERIFY(!base.Optimise({}, {}, {}, nullptr).ok());
    QCOMPARE(second.boxes.shown.size(), size_t{2});
    QCOMPARE(ReadBytes(path_), before);
    QCOMPARE(second.window()->windowTitle(),
             QStringLiteral("Город (только чтение)"));
  }

  // A command whose write fails, by an error returned or thrown: the
  // window shows the error, keeps the unsaved changes and lets them be
  // saved later. (What the files hold after a failure at any step is the
  // storage tests' table.)
  void failuresKeepTheChanges_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("throws");
    for (bool throws : {false, true}) {
      const char* how = throws ? " (thrown)" : " (returned)";
      QTest::newRow((std::string("save") + how).c_str())
          << int(Command::kSave) << throws;
      QTest::newRow((std::string("column widths") + how).c_str())
          << int(Command::kWidths) << throws;
      QTest::newRow((std::string("optimisation") + how).c_str())
          << int(Command::kOptimise) << throws;
      QTest::newRow((std::string("restore") + how).c_str())
          << int(Command::kRestore) << throws;
    }
  }
  void failuresKeepTheChanges() {
    QFETCH(int, command);
    QFETCH(bool, throws);
    const auto c = static_cast<Command>(command);
    FaultyFileSystem fs;
    Open(&fs);
    rig_->EditCell("homeGrid", 0, 2, "Saved");
    Run(Command::kSave);
    rig_->EditCell("homeGrid", 1, 2, "Unsaved");
    if (c == Command::kWidths) {
      ResultGrid* g = rig_->Grid("homeGrid");
      g->setColumnWidth(2, g->columnWidth(2) + 30);
    }
    const std::string before = ReadBytes(path_);
    const size_t shown = rig_->boxes.shown.size();
    fs.writes_fail = true;
    fs.throws = throws;
    rig_->boxes.answers = {true};
    Run(c);
    QVERIFY(rig_->boxes.shown.size() > shown);
    QCOMPARE(rig_->boxes.shown.back().kind, MessageKind::kError);
    QCOMPARE(ReadBytes(path_), before);
    QVERIFY(rig_->Action("saveAction")->isEnabled());
    QCOMPARE(rig_->window()->session().base().store().HomeChanges.size(),
             size_t{2});
    QCOMPARE(rig_->Cell("homeGrid", 1, 2), QStringLiteral("Unsaved"));
    // And the changes can still be saved.
    fs.writes_fail = false;
    Run(Command::kSave);
    QVERIFY(!rig_->Action("saveAction")->isEnabled());
    QCOMPARE(Load().HomeChanges.size(), size_t{2});
    rig_.reset();  // before the file system it uses goes
  }
};

SPRAVKA_UI_TEST(BaseCommandsTest);

}  // namespace spravka::testing

#include "base_commands_test.moc"
