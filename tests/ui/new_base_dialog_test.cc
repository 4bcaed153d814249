// SPDX-License-Identifier: GPL-3.0-or-later
// The new-base dialog: its controls, keys, the checks before it closes,
// and the base made from what it holds.
#include "ui/new_base_dialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/inform_text.h"
#include "platform/base_template_resource.h"
#include "storage/base_file.h"
#include "storage/base_template.h"
#include "support/base_builder.h"
#include "ui/inform_dialog.h"
#include "ui_test_main.h"
#include "window_rig.h"

namespace spravka::testing {
namespace {

// Runs the dialog modally; `act` runs once it is up. A dialog that `act`
// leaves open is cancelled, and `left_open` says so.
bool RunWith(NewBaseDialog& dialog, const std::function<void()>& act,
             bool* left_open = nullptr) {
  bool open = false;
  QTimer::singleShot(0, &dialog, [&] {
    if (!QTest::qWaitForWindowActive(&dialog)) qWarning("dialog not active");
    act();
    open = dialog.isVisible();
    if (open) dialog.reject();
  });
  const bool ok = dialog.Run();
  if (left_open) *left_open = open;
  return ok;
}

// A key as the user presses it: to the control that has the focus.
void Press(NewBaseDialog& dialog, Qt::Key key,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* target = QApplication::focusWidget();
  QTest::keyClick(target ? target : &dialog, key, modifiers);
}

void Retype(QLineEdit* edit, const QString& text) {
  edit->clear();
  TypeText(edit, text);
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  return names;
}

}  // namespace

class NewBaseDialogTest : public QObject {
  Q_OBJECT

 private:
  template <typename T>
  static T* Find(QWidget& dialog, const char* name) {
    dialog.ensurePolished();  // as before it is first shown
    T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no control %s", name);
    return found;
  }
  static QLineEdit* Edit(QWidget& d, const char* name) {
    return Find<QLineEdit>(d, name);
  }

 private slots:
  void controlsCaptionsAndDefaults() {
    RecordingBoxes boxes;
    NewBaseDialog d(&boxes, nullptr);
    // Made before the dialog is first shown, not with it.
    QVERIFY(d.findChild<QLineEdit*>("nameEdit") == nullptr);
    QCOMPARE(d.objectName(), QStringLiteral("newBaseDialog"));
    QCOMPARE(d.windowTitle(), QStringLiteral("Параметры новой базы"));
    QCOMPARE(d.minimumSize(), QSize(488, 194));
    QCOMPARE(d.maximumSize(), QSize(488, 194));

    QCOMPARE(Edit(d, "nameEdit")->text(), QStringLiteral("Новый справочник"));
    const QString caption = Edit(d, "captionEdit")->text();
    QCOMPARE(caption, QStringLiteral("Телефонный cправочник"));
    QCOMPARE(caption.at(11), QLatin1Char('c'));  // the Latin letter
    QCOMPARE(Edit(d, "descriptionEdit")->text(), QString());
    auto* spin = Find<QSpinBox>(d, "digitsEdit");
    QCOMPARE(spin->value(), 6);
    QCOMPARE(spin->minimum(), 4);
    QCOMPARE(spin->maximum(), 7);

    QStringList labels;
    for (QLabel* label : d.findChildren<QLabel*>()) labels << label->text();
    for (const char* text : {"Имя базы", "Количество цифр в номере",
                             "Заголовок окна программы", "Описание"}) {
      QVERIFY2(labels.contains(QString::fromUtf8(text)), text);
    }
    QCOMPARE(Find<QGroupBox>(d, "homeFieldsGroup")->title(),
             QStringLiteral("Поля для квартирных телефонов"));
    QCOMPARE(Find<QGroupBox>(d, "orgFieldsGroup")->title(),
             QStringLiteral("Поля для телефонов организаций"));

    auto captions = [&](const char* prefix, int count) {
      QStringList texts;
      for (int k = 0; k < count; ++k) {
        auto* box = Find<QCheckBox>(
            d, (QByteArray(prefix) + QByteArray::number(k)).constData());
        if (!box->isChecked()) texts << "(unticked)";
        if (box->layoutDirection() != Qt::RightToLeft) texts << "(box left)";
        // The first two are fixed.
        if (box->isEnabled() != (k >= 2)) texts << "(enabled?)";
        texts << box->text();
      }
      return texts;
    };
    QCOMPARE(captions("homeField", 7),
             (QStringList{"Номер", "Абонент", "Улица", "дом", "корпус", "кв.",
                          "район"}));
    QCOMPARE(captions("orgField", 8),
             (QStringList{"Номер", "орг.", "подразд.", "Улица", "дом", "корпус",
                          "офис", "район"}));

    auto* ok = Find<QPushButton>(d, "okButton");
    QCOMPARE(ok->text(), QStringLiteral("Создать базу"));
    QVERIFY(ok->isDefault());
    QCOMPARE(Find<QPushButton>(d, "cancelButton")->text(),
             QStringLiteral("Отмена"));

    // Every control lies inside the client area.
    for (QWidget* w : d.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      QVERIFY2(d.rect().contains(w->geometry()),
               qPrintable(w->objectName() + w->metaObject()->className()));
    }
  }

