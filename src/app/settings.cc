// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings.h"

#include <charconv>
#include <cstdint>

namespace spravka {

int ParseSettingInt(const std::optional<std::string>& text, int fallback) {
  if (!text) return fallback;
  const char* begin = text->data();
  const char* end = begin + text->size();
  while (begin < end && *begin == ' ') ++begin;
  if (begin < end && *begin == '+') {  // from_chars takes only "-"
    ++begin;
    if (begin < end && *begin == '-') return fallback;
  }
  int value = 0;
  auto [stop, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || stop != end || begin == end) return fallback;
  return value;
}

bool ParseSettingBool(const std::optional<std::string>& text, bool fallback) {
  return ParseSettingInt(text, fallback ? 1 : 0) != 0;
}

std::string Settings::LastBase() const {
  return store_->Read(kLastBaseSetting).value_or("");
}

bool Settings::UniversalMode() const {
  return ParseSettingBool(store_->Read(kUSearchSetting), true);
}

int Settings::Contrast() const {
  return ParseSettingInt(store_->Read(kContrastSetting), kDefaultContrast);
}

bool Settings::StripesOn() const {
  return ParseSettingBool(store_->Read(kZebraSetting), true);
}

bool Settings::YoSearch() const {
  return ParseSettingBool(store_->Read(kYoSearchSetting), true);
}

bool Settings::SimilarSearch() const {
  return ParseSettingBool(store_->Read(kSimilarSearchSetting), true);
}

void Settings::SetLastBase(const std::string& base) {
  store_->Write(kLastBaseSetting, base);
}

void Settings::SetUniversalMode(bool on) {
  store_->Write(kUSearchSetting, on ? "1" : "0");
}

void Settings::SetContrast(int level) {
  store_->Write(kContrastSetting, std::to_string(level));
}

void Settings::SetStripesOn(bool on) {
  store_->Write(kZebraSetting, on ? "1" : "0");
}

void Settings::SetYoSearch(bool on) {
  store_->Write(kYoSearchSetting, on ? "1" : "0");
}

void Settings::SetSimilarSearch(bool on) {
  store_->Write(kSimilarSearchSetting, on ? "1" : "0");
}

}  // namespace spravka
