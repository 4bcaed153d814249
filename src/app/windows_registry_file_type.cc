// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows_registry_file_type.h"

// <windows.h> comes before the other Windows headers.
#include <windows.h>

#include <shlobj.h>

#include <utility>

#include "storage/windows_wide_text.h"

namespace spravka {
namespace {

// An open registry key, closed when it goes.
class Key {
 public:
  Key() = default;
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

RegistryFileTypeStore::RegistryFileTypeStore(std::wstring classes_key)
    : classes_key_(std::move(classes_key)) {}

std::string RegistryFileTypeStore::CommandFor(
    const std::string& executable) const {
  return WindowsOpenCommand(executable);
}

std::string RegistryFileTypeStore::StoredCommand() {
  const std::wstring name =
      classes_key_ + L"\\" + WideFromUtf8(kWindowsOpenCommandKey);
  Key key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, name.c_str(), 0, KEY_QUERY_VALUE,
                    key.out()) != ERROR_SUCCESS) {
    return {};
  }
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(key.get(), nullptr, nullptr, &type, nullptr, &bytes) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return {};
  }
  std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key.get(), nullptr, nullptr, &type,
                       reinterpret_cast<BYTE*>(value.data()),
                       &bytes) != ERROR_SUCCESS) {
    return {};
  }
  // A stored string need not end with its terminator.
  value.resize(bytes / sizeof(wchar_t));
  while (!value.empty() && value.back() == L'\0') value.pop_back();
  return Utf8FromWide(value);
}

bool RegistryFileTypeStore::Write(const std::string& executable) {
  for (const RegistryKeyValue& entry : WindowsFileTypeKeys(executable)) {
    const std::wstring name = classes_key_ + L"\\" + WideFromUtf8(entry.key);
    const std::wstring value = WideFromUtf8(entry.value);
    Key key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, name.c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        key.out(), nullptr) != ERROR_SUCCESS ||
        RegSetValueExW(key.get(), nullptr, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) *
                                          sizeof(wchar_t))) != ERROR_SUCCESS) {
      return false;
    }
  }
  // Explorer shows the new icon and command without a new logon.
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  return true;
}

}  // namespace spravka
