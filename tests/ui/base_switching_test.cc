// SPDX-License-Identifier: GPL-3.0-or-later
// Managing bases through the window: the first start in an empty folder,
// switching towns with and without unsaved changes, a switch that fails,
// files dropped on the window, a new base from the menu, and the file
// association.
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QtTest>
#include <filesystem>

#include "app/base_messages.h"
#include "storage/base_file.h"
#include "storage/record_key.h"
#include "support/base_builder.h"
#include "ui_test_main.h"
#include "window_rig.h"

namespace spravka::testing {
namespace {

void WriteSmallTown(const std::string& path, const std::string& caption) {
  WriteTown(path, TownHeader(caption), SmallTownHome(), SmallTownOrg());
}

QStringList Items(QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

// Files dropped on a window as the desktop drops them.
void Drop(QWidget* window, const QStringList& paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton,
                        Qt::NoModifier);
  QApplication::sendEvent(window, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton,
                  Qt::NoModifier);
  QApplication::sendEvent(window, &drop);
}

}  // namespace

class BaseSwitchingTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<WindowRig> rig_;
  std::string dir_;

  QComboBox* Towns() { return rig_->Find<QComboBox>("townBox"); }
  void Choose(const QString& entry) {
    Towns()->setFocus();
    Towns()->setCurrentIndex(Towns()->findText(entry));
  }
 private slots:
  void init() {
    rig_ = std::make_unique<WindowRig>();
    dir_ = TempDir();
  }
  void cleanup() { rig_.reset(); }

