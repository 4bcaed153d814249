// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_SETTINGS_H_
#define SPRAVKA_APP_SETTINGS_H_

#include <optional>
#include <string>

namespace spravka {

// The per-user store of the program's settings, all string values.
// The program uses the platform's store (the registry key
// HKEY_CURRENT_USER\Software\Kodrin_Common on Windows); tests use a map.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<std::string> Read(const std::string& name) = 0;
  virtual void Write(const std::string& name, const std::string& value) = 0;
};

inline constexpr char kLastBaseSetting[] = "LastBase";
inline constexpr char kUSearchSetting[] = "USearch";
inline constexpr char kContrastSetting[] = "Contrast";
inline constexpr char kZebraSetting[] = "Zebra";
// How searches compare: "е" also finding "ё", and similar records shown
// when a search finds nothing.
inline constexpr char kYoSearchSetting[] = "YoSearch";
inline constexpr char kSimilarSearchSetting[] = "SimilarSearch";

inline constexpr int kDefaultContrast = 3;

// A stored integer: optional blanks, an optional sign and decimal digits
// within the 32-bit range. Anything else, or no value, gives `fallback`.
int ParseSettingInt(const std::optional<std::string>& text, int fallback);

// A stored boolean is read as an integer and is true unless it is 0.
bool ParseSettingBool(const std::optional<std::string>& text, bool fallback);

// The settings with their stored forms and defaults.
class Settings {
 public:
  explicit Settings(SettingsStore* store) : store_(store) {}

  std::string LastBase() const;  // empty when absent
  bool UniversalMode() const;    // "USearch", default true
  int Contrast() const;          // default 3
  bool StripesOn() const;        // "Zebra", default true
  bool YoSearch() const;         // default true
  bool SimilarSearch() const;    // default true

  void SetLastBase(const std::string& base);
  void SetUniversalMode(bool on);
  void SetContrast(int level);
  void SetStripesOn(bool on);
  void SetYoSearch(bool on);
  void SetSimilarSearch(bool on);

 private:
  SettingsStore* store_;
};

}  // namespace spravka

#endif  // SPRAVKA_APP_SETTINGS_H_