  void fieldsKeepToTheirLimits() {
    RecordingBoxes boxes;
    NewBaseDialog d(&boxes, nullptr);
    const std::pair<const char*, int> limits[] = {
        {"nameEdit", 30}, {"captionEdit", 50}, {"descriptionEdit", 250}};
    for (const auto& [name, limit] : limits) {
      QLineEdit* edit = Edit(d, name);
      edit->setText(QString(limit + 20, QChar(u'ж')));
      QCOMPARE(edit->text().size(), qsizetype(limit));
      QApplication::clipboard()->setText(QString(limit + 5, QLatin1Char('p')));
      edit->clear();
      edit->paste();
      QCOMPARE(edit->text(), QString(limit, QLatin1Char('p')));
    }
    // Characters a base cannot hold are not taken.
    Retype(Edit(d, "nameEdit"), QStringLiteral("Юг漢"));
    QCOMPARE(Edit(d, "nameEdit")->text(), QStringLiteral("Юг"));

    // Texts reach the core in Windows-1251.
    NewBaseParams params = d.Params();
    QCOMPARE(params.name, W("Юг"));
    QCOMPARE(params.caption, std::string(50, 'p'));
    QCOMPARE(params.number_length, 6);
    QCOMPARE(int(params.home_fields), 0x7F);
    QCOMPARE(int(params.org_fields), 0xFF);
  }

  // A digits field left without a number counts as 4.
  void digitsWithoutANumberCountAsFour() {
    RecordingBoxes boxes;
    NewBaseDialog d(&boxes, nullptr);
    auto* spin = Find<QSpinBox>(d, "digitsEdit");
    QVERIFY(RunWith(d, [&] {
      spin->setFocus();
      spin->selectAll();
      Press(d, Qt::Key_Backspace);
      Press(d, Qt::Key_Enter);
    }));
    QCOMPARE(d.Params().number_length, 4);
    QCOMPARE(spin->value(), 4);
  }

