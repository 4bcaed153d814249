// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt adapters: the settings store, the message boxes and the
// Windows-1251 conversion of what the user sees and types.
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <stdexcept>

#include "platform/qt_message_boxes.h"
#include "platform/qt_settings_store.h"
#include "platform/text_codec.h"
#include "support/session_fakes.h"
#include "ui/application.h"
#include "ui_test_main.h"

namespace spravka::testing {
namespace {

struct SeenBox {
  QString title;
  QString text;
  QStringList buttons;
};

// Answers the next modal box by clicking the button with `answer`, or by
// closing the box when `answer` is empty.
void AnswerNextBox(const QString& answer, SeenBox* seen) {
  QTimer::singleShot(0, [=] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) qFatal("no message box is up");
    seen->title = box->windowTitle();
    seen->text = box->text();
    for (QAbstractButton* b : box->buttons()) seen->buttons << b->text();
    if (answer.isEmpty()) box->close();
    for (QAbstractButton* b : box->buttons()) {
      if (b->text() == answer) b->click();
    }
  });
}

}  // namespace

class PlatformAdaptersTest : public QObject {
  Q_OBJECT

 private slots:
  void settingsLandInTheOrganisationsStore() {
#ifdef Q_OS_WIN
    // The organisation's registry key; the test starts it empty, so it
    // needs a registry of its own (scripts/windows-test: a Wine prefix).
    if (!qEnvironmentVariableIsSet("SPRAVKA_SCRATCH_REGISTRY"))
      QSKIP(
          "writes the user's registry: SPRAVKA_SCRATCH_REGISTRY only in a "
          "scratch one");
    QSettings("HKEY_CURRENT_USER\\Software\\Kodrin_Common",
              QSettings::NativeFormat)
        .remove("");
    QtSettingsStore store;
    QCOMPARE(store.FileName(), "\\HKEY_CURRENT_USER\\Software\\Kodrin_Common");
#else
    QtSettingsStore store;
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    QVERIFY(!config.isEmpty());
    QCOMPARE(store.FileName(), config + "/Kodrin_Common.conf");
#endif
    QCOMPARE(store.Read("LastBase"), std::nullopt);
    store.Write("LastBase", "/базы/Город");
    store.Write("USearch", "0");
    QtSettingsStore again;
    QCOMPARE(again.Read("LastBase"), std::optional<std::string>("/базы/Город"));
    QCOMPARE(again.Read("USearch"), std::optional<std::string>("0"));
  }

  void boxesHaveTheProgramsCaptionsAndButtons() {
    QtMessageBoxes boxes;
    SeenBox seen;
    AnswerNextBox("&Нет", &seen);
    QVERIFY(!boxes.Ask("Сохранить изменения базы?"));
    QCOMPARE(seen.title, QStringLiteral("Подтверждение"));
    QCOMPARE(seen.buttons, (QStringList{"&Да", "&Нет"}));

    seen = {};
    AnswerNextBox("&Да", &seen);
    QVERIFY(boxes.Ask("?"));
    AnswerNextBox("", &seen);  // closing the question says No
    QVERIFY(!boxes.Ask("?"));

    const std::pair<MessageKind, const char*> kinds[] = {
        {MessageKind::kWarning, "Предостережение"},
        {MessageKind::kError, "Ошибка"},
        {MessageKind::kInformation, "Информация"},
    };
    for (const auto& [kind, caption] : kinds) {
      seen = {};
      AnswerNextBox("OK", &seen);
      boxes.Show(kind, "Строка 1\r\nСтрока 2");
      QCOMPARE(seen.title, QString::fromUtf8(caption));
      QCOMPARE(seen.text, QStringLiteral("Строка 1\nСтрока 2"));
      QCOMPARE(seen.buttons, QStringList{"OK"});
    }
  }

  // From the keyboard: Enter answers Yes, the default button; Esc says No.
  void questionsAnswerEnterAndEsc() {
    QtMessageBoxes boxes;
    for (const auto& [key, answer] :
         {std::pair{Qt::Key_Return, true}, std::pair{Qt::Key_Escape, false}}) {
      QTimer::singleShot(0, [key] {
        QTest::keyClick(QApplication::activeModalWidget(), key);
      });
      QCOMPARE(boxes.Ask("Удалить запись?"), answer);
    }
  }

  // A file error escaping an event handler: its text in an error box,
  // and the program goes on with the next event.
  void generalErrorHandler() {
    auto* app = dynamic_cast<Application*>(QCoreApplication::instance());
    QVERIFY(app != nullptr);
    RecordingBoxes boxes;
    app->SetBoxes(&boxes);
    struct Failing : QObject {
      bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw std::runtime_error("Disk full");
        return QObject::event(e);
      }
    } failing;
    bool next_event_seen = false;
    QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
    QTimer::singleShot(0, [&] { next_event_seen = true; });
    QTRY_VERIFY(next_event_seen);
    app->SetBoxes(nullptr);
    QCOMPARE(
        boxes.shown,
        (std::vector<RecordingBoxes::Box>{{MessageKind::kError, "Disk full"}}));
  }

  void windows1251BothWays() {
    std::string all;
    for (int b = 32; b < 256; ++b) all.push_back(static_cast<char>(b));
    QString text = FromCp1251(all);
    QCOMPARE(text.size(), qsizetype(224));
    QCOMPARE(ToCp1251(text), all);
    QCOMPARE(FromCp1251("\xC8\xE2\xE0\xED\xEE\xE2 \xA8\xB8 \xB9"),
             QStringLiteral("Иванов Ёё №"));
    QVERIFY(FitsCp1251(QStringLiteral("Иванов ё € «»")));
    QVERIFY(!FitsCp1251(QStringLiteral("漢")));
    Cp1251Validator validator;
    QString typed = QStringLiteral("ab漢");
    int pos = 3;
    QCOMPARE(validator.validate(typed, pos), QValidator::Invalid);
  }
};

SPRAVKA_UI_TEST(PlatformAdaptersTest);

}  // namespace spravka::testing

#include "platform_adapters_test.moc"