  void aFirstStartInAnEmptyFolderMakesABase_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc: without any town a base is made all the same")
        << int(Qt::Key_Escape);
  }
  void aFirstStartInAnEmptyFolderMakesABase() {
    QFETCH(int, key);
    rig_->AnswerNewBase(Qt::Key(key));
    rig_->Open(dir_);
    QVERIFY(!rig_->window()->ended());
    QVERIFY(QFileInfo::exists(QString::fromStdString(dir_) +
                              "/Новый справочник.qz"));
    QCOMPARE(Items(Towns()), QStringList{" Новый справочник"});
    QCOMPARE(rig_->window()->windowTitle(),
             QStringLiteral("Телефонный cправочник"));
    QVERIFY(rig_->window()->isVisible());
    QVERIFY(rig_->boxes.shown.empty());
  }

  void switchingAsksAboutUnsavedChanges_data() {
    QTest::addColumn<bool>("edited");
    QTest::addColumn<bool>("answer");
    QTest::newRow("no changes: no question") << false << false;
    QTest::newRow("changes, answered Yes") << true << true;
    QTest::newRow("changes, answered No") << true << false;
  }
  void switchingAsksAboutUnsavedChanges() {
    QFETCH(bool, edited);
    QFETCH(bool, answer);
    WriteSmallTown(dir_ + "/Alpha.qz", "Альфа");
    WriteSmallTown(dir_ + "/Beta.qz", "Бета");
    const std::string alpha = ReadBytes(dir_ + "/Alpha.qz");
    rig_->Open(dir_);
    if (edited) rig_->EditCell("homeGrid", 0, 2, "Smith");
    rig_->boxes.answers = {answer};
    Choose(" Beta");
    QCOMPARE(rig_->window()->windowTitle(), QStringLiteral("Бета"));
    QCOMPARE(rig_->window()->session().navigation().previous_base(),
             std::string("Alpha"));
    QCOMPARE(rig_->boxes.shown.size(), size_t{edited ? 1u : 0u});
    QCOMPARE(rig_->boxes.unexpected_questions, 0);
    QVERIFY(!rig_->Action("saveAction")->isEnabled());
    QCOMPARE(ReadBytes(dir_ + "/Alpha.qz") != alpha, edited && answer);
  }

  // The chosen base cannot be read after the old one was closed (its
  // unsaved edit given up): the old one is loaded again from its file, under
  // its own name; failing that, the first town whose file is there.
  void aSwitchThatFailsGoesBack() {
    WriteSmallTown(dir_ + "/Alpha.qz", "Альфа");
    WriteBytes(dir_ + "/Bad.qz", "abc");
    WriteSmallTown(dir_ + "/Gamma.qz", "Гамма");
    rig_->Open(dir_);
    rig_->EditCell("homeGrid", 0, 2, "Smith");
    rig_->boxes.answers = {false};
    Choose(" Bad");
    QCOMPARE(rig_->boxes.shown.back().kind, MessageKind::kError);
    QCOMPARE(rig_->window()->windowTitle(), QStringLiteral("Альфа"));
    QCOMPARE(Towns()->currentText(), QStringLiteral(" Alpha"));
    QCOMPARE(rig_->Cell("homeGrid", 0, 2), QStringLiteral("Иванов И.И."));
    QVERIFY(rig_->window()->session().base().store().HomeChanges.empty());

    // The previous base is gone too: the first town whose file is there.
    std::filesystem::remove(dir_ + "/Alpha.qz");
    Choose(" Bad");
    QCOMPARE(rig_->window()->windowTitle(), QStringLiteral("Гамма"));
    QCOMPARE(Towns()->currentText(), QStringLiteral(" Gamma"));
    QVERIFY(!rig_->window()->ended());
  }

  // A base loads in its order: its titles first, then the message about its
  // change section, then that about its base part, when it does not load.
  void theMessagesOfALoadComeInItsOrder_data() {
    QTest::addColumn<bool>("damaged");
    QTest::newRow("a foreign change section") << false;
    QTest::newRow("and a damaged base part") << true;
  }
  void theMessagesOfALoadComeInItsOrder() {
    QFETCH(bool, damaged);
    WriteSmallTown(dir_ + "/Alpha.qz", "Альфа");
    // The base part of stamp 77 with a change section of stamp 78.
    WriteTown(dir_ + "/Beta.qz", TownHeader("Бета"), SmallTownHome(),
              SmallTownOrg());
    std::string beta = ReadBytes(dir_ + "/Beta.qz");
    if (damaged) beta[beta.size() - 20] ^= 0x55;  // the organisation stream
    ChangeList home;
    home.Add(1, RecordText({"111111", "changed"}));
    WriteBytes(dir_ + "/Beta.qz", beta + WriteChangeSection(78, home, {}));
    rig_->Open(dir_);
    QStringList titles;
    rig_->boxes.on_show = [&] { titles << rig_->window()->windowTitle(); };
    Choose(" Beta");
    const std::string foreign =
        "Файл - Beta.qz -Несоответствие версии.\r\nРаботает исходный "
        "вариант базы.";
    if (damaged) {
      QCOMPARE(rig_->boxes.shown,
               (std::vector<RecordingBoxes::Box>{
                   {MessageKind::kInformation, foreign},
                   {MessageKind::kInformation, kDamagedBaseText}}));
      QCOMPARE(titles, (QStringList{"Бета", "Бета"}));
      QCOMPARE(rig_->end_calls, 1);
    } else {
      QCOMPARE(rig_->boxes.shown, (std::vector<RecordingBoxes::Box>{
                                      {MessageKind::kInformation, foreign}}));
      QCOMPARE(titles, QStringList{"Бета"});
      QCOMPARE(rig_->Cell("homeGrid", 0, 2), QStringLiteral("Иванов И.И."));
    }
  }

  void droppedFiles() {
    WriteSmallTown(dir_ + "/Alpha.qz", "Альфа");
    const std::string other = TempDir();
    WriteSmallTown(other + "/Far.qz", "Далеко");
    WriteSmallTown(other + "/Near.qz", "Близко");
    WriteBytes(other + "/notes.txt", "text");
    rig_->Open(dir_);

    // Another kind of file does nothing.
    Drop(rig_->window(), {QString::fromStdString(other + "/notes.txt")});
    QCOMPARE(Items(Towns()), QStringList{" Alpha"});
    QCOMPARE(rig_->window()->windowTitle(), QStringLiteral("Альфа"));

    // Of three files only the first counts; from another folder its entry
    // names the folder.
    Drop(rig_->window(), {QString::fromStdString(other + "/Far.qz"),
                          QString::fromStdString(other + "/Near.qz"),
                          QString::fromStdString(dir_ + "/Alpha.qz")});
    const QString far = QString::fromStdString(" Far *" + other);
    QCOMPARE(Items(Towns()), (QStringList{" Alpha", far}));
    QCOMPARE(Towns()->currentText(), far);
    QCOMPARE(rig_->window()->windowTitle(), QStringLiteral("Далеко"));
    QCOMPARE(rig_->window()->session().navigation().current_base(),
             other + "/Far");

    // A file of the working folder goes by its name.
    Drop(rig_->window(), {QString::fromStdString(dir_ + "/Alpha.qz")});
    QCOMPARE(Items(Towns()), (QStringList{" Alpha", far}));
    QCOMPARE(rig_->window()->session().navigation().current_base(),
             std::string("Alpha"));
  }

  void aNewBaseFromTheMenu_data() {
    QTest::addColumn<bool>("create");
    QTest::newRow("Создать базу") << true;
    QTest::newRow("Отмена: the base shown before comes back") << false;
  }
  void aNewBaseFromTheMenu() {
    QFETCH(bool, create);
    WriteSmallTown(dir_ + "/Alpha.qz", "Альфа");
    rig_->Open(dir_);
    auto* name = rig_->new_base->findChild<QLineEdit*>("nameEdit");
    name->setText(QStringLiteral("Моя база"));
    rig_->AnswerNewBase(create ? Qt::Key_Return : Qt::Key_Escape);
    QVERIFY(rig_->Trigger("newBaseMenuItem"));
    if (create) {
      QCOMPARE(Items(Towns()), (QStringList{" Alpha", " Моя база"}));
      QCOMPARE(Towns()->currentText(), QStringLiteral(" Моя база"));
      QCOMPARE(rig_->window()->session().navigation().current_base(),
               std::string("Моя база"));
      QCOMPARE(rig_->Rows("homeGrid"), 0);
    } else {
      QCOMPARE(Items(Towns()), QStringList{" Alpha"});
      QCOMPARE(Towns()->currentText(), QStringLiteral(" Alpha"));
      QCOMPARE(rig_->window()->windowTitle(), QStringLiteral("Альфа"));
      QCOMPARE(rig_->Rows("homeGrid"), 5);
    }
    QVERIFY(rig_->boxes.shown.empty());
  }

  // The association is written aside, after the window is shown, and
  // only when it is not in place.
  void theFileAssociationIsWrittenOnce() {
    WriteSmallTown(dir_ + "/Alpha.qz", "Альфа");
    rig_->Open(dir_);
    QCOMPARE(rig_->file_types.reads, 0);  // nothing of it in the start
    QTRY_VERIFY(rig_->file_type_registrar->finished());
    QCOMPARE(rig_->file_types.writes,
             std::vector<std::string>{"/opt/spravka/spravka"});
    rig_->Close();
    rig_->Open(dir_);  // the second start finds it in place
    QVERIFY(!rig_->file_type_registrar->Wait());
    QCOMPARE(rig_->file_types.writes.size(), size_t{1});

    WindowRig read_only;
    read_only.files.read_only = true;
    read_only.Open(dir_);
    QVERIFY(!read_only.file_type_registrar->Wait());
    QVERIFY(read_only.file_types.writes.empty());
  }
};

SPRAVKA_UI_TEST(BaseSwitchingTest);

}  // namespace spravka::testing

#include "base_switching_test.moc"