  void enterCreatesTheBaseTheFieldsDescribe() {
    const std::string dir = TempDir();
    RecordingBoxes boxes;
    NewBaseDialog d(&boxes, nullptr);
    d.SetWorkingFolder(dir);
    QVERIFY(RunWith(d, [&] {
      Retype(Edit(d, "nameEdit"), QStringLiteral("  Посёлок  "));
      Find<QSpinBox>(d, "digitsEdit")->setValue(5);
      Find<QCheckBox>(d, "homeField2")->click();  // no street
      Find<QCheckBox>(d, "orgField6")->click();   // no office
      Find<QCheckBox>(d, "homeField1")->click();  // fixed: stays ticked
      Retype(Edit(d, "captionEdit"), QStringLiteral("Справочник посёлка"));
      Retype(Edit(d, "descriptionEdit"), QStringLiteral("Телефоны «Юга»"));
      Press(d, Qt::Key_Return);
    }));
    QVERIFY(boxes.shown.empty());

    CreatedBase made;
    QVERIFY(
        CreateBase(d.Params(), LoadBaseTemplate(), dir, RealFileSystem(), &made)
            .ok());
    QVERIFY(made.created);
    QCOMPARE(made.name, std::string("Посёлок"));
    const std::string file = ReadBytes(dir + "/Посёлок.qz");
    const std::string& tmpl = BaseTemplate();
    QCOMPARE(file.size(), tmpl.size());
    QCOMPARE(file.substr(0, 4), tmpl.substr(0, 4));
    QCOMPARE(file.substr(4 + kHeaderSize), tmpl.substr(4 + kHeaderSize));
    HeaderBytes stored;
    std::copy_n(file.begin() + 4, kHeaderSize, stored.begin());
    const BaseHeader h = BaseHeader::FromFile(stored);
    QCOMPARE(h.Title, W("Телефонный справочник"));
    QCOMPARE(h.Caption, W("Справочник посёлка"));
    QCOMPARE(h.Description, W("Телефоны «Юга»"));
    QCOMPARE(h.NumberLength, 5);
    QCOMPARE(int(h.HomeFields), 0b111'1011);
    QCOMPARE(int(h.OrgFields), 0b1011'1111);
    QCOMPARE(h.HomeFieldCount, 6);
    QCOMPARE(h.OrgFieldCount, 7);
    QCOMPARE(h.TableGrowth, 10000);
    QCOMPARE(h.HomeEditPlaces[1], (EditPlace{80, 110, 150}));
  }

  void existingBaseIsReplacedOnlyOnYes() {
    const std::string dir = TempDir();
    WriteBytes(dir + "/Town.qz", "old");
    WriteBytes(dir + "/User_Base.qz", "old");
    RecordingBoxes boxes;
    NewBaseDialog d(&boxes, nullptr);
    d.SetWorkingFolder(dir);
    const std::string question =
        "База Town.qz\r\n  уже существует. Заменить её?";

    bool open = false;
    boxes.answers = {false};
    QVERIFY(!RunWith(
        d,
        [&] {
          Retype(Edit(d, "nameEdit"), QStringLiteral(" Town "));
          Press(d, Qt::Key_Return);
        },
        &open));
    QVERIFY(open);  // No keeps the dialog open
    QCOMPARE(boxes.shown, (std::vector<RecordingBoxes::Box>{
                              {MessageKind::kConfirmation, question}}));

    boxes.shown.clear();
    boxes.answers = {true};
    QVERIFY(RunWith(d, [&] { Press(d, Qt::Key_Return); }));
    QCOMPARE(boxes.shown.size(), size_t(1));
    CreatedBase made;
    QVERIFY(
        CreateBase(d.Params(), LoadBaseTemplate(), dir, RealFileSystem(), &made)
            .ok());
    QCOMPARE(made.name, std::string("Town"));
    QCOMPARE(ReadBytes(dir + "/Town.qz").size(), BaseTemplate().size());

    // A blank name is User_Base, and the question says so.
    boxes.shown.clear();
    boxes.answers = {true};
    QVERIFY(RunWith(d, [&] {
      Edit(d, "nameEdit")->setText(QStringLiteral("   "));
      Press(d, Qt::Key_Return);
    }));
    QCOMPARE(
        boxes.shown.at(0).text,
        std::string("База User_Base.qz\r\n  уже существует. Заменить её?"));
    QCOMPARE(NewBaseName(d.Params().name), std::string("User_Base"));
    QCOMPARE(boxes.unexpected_questions, 0);
  }

  void blankNameMakesUserBase() {
    const std::string dir = TempDir();
    RecordingBoxes boxes;
    NewBaseDialog d(&boxes, nullptr);
    d.SetWorkingFolder(dir);
    QVERIFY(RunWith(d, [&] {
      Edit(d, "nameEdit")->clear();
      Press(d, Qt::Key_Return);
    }));
    CreatedBase made;
    QVERIFY(
        CreateBase(d.Params(), LoadBaseTemplate(), dir, RealFileSystem(), &made)
            .ok());
    QCOMPARE(made.name, std::string("User_Base"));
    // The new base and the lock file its writer made beside it.
    const std::vector<std::string> files = FilesIn(dir);
    QCOMPARE(std::set<std::string>(files.begin(), files.end()),
             (std::set<std::string>{"User_Base.qz", ".User_Base.qz.lock"}));
  }

  void namesOutsideTheFolderOrReservedAreRefused() {
    const std::string root = TempDir();
    const std::string dir = root + "/bases";
    std::filesystem::create_directory(dir);
    RecordingBoxes boxes;
    NewBaseDialog d(&boxes, nullptr);
    d.SetWorkingFolder(dir);
    for (const char* name : {"../x", "a/b", "CON", "..", "lpt1.txt"}) {
      boxes.shown.clear();
      bool open = false;
      QVERIFY(!RunWith(
          d,
          [&] {
            Retype(Edit(d, "nameEdit"), QString::fromUtf8(name));
            Press(d, Qt::Key_Return);
          },
          &open));
      QVERIFY2(open, name);
      QCOMPARE(boxes.shown.size(), size_t(1));
      QCOMPARE(boxes.shown[0].kind, MessageKind::kError);
      QCOMPARE(boxes.shown[0].text, *CheckBaseName(name));
    }
    QVERIFY(FilesIn(dir).empty());
    QCOMPARE(FilesIn(root), std::vector<std::string>{"bases"});
  }

  void keys() {
    RecordingBoxes boxes;
    InformDialog help;
    NewBaseDialog d(&boxes, &help);
    d.SetWorkingFolder(TempDir());
    QVERIFY(!RunWith(d, [&] { Press(d, Qt::Key_Escape); }));
    // Enter presses the button that has the focus.
    QVERIFY(!RunWith(d, [&] {
      Find<QPushButton>(d, "cancelButton")->setFocus();
      Press(d, Qt::Key_Return);
    }));

    bool open = false;
    QWidget* after_shift_enter = nullptr;
    QWidget* after_ctrl_enter = nullptr;
    bool help_shown = false;
    bool help_closed_by_its_keys = false;
    bool ctrl_f1_shows_help = true;
    QVERIFY(!RunWith(
        d,
        [&] {
          // Shift+Enter presses no button and goes back one control.
          Find<QPushButton>(d, "okButton")->setFocus();
          Press(d, Qt::Key_Return, Qt::ShiftModifier);
          after_shift_enter = QApplication::focusWidget();
          Edit(d, "captionEdit")->setFocus();
          Press(d, Qt::Key_Return, Qt::ControlModifier);
          after_ctrl_enter = QApplication::focusWidget();
          // F1 shows the help beside the dialog; the help can be closed
          // while the dialog is up.
          Press(d, Qt::Key_F1);
          help_shown =
              help.isVisible() &&
              help.findChild<QPlainTextEdit*>("newBaseHelp")->isVisible();
          QTest::keyClick(help.windowHandle(), Qt::Key_Escape);
          help_closed_by_its_keys = !help.isVisible();
          Press(d, Qt::Key_F1, Qt::ControlModifier);
          ctrl_f1_shows_help = help.isVisible();
        },
        &open));
    QVERIFY(open);
    QCOMPARE(after_shift_enter, Find<QCheckBox>(d, "orgField7"));
    QCOMPARE(after_ctrl_enter, Edit(d, "captionEdit"));
    QVERIFY(help_shown);
    QVERIFY(help_closed_by_its_keys);
    QVERIFY(!ctrl_f1_shows_help);
    QVERIFY(boxes.shown.empty());
  }

  void helpTextLines() {
    InformDialog help;
    help.ShowNewBaseHelp();
    const QStringList lines = help.findChild<QPlainTextEdit*>("newBaseHelp")
                                  ->toPlainText()
                                  .split(QLatin1Char('\n'));
    help.hide();
    QCOMPARE(lines.size(), qsizetype(25));
    QCOMPARE(lines[1], QString(25, QLatin1Char(' ')) +
                           QStringLiteral("телефонной базы."));
    QCOMPARE(lines[3],
             QStringLiteral(" Поле \"Имя базы\" задает наименование файла "));
    QCOMPARE(lines[18],
             QStringLiteral("\"Информация\" и в подсказке, появляющейся"));
    QCOMPARE(lines[24],
             QStringLiteral("для определения полей в новой базе данных. "));
  }

  // The dialog lives on between uses and shows what was typed last.
  void secondUseKeepsTheValues() {
    RecordingBoxes boxes;
    NewBaseDialog d(&boxes, nullptr);
    d.SetWorkingFolder(TempDir());
    QVERIFY(RunWith(d, [&] {
      Retype(Edit(d, "nameEdit"), QStringLiteral("Второй"));
      Retype(Edit(d, "descriptionEdit"), QStringLiteral("описание"));
      Find<QSpinBox>(d, "digitsEdit")->setValue(7);
      Find<QCheckBox>(d, "orgField2")->click();
      Press(d, Qt::Key_Return);
    }));
    const NewBaseParams first = d.Params();
    QString name_seen;
    bool department_seen = true;
    QVERIFY(!RunWith(d, [&] {
      name_seen = Edit(d, "nameEdit")->text();
      department_seen = Find<QCheckBox>(d, "orgField2")->isChecked();
      Press(d, Qt::Key_Escape);
    }));
    QCOMPARE(name_seen, QStringLiteral("Второй"));
    QVERIFY(!department_seen);
    const NewBaseParams second = d.Params();
    QCOMPARE(second.name, first.name);
    QCOMPARE(second.description, W("описание"));
    QCOMPARE(second.number_length, 7);
    QCOMPARE(int(second.org_fields), 0b1111'1011);
  }

  void templateResourceIsTheCoresTemplate() {
    const std::optional<std::string> resource = LoadBaseTemplate();
    QVERIFY(resource.has_value());
    QCOMPARE(resource->size(), size_t(831));
    QVERIFY(*resource == BaseTemplate());
    QVERIFY(!LoadBaseTemplate(QStringLiteral(":/no_such_resource")));
  }
};

SPRAVKA_UI_TEST(NewBaseDialogTest);

}  // namespace spravka::testing

#include "new_base_dialog_test.moc"
