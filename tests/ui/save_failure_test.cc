// SPDX-License-Identifier: GPL-3.0-or-later
// A save that fails, by a returned error or by one that is thrown (the
// compressor or the memory giving out), keeps the changes, the base and the
// window: from the menu, on closing and on switching the town.
#include <QtTest>

#include "support/base_builder.h"
#include "support/faulty_file_system.h"
#include "ui_test_main.h"
#include "window_rig.h"

namespace spravka::testing {
namespace {

// Writes fail as chosen: with an error that is returned or one that throws.
class FailingWrites : public FaultyFileSystem {
 public:
  enum class Mode { kNone, kReturn, kThrow };
  void SetMode(Mode mode) {
    writes_fail = mode != Mode::kNone;
    throws = mode == Mode::kThrow;
  }
};

void WriteSmallTown(const std::string& path, const std::string& caption) {
  WriteTown(path, TownHeader(caption), SmallTownHome(), SmallTownOrg());
}

}  // namespace

class SaveFailureTest : public QObject {
  Q_OBJECT

 private:
  std::string dir_;
  std::string before_;
  FailingWrites fs_;
  std::unique_ptr<WindowRig> rig_;

  void Open() {
    dir_ = TempDir();
    WriteSmallTown(dir_ + "/Alpha.qz", "Альфа");
    WriteSmallTown(dir_ + "/Beta.qz", "Бета");
    before_ = ReadBytes(dir_ + "/Alpha.qz");
    rig_ = std::make_unique<WindowRig>();
    rig_->fs = &fs_;
    rig_->Open(dir_);
    QCOMPARE(rig_->window()->windowTitle(), QStringLiteral("Альфа"));
    rig_->window()->session().base().MarkModified();  // as an edit would
  }
  // The failure was reported, and nothing was lost or left set.
  void CheckKept(const std::string& message) {
    QCOMPARE(rig_->boxes.shown.back().kind, MessageKind::kError);
    QCOMPARE(rig_->boxes.shown.back().text, message);
    QVERIFY(rig_->Action("saveAction")->isEnabled());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(ReadBytes(dir_ + "/Alpha.qz"), before_);
    QVERIFY(rig_->window()->isVisible());
    QCOMPARE(rig_->window()->windowTitle(), QStringLiteral("Альфа"));
    QCOMPARE(rig_->Find<QComboBox>("townBox")->currentText(),
             QStringLiteral(" Alpha"));
  }
  // A returned failure names the base, not the file written beside it.
  std::string MessageOf(FailingWrites::Mode mode) const {
    return mode == FailingWrites::Mode::kThrow
               ? "Сбой сжатия"
               : "Не удалось записать файл " + dir_ +
                     "/Alpha.qz: на диске нет места";
  }

 private slots:
  void init() { fs_.SetMode(FailingWrites::Mode::kNone); }
  void cleanup() { rig_.reset(); }

  void failures_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("returned") << static_cast<int>(FailingWrites::Mode::kReturn);
    QTest::newRow("thrown") << static_cast<int>(FailingWrites::Mode::kThrow);
  }

  void saveFromTheMenuFails_data() { failures_data(); }
  void saveFromTheMenuFails() {
    QFETCH(int, mode);
    const auto failure = static_cast<FailingWrites::Mode>(mode);
    Open();
    fs_.SetMode(failure);
    QVERIFY(rig_->Trigger("saveAction"));
    CheckKept(MessageOf(failure));

    fs_.SetMode(FailingWrites::Mode::kNone);  // the disk has room again
    QVERIFY(rig_->Trigger("saveAction"));
    QVERIFY(!rig_->Action("saveAction")->isEnabled());
    QVERIFY(ReadBytes(dir_ + "/Alpha.qz").size() > before_.size());
  }

  void saveOnClosingFails_data() { failures_data(); }
  void saveOnClosingFails() {
    QFETCH(int, mode);
    const auto failure = static_cast<FailingWrites::Mode>(mode);
    Open();
    fs_.SetMode(failure);
    rig_->boxes.answers = {true};
    rig_->window()->close();
    CheckKept(MessageOf(failure));

    // The next close asks again and saves.
    fs_.SetMode(FailingWrites::Mode::kNone);
    rig_->boxes.answers = {true};
    rig_->window()->close();
    QVERIFY(!rig_->window()->isVisible());
    QCOMPARE(rig_->boxes.unexpected_questions, 0);
    QVERIFY(ReadBytes(dir_ + "/Alpha.qz").size() > before_.size());
  }

  void saveOnSwitchingFails_data() { failures_data(); }
  void saveOnSwitchingFails() {
    QFETCH(int, mode);
    const auto failure = static_cast<FailingWrites::Mode>(mode);
    Open();
    fs_.SetMode(failure);
    rig_->boxes.answers = {true};
    auto* towns = rig_->Find<QComboBox>("townBox");
    towns->setFocus();
    QTest::keyClick(towns, Qt::Key_Down);
    CheckKept(MessageOf(failure));
    QCOMPARE(rig_->Rows("homeGrid"), 5);  // the search controls are back

    // A later switch works: it asks again and saves first.
    fs_.SetMode(FailingWrites::Mode::kNone);
    rig_->boxes.answers = {true};
    towns->setFocus();
    QTest::keyClick(towns, Qt::Key_Down);
    QCOMPARE(rig_->window()->windowTitle(), QStringLiteral("Бета"));
    QVERIFY(!rig_->Action("saveAction")->isEnabled());
    QVERIFY(ReadBytes(dir_ + "/Alpha.qz").size() > before_.size());
    QCOMPARE(rig_->boxes.unexpected_questions, 0);
  }

  // A start that loads no base ends without showing the window; nothing
  // that needs a base is ever enabled in it.
  void actionsNeedABase() {
    const std::string dir = TempDir();
    WriteBytes(dir + "/Alpha.qz", "abc");  // cannot be loaded
    WindowRig rig;
    rig.AnswerNewBase(Qt::Key_Escape);  // and no new base is made
    rig.Open(dir);
    QVERIFY(rig.window()->ended());
    QVERIFY(!rig.window()->isVisible());
    for (const char* name :
         {"addAction", "deleteAction", "saveAction", "saveWidthsAction",
          "pasteAction", "copyResultAction", "optimiseAction"}) {
      QVERIFY2(!rig.Action(name)->isEnabled(), name);
    }
    QVERIFY(rig.Action("helpAction")->isEnabled());
    QVERIFY(rig.Action("exitAction")->isEnabled());
  }
};

SPRAVKA_UI_TEST(SaveFailureTest);

}  // namespace spravka::testing

#include "save_failure_test.moc"
