// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_WINDOWS_REGISTRY_FILE_TYPE_H_
#define SPRAVKA_APP_WINDOWS_REGISTRY_FILE_TYPE_H_

#include <string>

#include "app/file_type.h"

namespace spravka {

// The Windows association in the registry: ".qz" names the type "Kodrin",
// whose description, icon and open command follow. The keys go under
// HKEY_CURRENT_USER\Software\Classes, which HKEY_CLASSES_ROOT shows over
// the machine's own, so that a user without administrator rights can
// register the type and no other user's association changes.
class RegistryFileTypeStore : public FileTypeStore {
 public:
  // `classes_key`: the key under HKEY_CURRENT_USER that holds the classes.
  explicit RegistryFileTypeStore(
      std::wstring classes_key = L"Software\\Classes");

  std::string CommandFor(const std::string& executable) const override;
  // The default value of "Kodrin\shell\open\command".
  std::string StoredCommand() override;
  // Each key is opened (created when absent), given its default value and
  // closed in turn; then the desktop is told that associations changed.
  bool Write(const std::string& executable) override;

 private:
  std::wstring classes_key_;
};

}  // namespace spravka

#endif  // SPRAVKA_APP_WINDOWS_REGISTRY_FILE_TYPE_H_
