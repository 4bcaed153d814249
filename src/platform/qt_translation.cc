// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <utility>

namespace spravka {

bool InstallQtTranslation(QCoreApplication* app) {
  auto* translator = new QTranslator(app);
  const QString beside =
      QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
  const QString qt_own = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  const std::pair<QString, QString> places[] = {
      {beside, QStringLiteral("qtbase_ru")},
      {beside, QStringLiteral("qt_ru")},
      {qt_own, QStringLiteral("qtbase_ru")},
  };
  for (const auto& [folder, name] : places) {
    if (translator->load(name, folder)) {
      QCoreApplication::installTranslator(translator);
      return true;
    }
  }
  delete translator;
  return false;
}

}  // namespace spravka
