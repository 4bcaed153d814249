// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_PLATFORM_QT_SETTINGS_STORE_H_
#define SPRAVKA_PLATFORM_QT_SETTINGS_STORE_H_

#include <QSettings>

#include "app/settings.h"

namespace spravka {

// The settings in the platform's native per-user store for the
// organisation "Kodrin_Common": the registry key
// HKEY_CURRENT_USER\Software\Kodrin_Common on Windows, Qt's per-user
// configuration file (Kodrin_Common.conf) elsewhere.
class QtSettingsStore : public SettingsStore {
 public:
  QtSettingsStore();
  std::optional<std::string> Read(const std::string& name) override;
  void Write(const std::string& name, const std::string& value) override;

  QString FileName() const { return settings_.fileName(); }

 private:
  QSettings settings_;
};

}  // namespace spravka

#endif  // SPRAVKA_PLATFORM_QT_SETTINGS_STORE_H_
