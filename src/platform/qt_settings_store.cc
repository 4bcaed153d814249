// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt_settings_store.h"

namespace spravka {
namespace {
constexpr char kOrganisation[] = "Kodrin_Common";
}  // namespace

QtSettingsStore::QtSettingsStore()
#ifdef Q_OS_WIN
    // Straight under the organisation's key, without an application subkey.
    : settings_(QStringLiteral("HKEY_CURRENT_USER\\Software\\") + kOrganisation,
                QSettings::NativeFormat)
#else
    : settings_(QSettings::NativeFormat, QSettings::UserScope, kOrganisation)
#endif
{
}

std::optional<std::string> QtSettingsStore::Read(const std::string& name) {
  QVariant value = settings_.value(QString::fromStdString(name));
  if (!value.isValid()) return std::nullopt;
  return value.toString().toStdString();
}

void QtSettingsStore::Write(const std::string& name, const std::string& value) {
  settings_.setValue(QString::fromStdString(name),
                     QString::fromStdString(value));
  settings_.sync();
}

}  // namespace spravka
