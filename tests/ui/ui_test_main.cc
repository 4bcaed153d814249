// SPDX-License-Identifier: GPL-3.0-or-later
// Runs every registered QtTest class on the offscreen platform.
#include "ui_test_main.h"

#include <QTemporaryDir>
#include <QtTest>
#include <vector>

#include "ui/application.h"

namespace spravka::testing {
namespace {

std::vector<std::function<std::unique_ptr<QObject>()>>& Registered() {
  static std::vector<std::function<std::unique_ptr<QObject>()>> tests;
  return tests;
}

}  // namespace

UiTestRegistration::UiTestRegistration(
    std::function<std::unique_ptr<QObject>()> make) {
  Registered().push_back(std::move(make));
}

}  // namespace spravka::testing

int main(int argc, char** argv) {
  // Whatever reaches Qt's own settings store lands in a folder of the test,
  // never in the user's. QSettings fixes its paths on first use.
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // The program's own application, with its general error handler.
  spravka::Application app(argc, argv);
  // SPRAVKA_UI_TEST=Name runs only the class of that name (the other
  // arguments then go to it, e.g. one of its functions).
  const QString only = qEnvironmentVariable("SPRAVKA_UI_TEST");
  int failed = 0;
  for (const auto& make : spravka::testing::Registered()) {
    std::unique_ptr<QObject> test = make();
    const QString name = QString::fromLatin1(test->metaObject()->className());
    if (!only.isEmpty() && !name.endsWith(QStringLiteral("::") + only))
      continue;
    failed += QTest::qExec(test.get(), argc, argv);
  }
  return failed == 0 ? 0 : 1;
}
